#include "tools/hlvtool/input_check.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace hlvtool {

namespace {

// Files people mistake for content, told by their first bytes.
const char* foreignKind(const std::string& head)
{
    const struct {
        const char* magic;
        size_t size;
        const char* kind;
    } kinds[] = {
        {"\x89PNG\r\n\x1a\n", 8, "a PNG picture"},
        {"\xFF\xD8\xFF", 3, "a JPEG picture"},
        {"GIF8", 4, "a GIF picture"},
        {"BM", 2, "a BMP picture"},
        {"PK\x03\x04", 4, "a ZIP archive"},
        {"\x1F\x8B", 2, "a gzip archive"},
        {"glTF", 4, "a glTF binary (.glb)"},
        {"%PDF", 4, "a PDF document"},
        {"\x7F" "ELF", 4, "a program"},
    };
    for (const auto& kind : kinds)
        if (head.size() >= kind.size && head.compare(0, kind.size, kind.magic, kind.size) == 0)
            return kind.kind;
    return nullptr;
}

uint32_t bigEndian32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

} // namespace

std::string inputProblem(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (!fs::exists(status))
        return path + ": no such file (check the name; it is looked for from " + fs::current_path(code).string() +
               ")";
    if (fs::is_directory(status))
        return path + " is a folder, not a file: give a scene file (.hlv), a LightWave object (.lwo) or a "
                      "LightWave scene (.lws) in it";
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return path + " cannot be read: " + std::strerror(errno);
    std::string head(12, '\0');
    file.read(&head[0], std::streamsize(head.size()));
    head.resize(size_t(file.gcount()));
    const uintmax_t size = fs::file_size(path, code);
    if (size == 0)
        return path + " is empty: it holds no scene or object (was it saved completely?)";
    if (const char* kind = foreignKind(head))
        return path + " is not a LightWave or scene file but " + kind + ": give the .lwo, .lws or .hlv file";
    // An IFF file announces its length: a file shorter than that was cut
    // short (a copy or a download that stopped).
    if (head.size() == 12 && head.compare(0, 4, "FORM") == 0) {
        const uintmax_t announced = uintmax_t(bigEndian32(head, 4)) + 8;
        if (size < announced)
            return path + " is cut short at byte " + std::to_string(size) + " of the " + std::to_string(announced) +
                   " its header announces: copy or save it again";
    }
    return {};
}

std::string readFailure(const std::string& path, const std::string& what, const std::string& readerMessage)
{
    std::string reason = readerMessage;
    if (reason.compare(0, path.size() + 2, path + ": ") == 0)
        reason.erase(0, path.size() + 2);
    // A file the content needs and --strict wants found: the content is sound.
    if (reason.find("is not found") != std::string::npos)
        return path + ": " + reason + " Give the folder that holds it with --search DIR, or leave out --strict";
    return path + " cannot be read as " + what + ", it may be damaged (the reader says: " + reason +
           "); try saving it again";
}

} // namespace hlvtool
