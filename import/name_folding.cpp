#include "import/name_folding.h"

#include <filesystem>
#include <system_error>

namespace LW {

namespace {

// The length of the UTF-8 sequence that starts with `lead`; 0 for a byte
// that cannot start one.
size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

bool isUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        const size_t length = sequenceLength(static_cast<unsigned char>(text[i]));
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

} // namespace

std::string utf8Name(const std::string& name)
{
    if (isUtf8(name))
        return name;
    std::string utf8;
    for (unsigned char c : name) {
        if (c < 0x80) {
            utf8 += char(c);
        } else {
            utf8 += char(0xC0 | c >> 6);
            utf8 += char(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::string foldedName(const std::string& name)
{
    std::string folded = utf8Name(name);
    for (size_t i = 0; i < folded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(folded[i]);
        if (c >= 'A' && c <= 'Z') {
            folded[i] = char(c + 32);
        } else if (c == 0xC3 && i + 1 < folded.size()) {
            // U+00C0 to U+00DE are the capitals of U+00E0 to U+00FE, but
            // for the multiplication sign U+00D7.
            const unsigned char next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                folded[i + 1] = char(next + 0x20);
            ++i;
        }
    }
    return folded;
}

std::string FoldedFolders::entry(const std::string& folder, const std::string& name)
{
    std::error_code error;
    const std::filesystem::path base(folder.empty() ? "." : folder);
    if (std::filesystem::exists(base / name, error))
        return name;
    auto listing = listings_.find(folder);
    if (listing == listings_.end()) {
        listing = listings_.emplace(folder, std::map<std::string, std::string>()).first;
        for (std::filesystem::directory_iterator it(base, error), end; !error && it != end; it.increment(error)) {
            const std::string candidate = it->path().filename().string();
            std::string& kept = listing->second[foldedName(candidate)];
            if (kept.empty() || candidate < kept)
                kept = candidate;
        }
    }
    const auto found = listing->second.find(foldedName(name));
    return found == listing->second.end() ? std::string() : found->second;
}

} // namespace LW
