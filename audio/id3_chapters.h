#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace audio {

// A named point in a stream, from an ID3v2 "CHAP" frame.
struct ChapterMark {
    std::string name;
    uint32_t startMilliseconds = 0;
};

// The chapter marks of the ID3v2.3 or 2.4 tag at the start of a file, in
// time order. Each is named by its "TIT2" sub-frame when that is ISO-8859-1
// or UTF-8 text, else by its element id. A file without a tag, or a tag that
// is unsynchronised or malformed, has none; nothing outside `size` is read.
std::vector<ChapterMark> readChapterMarks(const unsigned char* bytes, size_t size);

} // namespace audio
