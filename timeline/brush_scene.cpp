#include "timeline/brush_scene.h"

#include "render/device.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "resources/scene_manager.h"
#include "scene/scene.h"
#include "timeline/brush_mesh_object.h"
#include "timeline/textured_brush.h"

namespace hlv {

namespace {

// Depth and (with backdrop fill) colour of the whole viewport, where the
// stencil test passes: the far plane and the scene's backdrop.
void resetRectangle(const Scene& scene, bool backdropFill)
{
    resetMatrices();
    if (!backdropFill)
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthFunc(GL_ALWAYS);
    glColor4f(scene.backdrop[0], scene.backdrop[1], scene.backdrop[2], scene.backdrop[3]);
    GLStateCache::instance().setTextureUnits(0);
    drawFarQuad();
    if (!backdropFill)
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

} // namespace

void BrushScene::render(float localTime)
{
    if (!visible)
        return;
    static float channels[kChannelCount];
    evaluateChannels(localTime, channels);

    // No entry, or no scene after the wait (a file that could not be read):
    // nothing to draw this frame.
    SceneEntry* entry = sceneManager.find(sceneName.c_str());
    Scene* scene = entry ? waitForScene(*entry) : nullptr;
    if (scene) {
        // The channels measure y from the top; OpenGL from the bottom.
        setFrameViewport(framePart(channels[0], 1.0f - channels[1] - channels[3], channels[2], channels[3]));
        if (stencilFunction != GL_ALWAYS) {
            glEnable(GL_STENCIL_TEST);
            glStencilFunc(stencilFunction, stencilReference, stencilMask);
            glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        }
        resetRectangle(*scene, backdropFill);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(GL_CW);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        scene->set_pending_camera(cameraIndex);
        scene->evaluate(localTime);
        scene->draw();
        glDisable(GL_STENCIL_TEST);
    }
    restoreScreenViewport();
}

} // namespace hlv
