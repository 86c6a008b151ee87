#pragma once
#include <vector>

namespace audio {

// Reads the whole file named by `resourceName` ("demo\_SKYD11.xm").
// Returns FMOD_ERR_NONE, FMOD_ERR_FILE_NOTFOUND when it cannot be opened,
// FMOD_ERR_FILE_BAD when it cannot be read, or FMOD_ERR_MEMORY.
int readResource(const char* resourceName, std::vector<unsigned char>& bytes);

} // namespace audio
