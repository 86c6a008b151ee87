#include "timeline/brush_mesh_object.h"

#include <algorithm>
#include <cmath>

#include "math/camera.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "render/material.h"
#include "resources/mesh_manager.h"
#include "timeline/textured_brush.h"

namespace hlv {

BrushMeshObject::~BrushMeshObject()
{
    for (Material* material : materials)
        delete material;
}

namespace {

// Sets the rectangle's depth to the far value without touching its colour.
void resetRectangleDepth()
{
    resetMatrices();
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthFunc(GL_ALWAYS);
    drawFarQuad();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

} // namespace

void BrushMeshObject::render(float localTime)
{
    static float channels[kChannelCount];
    evaluateChannels(localTime, channels);
    const float a = angles[0].evaluate(localTime), b = angles[1].evaluate(localTime);
    const float c = angles[2].evaluate(localTime), z = zoom.evaluate(localTime);

    RobustMesh* mesh = meshManager.find(meshName.c_str());
    const float size = mesh ? largestCoordinate(mesh->boundingBox()) : 0.0f;
    if (size <= 0.0f)
        return;  // not loaded yet, or nothing to fit a camera to
    const Camera camera = fittedCamera(size, z);

    setLayerViewport(channels);
    if (depthReset)
        resetRectangleDepth();

    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_LIGHT0);
    const float light[4] = {size, size, 3 * size, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, light);

    GLStateCache& cache = GLStateCache::instance();
    cache.setMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(1 / z, 1 / z, 1);
    glMultMatrixf(camera.projectionMatrix().data());
    cache.setMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(camera.viewMatrix().data());
    glRotatef(c, 0, 0, 1);
    glRotatef(b, 0, 1, 0);
    glRotatef(a, 1, 0, 0);

    drawMeshParts(*mesh, materials, &camera);

    glDisable(GL_LIGHT0);
    restoreScreenViewport();
}

void drawFarQuad()
{
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, 1);
    glVertex3f(-1, 1, 1);
    glVertex3f(1, 1, 1);
    glVertex3f(1, -1, 1);
    glEnd();
}

LayerRect layerRectangle(float cx, float cy, float w, float h, unsigned frameWidth, unsigned frameHeight)
{
    return fractionRect((cx + 1) / 2 - w / 2, (cy + 1) / 2 - h / 2, w, h, frameWidth, frameHeight);
}

void setLayerViewport(const float channels[Brush::kChannelCount])
{
    setFrameViewport(layerRectangle(channels[0], channels[1], channels[2], channels[3], gldevice::frameWidth,
                                    gldevice::frameHeight));
}

void restoreScreenViewport()
{
    setWholeFrameViewport();
}

float largestCoordinate(const BoundingBox& box)
{
    if (box.empty)
        return 0.0f;
    const float values[6] = {box.min.x, box.min.y, box.min.z, box.max.x, box.max.y, box.max.z};
    float largest = 0.0f;
    for (float v : values)
        largest = std::max(largest, std::fabs(v));
    return largest;
}

Camera fittedCamera(float size, float zoom)
{
    return Camera(Vector3f(0, 0, (zoom + 1) * size), Vector3f(0, 0, 0), Vector3f(0, 1, 0), zoom * size, 5 * size,
                  size / 2, size / 2);
}

void loadCameraMatrices(const Camera& camera)
{
    GLStateCache& cache = GLStateCache::instance();
    cache.setMatrixMode(GL_PROJECTION);
    glLoadMatrixf(camera.projectionMatrix().data());
    cache.setMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(camera.viewMatrix().data());
}

void drawMeshParts(const RobustMesh& mesh, const std::vector<Material*>& materials, const Camera* camera)
{
    if (materials.empty())
        return;
    const std::vector<MeshPart>& parts = mesh.parts();
    for (size_t i = 0; i < parts.size(); ++i)
        materials[i % materials.size()]->render(camera, &parts[i]);
}

} // namespace hlv
