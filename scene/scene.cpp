#include "scene/scene.h"

#include "geometry/primitive.h"
#include "geometry/surface.h"
#include "math/camera.h"
#include "persist/factory.h"
#include "render/gl_api.h"
#include "render/gl_state_cache.h"
#include "render/texture_image.h"
#include "scene/camera_node.h"
#include "scene/scene_node.h"

namespace {
// "class Scene" is made by a static factory, linked before main and so asked
// after every factory that register_factories adds.
dynamic::factory<Scene> g_factory;
} // namespace

Scene::Scene() : nodes_{nullptr} {}

Scene::~Scene()
{
    for (SceneNode* node : nodes_)
        delete node;
    for (Surface* surface : surfaces_)
        delete surface;
    for (Primitive* primitive : primitives_)
        delete primitive;
    for (TextureImage* texture : textures_)
        delete texture;
}

void Scene::post_load()
{
    for (Primitive* primitive : primitives_) {
        for (size_t part = 0; part < primitive->parts.size(); ++part) {
            size_t match = 0;
            while (match < surfaces_.size() && surfaces_[match]->name != primitive->surface_names[part])
                ++match;
            // No match gives the index past the last surface: no bucket, never queued.
            primitive->surface_indices.push_back(static_cast<unsigned int>(match));
        }
        primitive->prepare();
    }
    if (root_)
        root_->update(0.0f, Matrix44());
    queue_.reset(new RenderQueue(this, surfaces_.size()));
}

Camera* Scene::current_camera() const
{
    if (current_camera_ < 0 || static_cast<size_t>(current_camera_) >= cameras_.size())
        return nullptr;
    return cameras_[current_camera_];
}

void Scene::evaluate(float seconds)
{
    if (root_)
        root_->update(seconds, Matrix44());
}

void Scene::draw()
{
    if (pending_camera_ != -1) {
        current_camera_ = pending_camera_;
        pending_camera_ = -1;
    }
    Camera* camera = current_camera();
    if (!root_ || !camera || !queue_)
        return;
    root_->draw(*camera);

    if (fog_enabled) {
        glFogi(GL_FOG_MODE, GL_LINEAR);
        if (glflags::NV_fog_distance)
            glFogi(GL_FOG_DISTANCE_MODE_NV, GL_EYE_RADIAL_NV);
        glFogf(GL_FOG_START, fog_start);
        glFogf(GL_FOG_END, fog_end);
        glFogfv(GL_FOG_COLOR, fog_colour);
        glEnable(GL_FOG);
    }
    flush(*camera);
    if (fog_enabled)
        glDisable(GL_FOG);
}

void Scene::flush(const Camera& camera)
{
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    GLStateCache& cache = GLStateCache::instance();
    cache.setMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(camera.viewMatrix().data());
    cache.setMatrixMode(GL_PROJECTION);
    glLoadMatrixf(camera.projectionMatrix().data());
    // Transparent surfaces last, over what they let through.
    for (bool transparent : {false, true})
        for (size_t i = 0; i < surfaces_.size(); ++i)
            if (surfaces_[i]->transparent() == transparent) {
                surfaces_[i]->draw(queue_->buckets[i]);
                queue_->buckets[i].clear();
            }
}

int Scene::add_primitive(Primitive* primitive)
{
    primitives_.push_back(primitive);
    return static_cast<int>(primitives_.size() - 1);
}

int Scene::add_texture(TextureImage* texture)
{
    textures_.push_back(texture);
    return static_cast<int>(textures_.size() - 1);
}

void Scene::add_camera(Camera* camera) { cameras_.push_back(camera); }

bool Scene::add_surface(Surface* surface)
{
    for (const Surface* present : surfaces_)
        if (present->name == surface->name)
            return false;
    surface->scene = this;
    surfaces_.push_back(surface);
    return true;
}

void Scene::add_node(SceneNode* node)
{
    nodes_.push_back(node);
    adopt(node);
}

void Scene::adopt(SceneNode* node)
{
    node->set_scene(this);
    if (CameraNode* cameraNode = dynamic_cast<CameraNode*>(node)) {
        cameraNode->take_stored_lens();
        add_camera(&cameraNode->working_camera());
    }
}

int Scene::node_number(const SceneNode* node) const
{
    if (!node)
        return 0;
    for (size_t k = 1; k < nodes_.size(); ++k)
        if (nodes_[k] == node)
            return static_cast<int>(k);
    return -1;
}

Primitive* Scene::primitive(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < primitives_.size() ? primitives_[index] : nullptr;
}

TextureImage* Scene::texture(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < textures_.size() ? textures_[index] : nullptr;
}
