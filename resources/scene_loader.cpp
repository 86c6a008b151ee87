#include "resources/scene_loader.h"

#include <exception>

#include "log/logger.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "render/texture_image.h"
#include "resources/detail_set.h"
#include "resources/scene_entry.h"
#include "scene/scene.h"
#include "scene/scene_file.h"

Scene* readSceneFile(const std::string& resourceName)
{
    try {
        return load_scene(detailset::fileOf(resourceName));
    } catch (const std::exception& e) {
        // Anything escaping a loader thread would end the process; a scene
        // that cannot be read only leaves its entry empty.
        hlv::log("Scene not loaded: %s\n", e.what());
    } catch (...) {
        hlv::log("Scene not loaded: %s: unexpected failure\n", resourceName.c_str());
    }
    return nullptr;
}

void runSceneLoader(void* argument)
{
    auto* entry = static_cast<SceneEntry*>(argument);
    if (!wglMakeCurrent(gldevice::window, entry->context)) {
        hlv::log("Scene not loaded: %s: the loading context cannot be made current\n", entry->path.c_str());
        platform::setEvent(entry->loaded);
        return;
    }
    // The textures are made by the main thread, a few per frame
    // (finishSceneUploads); here their pixels are only read and prepared.
    deferUploadsOnThisThread(&entry->uploads);
    Scene* scene = readSceneFile(entry->path);
    deferUploadsOnThisThread(nullptr);
    if (!scene)
        entry->uploads.clear();  // they belonged to the scene that failed
    entry->readScene = scene;
    wglMakeCurrent(nullptr, nullptr);
    platform::setEvent(entry->loaded);
}
