#include "tools/hlvtool/utf8_text.h"

#include <cstdint>

namespace hlvtool {

namespace {

// Windows-1252's 0x80-0x9F; the five bytes it leaves undefined stay as the
// C1 controls Latin-1 gives them.
const uint16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The length of the valid UTF-8 sequence at `at`, 0 when there is none.
size_t utf8SequenceAt(const std::string& text, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    size_t length = 0;
    uint32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void appendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x800) {
        out += char(0xC0 | code >> 6);
    } else {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
    }
    out += char(0x80 | (code & 0x3F));
}

} // namespace

std::string utf8Text(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const uint8_t byte = static_cast<uint8_t>(text[at]);
        if (byte < 0x80) {
            out += char(byte);
            ++at;
        } else if (size_t length = utf8SequenceAt(text, at)) {
            out.append(text, at, length);
            at += length;
        } else {
            appendUtf8(out, byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
            ++at;
        }
    }
    return out;
}

} // namespace hlvtool
