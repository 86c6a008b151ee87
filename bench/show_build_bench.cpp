// The show's build (BuildShow) on the generated pack, as at start-up: the
// time it takes in one loading mode (preload, or load-during-show with
// --load-during-show), once per process since the managers keep what they
// loaded. Run from build/ or build/bench (it looks for demo/ there and one
// folder up).
#include <chrono>
#include <cstdio>
#include <cstring>

#include "app/init_gl.h"
#include "app/show_script.h"
#include "bench/demo_folder.h"
#include "platform/dialog.h"
#include "platform/window.h"
#include "resources/bitmap_manager.h"
#include "resources/mesh_manager.h"
#include "resources/scene_manager.h"
#include "timeline/timeline.h"

int main(int argc, char** argv)
{
    const bool loadDuringShow = argc > 1 && std::strcmp(argv[1], "--load-during-show") == 0;
    if (!enterDemoFolder("show_build_bench"))
        return 1;
    platform::setUnattended();
    platform::WindowOptions options;
    options.fullScreen = false;
    options.hidden = true;
    platform::Window* window = platform::createWindow(options);
    if (!window || !InitGL(window, 0, 800, 600)) {
        std::fprintf(stderr, "show_build_bench: no OpenGL window\n");
        return 1;
    }
    auto start = std::chrono::steady_clock::now();
    BuildShow(loadDuringShow);
    double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("BuildShow (%s): %.0f ms\n", loadDuringShow ? "load-during-show" : "preload", elapsed);
    // Released while the context stands, as at quit.
    hlv::TimeLine::instance().clear();
    sceneManager.releaseAll();
    meshManager.releaseAll();
    BitmapManager::instance().releaseAll();
    return 0;
}
