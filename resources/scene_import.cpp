#include <memory>

#include "import/lws_convert.h"
#include "import/lws_import.h"
#include "resources/scene_manager.h"
#include "scene/scene.h"

SceneEntry* importLWS(SceneManager& manager, const char* path, const char* searchDirectory)
{
    if (SceneEntry* held = manager.find(path))
        return held;
    std::unique_ptr<Scene> scene(LW::importLwsScene(path, searchDirectory, LW::ConvertOptions{}));
    scene->post_load();
    auto entry = std::make_unique<SceneEntry>();
    entry->scene = scene.release();
    manager.add(path, entry.get());
    return entry.release();
}
