#include "tools/hlvtool/render_file.h"

#include "tools/hlvtool/file_kind.h"
#include "tools/hlvtool/render_frame.h"

namespace hlvtool {

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
