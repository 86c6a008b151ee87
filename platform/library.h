#pragma once
// Shared libraries opened at run time, and symbol look-up in them.

namespace platform {

struct Library;

// Opens a shared library by file name ("libGL.so.1"). The name
// kGLServices opens the platform's own table of window-system GL services
// (the context, pixel-format and swap functions). Returns null on failure.
Library* openLibrary(const char* name);

// The address of `symbol` in `library`, or null.
void* findSymbol(Library* library, const char* symbol);

inline constexpr const char* kGLServices = "skydrift-gl-services";

} // namespace platform
