// Welding and object loading against peers, measured in the same run on the
// same data:
//  - RobustMesh::build (flags 0 and 3) on unwelded triangle soups of 10^4 to
//    10^6 triangles, against meshoptimizer's vertex remap and Assimp's
//    identical-vertex join;
//  - loadLWO2 followed by build(0) on LWO2 grids of quads, against Assimp's
//    LWO importer with triangulation and vertex joining.
// Figures are the best of several runs; ratios are our time over the peer's
// (below 1 means we are faster).

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <meshoptimizer.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "geometry/robust_mesh.h"
#include "import/lwo2_loader.h"
#include "tools/writers/lwo2_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

// Best wall time of `runs` calls of `work`, in seconds; `prepare` runs
// untimed before each call.
double bestTime(int runs, const std::function<void()>& work, const std::function<void()>& prepare = [] {})
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const Clock::time_point start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// A wavy height field of about `triangles` triangles, every triangle with
// its own copies of its corners, in shuffled order (as an importer hands a
// soup over).
struct Soup {
    std::vector<Vector3f> points;  // 3 per triangle
    size_t triangles = 0;
};

Soup makeSoup(size_t triangles)
{
    const int side = std::max(1, static_cast<int>(std::sqrt(triangles / 2.0)));
    auto height = [](int x, int y) { return 0.3f * std::sin(x * 0.37f) * std::cos(y * 0.23f); };
    std::vector<std::array<Vector3f, 3>> list;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const Vector3f a(float(x), float(y), height(x, y)), b(float(x + 1), float(y), height(x + 1, y));
            const Vector3f c(float(x + 1), float(y + 1), height(x + 1, y + 1)), d(float(x), float(y + 1), height(x, y + 1));
            list.push_back({a, b, c});
            list.push_back({a, c, d});
        }
    }
    std::shuffle(list.begin(), list.end(), std::mt19937(42));
    Soup soup;
    soup.triangles = list.size();
    for (const auto& t : list)
        soup.points.insert(soup.points.end(), t.begin(), t.end());
    return soup;
}

double timeRobustMesh(const Soup& soup, unsigned flags, int runs, size_t& weldedVertices)
{
    std::vector<hlv::RobustMesh::TaggedTriangle> triangles(soup.triangles);
    for (uint32_t t = 0; t < soup.triangles; ++t)
        triangles[t] = {3 * t, 3 * t + 1, 3 * t + 2, t % 3};
    return bestTime(runs, [&] {
        hlv::RobustMesh mesh;
        mesh.setPoints(soup.points);
        mesh.setTriangles(triangles);
        mesh.build(flags);
        weldedVertices = mesh.positions().size();
    });
}

// Remap table, then the welded vertex and index buffers: the same result as
// our weld (exact matches only, no clean-up).
double timeMeshoptimizer(const Soup& soup, int runs, size_t& weldedVertices)
{
    const size_t count = soup.points.size();
    std::vector<unsigned int> remap(count), indices(count);
    std::vector<Vector3f> vertices(count);
    return bestTime(runs, [&] {
        const size_t unique = meshopt_generateVertexRemap(remap.data(), nullptr, count, soup.points.data(), count, sizeof(Vector3f));
        meshopt_remapIndexBuffer(indices.data(), nullptr, count, remap.data());
        meshopt_remapVertexBuffer(vertices.data(), soup.points.data(), count, sizeof(Vector3f), remap.data());
        weldedVertices = unique;
    });
}

// The soup as an in-memory Assimp scene, stored once as an "assbin" blob so
// that every run can load it untimed and then time the join alone.
std::vector<uint8_t> assimpBlob(const Soup& soup)
{
    aiScene scene;
    scene.mRootNode = new aiNode;
    scene.mRootNode->mNumMeshes = 1;
    scene.mRootNode->mMeshes = new unsigned int[1]{0};
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial*[1]{new aiMaterial};
    aiMesh* mesh = new aiMesh;
    scene.mNumMeshes = 1;
    scene.mMeshes = new aiMesh*[1]{mesh};
    mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    mesh->mNumVertices = static_cast<unsigned int>(soup.points.size());
    mesh->mVertices = new aiVector3D[soup.points.size()];
    for (size_t i = 0; i < soup.points.size(); ++i)
        mesh->mVertices[i] = aiVector3D(soup.points[i].x, soup.points[i].y, soup.points[i].z);
    mesh->mNumFaces = static_cast<unsigned int>(soup.triangles);
    mesh->mFaces = new aiFace[soup.triangles];
    for (unsigned int t = 0; t < soup.triangles; ++t) {
        mesh->mFaces[t].mNumIndices = 3;
        mesh->mFaces[t].mIndices = new unsigned int[3]{3 * t, 3 * t + 1, 3 * t + 2};
    }
    Assimp::Exporter exporter;
    const aiExportDataBlob* blob = exporter.ExportToBlob(&scene, "assbin");
    if (!blob)
        return {};
    const uint8_t* bytes = static_cast<const uint8_t*>(blob->data);
    return std::vector<uint8_t>(bytes, bytes + blob->size);
}

double timeAssimpJoin(const std::vector<uint8_t>& blob, int runs, size_t& joinedVertices)
{
    Assimp::Importer importer;
    double time = bestTime(
        runs, [&] { importer.ApplyPostProcessing(aiProcess_JoinIdenticalVertices); },
        [&] { importer.ReadFileFromMemory(blob.data(), blob.size(), 0, "assbin"); });
    const aiScene* scene = importer.GetScene();
    joinedVertices = scene && scene->mNumMeshes ? scene->mMeshes[0]->mNumVertices : 0;
    return time;
}

void benchWelding()
{
    std::printf("Welding triangle soups (best of runs; corners = 3 x triangles)\n");
    std::printf("%10s %14s %14s %12s %12s %10s %10s\n", "triangles", "ours f0 Mc/s", "ours f3 Mc/s", "meshopt Mc/s",
                "assimp Mc/s", "f0/meshopt", "f0/assimp");
    for (size_t size : {size_t(10000), size_t(100000), size_t(1000000)}) {
        const Soup soup = makeSoup(size);
        const int runs = size >= 1000000 ? 3 : 7;
        const double corners = double(soup.points.size());
        size_t ours = 0, optimized = 0, joined = 0;
        const double ours0 = timeRobustMesh(soup, 0, runs, ours);
        const double ours3 = timeRobustMesh(soup, 3, runs, ours);
        const double meshopt = timeMeshoptimizer(soup, runs, optimized);
        const std::vector<uint8_t> blob = assimpBlob(soup);
        const double assimp = blob.empty() ? 0 : timeAssimpJoin(blob, runs, joined);
        std::printf("%10zu %14.2f %14.2f %12.2f %12.2f %10.2f %10.2f\n", soup.triangles, corners / ours0 / 1e6,
                    corners / ours3 / 1e6, corners / meshopt / 1e6, assimp > 0 ? corners / assimp / 1e6 : 0.0,
                    ours0 / meshopt, assimp > 0 ? ours0 / assimp : 0.0);
        std::printf("%10s welded vertices: ours %zu, meshopt %zu, assimp %zu\n", "", ours, optimized, joined);
        if (blob.empty())
            std::printf("  (Assimp could not store the scene; its column is empty)\n");
    }
}

// A grid of quads with one surface and a UV map, as the show's objects are.
std::string writeGridObject(int side)
{
    std::vector<Vector3f> points;
    std::vector<writers::Lwo2MapEntry> uvs;
    for (int y = 0; y <= side; ++y) {
        for (int x = 0; x <= side; ++x) {
            points.emplace_back(float(x), float(y), 0.3f * std::sin(x * 0.37f) * std::cos(y * 0.23f));
            uvs.push_back({static_cast<uint32_t>(points.size() - 1), 0, {float(x) / side, float(y) / side}});
        }
    }
    std::vector<std::vector<uint32_t>> quads;
    std::vector<std::pair<uint32_t, uint16_t>> tags;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const uint32_t a = y * (side + 1) + x;
            quads.push_back({a, a + 1, a + side + 2, a + side + 1});
            tags.push_back({static_cast<uint32_t>(quads.size() - 1), 0});
        }
    }
    writers::Lwo2Surface surface;
    surface.name = "Grid";
    surface.blocks.push_back(writers::uvMappedBlock("uv"));
    writers::Lwo2Writer writer;
    writer.tags({"Grid"}).layer(0).points(points).polygons(quads).surfaceTags(tags).vertexMap("TXUV", 2, "uv", uvs).surface(surface);
    const std::string name = "mesh_bench_grid_" + std::to_string(side) + ".lwo";
    writer.save(name);
    return name;
}

void benchLoading()
{
    std::printf("\nLoading LWO2 grids of quads (ours: loadLWO2 + build(0); Assimp: triangulate + join vertices)\n");
    std::printf("%10s %12s %12s %10s\n", "quads", "ours ms", "assimp ms", "ours/assimp");
    for (int side : {100, 316}) {
        const std::string name = writeGridObject(side);
        const int runs = 5;
        size_t ourVertices = 0, assimpVertices = 0;
        const double ours = bestTime(runs, [&] {
            std::unique_ptr<hlv::RobustMesh> mesh(loadLWO2(name.c_str(), nullptr));
            mesh->build(0);
            ourVertices = mesh->parts().empty() ? 0 : mesh->parts()[0].vertexCount;
        });
        std::string assimpError;
        const double assimp = bestTime(runs, [&] {
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(name, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices);
            assimpVertices = scene && scene->mNumMeshes ? scene->mMeshes[0]->mNumVertices : 0;
            if (!scene)
                assimpError = importer.GetErrorString();
        });
        std::printf("%10d %12.2f %12.2f %10.2f   (render vertices: ours %zu, assimp %zu)\n", side * side, ours * 1e3,
                    assimp * 1e3, ours / assimp, ourVertices, assimpVertices);
        if (!assimpError.empty())
            std::printf("  Assimp failed: %s\n", assimpError.c_str());
        std::remove(name.c_str());
    }
}

} // namespace

int main()
{
    benchWelding();
    benchLoading();
    return 0;
}
