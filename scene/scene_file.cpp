#include "scene/scene_file.h"

#include <memory>

#include "persist/factory.h"
#include "persist/pstream.h"
#include "platform/path.h"
#include "scene/scene.h"

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

SceneFileError error(const std::string& resourceName, const std::string& what)
{
    return SceneFileError(resourceName + ": " + what);
}

} // namespace

Scene* load_scene(const std::string& resourceName)
{
    register_factories();
    File file(platform::openResource(resourceName, "rb"));
    if (!file)
        throw error(resourceName, "cannot open the file");
    file_pstream stream(file.get());
    std::unique_ptr<persistent> object;
    try {
        object.reset(read_object(stream));
    } catch (persistent::exception e) {
        throw error(resourceName, describe(e));
    }
    Scene* scene = dynamic_cast<Scene*>(object.get());
    if (!scene)
        throw error(resourceName, "the file holds no scene");
    object.release();
    scene->post_load();
    return scene;
}

void save_scene(const Scene& scene, const std::string& resourceName)
{
    File file(platform::openResource(resourceName, "wb"));
    if (!file)
        throw error(resourceName, "cannot create the file");
    file_pstream stream(file.get());
    write_object(stream, scene);
    if (std::ferror(file.get()) || std::fclose(file.release()) != 0)
        throw error(resourceName, "cannot write the file");
}
