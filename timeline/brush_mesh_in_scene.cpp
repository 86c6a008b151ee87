#include "timeline/brush_mesh_in_scene.h"

#include "math/camera.h"
#include "render/gl_api.h"
#include "render/material.h"
#include "resources/mesh_manager.h"
#include "resources/scene_manager.h"
#include "scene/scene.h"
#include "timeline/brush_mesh_object.h"

namespace hlv {

BrushMeshInScene::~BrushMeshInScene()
{
    for (Material* material : materials)
        delete material;
}

void BrushMeshInScene::render(float)
{
    SceneEntry* entry = sceneManager.find(sceneName.c_str());
    Scene* scene = entry ? entry->scene.load() : nullptr;
    Camera* camera = scene ? scene->current_camera() : nullptr;
    RobustMesh* mesh = meshManager.find(meshName.c_str());
    if (!camera || !mesh)
        return;

    loadCameraMatrices(*camera);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    drawMeshParts(*mesh, materials, camera);
}

} // namespace hlv
