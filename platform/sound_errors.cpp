#include "platform/sound_errors.h"

#include <dlfcn.h>
#include <sys/stat.h>

namespace platform {

namespace {

void ignoreError(const char*, int, const char*, int, const char*, ...) {}

using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetErrorHandler = int (*)(ErrorHandler);

} // namespace

void silenceSoundLibraryErrors()
{
    // Kept open: SDL's own dlopen shares it, and the handler must outlive the show.
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return;
    if (auto set = reinterpret_cast<SetErrorHandler>(dlsym(library, "snd_lib_error_set_handler")))
        set(ignoreError);
}

bool hasSoundCard()
{
    struct stat info;
    return stat("/dev/snd", &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace platform
