#include "resources/scene_entry.h"

#include <chrono>
#include <limits>

#include "render/gl_api.h"
#include "render/texture_image.h"
#include "scene/scene.h"

uint32_t sceneLoadWaitMilliseconds = 10000;

SceneEntry::~SceneEntry()
{
    platform::joinThread(thread);
    delete scene.load();
    delete readScene;
    if (context)
        wglDeleteContext(context);
    if (loaded)
        platform::destroyEvent(loaded);
}

double finishSceneUploads(SceneEntry& entry, double budgetMilliseconds)
{
    if (!entry.loaded || !platform::waitEvent(entry.loaded, 0) || !entry.readScene)
        return 0.0;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    double spent = 0.0;
    size_t done = 0;
    while (done < entry.uploads.size() && (done == 0 || spent < budgetMilliseconds)) {
        entry.uploads[done++]->finishUpload();
        spent = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    entry.uploads.erase(entry.uploads.begin(), entry.uploads.begin() + std::ptrdiff_t(done));
    if (entry.uploads.empty()) {
        entry.scene.store(entry.readScene);
        entry.readScene = nullptr;
    }
    return spent;
}

Scene* waitForScene(SceneEntry& entry)
{
    Scene* ready = entry.scene.load();
    if (!ready && entry.loaded) {
        // The scene is needed now: every texture still waiting is made.
        if (platform::waitEvent(entry.loaded, sceneLoadWaitMilliseconds))
            finishSceneUploads(entry, std::numeric_limits<double>::infinity());
        ready = entry.scene.load();
    }
    return ready;
}
