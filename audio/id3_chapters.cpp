#include "audio/id3_chapters.h"

#include <algorithm>
#include <cstring>

namespace audio {
namespace {

uint32_t bigEndian32(const unsigned char* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

uint32_t syncSafe32(const unsigned char* p)
{
    return (uint32_t(p[0] & 0x7F) << 21) | (uint32_t(p[1] & 0x7F) << 14) | (uint32_t(p[2] & 0x7F) << 7) | uint32_t(p[3] & 0x7F);
}

// Bytes [begin, end) up to the first zero.
std::string textUntilZero(const unsigned char* begin, const unsigned char* end)
{
    const unsigned char* zero = std::find(begin, end, 0);
    return std::string(reinterpret_cast<const char*>(begin), static_cast<size_t>(zero - begin));
}

// Calls `visit(id, data, size)` for each frame in [begin, end) until the
// padding or a frame that would run past the end.
template <typename Visit>
void forEachFrame(const unsigned char* begin, const unsigned char* end, int majorVersion, Visit visit)
{
    const unsigned char* p = begin;
    while (end - p >= 10 && p[0] != 0) {
        const uint32_t size = majorVersion == 4 ? syncSafe32(p + 4) : bigEndian32(p + 4);
        if (size > static_cast<size_t>(end - p - 10))
            return;
        visit(reinterpret_cast<const char*>(p), p + 10, size);
        p += 10 + size;
    }
}

bool readChapter(const unsigned char* data, uint32_t size, int majorVersion, ChapterMark& mark)
{
    const unsigned char* end = data + size;
    const unsigned char* zero = std::find(data, end, 0);
    if (end - zero < 1 + 16)
        return false;
    mark.name = std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(zero - data));
    mark.startMilliseconds = bigEndian32(zero + 1);
    forEachFrame(zero + 17, end, majorVersion, [&](const char* id, const unsigned char* sub, uint32_t subSize) {
        const bool latinOrUtf8 = subSize > 1 && (sub[0] == 0 || sub[0] == 3);
        if (std::memcmp(id, "TIT2", 4) == 0 && latinOrUtf8) {
            std::string title = textUntilZero(sub + 1, sub + subSize);
            if (!title.empty())
                mark.name = title;
        }
    });
    return true;
}

} // namespace

std::vector<ChapterMark> readChapterMarks(const unsigned char* bytes, size_t size)
{
    std::vector<ChapterMark> marks;
    if (!bytes || size < 10 || std::memcmp(bytes, "ID3", 3) != 0)
        return marks;
    const int majorVersion = bytes[3];
    const unsigned char flags = bytes[5];
    if ((majorVersion != 3 && majorVersion != 4) || (flags & 0x80))
        return marks;

    const unsigned char* end = bytes + std::min<size_t>(size, 10 + size_t(syncSafe32(bytes + 6)));
    const unsigned char* frames = bytes + 10;
    if (flags & 0x40) {
        if (end - frames < 4)
            return marks;
        // Version 3 counts the extended header without its size field, 4 with it.
        const size_t extended = majorVersion == 4 ? syncSafe32(frames) : size_t(bigEndian32(frames)) + 4;
        if (extended > static_cast<size_t>(end - frames))
            return marks;
        frames += extended;
    }
    forEachFrame(frames, end, majorVersion, [&](const char* id, const unsigned char* data, uint32_t frameSize) {
        ChapterMark mark;
        if (std::memcmp(id, "CHAP", 4) == 0 && readChapter(data, frameSize, majorVersion, mark))
            marks.push_back(mark);
    });
    std::stable_sort(marks.begin(), marks.end(), [](const ChapterMark& a, const ChapterMark& b) {
        return a.startMilliseconds < b.startMilliseconds;
    });
    return marks;
}

} // namespace audio
