// Scene files and scene frames: how fast a large scene file reads (texture
// decoding excluded: the generated scene has no textures) and how long one
// frame's evaluate + cull + queue takes for a scene of 2,000 nodes.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "geometry/nmesh.h"
#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "math/envelope.h"
#include "persist/factory.h"
#include "persist/pstream.h"
#include "scene/camera_node.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "scene/shape_node.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A wavy grid of side x side quads with two UV sets.
UniSurfaceMesh* grid(int side, float phase)
{
    std::vector<VertexPointUV2> vertices;
    std::vector<MeshTriangle> triangles;
    for (int j = 0; j <= side; ++j)
        for (int i = 0; i <= side; ++i) {
            VertexPointUV2 v;
            v.position.set(static_cast<float>(i), std::sin(i * 0.1f + phase) * std::cos(j * 0.07f), static_cast<float>(j));
            v.u0 = i / static_cast<float>(side);
            v.v0 = j / static_cast<float>(side);
            v.u1 = 4 * v.u0;
            v.v1 = 4 * v.v0;
            vertices.push_back(v);
        }
    const unsigned row = static_cast<unsigned>(side + 1);
    for (unsigned j = 0; j < static_cast<unsigned>(side); ++j)
        for (unsigned i = 0; i < static_cast<unsigned>(side); ++i) {
            unsigned a = j * row + i;
            triangles.push_back({{a, a + 1, a + row}});
            triangles.push_back({{a + 1, a + row + 1, a + row}});
        }
    return new UniSurfaceMesh_PointUV2(triangles, vertices);
}

NMesh* one_part(UniSurfaceMesh* element, const char* surface)
{
    auto* mesh = new NMesh;
    mesh->add_part(surface);
    mesh->add_element(element);
    return mesh;
}

TransformNode* moving_node(int k)
{
    auto* node = new TransformNode;
    HermiteInterpolator::Ctrl a, b, c;
    b.time = 2;
    b.value.set(static_cast<float>(k % 7), 1, 0);
    c.time = 5;
    c.value.set(0, static_cast<float>(k % 5), 2);
    node->set_position(new LW5KeyframeHandler({a, b, c}, 5));
    auto* angle = new Envelope;
    angle->addKey(0, 0).addKey(4, 360);
    angle->setRepeat();
    node->set_rotation(new LW6KeyframeHandler(new Envelope, angle, new Envelope));
    return node;
}

void bench_read()
{
    const int kPrimitives = 10, kSide = 160;  // 10 x 51,200 triangles
    Scene scene;
    scene.add_surface(new Surface("ground", &scene));
    auto* root = new TransformNode;
    scene.add_node(root);
    scene.set_root(root);
    for (int p = 0; p < kPrimitives; ++p) {
        auto* node = new ShapeNode(scene.add_primitive(one_part(grid(kSide, p * 0.3f), "ground")));
        scene.add_node(node);
        node->attach(root);
    }
    const double triangles = 2.0 * kSide * kSide * kPrimitives;
    const std::string path = "/tmp/scene_bench_" + std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) + ".hlv";
    save_scene(scene, path);

    memory_pstream written;
    write_object(written, scene);
    const double megabytes = written.bytes().size() / 1e6;
    const int kRounds = 5;

    double memoryBest = 1e9, fileBest = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        memory_pstream in(written.bytes());
        Clock::time_point start = Clock::now();
        std::unique_ptr<persistent> back(read_object(in));
        memoryBest = std::min(memoryBest, seconds_since(start));

        start = Clock::now();
        std::unique_ptr<Scene> loaded(load_scene(path));
        fileBest = std::min(fileBest, seconds_since(start));
    }
    std::remove(path.c_str());
    std::printf("scene file: %.0f triangles, %.2f MB\n", triangles, megabytes);
    std::printf("  read from memory:           %7.1f MB/s  %6.2f M triangles/s  (%.1f ms)\n", megabytes / memoryBest,
                triangles / memoryBest / 1e6, memoryBest * 1e3);
    std::printf("  load from file (+post-load): %6.1f MB/s  %6.2f M triangles/s  (%.1f ms)\n", megabytes / fileBest,
                triangles / fileBest / 1e6, fileBest * 1e3);
}

void bench_frame()
{
    // 1,000 moving transform nodes, each with a shape child: 2,000 nodes
    // under the root, spread over a field wider than the camera sees.
    Scene scene;
    scene.add_surface(new Surface("ground", &scene));
    int mesh = scene.add_primitive(one_part(grid(4, 0), "ground"));
    auto* root = new TransformNode;
    scene.add_node(root);
    scene.set_root(root);
    for (int k = 0; k < 1000; ++k) {
        TransformNode* mover = moving_node(k);
        mover->set_pivot(Vector3f(static_cast<float>(k % 40) * 6 - 120, 0, static_cast<float>(k / 40) * 6 - 75));
        scene.add_node(mover);
        mover->attach(root);
        auto* shape = new ShapeNode(mesh);
        scene.add_node(shape);
        shape->attach(mover);
    }
    auto* camera = new CameraNode(Camera(Vector3f(0, 30, 80), Vector3f(0, 0, 0), Vector3f(0, 1, 0), 1, 500, 0.5f, 0.375f));
    scene.add_node(camera);
    camera->attach(root);
    scene.post_load();

    const int kFrames = 2000;
    size_t queued = 0;
    Clock::time_point start = Clock::now();
    for (int frame = 0; frame < kFrames; ++frame) {
        scene.evaluate(frame / 60.0f);
        root->draw(*scene.cameras()[0]);
        for (RenderBucket& bucket : scene.render_queue()->buckets) {
            queued += bucket.size();
            bucket.clear();
        }
    }
    const double perFrame = seconds_since(start) / kFrames;
    std::printf("scene frame: %zu nodes, evaluate + cull + queue %.1f us per frame (%.0f parts queued per frame)\n",
                scene.nodes().size() - 1, perFrame * 1e6, static_cast<double>(queued) / kFrames);
}

} // namespace

int main()
{
    register_factories();
    bench_read();
    bench_frame();
    return 0;
}
