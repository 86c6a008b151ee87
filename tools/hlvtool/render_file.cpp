#include "tools/hlvtool/render_file.h"

#include <memory>

#include "import/lws_convert.h"
#include "platform/path.h"
#include "scene/scene.h"
#include "tools/hlvtool/file_kind.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/hlvtool/render_frame.h"

namespace hlvtool {

namespace {

std::string folderOf(const std::string& path)
{
    const size_t nameStart = size_t(platform::fileNamePart(path.c_str()) - path.c_str());
    return nameStart == 0 ? "." : path.substr(0, nameStart - 1);
}

bool renderLightWaveScene(const RenderRequest& request, std::string& error)
{
    if (!openHiddenWindow()) {
        error = "no OpenGL window for drawing " + request.path + " (is there a display?)";
        return false;
    }
    const std::string search = request.search.empty() ? folderOf(request.path) : request.search;
    std::unique_ptr<Scene> scene;
    const bool imported = guardedImport(request.path, [&] {
        scene.reset(LW::importLwsScene(request.path.c_str(), search.c_str(), LW::ConvertOptions{}));
        scene->post_load();
    }, error);
    return imported && renderSceneFrame(*scene, request.path, request.camera, request.seconds, request.picture, error);
}

} // namespace

bool renderFile(const RenderRequest& request, std::string& error)
{
    switch (fileKindOf(request.path)) {
    case FileKind::SceneFile:
        return renderFrame(request.path, request.camera, request.seconds, request.picture, error);
    case FileKind::LightWaveScene:
        return renderLightWaveScene(request, error);
    case FileKind::LightWaveObject:
        return renderObjectFrame(request, error);
    case FileKind::Unknown:
        break;
    }
    error = request.path + ": cannot tell the kind of the file (expected a scene file, a LightWave scene or object)";
    return false;
}

} // namespace hlvtool
