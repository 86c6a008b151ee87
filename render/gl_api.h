#pragma once
// The OpenGL entry-point table. Nothing links against an OpenGL library:
// every function below is a slot filled at run time by LoadGLLibraries and
// LoadGLExtensions, and the usual names (glClear, glActiveTextureARB, ...)
// are macros that call through the slots. Include this header instead of
// <GL/gl.h> wherever OpenGL is called.

#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/gl_context.h"
#include "render/gl_core_functions.h"
#include "render/gl_extension_functions.h"

// The window-system rows of the "_GL" group, served by the platform layer.
#define SKYDRIFT_GL_WINDOW_SYSTEM_FUNCTIONS(X) \
    X(int, wglCopyContext, (platform::GLContext* source, platform::GLContext* destination, unsigned mask)) \
    X(platform::GLContext*, wglCreateContext, (platform::Window* window)) \
    X(platform::GLContext*, wglCreateLayerContext, (platform::Window* window, int layer)) \
    X(int, wglDeleteContext, (platform::GLContext* context)) \
    X(platform::GLContext*, wglGetCurrentContext, (void)) \
    X(platform::Window*, wglGetCurrentDC, (void)) \
    X(void*, wglGetProcAddress, (const char* name)) \
    X(int, wglMakeCurrent, (platform::Window* window, platform::GLContext* context)) \
    X(int, wglShareLists, (platform::GLContext* first, platform::GLContext* second)) \
    X(int, ChoosePixelFormat, (platform::Window* window, const platform::PixelFormatDescriptor* request)) \
    X(int, DescribePixelFormat, (platform::Window* window, int format, unsigned size, platform::PixelFormatDescriptor* out)) \
    X(int, GetPixelFormat, (platform::Window* window)) \
    X(int, SetPixelFormat, (platform::Window* window, int format, const platform::PixelFormatDescriptor* request)) \
    X(int, SwapBuffers, (platform::Window* window))

#define SKYDRIFT_GLU_FUNCTIONS(X) \
    X(GLint, gluScaleImage, (GLenum format, GLint widthIn, GLint heightIn, GLenum typeIn, const void* dataIn, GLint widthOut, GLint heightOut, GLenum typeOut, void* dataOut)) \
    X(GLint, gluBuild2DMipmaps, (GLenum target, GLint internalFormat, GLsizei width, GLsizei height, GLenum format, GLenum type, const void* data))

#define SKYDRIFT_DECLARE_SLOT(ret, name, params) extern ret(*slot_##name) params;
#define SKYDRIFT_DECLARE_EXT_SLOT(flag, ret, name, params) extern ret(*slot_##name) params;
SKYDRIFT_GL_CORE_FUNCTIONS(SKYDRIFT_DECLARE_SLOT)
SKYDRIFT_GL_WINDOW_SYSTEM_FUNCTIONS(SKYDRIFT_DECLARE_SLOT)
SKYDRIFT_GLU_FUNCTIONS(SKYDRIFT_DECLARE_SLOT)
SKYDRIFT_GL_EXT_SECONDARY_COLOR(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_EXT_COMPILED_VERTEX_ARRAY(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_EXT_DRAW_RANGE_ELEMENTS(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_ARB_IMAGING(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_ARB_MULTITEXTURE(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_SWAP(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_EXT_POINT_PARAMETERS(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_NV_VERTEX_ARRAY_RANGE(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_NV_REGISTER_COMBINERS(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_ARB_FRAMEBUFFER_OBJECT(SKYDRIFT_DECLARE_EXT_SLOT)
SKYDRIFT_GL_FRAMEBUFFER_MULTISAMPLE(SKYDRIFT_DECLARE_EXT_SLOT)
#undef SKYDRIFT_DECLARE_SLOT
#undef SKYDRIFT_DECLARE_EXT_SLOT

#include "render/gl_names.h"

// One flag per entry-point group and per extension without entry points.
// Every flag starts at 1 and reads 0 once the group is known to be missing.
namespace glflags {
extern int GL;    // "_GL": core OpenGL 1.1 and the window-system rows
extern int GLU;   // "_GLU"
extern int EXT_secondary_color;
extern int EXT_compiled_vertex_array;
extern int EXT_draw_range_elements;
extern int ARB_imaging;
extern int ARB_multitexture;
extern int ARB_texture_compression;
extern int Swap;  // "GL_Swap"
extern int EXT_clip_volume_hint;
extern int EXT_point_parameters;
extern int EXT_texture_filter_anisotropic;
extern int EXT_texture_edge_clamp;
extern int EXT_texture_cube_map;
extern int ARB_texture_cube_map;
extern int EXT_texture_env_combine;
extern int EXT_texture_env_dot3;
extern int NV_vertex_array_range;
extern int NV_fog_distance;
extern int NV_register_combiners;
extern int SGIS_generate_mipmap;
// Framebuffer objects with blit, from GL 3.0, GL_ARB_framebuffer_object or
// GL_EXT_framebuffer_object with GL_EXT_framebuffer_blit.
extern int ARB_framebuffer_object;
// Multisampled renderbuffers beside the framebuffer objects.
extern int framebuffer_multisample;
} // namespace glflags

// The first pass: opens libGL.so.1, libGLU.so.1 and the platform's GL
// services, and resolves every row without asking the driver. Runs once per
// process; returns 1 when the "_GL" and "_GLU" groups are complete.
int LoadGLLibraries();

// The second pass, with a context current: resolves the extension groups,
// then the framebuffer objects.
void LoadGLExtensions();

// Fills one slot (unless already filled) and clears the group flag when the
// entry point cannot be found.
void ResolveEntryPoint(void** slot, const char* name, const char* groupName, int* groupFlag, bool allowWGL);

// 1 when `name` is listed in the extension string (or is one of the
// pseudo-extensions "_GL", "_GLU", "GL_Swap"), else 0.
int IsExtensionSupported(const char* name);

// One row of the entry-point table.
struct GLEntryPoint {
    const char* name;
    const char* group;
    int* flag;
    void** slot;
};
// The 389 rows in table order.
const GLEntryPoint* glEntryPoints();
int glEntryPointCount();
// The framebuffer-object entry points, beside the table.
const GLEntryPoint* glFramebufferEntryPoints();
int glFramebufferEntryPointCount();
// The flag of a group or extension by its name ("GL_ARB_multitexture"), or null.
int* glFlagByName(const char* name);
