#include "timeline/brush_ombres.h"

#include "geometry/robust_mesh.h"
#include "math/camera.h"
#include "render/gl_api.h"
#include "render/material.h"
#include "timeline/brush_mesh_object.h"
#include "timeline/shadow_scene.h"
#include "timeline/shadow_volume.h"

namespace hlv {

BrushOmbres::BrushOmbres() = default;
BrushOmbres::~BrushOmbres() = default;

namespace {

// The part drawing under an extra object matrix.
void drawPlaced(const Matrix44& placement, const RobustMesh& mesh, const std::vector<Material*>& materials,
                const Camera* camera)
{
    glPushMatrix();
    glMultMatrixf(placement.data());
    drawMeshParts(mesh, materials, camera);
    glPopMatrix();
}

void renderVolume(const Matrix44& placement, ShadowCaster& caster, const Vector3f& light)
{
    glPushMatrix();
    glMultMatrixf(placement.data());
    caster.computeSilhouette(light);
    ShadowVolume volume;
    volume.build(caster, light);
    volume.render();
    glPopMatrix();
}

} // namespace

void BrushOmbres::render(float t)
{
    if (scene_ && !scene_->meshesHeld())
        scene_.reset();  // released since: set up again once they are back
    if (!scene_)
        scene_ = ShadowScene::create(receiverName, casterNames, objectMaterials);
    if (!scene_)
        return;

    const float R = largestCoordinate(scene_->receiver->boundingBox());
    if (R <= 0.0f)
        return;  // an empty receiver gives no camera

    static float channels[kChannelCount];
    evaluateChannels(t, channels);
    setLayerViewport(channels);
    const Camera camera(Vector3f(0, R, 3 * R), Vector3f(0, 0, 0), Vector3f(0, 1, 0), R, 5 * R, R / 2, R / 2);
    loadCameraMatrices(camera);

    scene_->animate(t);
    const int visible = scene_->casters.empty() ? 0 : ShadowScene::visibleCount(t);

    // Everything in the shadow colour: no light is on yet.
    drawReceiverAndObjects(camera, visible, false);

    renderShadowVolumes(Vector3f(R, R, 5 * R), visible);

    // Lit where no volume counted the pixel in shadow.
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_EQUAL, 0, 0xFFFFFFFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glEnable(GL_LIGHT0);
    const float light[4] = {R, R, 3 * R, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    drawReceiverAndObjects(camera, visible, true);

    glDisable(GL_LIGHT0);
    glDisable(GL_STENCIL_TEST);
    restoreScreenViewport();
}

void BrushOmbres::drawReceiverAndObjects(const Camera& camera, int visible, bool ownMaterials)
{
    drawPlaced(scene_->receiverMatrix, *scene_->receiver, materials, &camera);
    for (int i = 0; i < visible; ++i) {
        const FlyingObject& object = scene_->objects[i];
        const RobustMesh& mesh = *scene_->casterMeshes[object.caster];
        if (ownMaterials && object.material)
            drawPlaced(object.matrix, mesh, {object.material}, &camera);
        else
            drawPlaced(object.matrix, mesh, materials, &camera);
    }
}

void BrushOmbres::renderShadowVolumes(const Vector3f& light, int visible)
{
    renderVolume(scene_->receiverMatrix, *scene_->receiverCaster, scene_->receiverInverse.transformPoint(light));
    for (int i = 0; i < visible; ++i) {
        const FlyingObject& object = scene_->objects[i];
        renderVolume(object.matrix, *scene_->casters[object.caster], object.inverse.transformPoint(light));
    }
}

} // namespace hlv
