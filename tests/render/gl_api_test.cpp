#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/gl_context.h"
#include "render/gl_api.h"

namespace {

const char* g_extensions = "";
const char* g_version = "1.1";
std::set<std::string> g_missing;        // names the fake driver does not have
std::vector<std::string> g_askedNames;  // names asked of wglGetProcAddress

const GLubyte* fakeGetString(GLenum name)
{
    return reinterpret_cast<const GLubyte*>(name == GL_EXTENSIONS ? g_extensions : g_version);
}

void anyEntryPoint() {}

void* fakeGetProcAddress(const char* name)
{
    g_askedNames.push_back(name);
    return g_missing.count(name) ? nullptr : reinterpret_cast<void*>(&anyEntryPoint);
}

void useFakeDriver(const char* extensions, const char* version = "1.1")
{
    g_extensions = extensions;
    g_version = version;
    slot_glGetString = fakeGetString;
    slot_wglGetProcAddress = fakeGetProcAddress;
}

} // namespace

TEST(GLEntryPoints, TableHasEveryRowAndGroupInOrder)
{
    const std::vector<std::pair<std::string, int>> expected = {
        {"_GL", 350}, {"_GLU", 2}, {"GL_EXT_secondary_color", 3}, {"GL_EXT_compiled_vertex_array", 2},
        {"GL_EXT_draw_range_elements", 1}, {"GL_ARB_imaging", 1}, {"GL_ARB_multitexture", 10}, {"GL_Swap", 1},
        {"GL_EXT_point_parameters", 2}, {"GL_NV_vertex_array_range", 4}, {"GL_NV_register_combiners", 13}};
    std::vector<std::pair<std::string, int>> groups;
    for (int i = 0; i < glEntryPointCount(); ++i) {
        const GLEntryPoint& row = glEntryPoints()[i];
        if (groups.empty() || groups.back().first != row.group)
            groups.push_back({row.group, 0});
        ++groups.back().second;
        EXPECT_EQ(row.flag, glFlagByName(row.group)) << row.name;
    }
    EXPECT_EQ(groups, expected);
    EXPECT_STREQ(glEntryPoints()[0].name, "glAccum");
    EXPECT_STREQ(glEntryPoints()[335].name, "glViewport");
    EXPECT_STREQ(glEntryPoints()[336].name, "wglCopyContext");
    EXPECT_STREQ(glEntryPoints()[349].name, "SwapBuffers");
    EXPECT_STREQ(glEntryPoints()[388].name, "glGetFinalCombinerInputParameterivNV");
}

TEST(GLEntryPoints, ExtensionNamesMatchOnlyWhenFollowedBySpaceOrEnd)
{
    useFakeDriver("GL_EXT_texture_cube_map_foo GL_EXT_texture_cube_map GL_ARB_multitexture");
    EXPECT_EQ(IsExtensionSupported("GL_EXT_texture_cube_map"), 1);
    EXPECT_EQ(IsExtensionSupported("GL_ARB_multitexture"), 1);  // last, no trailing space
    EXPECT_EQ(IsExtensionSupported("GL_ARB_multi"), 0);
    EXPECT_EQ(IsExtensionSupported("GL_ARB_imaging"), 0);

    useFakeDriver("GL_EXT_texture_cube_map_foo");
    EXPECT_EQ(IsExtensionSupported("GL_EXT_texture_cube_map"), 0);

    slot_glGetString = nullptr;
    EXPECT_EQ(IsExtensionSupported("GL_EXT_texture_cube_map"), 0);
    EXPECT_EQ(IsExtensionSupported("_GL"), 1);
    EXPECT_EQ(IsExtensionSupported("_GLU"), 1);
    EXPECT_EQ(IsExtensionSupported("GL_Swap"), 1);
    EXPECT_EQ(IsExtensionSupported("GL_swap"), 0);
}

TEST(GLEntryPoints, SecondPassClearsAWholeGroupWhenOneEntryPointIsMissing)
{
    useFakeDriver("GL_NV_register_combiners GL_EXT_compiled_vertex_array GL_NV_fog_distance");
    g_missing = {"glCombinerOutputNV"};
    LoadGLExtensions();

    EXPECT_EQ(glflags::NV_register_combiners, 0);
    EXPECT_EQ(glflags::EXT_compiled_vertex_array, 1);
    EXPECT_NE(slot_glLockArraysEXT, nullptr);
    EXPECT_EQ(glflags::NV_fog_distance, 1);
    EXPECT_EQ(glflags::SGIS_generate_mipmap, 0);
    // Unlisted groups are not even asked for.
    EXPECT_EQ(glflags::EXT_secondary_color, 0);
    for (const std::string& name : g_askedNames)
        EXPECT_NE(name, "glSecondaryColor3fEXT");
    // "GL_Swap" is never listed, yet always looked up.
    EXPECT_EQ(glflags::Swap, 1);
    EXPECT_NE(slot_wglSwapIntervalEXT, nullptr);
}

TEST(GLEntryPoints, ImagingCountsWhenBlendEquationIsCoreOrFromBlendSubtract)
{
    useFakeDriver("GL_ARB_multitexture", "1.4 Mesa 22.3.6");
    LoadGLExtensions();
    EXPECT_EQ(glflags::ARB_imaging, 1);

    useFakeDriver("GL_EXT_blend_subtract", "1.3");
    LoadGLExtensions();
    EXPECT_EQ(glflags::ARB_imaging, 1);

    useFakeDriver("GL_ARB_multitexture", "1.3");
    LoadGLExtensions();
    EXPECT_EQ(glflags::ARB_imaging, 0);

    // Listed, yet without its entry point.
    slot_glBlendEquation = nullptr;
    g_missing = {"glBlendEquation"};
    useFakeDriver("GL_ARB_imaging", "2.1");
    LoadGLExtensions();
    EXPECT_EQ(glflags::ARB_imaging, 0);
}

TEST(GLEntryPoints, FirstPassRunsOncePerProcess)
{
    ASSERT_EQ(LoadGLLibraries(), 1) << "libGL.so.1 and libGLU.so.1 must be installed";
    EXPECT_NE(slot_glAccum, nullptr);
    EXPECT_NE(slot_gluBuild2DMipmaps, nullptr);
    // The window-system rows come from the platform's GL services.
    EXPECT_EQ(reinterpret_cast<void*>(slot_wglCreateContext), reinterpret_cast<void*>(&platform::createContext));
    EXPECT_EQ(reinterpret_cast<void*>(slot_SwapBuffers), reinterpret_cast<void*>(&platform::swapBuffers));

    slot_glAccum = nullptr;
    EXPECT_EQ(LoadGLLibraries(), 1);
    EXPECT_EQ(slot_glAccum, nullptr);
}

namespace {

void forgetFramebufferEntryPoints()
{
    for (int i = 0; i < glFramebufferEntryPointCount(); ++i)
        *glFramebufferEntryPoints()[i].slot = nullptr;
    g_askedNames.clear();
}

bool asked(const std::string& name)
{
    for (const std::string& askedName : g_askedNames)
        if (askedName == name)
            return true;
    return false;
}

} // namespace

TEST(GLEntryPoints, FramebufferObjectsComeFromGL30TheARBOrTheEXTExtensions)
{
    EXPECT_EQ(glFlagByName("GL_ARB_framebuffer_object"), &glflags::ARB_framebuffer_object);
    EXPECT_EQ(glFramebufferEntryPointCount(), 10);

    useFakeDriver("GL_ARB_multitexture", "3.0 Mesa");
    forgetFramebufferEntryPoints();
    LoadGLExtensions();
    EXPECT_EQ(glflags::ARB_framebuffer_object, 1);
    EXPECT_TRUE(asked("glBlitFramebuffer"));
    EXPECT_NE(slot_glBlitFramebuffer, nullptr);

    useFakeDriver("GL_ARB_framebuffer_object", "2.1");
    forgetFramebufferEntryPoints();
    LoadGLExtensions();
    EXPECT_EQ(glflags::ARB_framebuffer_object, 1);
    EXPECT_TRUE(asked("glGenFramebuffers"));

    // The EXT entry points, bound to the same slots.
    useFakeDriver("GL_EXT_framebuffer_object GL_EXT_framebuffer_blit", "2.1");
    forgetFramebufferEntryPoints();
    LoadGLExtensions();
    EXPECT_EQ(glflags::ARB_framebuffer_object, 1);
    EXPECT_TRUE(asked("glBlitFramebufferEXT"));
    EXPECT_TRUE(asked("glCheckFramebufferStatusEXT"));
    EXPECT_FALSE(asked("glBlitFramebuffer"));
    for (int i = 0; i < glFramebufferEntryPointCount(); ++i)
        EXPECT_NE(*glFramebufferEntryPoints()[i].slot, nullptr) << glFramebufferEntryPoints()[i].name;

    // EXT without its blit, or nothing: no framebuffer objects, nothing asked.
    useFakeDriver("GL_EXT_framebuffer_object", "2.1");
    forgetFramebufferEntryPoints();
    LoadGLExtensions();
    EXPECT_EQ(glflags::ARB_framebuffer_object, 0);
    EXPECT_FALSE(asked("glGenFramebuffersEXT"));

    // Listed, yet one entry point missing.
    useFakeDriver("GL_ARB_framebuffer_object", "2.1");
    forgetFramebufferEntryPoints();
    g_missing = {"glRenderbufferStorage"};
    LoadGLExtensions();
    EXPECT_EQ(glflags::ARB_framebuffer_object, 0);
}
