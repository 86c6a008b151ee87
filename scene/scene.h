#pragma once
// What one scene file holds: tables of surfaces, textures and primitives, a
// tree of nodes, a backdrop colour and linear fog. Evaluated at a time and
// drawn through one of its cameras, surface by surface.

#include <memory>
#include <vector>

#include "geometry/render_queue.h"
#include "persist/persistent.h"

class Camera;
class Primitive;
class SceneNode;
class Surface;
class TextureImage;

class Scene : public persistent {
public:
    static constexpr const char* kClassName = "class Scene";

    Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;
    ~Scene() override;

    const char* class_name() const override { return kClassName; }
    // Reading refuses (bad_data) counts, indices and node numbers outside
    // their tables and node links that do not form a tree. Writing numbers
    // the nodes by a pre-order walk from the root and puts the cameras in
    // the order of their nodes, as a reader numbers them; nodes found under
    // the root that the scene did not hold yet become its own.
    void serialize(pstream& stream, bool write) override;

    // Matches every primitive part to its surface by name, evaluates the
    // tree at time 0 and makes the render queue. Once, after reading.
    void post_load();

    // Takes effect at the next draw.
    void set_pending_camera(int index) { pending_camera_ = index; }
    // The camera drawn through, or null when none is chosen or the chosen
    // index has no camera.
    Camera* current_camera() const;
    void evaluate(float seconds);
    void draw();

    // Building a scene (importers, content tools). Each table takes
    // ownership of what it is given, except cameras, which belong to their
    // camera nodes.
    int add_primitive(Primitive* primitive);
    int add_texture(TextureImage* texture);
    void add_camera(Camera* camera);
    // False, adding nothing, when a surface of that name is present.
    bool add_surface(Surface* surface);
    // Takes ownership; a camera node takes its stored lens and its working
    // camera joins the cameras.
    void add_node(SceneNode* node);
    void set_root(SceneNode* root) { root_ = root; }
    // Numbers the nodes and orders the cameras as a written file will (see
    // serialize), so that a built scene's camera indices are those its file
    // gives a reader.
    void number_nodes_by_walk();

    // The node's number in files: 0 for null, -1 when the scene does not hold it.
    int node_number(const SceneNode* node) const;

    // Null when the index is outside the table.
    Primitive* primitive(int index) const;
    TextureImage* texture(int index) const;

    const std::vector<Camera*>& cameras() const { return cameras_; }
    const std::vector<TextureImage*>& textures() const { return textures_; }
    const std::vector<Primitive*>& primitives() const { return primitives_; }
    const std::vector<Surface*>& surfaces() const { return surfaces_; }
    // Entry 0 is null; entry k is node number k.
    const std::vector<SceneNode*>& nodes() const { return nodes_; }
    SceneNode* root() const { return root_; }
    RenderQueue* render_queue() const { return queue_.get(); }
    int current_camera_index() const { return current_camera_; }

    float backdrop[4] = {0, 0, 0, 1};
    bool fog_enabled = false;
    float fog_start = 0;
    float fog_end = 0;
    float fog_colour[4] = {0, 0, 0, 0};

private:
    void read(pstream& stream);
    void write(pstream& stream);
    void adopt(SceneNode* node);
    void resolve_links(unsigned int rootNumber);
    void check_tables() const;
    void check_tree() const;
    void flush(const Camera& camera);

    std::vector<Camera*> cameras_;
    std::vector<TextureImage*> textures_;
    std::vector<Primitive*> primitives_;
    std::vector<Surface*> surfaces_;
    std::vector<SceneNode*> nodes_;
    SceneNode* root_ = nullptr;
    std::unique_ptr<RenderQueue> queue_;
    int current_camera_ = -1;
    int pending_camera_ = -1;
};
