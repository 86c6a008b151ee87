#include <memory>

#include "import/lws_convert.h"
#include "resources/scene_manager.h"
#include "scene/scene.h"

SceneEntry* SceneManager::importLWS(const char* path, const char* searchDirectory)
{
    if (SceneEntry* held = find(path))
        return held;
    std::unique_ptr<Scene> scene(LW::importLwsScene(path, searchDirectory, LW::ConvertOptions{}));
    scene->post_load();
    auto entry = std::make_unique<SceneEntry>();
    entry->scene = scene.release();
    add(path, entry.get());
    return entry.release();
}
