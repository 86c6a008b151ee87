#include "persist/pstream.h"

#include <algorithm>
#include <cstring>

#include "persist/persistent.h"

void pstream::read_exactly(void* data, size_t size)
{
    if (raw_read(data, size, 1) != 1)
        throw persistent::truncated;
}

pstream& pstream::read(double& v) { read_exactly(&v, sizeof v); return *this; }
pstream& pstream::read(float& v) { read_exactly(&v, sizeof v); return *this; }
pstream& pstream::read(int& v) { read_exactly(&v, sizeof v); return *this; }
pstream& pstream::read(unsigned short& v) { read_exactly(&v, sizeof v); return *this; }
pstream& pstream::read(short& v) { read_exactly(&v, sizeof v); return *this; }
pstream& pstream::read(unsigned char& v) { read_exactly(&v, sizeof v); return *this; }
pstream& pstream::read(char& v) { read_exactly(&v, sizeof v); return *this; }

pstream& pstream::read(bool& v)
{
    unsigned char byte;
    read_exactly(&byte, 1);
    v = byte != 0;
    return *this;
}

pstream& pstream::read(unsigned int& v)
{
    unsigned char byte;
    read_exactly(&byte, 1);
    unsigned int value = byte & 0x7F;
    for (int shift = 7; !(byte & 0x80); shift += 7) {
        if (shift > 28)
            throw persistent::bad_data;  // no packed unsigned runs past five bytes
        read_exactly(&byte, 1);
        value += static_cast<unsigned int>(byte & 0x7F) << shift;
    }
    v = value;
    return *this;
}

pstream& pstream::write(double v) { raw_write(&v, sizeof v, 1); return *this; }
pstream& pstream::write(float v) { raw_write(&v, sizeof v, 1); return *this; }
pstream& pstream::write(int v) { raw_write(&v, sizeof v, 1); return *this; }
pstream& pstream::write(unsigned short v) { raw_write(&v, sizeof v, 1); return *this; }
pstream& pstream::write(short v) { raw_write(&v, sizeof v, 1); return *this; }
pstream& pstream::write(unsigned char v) { raw_write(&v, sizeof v, 1); return *this; }
pstream& pstream::write(char v) { raw_write(&v, sizeof v, 1); return *this; }

pstream& pstream::write(bool v)
{
    unsigned char byte = v ? 1 : 0;
    raw_write(&byte, 1, 1);
    return *this;
}

pstream& pstream::write(unsigned int v)
{
    for (;;) {
        unsigned char byte = v & 0x7F;
        bool last = v < 128;
        if (last)
            byte |= 0x80;
        raw_write(&byte, 1, 1);
        if (last)
            return *this;
        v >>= 7;
    }
}

file_pstream::file_pstream(FILE* file) : file_(file)
{
    // The size is taken once: readers ask for what is left before every count.
    long here = std::ftell(file_);
    if (here >= 0 && std::fseek(file_, 0, SEEK_END) == 0) {
        long end = std::ftell(file_);
        std::fseek(file_, here, SEEK_SET);
        if (end >= 0)
            size_ = static_cast<size_t>(end);
    }
}

size_t file_pstream::raw_write(const void* data, size_t elementSize, size_t count)
{
    return std::fwrite(data, elementSize, count, file_);
}

size_t file_pstream::raw_read(void* data, size_t elementSize, size_t count)
{
    return std::fread(data, elementSize, count, file_);
}

size_t file_pstream::remaining() const
{
    if (size_ == kUnknownSize)
        return kUnknownSize;
    long here = std::ftell(file_);
    return here >= 0 && static_cast<size_t>(here) < size_ ? size_ - static_cast<size_t>(here) : 0;
}

size_t memory_pstream::raw_write(const void* data, size_t elementSize, size_t count)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), bytes, bytes + elementSize * count);
    return count;
}

size_t memory_pstream::raw_read(void* data, size_t elementSize, size_t count)
{
    if (elementSize == 0)
        return 0;
    size_t whole = std::min(count, remaining() / elementSize);
    if (whole == 0)
        return 0;
    std::memcpy(data, bytes_.data() + position_, whole * elementSize);
    position_ += whole * elementSize;
    return whole;
}
