// Reading and writing a whole scene: its tables, its node tree, backdrop and fog.
#include <algorithm>
#include <memory>
#include <unordered_set>

#include "geometry/primitive.h"
#include "geometry/surface.h"
#include "persist/encoding.h"
#include "render/texture_image.h"
#include "scene/camera_node.h"
#include "scene/scene.h"
#include "scene/scene_node.h"
#include "scene/shape_node.h"

namespace {

// The smallest nested frame: a one-letter class name, its zero and the version.
const size_t kSmallestFrameBytes = 4;
// Far deeper than any scene is built; a file that nests deeper is damaged
// (and would exhaust the stack of the recursive evaluation).
const int kDeepestTree = 1000;

// A count, then that many frames of class T appended to `table`, each owned
// by the table as soon as it has been read.
template <typename T, typename Added>
void read_table(pstream& s, std::vector<T*>& table, Added added)
{
    unsigned int count = read_count(s, kSmallestFrameBytes);
    for (unsigned int i = 0; i < count; ++i) {
        T* object = nullptr;
        io_object(s, false, object);
        std::unique_ptr<T> owned(object);
        table.push_back(object);
        owned.release();
        added(object);
    }
}

template <typename T>
void write_table(pstream& s, const std::vector<T*>& table)
{
    s.write(static_cast<unsigned int>(table.size()));
    for (const T* object : table)
        write_object(s, *object);
}

} // namespace

void Scene::serialize(pstream& s, bool write)
{
    if (write)
        this->write(s);
    else
        read(s);
}

void Scene::read(pstream& s)
{
    read_table(s, surfaces_, [this](Surface* surface) { surface->scene = this; });
    read_table(s, textures_, [](TextureImage*) {});
    read_table(s, primitives_, [](Primitive*) {});
    read_table(s, nodes_, [](SceneNode*) {});
    unsigned int rootNumber;
    s.read(rootNumber);
    resolve_links(rootNumber);
    check_tables();
    check_tree();

    io_colour(s, false, backdrop);
    io(s, false, fog_enabled);
    io(s, false, fog_start);
    io(s, false, fog_end);
    io_colour(s, false, fog_colour);
}

void Scene::resolve_links(unsigned int rootNumber)
{
    const size_t last = nodes_.size() - 1;
    if (rootNumber > last)
        throw persistent::bad_data;
    for (size_t k = 1; k <= last; ++k) {
        const SceneNode::StoredLinks& links = nodes_[k]->stored_links();
        if (links.parent > last || links.next_sibling > last || links.first_child > last)
            throw persistent::bad_data;
    }
    for (size_t k = 1; k <= last; ++k) {
        SceneNode* node = nodes_[k];
        const SceneNode::StoredLinks& links = node->stored_links();
        node->set_links(nodes_[links.parent], nodes_[links.next_sibling], nodes_[links.first_child]);
        adopt(node);
    }
    root_ = nodes_[rootNumber];
}

void Scene::check_tables() const
{
    for (const Surface* surface : surfaces_)
        if (!surface->fits_texture_table(textures_.size()))
            throw persistent::bad_data;
    for (size_t k = 1; k < nodes_.size(); ++k) {
        const ShapeNode* shape = dynamic_cast<const ShapeNode*>(nodes_[k]);
        if (shape && shape->primitive_index != -1 && !primitive(shape->primitive_index))
            throw persistent::bad_data;
    }
}

// Evaluation and drawing follow first-child and next-sibling links from the
// root; a node met twice would make them loop forever.
void Scene::check_tree() const
{
    std::unordered_set<const SceneNode*> seen;
    std::vector<std::pair<const SceneNode*, int>> pending;
    if (root_)
        pending.push_back({root_, 0});
    while (!pending.empty()) {
        auto [first, depth] = pending.back();
        pending.pop_back();
        if (depth > kDeepestTree)
            throw persistent::bad_data;
        for (const SceneNode* node = first; node; node = node->next_sibling()) {
            if (!seen.insert(node).second)
                throw persistent::bad_data;
            if (node->first_child())
                pending.push_back({node->first_child(), depth + 1});
        }
    }
}

void Scene::write(pstream& s)
{
    number_nodes_by_walk();
    write_table(s, surfaces_);
    write_table(s, textures_);
    write_table(s, primitives_);
    s.write(static_cast<unsigned int>(nodes_.size() - 1));
    for (size_t k = 1; k < nodes_.size(); ++k)
        write_object(s, *nodes_[k]);
    s.write(static_cast<unsigned int>(node_number(root_)));

    io_colour(s, true, backdrop);
    io(s, true, fog_enabled);
    io(s, true, fog_start);
    io(s, true, fog_end);
    io_colour(s, true, fog_colour);
}

// Numbers the nodes by a pre-order walk from the root (a node, its
// children's subtrees, then its next sibling); then come the nodes held but
// not under the root, in their old order, and any node that a listed one
// links to, so that every stored link has a number. Nodes met that the scene
// did not hold become its own. The cameras follow their nodes' new order: a
// file keeps no camera table, its readers number the cameras in node order.
void Scene::number_nodes_by_walk()
{
    const std::unordered_set<const SceneNode*> held(nodes_.begin() + 1, nodes_.end());
    std::vector<SceneNode*> numbered{nullptr};
    std::unordered_set<const SceneNode*> listed;
    auto list = [&](SceneNode* node) {
        if (node && listed.insert(node).second)
            numbered.push_back(node);
    };
    std::vector<SceneNode*> pending;
    if (root_)
        pending.push_back(root_);
    while (!pending.empty()) {
        SceneNode* node = pending.back();
        pending.pop_back();
        if (listed.count(node))
            continue;
        list(node);
        if (node->next_sibling())
            pending.push_back(node->next_sibling());
        if (node->first_child())
            pending.push_back(node->first_child());
    }
    for (size_t k = 1; k < nodes_.size(); ++k)
        list(nodes_[k]);
    for (size_t k = 1; k < numbered.size(); ++k)
        for (SceneNode* link : {numbered[k]->parent(), numbered[k]->next_sibling(), numbered[k]->first_child()})
            list(link);

    std::vector<Camera*> nodeCameras;
    for (size_t k = 1; k < numbered.size(); ++k) {
        if (!held.count(numbered[k]))
            adopt(numbered[k]);
        if (auto* camera = dynamic_cast<CameraNode*>(numbered[k]))
            nodeCameras.push_back(&camera->working_camera());
    }
    std::vector<Camera*> others;
    for (Camera* camera : cameras_)
        if (std::find(nodeCameras.begin(), nodeCameras.end(), camera) == nodeCameras.end())
            others.push_back(camera);
    nodeCameras.insert(nodeCameras.end(), others.begin(), others.end());
    cameras_.swap(nodeCameras);
    nodes_.swap(numbered);
}
