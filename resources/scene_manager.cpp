#include "resources/scene_manager.h"

#include <memory>

#include "log/logger.h"
#include "persist/factory.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "resources/scene_loader.h"

SceneManager sceneManager;

SceneEntry* SceneManager::load(const char* name, bool threaded)
{
    if (SceneEntry* held = find(name))
        return held;
    return threaded ? startBackgroundLoad(name) : loadNow(name);
}

SceneEntry* SceneManager::loadNow(const char* name)
{
    Scene* scene = readSceneFile(name);
    if (!scene)
        return nullptr;
    auto* entry = new SceneEntry;
    entry->scene = scene;
    add(name, entry);
    return entry;
}

SceneEntry* SceneManager::startBackgroundLoad(const char* name)
{
    // The factory list is filled here, before any loader thread reads it.
    register_factories();
    platform::GLContext* context = wglCreateContext(gldevice::window);
    if (!context) {
        hlv::log("%s: no loading context; the scene is read at once\n", name);
        auto entry = std::make_unique<SceneEntry>();
        entry->scene = readSceneFile(name);
        add(name, entry.get());
        return entry.release();
    }
    auto* entry = new SceneEntry;
    entry->loaded = platform::createEvent();
    entry->context = context;
    entry->path = name;
    if (gldevice::current)
        wglShareLists(gldevice::current->mainContext, context);
    add(name, entry);
    entry->thread = platform::startThread(runSceneLoader, entry);
    return entry;
}

void SceneManager::finishBackgroundLoads(double budgetMilliseconds)
{
    double left = budgetMilliseconds;
    forEach([&](const std::string&, SceneEntry* entry) {
        // Nothing spent yet this frame: one texture is made even without budget.
        if (left > 0.0 || left == budgetMilliseconds)
            left -= finishSceneUploads(*entry, left);
    });
}
