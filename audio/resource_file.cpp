#include "audio/resource_file.h"

#include <cstdio>
#include <new>

#include "audio/fmod.h"
#include "platform/path.h"

namespace audio {

int readResource(const char* resourceName, std::vector<unsigned char>& bytes)
{
    if (!resourceName)
        return FMOD_ERR_INVALID_PARAM;
    FILE* file = platform::openResource(resourceName, "rb");
    if (!file)
        return FMOD_ERR_FILE_NOTFOUND;

    int result = FMOD_ERR_NONE;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        result = FMOD_ERR_FILE_BAD;
    } else {
        try {
            bytes.resize(static_cast<size_t>(size));
            if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size())
                result = FMOD_ERR_FILE_BAD;
        } catch (const std::bad_alloc&) {
            result = FMOD_ERR_MEMORY;
        }
    }
    std::fclose(file);
    if (result != FMOD_ERR_NONE)
        bytes.clear();
    return result;
}

} // namespace audio
