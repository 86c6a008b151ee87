#include "tools/writers/mp3_writer.h"

#include <algorithm>
#include <lame/lame.h>

#include "tools/writers/xm_writer.h"

namespace writers {
namespace {

void appendBigEndian32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

// Seven bits per byte, as ID3v2.4 stores sizes.
void appendSyncSafe32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 21; shift >= 0; shift -= 7)
        out.push_back(static_cast<uint8_t>((value >> shift) & 0x7F));
}

void appendFrame(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& content)
{
    out.insert(out.end(), id, id + 4);
    appendSyncSafe32(out, static_cast<uint32_t>(content.size()));
    out.push_back(0);
    out.push_back(0);
    out.insert(out.end(), content.begin(), content.end());
}

std::vector<uint8_t> chapterTag(const std::vector<Mp3Marker>& markers)
{
    std::vector<uint8_t> frames;
    for (size_t i = 0; i < markers.size(); ++i) {
        const std::string elementId = "chp" + std::to_string(i);
        std::vector<uint8_t> chapter(elementId.begin(), elementId.end());
        chapter.push_back(0);
        appendBigEndian32(chapter, markers[i].startMilliseconds);
        appendBigEndian32(chapter, std::max(markers[i].endMilliseconds, markers[i].startMilliseconds));
        appendBigEndian32(chapter, 0xFFFFFFFFu);  // no byte offsets
        appendBigEndian32(chapter, 0xFFFFFFFFu);
        std::vector<uint8_t> title{3};  // UTF-8
        title.insert(title.end(), markers[i].name.begin(), markers[i].name.end());
        appendFrame(chapter, "TIT2", title);
        appendFrame(frames, "CHAP", chapter);
    }
    std::vector<uint8_t> tag{'I', 'D', '3', 4, 0, 0};
    appendSyncSafe32(tag, static_cast<uint32_t>(frames.size()));
    tag.insert(tag.end(), frames.begin(), frames.end());
    return tag;
}

bool encodeFrames(lame_global_flags* lame, const Mp3Audio& audio, std::vector<uint8_t>& out)
{
    const int chunk = 8192;
    std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
    const size_t frames = audio.samples.size() / static_cast<size_t>(audio.channels);
    for (size_t first = 0; first < frames; first += chunk) {
        const int count = static_cast<int>(std::min<size_t>(chunk, frames - first));
        const short* pcm = audio.samples.data() + first * static_cast<size_t>(audio.channels);
        const int written = audio.channels == 2
            ? lame_encode_buffer_interleaved(lame, const_cast<short*>(pcm), count, buffer.data(), static_cast<int>(buffer.size()))
            : lame_encode_buffer(lame, pcm, pcm, count, buffer.data(), static_cast<int>(buffer.size()));
        if (written < 0)
            return false;
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    const int flushed = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
    if (flushed < 0)
        return false;
    out.insert(out.end(), buffer.begin(), buffer.begin() + flushed);

    // The first frame was a placeholder for the encoder-delay and length
    // information that gapless decoders use; it is complete only now.
    std::vector<unsigned char> infoFrame(buffer.size());
    const size_t infoSize = lame_get_lametag_frame(lame, infoFrame.data(), infoFrame.size());
    if (infoSize > 0 && infoSize <= infoFrame.size() && infoSize <= out.size())
        std::copy(infoFrame.begin(), infoFrame.begin() + static_cast<long>(infoSize), out.begin());
    return true;
}

} // namespace

std::vector<uint8_t> encodeMp3(const Mp3Audio& audio, const std::vector<Mp3Marker>& markers, int kilobitsPerSecond)
{
    if ((audio.channels != 1 && audio.channels != 2) || audio.samples.size() % static_cast<size_t>(audio.channels) != 0)
        return {};
    lame_global_flags* lame = lame_init();
    if (!lame)
        return {};
    lame_set_num_channels(lame, audio.channels);
    lame_set_in_samplerate(lame, audio.sampleRate);
    lame_set_out_samplerate(lame, audio.sampleRate);
    lame_set_mode(lame, audio.channels == 2 ? JOINT_STEREO : MONO);
    lame_set_brate(lame, kilobitsPerSecond);
    lame_set_quality(lame, 5);
    lame_set_write_id3tag_automatic(lame, 0);

    std::vector<uint8_t> out;
    if (!markers.empty())
        out = chapterTag(markers);
    std::vector<uint8_t> frames;
    const bool encoded = lame_init_params(lame) >= 0 && encodeFrames(lame, audio, frames);
    lame_close(lame);
    if (!encoded)
        return {};
    out.insert(out.end(), frames.begin(), frames.end());
    return out;
}

bool writeMp3(const std::string& path, const Mp3Audio& audio, const std::vector<Mp3Marker>& markers, int kilobitsPerSecond)
{
    const std::vector<uint8_t> bytes = encodeMp3(audio, markers, kilobitsPerSecond);
    return !bytes.empty() && writeFileBytes(path, bytes);
}

} // namespace writers
