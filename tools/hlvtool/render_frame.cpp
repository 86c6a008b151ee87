#include "tools/hlvtool/render_frame.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/init_gl.h"
#include "platform/window.h"
#include "render/gl_api.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/writers/picture_writer.h"

namespace hlvtool {

namespace {

constexpr unsigned kWidth = 800, kHeight = 600;

} // namespace

bool openHiddenWindow()
{
    static const bool opened = [] {
        platform::WindowOptions options;
        options.fullScreen = false;
        options.hidden = true;
        platform::Window* window = platform::createWindow(options);
        return window && InitGL(window, 0, kWidth, kHeight);
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
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(scene.backdrop[0], scene.backdrop[1], scene.backdrop[2], 1.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.evaluate(seconds);
    scene.draw();
    return writeFramePicture(picturePath, error);
}

bool writeFramePicture(const std::string& picturePath, std::string& error)
{
    glFinish();
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // OpenGL gives the bottom row first; pictures start at the top.
    std::vector<uint8_t> rows(pixels.size());
    const size_t rowBytes = size_t(kWidth) * 3;
    for (unsigned y = 0; y < kHeight; ++y)
        std::copy_n(&pixels[size_t(kHeight - 1 - y) * rowBytes], rowBytes, &rows[size_t(y) * rowBytes]);
    // Written beside its place and renamed into it, so that a failed write
    // leaves no half picture.
    const std::string partial = picturePath + ".part";
    if (!writers::writePng(partial, rows.data(), kWidth, kHeight, 3) ||
        std::rename(partial.c_str(), picturePath.c_str()) != 0) {
        std::remove(partial.c_str());
        error = picturePath + ": cannot be written";
        return false;
    }
    return true;
}

} // namespace hlvtool
