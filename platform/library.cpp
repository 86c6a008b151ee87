#include "platform/library.h"

#include <cstring>
#include <dlfcn.h>

#include "platform/gl_context.h"

namespace platform {

struct Library {
    void* handle = nullptr;  // null for the GL services table
};

namespace {

struct Service {
    const char* name;
    void* function;
};

template <typename Function>
void* address(Function* function)
{
    return reinterpret_cast<void*>(function);
}

// The window-system rows of the entry-point table, under their original names.
const Service kServiceTable[] = {
    {"wglCopyContext", address(&copyContext)},
    {"wglCreateContext", address(&createContext)},
    {"wglCreateLayerContext", address(&createLayerContext)},
    {"wglDeleteContext", address(&deleteContext)},
    {"wglGetCurrentContext", address(&currentContext)},
    {"wglGetCurrentDC", address(&currentWindow)},
    {"wglGetProcAddress", address(&getProcAddress)},
    {"wglMakeCurrent", address(&makeCurrent)},
    {"wglShareLists", address(&shareLists)},
    {"ChoosePixelFormat", address(&choosePixelFormat)},
    {"DescribePixelFormat", address(&describePixelFormat)},
    {"GetPixelFormat", address(&getPixelFormat)},
    {"SetPixelFormat", address(&setPixelFormat)},
    {"SwapBuffers", address(&swapBuffers)},
};

Library g_servicesLibrary;

} // namespace

Library* openLibrary(const char* name)
{
    if (std::strcmp(name, kGLServices) == 0)
        return &g_servicesLibrary;
    void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    // Libraries stay open for the whole process, as the original never freed them.
    return new Library{handle};
}

void* findSymbol(Library* library, const char* symbol)
{
    if (!library)
        return nullptr;
    if (library == &g_servicesLibrary) {
        for (const Service& service : kServiceTable)
            if (std::strcmp(service.name, symbol) == 0)
                return service.function;
        return nullptr;
    }
    return dlsym(library->handle, symbol);
}

} // namespace platform
