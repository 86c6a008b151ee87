#include "tools/hlvtool/render_file.h"

#include <memory>

#include "import/lws_scene.h"
#include "scene/scene.h"
#include "tools/hlvtool/file_kind.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/hlvtool/lightwave_import.h"
#include "tools/hlvtool/render_frame.h"

namespace hlvtool {

namespace {

bool renderLightWaveScene(const RenderRequest& request, std::string& error)
{
    if (!openHiddenWindow()) {
        error = noWindowMessage("drawing " + request.path);
        return false;
    }
    std::unique_ptr<Scene> scene;
    const bool imported = guardedImport(request.path, [&] {
        LW::LwsScene record;
        scene = importLightWaveScene(request.path, request.search, record, Textures::Uploaded);
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
