#include "tools/hlvtool/lightwave_import.h"

#include "import/importer_context.h"
#include "tools/hlvtool/import_guard.h"
#include "import/lws_convert.h"
#include "import/lws_parser.h"
#include "persist/persistent.h"
#include "platform/path.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "tools/writers/replace_file.h"

namespace hlvtool {

namespace {

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

} // namespace

std::unique_ptr<Scene> importLightWaveScene(const std::string& path, const std::vector<std::string>& search,
                                            LW::LwsScene& record, Textures textures)
{
    record.searchDirectories = search;
    if (search.empty())
        record.searchDirectories.push_back(folderOf(path));
    record.strict = strictFiles();
    LW::SceneContext context(record);
    LW::parseLwsFile(path.c_str(), record);
    LW::ConvertOptions options;
    options.uploadTextures = textures == Textures::Uploaded;
    return std::unique_ptr<Scene>(LW::convertLwsScene(record, options));
}

bool writeSceneFile(const Scene& scene, const std::string& path, std::string& error)
{
    try {
        writers::replaceFile(platform::filesystemPath(path),
                             [&](const std::string& temporary) { save_scene(scene, temporary); });
        return true;
    } catch (const std::exception& e) {
        error = e.what();
    } catch (persistent::exception e) {
        error = path + ": " + describe(e);
    }
    return false;
}

} // namespace hlvtool
