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

bool openHiddenWindow()
{
    static const bool opened = [] {
        platform::WindowOptions options;
        options.fullScreen = false;
        options.hidden = true;
        platform::Window* window = platform::createWindow(options);
        if (!window || !InitGL(window, 0, kWidth, kHeight))
            return false;
        if (g_frameSize == FrameSize{int(kWidth), int(kHeight)} && g_frameSamples == 1)
            return true;
        return gldevice::current->drawOffscreen(unsigned(g_frameSize.width), unsigned(g_frameSize.height),
                                                g_frameSamples);
    }();
    return opened;
}

bool renderFrame(const std::string& scenePath, int camera, float seconds, const std::string& picturePath,
                 std::string& error)
{
    if (!openHiddenWindow()) {
        error = "no OpenGL window for drawing " + scenePath + " (is there a display?)";
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
