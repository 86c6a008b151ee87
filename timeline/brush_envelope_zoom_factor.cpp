#include "timeline/brush_envelope_zoom_factor.h"

#include "math/camera.h"
#include "resources/scene_manager.h"
#include "scene/scene.h"

namespace hlv {

void BrushEnvelopeZoomFactor::render(float localTime)
{
    // A scene still loading is skipped without waiting; the zoom only
    // matters once the scene is drawn.
    SceneEntry* entry = sceneManager.find(sceneName.c_str());
    Scene* scene = entry ? entry->scene.load() : nullptr;
    if (!scene || cameraIndex < 0 || static_cast<size_t>(cameraIndex) >= scene->cameras().size())
        return;
    scene->cameras()[cameraIndex]->setNear(zoom.evaluate(localTime));
}

} // namespace hlv
