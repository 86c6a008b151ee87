#include "tools/writers/xm_writer.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "persist/pstream.h"

namespace writers {
namespace {

// Fixed-size text fields: cut or padded with zeros.
void writeText(memory_pstream& out, const std::string& text, size_t size)
{
    std::vector<char> field(size, 0);
    std::memcpy(field.data(), text.data(), std::min(size, text.size()));
    out.raw_write(field.data(), 1, size);
}

void writeZeros(memory_pstream& out, size_t count)
{
    const std::vector<char> zeros(count, 0);
    out.raw_write(zeros.data(), 1, count);
}

void writeDword(memory_pstream& out, uint32_t value)
{
    out.write(static_cast<int>(value));
}

void writeWord(memory_pstream& out, uint16_t value)
{
    out.write(static_cast<unsigned short>(value));
}

void writeByte(memory_pstream& out, uint8_t value)
{
    out.write(static_cast<unsigned char>(value));
}

bool withinLimits(const XmModule& module)
{
    if (module.channels < 1 || module.channels > 32 || module.order.empty() || module.order.size() > 256)
        return false;
    if (module.patterns.size() > 256 || module.instruments.size() > 128)
        return false;
    for (const XmPattern& pattern : module.patterns)
        if (pattern.rows < 1 || pattern.rows > 256 || pattern.cells.size() > size_t(pattern.rows) * module.channels)
            return false;
    for (const XmInstrument& instrument : module.instruments) {
        if (instrument.volumeEnvelope.size() > 12 || instrument.sustainPoint >= int(instrument.volumeEnvelope.size()))
            return false;
        if (instrument.sample.size() > 0x3FFFFFFF || uint64_t(instrument.loopStart) + instrument.loopLength > instrument.sample.size())
            return false;
    }
    return true;
}

// Packed rows: a mask byte (bit 7 set) names the fields that follow.
std::vector<uint8_t> packPattern(const XmPattern& pattern, uint16_t channels)
{
    std::vector<uint8_t> packed;
    for (size_t i = 0; i < size_t(pattern.rows) * channels; ++i) {
        const XmCell cell = i < pattern.cells.size() ? pattern.cells[i] : XmCell();
        const uint8_t fields[5] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter};
        uint8_t mask = 0x80;
        for (int f = 0; f < 5; ++f)
            if (fields[f] != 0)
                mask |= uint8_t(1u << f);
        packed.push_back(mask);
        for (int f = 0; f < 5; ++f)
            if (fields[f] != 0)
                packed.push_back(fields[f]);
    }
    return packed;
}

void writePattern(memory_pstream& out, const XmPattern& pattern, uint16_t channels)
{
    const std::vector<uint8_t> packed = packPattern(pattern, channels);
    writeDword(out, 9);
    writeByte(out, 0);
    writeWord(out, pattern.rows);
    writeWord(out, static_cast<uint16_t>(packed.size()));
    out.raw_write(packed.data(), 1, packed.size());
}

void writeInstrument(memory_pstream& out, const XmInstrument& instrument)
{
    writeDword(out, 263);
    writeText(out, instrument.name, 22);
    writeByte(out, 0);
    writeWord(out, 1);
    writeDword(out, 40);
    writeZeros(out, 96);  // every note plays sample 0

    for (size_t i = 0; i < 12; ++i) {
        const XmEnvelopePoint point = i < instrument.volumeEnvelope.size() ? instrument.volumeEnvelope[i] : XmEnvelopePoint();
        writeWord(out, point.tick);
        writeWord(out, point.value);
    }
    writeZeros(out, 48);  // no panning envelope
    const bool hasEnvelope = !instrument.volumeEnvelope.empty();
    writeByte(out, static_cast<uint8_t>(instrument.volumeEnvelope.size()));
    writeByte(out, 0);
    writeByte(out, static_cast<uint8_t>(std::max(instrument.sustainPoint, 0)));
    writeZeros(out, 2);  // no envelope loop
    writeZeros(out, 3);  // panning sustain and loop
    writeByte(out, static_cast<uint8_t>((hasEnvelope ? 1 : 0) | (instrument.sustainPoint >= 0 ? 2 : 0)));
    writeByte(out, 0);
    writeZeros(out, 4);  // no vibrato
    writeWord(out, std::min<uint16_t>(instrument.fadeout, 4095));
    writeZeros(out, 22);

    // Sample header: lengths and loop in bytes, 16-bit flag.
    writeDword(out, static_cast<uint32_t>(instrument.sample.size() * 2));
    writeDword(out, instrument.loopStart * 2);
    writeDword(out, instrument.loopLength * 2);
    writeByte(out, std::min<uint8_t>(instrument.volume, 64));
    writeByte(out, static_cast<uint8_t>(instrument.finetune));
    writeByte(out, static_cast<uint8_t>(static_cast<uint8_t>(instrument.loop) | 0x10));
    writeByte(out, instrument.panning);
    writeByte(out, static_cast<uint8_t>(instrument.relativeNote));
    writeByte(out, 0);
    writeText(out, instrument.name, 22);

    // Sample data: each value as the difference to the one before.
    int16_t previous = 0;
    for (int16_t value : instrument.sample) {
        out.write(static_cast<short>(static_cast<uint16_t>(value) - static_cast<uint16_t>(previous)));
        previous = value;
    }
}

} // namespace

std::vector<uint8_t> encodeXm(const XmModule& module)
{
    if (!withinLimits(module))
        return {};
    memory_pstream out;
    out.raw_write("Extended Module: ", 1, 17);
    writeText(out, module.name, 20);
    writeByte(out, 0x1A);
    writeText(out, "Sky Drift writer", 20);
    writeWord(out, 0x0104);
    writeDword(out, 276);
    writeWord(out, static_cast<uint16_t>(module.order.size()));
    writeWord(out, module.restartPosition);
    writeWord(out, module.channels);
    writeWord(out, static_cast<uint16_t>(module.patterns.size()));
    writeWord(out, static_cast<uint16_t>(module.instruments.size()));
    writeWord(out, module.linearFrequencies ? 1 : 0);
    writeWord(out, module.speed);
    writeWord(out, module.bpm);
    std::vector<uint8_t> order(256, 0);
    std::copy(module.order.begin(), module.order.end(), order.begin());
    out.raw_write(order.data(), 1, order.size());

    for (const XmPattern& pattern : module.patterns)
        writePattern(out, pattern, module.channels);
    for (const XmInstrument& instrument : module.instruments)
        writeInstrument(out, instrument);
    return out.bytes();
}

bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

bool writeXm(const std::string& path, const XmModule& module)
{
    const std::vector<uint8_t> bytes = encodeXm(module);
    return !bytes.empty() && writeFileBytes(path, bytes);
}

} // namespace writers
