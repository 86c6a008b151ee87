#include "resources/scene_entry.h"

#include "render/gl_api.h"
#include "scene/scene.h"

uint32_t sceneLoadWaitMilliseconds = 10000;

SceneEntry::~SceneEntry()
{
    platform::joinThread(thread);
    delete scene.load();
    if (context)
        wglDeleteContext(context);
    if (loaded)
        platform::destroyEvent(loaded);
}

Scene* waitForScene(SceneEntry& entry)
{
    Scene* ready = entry.scene.load();
    if (!ready && entry.loaded) {
        platform::waitEvent(entry.loaded, sceneLoadWaitMilliseconds);
        ready = entry.scene.load();
    }
    return ready;
}
