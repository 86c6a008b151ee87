#include "tools/hlvtool/render_frame.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include "app/init_gl.h"
#include "platform/path.h"
#include "platform/window.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/writers/picture_writer.h"
#include "tools/writers/replace_file.h"

namespace hlvtool {

namespace {

constexpr unsigned kWidth = 800, kHeight = 600;
FrameSize g_frameSize{int(kWidth), int(kHeight)};
int g_frameSamples = 1;

} // namespace

void setFrame(FrameSize size, int samples)
{
    g_frameSize = size;
    g_frameSamples = samples;
}

namespace {

// Why the hidden window could not be opened; empty while it stands.
std::string g_windowFailure;

bool openWindowAndFrame()
{
    platform::WindowOptions options;
    options.fullScreen = false;
    options.hidden = true;
    std::string why;
    platform::Window* window = platform::createWindow(options, &why);
    if (!window) {
        g_windowFailure = why;
        return false;
    }
    if (!InitGL(window, 0, kWidth, kHeight)) {
        g_windowFailure = "the display offers no OpenGL with RGBA 8888, depth 24 and stencil 8";
        return false;
    }
    if (g_frameSize == FrameSize{int(kWidth), int(kHeight)} && g_frameSamples == 1)
        return true;
    if (gldevice::current->drawOffscreen(unsigned(g_frameSize.width), unsigned(g_frameSize.height), g_frameSamples))
        return true;
    g_windowFailure = "this OpenGL cannot make a " + std::to_string(g_frameSize.width) + "x" +
                      std::to_string(g_frameSize.height) + " frame" +
                      (glflags::ARB_framebuffer_object ? " (too large for the driver?)" : " (it has no framebuffer objects)");
    return false;
}

} // namespace

bool openHiddenWindow()
{
    static const bool opened = openWindowAndFrame();
    return opened;
}

std::string noWindowMessage(const std::string& purpose)
{
    return "no OpenGL window for " + purpose + ": " + g_windowFailure;
}

bool renderFrame(const std::string& scenePath, int camera, float seconds, const std::string& picturePath,
                 std::string& error)
{
    if (!openHiddenWindow()) {
        error = noWindowMessage("drawing " + scenePath);
        return false;
    }
    std::unique_ptr<Scene> scene;
    if (!guardedImport(scenePath, [&] { scene.reset(load_scene(scenePath)); }, error))
        return false;
    return renderSceneFrame(*scene, scenePath, camera, seconds, picturePath, error);
}

bool renderSceneFrame(Scene& scene, const std::string& name, int camera, float seconds,
                      const std::string& picturePath, std::string& error)
{
    if (camera >= int(scene.cameras().size())) {
        error = name + ": has " + std::to_string(scene.cameras().size()) + " cameras, no camera " +
                std::to_string(camera);
        return false;
    }
    scene.set_pending_camera(camera);
    setWholeFrameViewport();
    glClearColor(scene.backdrop[0], scene.backdrop[1], scene.backdrop[2], 1.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.evaluate(seconds);
    scene.draw();
    return writeFramePicture(picturePath, error);
}

void startSolidDrawing()
{
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
}

bool writeFramePicture(const std::string& picturePath, std::string& error)
{
    glFinish();
    const std::vector<uint8_t> rows = readFrameRGB();
    try {
        writers::replaceFile(platform::filesystemPath(picturePath), [&](const std::string& temporary) {
            if (!writers::writePng(temporary, rows.data(), gldevice::frameWidth, gldevice::frameHeight, 3))
                throw std::runtime_error(temporary + ": cannot be written");
        });
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}

} // namespace hlvtool
