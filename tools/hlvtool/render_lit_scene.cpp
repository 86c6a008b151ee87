// A LightWave scene drawn as LightWave lights it: each object with its
// surfaces' diffuse, specular, glossiness and luminosity under the scene's
// distant, point and spot lights and its ambient light, faded by its
// dissolve, through the scene's camera at the scene's frame aspect.
//
// The scene is converted as `convert` converts it, for the items' motion
// and the camera; the objects are drawn as the object view draws them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <tuple>

#include "import/content_directory.h"
#include "import/lws_object.h"
#include "import/lws_scene.h"
#include "import/picture_lookup.h"
#include "log/logger.h"
#include "math/camera.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "scene/scene.h"
#include "scene/shape_node.h"
#include "scene/transform_node.h"
#include "tools/hlvtool/import_guard.h"
#include "tools/hlvtool/lightwave_import.h"
#include "tools/hlvtool/pixel_lighting.h"
#include "tools/hlvtool/render_file.h"
#include "tools/hlvtool/render_frame.h"
#include "tools/hlvtool/surface_material.h"

namespace hlvtool {

namespace {

// What fixed-function OpenGL lights at once.
constexpr size_t kMaxLights = PixelLighting::kMaxLights;

// One object file and layer, read and built once however many items show it.
struct DrawnObject {
    std::unique_ptr<hlv::RobustMesh> mesh;
    std::vector<std::unique_ptr<SurfaceMaterial>> materials;
};

using ObjectKey = std::tuple<std::string, uint32_t, uint32_t>;  // file, layer, subdivision level

class LitSceneRenderer {
public:
    LitSceneRenderer(LW::LwsScene& record, Scene& scene) : record_(record), scene_(scene) {}

    // Reads every object an item shows; throws as the importer does.
    void readObjects();
    bool draw(int camera, float seconds, std::string& error);

private:
    // The item whose node the shape hangs under, or -1.
    int itemOf(const SceneNode* node) const;
    // The number of lights placed; `cones` gets each one's spot cone.
    int placeLights(PixelLighting::Cone* cones) const;
    std::string pictureOf(const LW::LWSurface& surface) const;

    LW::LwsScene& record_;
    Scene& scene_;
    LW::Scene surfaces_;  // the surfaces of the objects drawn, each object's its own
    std::map<ObjectKey, DrawnObject> objects_;
    std::map<int, const DrawnObject*> objectOfItem_;
    std::unique_ptr<PixelLighting> lighting_;
};

std::string LitSceneRenderer::pictureOf(const LW::LWSurface& surface) const
{
    const std::vector<const LW::LWTextureBlock*> layers = LW::LWSurface::enabledOf(surface.colourBlocks);
    if (layers.empty() || layers[0]->imageName.empty())
        return {};
    // Missing pictures were named when the scene was converted.
    const std::string name = LW::pictureName(layers[0]->imageName, record_.sceneFolder, record_.searchDirectories);
    return LW::findContentFile(name, record_.sceneFolder, record_.searchDirectories);
}

void LitSceneRenderer::readObjects()
{
    const PictureFinder picture = [this](const LW::LWSurface& surface) { return pictureOf(surface); };
    for (size_t i = 0; i < record_.items.size(); ++i) {
        const auto* item = dynamic_cast<const LW::LwsScene::Mesh*>(record_.items[i].get());
        if (!item || item->path.empty())
            continue;
        std::string found;
        for (const LW::LwsScene::FileUse& use : record_.files)
            if (use.written == item->path && !use.found.empty())
                found = use.found;
        if (found.empty())
            continue;  // named when the scene was converted; the item stays empty
        const ObjectKey key{found, item->layer, item->subdivisionLevel};
        auto drawn = objects_.find(key);
        if (drawn == objects_.end()) {
            LW::SceneObject object = LW::readSceneObject(found.c_str(), surfaces_, item->layer, item->subdivisionLevel);
            object.mesh->build(hlv::RobustMesh::ComputeNormals);
            DrawnObject entry;
            entry.materials = partMaterials(*object.mesh, object.tagSurface, surfaces_, picture);
            for (auto& material : entry.materials)
                material->setAmbientShare(1.0f);
            entry.mesh = std::move(object.mesh);
            drawn = objects_.emplace(key, std::move(entry)).first;
        }
        objectOfItem_[int(i)] = &drawn->second;
    }
}

int LitSceneRenderer::itemOf(const SceneNode* node) const
{
    for (; node; node = node->parent())
        for (size_t i = 0; i < record_.itemNodes.size(); ++i)
            if (static_cast<const SceneNode*>(record_.itemNodes[i]) == node)
                return int(i);
    return -1;
}

// Lights shine along their item's +z. OpenGL's own spot light (where the
// lighting program cannot run) has no soft edge: its light is nearly even
// inside the cone's inner part (90 % at its edge) and ends at the cone.
int LitSceneRenderer::placeLights(PixelLighting::Cone* cones) const
{
    // LightWave never saves a scene without a light; one written otherwise
    // shows its surfaces in their own colours, unshaded, as it always has.
    const bool anyLight = std::any_of(record_.items.begin(), record_.items.end(), [](const auto& item) {
        return item->kind == LW::LwsScene::ItemKind::Light;
    });
    const float intensity = anyLight ? record_.ambientIntensity : 1.0f;
    const float ambient[4] = {(anyLight ? record_.ambientColour[0] : 1) * intensity,
                              (anyLight ? record_.ambientColour[1] : 1) * intensity,
                              (anyLight ? record_.ambientColour[2] : 1) * intensity, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    size_t used = 0;
    std::string left;
    for (size_t i = 0; i < record_.items.size() && i < record_.itemNodes.size(); ++i) {
        const auto* light = dynamic_cast<const LW::LwsScene::Light*>(record_.items[i].get());
        if (!light)
            continue;
        if (used == kMaxLights) {
            left += (left.empty() ? "'" : ", '") + (light->name.empty() ? "Light" : light->name) + "'";
            continue;
        }
        const GLenum id = GLenum(GL_LIGHT0 + used++);
        const Matrix44& world = record_.itemNodes[i]->world();
        const Vector3f at = world.transformPoint({0, 0, 0});
        const Vector3f along = normalize(world.transformVector({0, 0, 1}));
        const float colour[4] = {light->colour[0] * light->intensity, light->colour[1] * light->intensity,
                                 light->colour[2] * light->intensity, 1};
        const float none[4] = {0, 0, 0, 1};
        glLightfv(id, GL_AMBIENT, none);
        glLightfv(id, GL_DIFFUSE, colour);
        glLightfv(id, GL_SPECULAR, colour);
        if (light->type == LW::LwsScene::Light::Distant) {
            const float towards[4] = {-along.x, -along.y, -along.z, 0};
            glLightfv(id, GL_POSITION, towards);
            glLightf(id, GL_SPOT_CUTOFF, 180);
        } else {
            const float position[4] = {at.x, at.y, at.z, 1};
            glLightfv(id, GL_POSITION, position);
            if (light->type == LW::LwsScene::Light::Spot) {
                const float direction[3] = {along.x, along.y, along.z};
                const float cone = std::clamp(light->coneAngle, 0.0f, 90.0f);
                const float inner = std::clamp(cone - light->edgeAngle, 0.0f, cone) * float(M_PI) / 180;
                const float exponent =
                    inner > 0 ? std::clamp(std::log(0.9f) / std::log(std::cos(inner)), 0.0f, 128.0f) : 0.0f;
                glLightfv(id, GL_SPOT_DIRECTION, direction);
                glLightf(id, GL_SPOT_CUTOFF, cone);
                glLightf(id, GL_SPOT_EXPONENT, exponent);
                cones[used - 1] = {cone * float(M_PI) / 180,
                                   std::clamp(light->edgeAngle, 0.0f, cone) * float(M_PI) / 180};
            } else {
                glLightf(id, GL_SPOT_CUTOFF, 180);  // point, and linear and area lights from their centre
            }
        }
        glEnable(id);
    }
    if (!left.empty())
        hlv::log("\n** Warning: only %zu lights are drawn; left out: %s", kMaxLights, left.c_str());
    return int(used);
}

bool LitSceneRenderer::draw(int camera, float seconds, std::string& error)
{
    if (camera >= int(scene_.cameras().size())) {
        error = "has " + std::to_string(scene_.cameras().size()) + " cameras, no camera " + std::to_string(camera);
        return false;
    }
    scene_.evaluate(seconds);
    // The converted camera is 4:3; the scene's frame may be any shape, fitted
    // whole into the picture.
    Camera view = *scene_.cameras()[size_t(camera)];
    const float aspect = record_.frameAspect();
    view.setHalfWidth(view.halfHeight() * aspect);
    const int frameWidth = int(gldevice::frameWidth), frameHeight = int(gldevice::frameHeight);
    int width = frameWidth, height = int(std::lround(frameWidth / aspect));
    if (height > frameHeight)
        height = frameHeight, width = int(std::lround(frameHeight * aspect));
    setWholeFrameViewport();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport((frameWidth - width) / 2, (frameHeight - height) / 2, width, height);
    glEnable(GL_SCISSOR_TEST);
    glScissor((frameWidth - width) / 2, (frameHeight - height) / 2, width, height);
    glClearColor(scene_.backdrop[0], scene_.backdrop[1], scene_.backdrop[2], 1);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    startSolidDrawing();
    GLStateCache& cache = GLStateCache::instance();
    cache.setMatrixMode(GL_PROJECTION);
    glLoadMatrixf(view.projectionMatrix().data());
    cache.setMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(view.viewMatrix().data());
    if (!lighting_)
        lighting_ = std::make_unique<PixelLighting>();
    PixelLighting::Cone cones[kMaxLights];
    const int lights = placeLights(cones);
    lighting_->setScene(lights, cones, scene_.fog_enabled);
    if (scene_.fog_enabled) {
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, scene_.fog_start);
        glFogf(GL_FOG_END, scene_.fog_end);
        glFogfv(GL_FOG_COLOR, scene_.fog_colour);
        glEnable(GL_FOG);
    }
    struct Shape {
        const Matrix44* world;
        const DrawnObject* object;
        float dissolve;
    };
    std::vector<Shape> shapes;
    for (const SceneNode* node : scene_.nodes()) {
        if (!dynamic_cast<const ShapeNode*>(node))
            continue;
        const int item = itemOf(node);
        const auto drawn = objectOfItem_.find(item);
        if (drawn == objectOfItem_.end())
            continue;
        const auto& object = static_cast<const LW::LwsScene::ObjectItem&>(*record_.items[size_t(item)]);
        const float dissolve = std::clamp(object.dissolve.evaluate(seconds), 0.0f, 1.0f);
        if (dissolve < 1)
            shapes.push_back({&node->world(), drawn->second, dissolve});
    }
    // Transparent surfaces last, over what they let through.
    for (bool transparent : {false, true})
        for (const Shape& shape : shapes) {
            glLoadMatrixf(view.viewMatrix().data());
            glMultMatrixf(shape.world->data());
            const auto& parts = shape.object->mesh->parts();
            for (size_t i = 0; i < parts.size() && i < shape.object->materials.size(); ++i) {
                SurfaceMaterial& material = *shape.object->materials[i];
                material.setDissolve(shape.dissolve);
                material.usePixelLighting(lighting_->usable() ? lighting_.get() : nullptr);
                if (material.transparent() == transparent)
                    material.render(&view, &parts[i]);
            }
        }
    glDisable(GL_FOG);
    for (size_t i = 0; i < kMaxLights; ++i)
        glDisable(GLenum(GL_LIGHT0 + i));
    glDisable(GL_SCISSOR_TEST);
    return true;
}

} // namespace

bool renderLightWaveScene(const RenderRequest& request, std::string& error)
{
    LW::LwsScene record;
    std::unique_ptr<Scene> scene;
    if (!guardedImport(request.path, [&] { scene = importLightWaveScene(request.path, request.search, record); }, error))
        return false;
    // The picture takes the scene's frame shape unless a size is given.
    if (!request.sizeGiven) {
        const int height = std::clamp(int(std::lround(800 / record.frameAspect() / 2)) * 2, 16, 4096);
        setFrame({800, height}, request.samples);
    }
    if (!openHiddenWindow()) {
        error = noWindowMessage("drawing " + request.path);
        return false;
    }
    LitSceneRenderer renderer(record, *scene);
    if (!guardedImport(request.path, [&] { renderer.readObjects(); }, error))
        return false;
    bool drawn = false;
    if (!guardedImport(request.path, [&] { drawn = renderer.draw(request.camera, request.seconds, error); }, error))
        return false;
    if (!drawn) {
        error = request.path + ": " + error;
        return false;
    }
    return writeFramePicture(request.picture, error);
}

} // namespace hlvtool
