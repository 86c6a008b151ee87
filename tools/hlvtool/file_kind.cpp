#include "tools/hlvtool/file_kind.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/path.h"

namespace hlvtool {

namespace {

FileKind kindOfContent(const unsigned char* bytes, size_t size)
{
    if (size >= 12 && std::memcmp(bytes, "FORM", 4) == 0) {
        for (const char* form : {"LWO2", "LWO3", "LWOB"})
            if (std::memcmp(bytes + 8, form, 4) == 0)
                return FileKind::LightWaveObject;
        return FileKind::Unknown;
    }
    // Scene files start with the class name of their first object.
    if (size >= 6 && std::memcmp(bytes, "class ", 6) == 0)
        return FileKind::SceneFile;
    size_t at = 0;
    if (size >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0)
        at = 3;  // a text editor's byte-order mark
    while (at < size && std::isspace(bytes[at]))
        ++at;
    if (size - at >= 4 && std::memcmp(bytes + at, "LWSC", 4) == 0 &&
        (size - at == 4 || std::isspace(bytes[at + 4])))
        return FileKind::LightWaveScene;
    return FileKind::Unknown;
}

FileKind kindOfExtension(const std::string& path)
{
    const std::string name = platform::fileNamePart(path.c_str());
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos)
        return FileKind::Unknown;
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "hlv")
        return FileKind::SceneFile;
    if (extension == "lwo")
        return FileKind::LightWaveObject;
    if (extension == "lws")
        return FileKind::LightWaveScene;
    return FileKind::Unknown;
}

} // namespace

FileKind fileKindOf(const std::string& path)
{
    unsigned char bytes[64];
    size_t size = 0;
    if (FILE* file = platform::openResource(path, "rb")) {
        size = std::fread(bytes, 1, sizeof bytes, file);
        std::fclose(file);
    }
    const FileKind kind = kindOfContent(bytes, size);
    return kind != FileKind::Unknown ? kind : kindOfExtension(path);
}

} // namespace hlvtool
