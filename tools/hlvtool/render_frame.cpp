#include "tools/hlvtool/render_frame.h"

#include <cctype>
#include <filesystem>
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
        const size_t count = scene.cameras().size();
        error = name + ": has " + (count == 0 ? "no camera" : count == 1 ? "one camera (0)" :
                                   std::to_string(count) + " cameras (0 to " + std::to_string(count - 1) + ")") +
                ", no camera " + std::to_string(camera);
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

bool isJpegName(const std::string& picturePath)
{
    std::string extension = std::filesystem::path(picturePath).extension().string();
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".jpg" || extension == ".jpeg";
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
            const bool written =
                isJpegName(picturePath)
                    ? writers::writeJpeg(temporary, rows.data(), gldevice::frameWidth, gldevice::frameHeight, 3, 95)
                    : writers::writePng(temporary, rows.data(), gldevice::frameWidth, gldevice::frameHeight, 3);
            if (!written)
                throw std::runtime_error(temporary + ": cannot be written");
        });
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}

} // namespace hlvtool
