#include "render/gl_api.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/library.h"

#define SKYDRIFT_DEFINE_SLOT(ret, name, params) ret(*slot_##name) params = nullptr;
#define SKYDRIFT_DEFINE_EXT_SLOT(flag, ret, name, params) ret(*slot_##name) params = nullptr;
SKYDRIFT_GL_CORE_FUNCTIONS(SKYDRIFT_DEFINE_SLOT)
SKYDRIFT_GL_WINDOW_SYSTEM_FUNCTIONS(SKYDRIFT_DEFINE_SLOT)
SKYDRIFT_GLU_FUNCTIONS(SKYDRIFT_DEFINE_SLOT)
SKYDRIFT_GL_EXT_SECONDARY_COLOR(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_EXT_COMPILED_VERTEX_ARRAY(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_EXT_DRAW_RANGE_ELEMENTS(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_ARB_IMAGING(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_ARB_MULTITEXTURE(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_SWAP(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_EXT_POINT_PARAMETERS(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_NV_VERTEX_ARRAY_RANGE(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_NV_REGISTER_COMBINERS(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_ARB_FRAMEBUFFER_OBJECT(SKYDRIFT_DEFINE_EXT_SLOT)
SKYDRIFT_GL_FRAMEBUFFER_MULTISAMPLE(SKYDRIFT_DEFINE_EXT_SLOT)

namespace glflags {
int GL = 1;
int GLU = 1;
int EXT_secondary_color = 1;
int EXT_compiled_vertex_array = 1;
int EXT_draw_range_elements = 1;
int ARB_imaging = 1;
int ARB_multitexture = 1;
int ARB_texture_compression = 1;
int Swap = 1;
int EXT_clip_volume_hint = 1;
int EXT_point_parameters = 1;
int EXT_texture_filter_anisotropic = 1;
int EXT_texture_edge_clamp = 1;
int EXT_texture_cube_map = 1;
int ARB_texture_cube_map = 1;
int EXT_texture_env_combine = 1;
int EXT_texture_env_dot3 = 1;
int NV_vertex_array_range = 1;
int NV_fog_distance = 1;
int NV_register_combiners = 1;
int SGIS_generate_mipmap = 1;
int ARB_framebuffer_object = 1;
int framebuffer_multisample = 1;
} // namespace glflags

namespace {

#define SKYDRIFT_CORE_ROW(ret, name, params) {#name, "_GL", &glflags::GL, reinterpret_cast<void**>(&slot_##name)},
#define SKYDRIFT_GLU_ROW(ret, name, params) {#name, "_GLU", &glflags::GLU, reinterpret_cast<void**>(&slot_##name)},
#define SKYDRIFT_EXT_ROW(flag, ret, name, params) {#name, "GL_" #flag, &glflags::flag, reinterpret_cast<void**>(&slot_##name)},

const GLEntryPoint kEntryPoints[] = {
    SKYDRIFT_GL_CORE_FUNCTIONS(SKYDRIFT_CORE_ROW)
    SKYDRIFT_GL_WINDOW_SYSTEM_FUNCTIONS(SKYDRIFT_CORE_ROW)
    SKYDRIFT_GLU_FUNCTIONS(SKYDRIFT_GLU_ROW)
    SKYDRIFT_GL_EXT_SECONDARY_COLOR(SKYDRIFT_EXT_ROW)
    SKYDRIFT_GL_EXT_COMPILED_VERTEX_ARRAY(SKYDRIFT_EXT_ROW)
    SKYDRIFT_GL_EXT_DRAW_RANGE_ELEMENTS(SKYDRIFT_EXT_ROW)
    SKYDRIFT_GL_ARB_IMAGING(SKYDRIFT_EXT_ROW)
    SKYDRIFT_GL_ARB_MULTITEXTURE(SKYDRIFT_EXT_ROW)
    SKYDRIFT_GL_SWAP(SKYDRIFT_EXT_ROW)
    SKYDRIFT_GL_EXT_POINT_PARAMETERS(SKYDRIFT_EXT_ROW)
    SKYDRIFT_GL_NV_VERTEX_ARRAY_RANGE(SKYDRIFT_EXT_ROW)
    SKYDRIFT_GL_NV_REGISTER_COMBINERS(SKYDRIFT_EXT_ROW)
};
constexpr int kEntryPointCount = sizeof(kEntryPoints) / sizeof(kEntryPoints[0]);
static_assert(kEntryPointCount == 389, "the entry-point table has 389 rows");

const GLEntryPoint kFramebufferEntryPoints[] = {SKYDRIFT_GL_ARB_FRAMEBUFFER_OBJECT(SKYDRIFT_EXT_ROW)};
constexpr int kFramebufferEntryPointCount = sizeof(kFramebufferEntryPoints) / sizeof(kFramebufferEntryPoints[0]);

// Extensions that bring no entry points, and the group after which the
// second pass reads each of them.
struct PlainExtension {
    const char* name;
    int* flag;
    const char* after;
};
const PlainExtension kPlainExtensions[] = {
    {"GL_ARB_texture_compression", &glflags::ARB_texture_compression, "GL_ARB_multitexture"},
    {"GL_EXT_clip_volume_hint", &glflags::EXT_clip_volume_hint, "GL_Swap"},
    {"GL_EXT_texture_filter_anisotropic", &glflags::EXT_texture_filter_anisotropic, "GL_EXT_point_parameters"},
    {"GL_EXT_texture_edge_clamp", &glflags::EXT_texture_edge_clamp, "GL_EXT_point_parameters"},
    {"GL_EXT_texture_cube_map", &glflags::EXT_texture_cube_map, "GL_EXT_point_parameters"},
    {"GL_ARB_texture_cube_map", &glflags::ARB_texture_cube_map, "GL_EXT_point_parameters"},
    {"GL_EXT_texture_env_combine", &glflags::EXT_texture_env_combine, "GL_EXT_point_parameters"},
    {"GL_EXT_texture_env_dot3", &glflags::EXT_texture_env_dot3, "GL_EXT_point_parameters"},
    {"GL_NV_fog_distance", &glflags::NV_fog_distance, "GL_NV_vertex_array_range"},
    {"GL_SGIS_generate_mipmap", &glflags::SGIS_generate_mipmap, nullptr},
};

// libGL, libGLU and the platform's GL services stand where the original
// opened opengl32, glu32 and gdi32.
platform::Library* g_libraries[3] = {nullptr, nullptr, nullptr};
const char* const kLibraryNames[3] = {"libGL.so.1", "libGLU.so.1", platform::kGLServices};

bool glVersionAtLeast(int major, int minor)
{
    if (!slot_glGetString)
        return false;
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version)
        return false;
    char* end = nullptr;
    long have = std::strtol(version, &end, 10);
    long haveMinor = (end && *end == '.') ? std::strtol(end + 1, nullptr, 10) : 0;
    return have > major || (have == major && haveMinor >= minor);
}

// Drivers of today have glBlendEquation in core (1.4 and later) or through
// GL_EXT_blend_subtract without listing the imaging subset.
int imagingSupported()
{
    return IsExtensionSupported("GL_ARB_imaging") || glVersionAtLeast(1, 4)
        || IsExtensionSupported("GL_EXT_blend_subtract");
}

// GL 3.0 and GL_ARB_framebuffer_object name the entry points as the rows do;
// GL_EXT_framebuffer_object and GL_EXT_framebuffer_blit add "EXT".
void resolveFramebufferObjects()
{
    const char* suffix = nullptr;
    if (glVersionAtLeast(3, 0) || IsExtensionSupported("GL_ARB_framebuffer_object"))
        suffix = "";
    else if (IsExtensionSupported("GL_EXT_framebuffer_object") && IsExtensionSupported("GL_EXT_framebuffer_blit"))
        suffix = "EXT";
    glflags::ARB_framebuffer_object = suffix ? 1 : 0;
    if (!suffix)
        return;
    for (const GLEntryPoint& row : kFramebufferEntryPoints)
        ResolveEntryPoint(row.slot, (std::string(row.name) + suffix).c_str(), row.group, row.flag, true);
    glflags::framebuffer_multisample = glflags::ARB_framebuffer_object
        && (*suffix == '\0' || IsExtensionSupported("GL_EXT_framebuffer_multisample"));
    if (glflags::framebuffer_multisample)
        ResolveEntryPoint(reinterpret_cast<void**>(&slot_glRenderbufferStorageMultisample),
                          (std::string("glRenderbufferStorageMultisample") + suffix).c_str(),
                          "GL_framebuffer_multisample", &glflags::framebuffer_multisample, true);
}

void resolveGroup(const char* group, int* flag)
{
    *flag = std::strcmp(group, "GL_ARB_imaging") == 0 ? imagingSupported() : IsExtensionSupported(group);
    for (const GLEntryPoint& row : kEntryPoints)
        if (std::strcmp(row.group, group) == 0)
            ResolveEntryPoint(row.slot, row.name, row.group, row.flag, true);
}

} // namespace

void ResolveEntryPoint(void** slot, const char* name, const char*, int* groupFlag, bool allowWGL)
{
    if (*slot)
        return;
    for (platform::Library* library : g_libraries) {
        if (library && (*slot = platform::findSymbol(library, name)))
            return;
    }
    if (*groupFlag && allowWGL && slot_wglGetProcAddress)
        *slot = wglGetProcAddress(name);
    if (!*slot)
        *groupFlag = 0;
}

int LoadGLLibraries()
{
    for (platform::Library* library : g_libraries)
        if (library)
            return 1;
    bool opened = true;
    for (int i = 0; i < 3; ++i) {
        g_libraries[i] = platform::openLibrary(kLibraryNames[i]);
        opened = opened && g_libraries[i];
    }
    if (!opened)
        return 0;
    for (const GLEntryPoint& row : kEntryPoints)
        ResolveEntryPoint(row.slot, row.name, row.group, row.flag, false);
    return glflags::GL && glflags::GLU ? 1 : 0;
}

void LoadGLExtensions()
{
    const char* previousGroup = nullptr;
    auto readPlainExtensionsAfter = [](const char* group) {
        for (const PlainExtension& extension : kPlainExtensions)
            if (extension.after && std::strcmp(extension.after, group) == 0)
                *extension.flag = IsExtensionSupported(extension.name);
    };
    for (const GLEntryPoint& row : kEntryPoints) {
        if (previousGroup && std::strcmp(previousGroup, row.group) == 0)
            continue;
        if (previousGroup)
            readPlainExtensionsAfter(previousGroup);
        previousGroup = row.group;
        resolveGroup(row.group, row.flag);
    }
    readPlainExtensionsAfter(previousGroup);
    for (const PlainExtension& extension : kPlainExtensions)
        if (!extension.after)
            *extension.flag = IsExtensionSupported(extension.name);
    // llvmpipe's anisotropic sampling can take tens of seconds over a single
    // frame (35 s for the cubes' sky faces at a filter of 2, Mesa 22.3), so
    // textures there are filtered without it.
    const char* renderer = slot_glGetString ? reinterpret_cast<const char*>(glGetString(GL_RENDERER)) : nullptr;
    if (renderer && std::strstr(renderer, "llvmpipe"))
        glflags::EXT_texture_filter_anisotropic = 0;
    resolveFramebufferObjects();
}

int IsExtensionSupported(const char* name)
{
    if (std::strcmp(name, "_GL") == 0 || std::strcmp(name, "_GLU") == 0 || std::strcmp(name, "GL_Swap") == 0)
        return 1;
    if (!slot_glGetString)
        return 0;
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!extensions)
        return 0;
    size_t length = std::strlen(name);
    if (length == 0)
        return 0;
    // An occurrence counts only when a space or the end of the string follows it.
    for (const char* at = std::strstr(extensions, name); at; at = std::strstr(at + length, name)) {
        char next = at[length];
        if (next == ' ' || next == '\0')
            return 1;
    }
    return 0;
}

const GLEntryPoint* glEntryPoints() { return kEntryPoints; }
int glEntryPointCount() { return kEntryPointCount; }
const GLEntryPoint* glFramebufferEntryPoints() { return kFramebufferEntryPoints; }
int glFramebufferEntryPointCount() { return kFramebufferEntryPointCount; }

int* glFlagByName(const char* name)
{
    for (const GLEntryPoint& row : kEntryPoints)
        if (std::strcmp(row.group, name) == 0)
            return row.flag;
    for (const PlainExtension& extension : kPlainExtensions)
        if (std::strcmp(extension.name, name) == 0)
            return extension.flag;
    if (std::strcmp(kFramebufferEntryPoints[0].group, name) == 0)
        return kFramebufferEntryPoints[0].flag;
    return nullptr;
}
