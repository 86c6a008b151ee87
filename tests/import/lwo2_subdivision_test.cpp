// SubPatch objects (SUBD and PTCH polygon lists) are subdivided as
// Catmull-Clark subdivides them: the count of quads OpenSubdiv makes for the
// level, each with its cage polygon's surface, and the object round.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "import/lws_object.h"
#include "tests/import/lwo2_test_files.h"
#include "tests/import/subpatch_cage.h"

namespace {

// A tetrahedron: triangles become three quads each at the first level.
const std::vector<Vector3f> kTetraPoints = {{0, 1, 0}, {-1, -1, -1}, {1, -1, -1}, {0, -1, 1}};
const std::vector<std::vector<uint32_t>> kTetraFaces = {{0, 2, 1}, {0, 3, 2}, {0, 1, 3}, {1, 2, 3}};

struct Cage {
    const char* name;
    const std::vector<Vector3f>* points;
    const std::vector<std::vector<uint32_t>>* faces;
};

std::string writeCage(const Cage& cage, const std::string& type)
{
    const int top = cage.faces == &kCubeFaces ? 4 : -1;
    return saveObject(std::string(cage.name) + "_" + type + ".lwo", subPatchObject(*cage.points, *cage.faces, type, top));
}

// Catmull-Clark's count: each n-sided polygon gives n quads at the first
// level, and every quad four at each level after.
uint32_t catmullClarkQuads(const Cage& cage, uint32_t level)
{
    uint32_t quads = 0;
    for (const auto& face : *cage.faces)
        quads += uint32_t(face.size());
    for (uint32_t l = 1; l < level; ++l)
        quads *= 4;
    return quads;
}

} // namespace

TEST(Lwo2Subdivision, TrianglesAreTwoForEachQuadOfTheLevel)
{
    const Cage cube{"cube", &kCubePoints, &kCubeFaces};
    const Cage tetra{"tetra", &kTetraPoints, &kTetraFaces};
    const struct {
        Cage cage;
        const char* type;
        uint32_t level;
        bool subdivided;
    } cases[] = {
        {cube, "SUBD", 1, true},  {cube, "SUBD", 2, true},  {cube, "SUBD", 3, true}, {cube, "PTCH", 2, true},
        {tetra, "SUBD", 1, true}, {tetra, "SUBD", 3, true}, {cube, "SUBD", 0, false},
        // Plain faces are never subdivided.
        {cube, "FACE", 3, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.cage.name) + " " + c.type + " level " + std::to_string(c.level));
        LW::Scene record;
        LW::SceneObject object = LW::readSceneObject(writeCage(c.cage, c.type).c_str(), record, 0, c.level);
        object.mesh->build(0);
        uint32_t cageTriangles = 0;
        for (const auto& face : *c.cage.faces)
            cageTriangles += uint32_t(face.size()) - 2;
        const uint32_t expected = c.subdivided ? 2 * catmullClarkQuads(c.cage, c.level) : cageTriangles;
        EXPECT_EQ(object.mesh->triangleCount(), expected);
        EXPECT_EQ(object.subdivision.triangles, c.subdivided ? expected : 0u);
        EXPECT_EQ(object.subdivision.cagePolygons, c.type == std::string("FACE") ? 0u : c.cage.faces->size());
    }
}

// Each quad keeps the surface of the cage polygon it came from.
TEST(Lwo2Subdivision, QuadsKeepTheirCagePolygonsSurface)
{
    const Cage cube{"cube", &kCubePoints, &kCubeFaces};
    LW::Scene record;
    LW::SceneObject object = LW::readSceneObject(writeCage(cube, "SUBD").c_str(), record, 0, 2);
    object.mesh->build(0);
    std::map<std::string, uint32_t> trianglesOf;
    for (uint32_t tag : object.mesh->surfaceIds())
        ++trianglesOf[record.surfaces[object.tagSurface[tag]]->name];
    EXPECT_EQ(trianglesOf["Top"], 2 * 16u);
    EXPECT_EQ(trianglesOf["Side"], 2 * 16u * 5);
}

// The cage's corners are cut round: every point of the subdivided cube
// lies about as far from its centre as every other, where the cage's
// corners lie sqrt(3) times as far as its faces' centres.
TEST(Lwo2Subdivision, ASubdividedCubeIsRound)
{
    const Cage cube{"cube", &kCubePoints, &kCubeFaces};
    for (uint32_t level : {2u, 3u}) {
        LW::Scene record;
        LW::SceneObject object = LW::readSceneObject(writeCage(cube, "SUBD").c_str(), record, 0, level);
        object.mesh->build(0);
        float nearest = 1e9f, farthest = 0;
        for (const Vector3f& p : object.mesh->positions()) {
            nearest = std::min(nearest, p.length());
            farthest = std::max(farthest, p.length());
        }
        EXPECT_LT(farthest / nearest, 1.2f) << "level " << level;
        EXPECT_LT(farthest, 0.95f) << "the corners are cut, level " << level;
        const BoundingBox& box = object.mesh->boundingBox();
        EXPECT_NEAR(box.max.x, -box.min.x, 1e-5f) << "level " << level;
    }
}

// Cages LightWave lets a modeller make, and damaged ones: subdivided where
// the scheme takes them, never a crash; a level that would not fit in
// memory is lowered.
TEST(Lwo2Subdivision, AwkwardCagesAreSubdividedOrKeptWhole)
{
    const std::vector<Vector3f> fan = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    std::vector<Vector3f> pentagon;
    for (int i = 0; i < 5; ++i)
        pentagon.push_back({std::cos(i * 1.2566f), std::sin(i * 1.2566f), 0});
    const struct {
        const char* name;
        std::vector<Vector3f> points;
        std::vector<std::vector<uint32_t>> faces;
        uint32_t level;
        uint32_t triangles;
    } cases[] = {
        // Three polygons on one edge: not a manifold.
        {"fin", fan, {{0, 1, 2}, {0, 2, 3}, {0, 4, 2}}, 2, 2 * 3 * 3 * 4},
        // A point used twice has no place in the scheme: it stays a face,
        // of no area and so no triangle; the other is subdivided.
        {"repeated point", fan, {{0, 1, 2, 1}, {0, 2, 3}}, 1, 2 * 3},
        // Two polygons the other way round on one edge.
        {"flipped neighbour", fan, {{0, 1, 2}, {0, 3, 2}}, 1, 2 * 3 * 2},
        {"pentagon", pentagon, {{0, 1, 2, 3, 4}}, 2, 2 * 5 * 4},
        // 6 * 4^5 quads at level 6 would be 24576, within the limit; the
        // cap is far above what real objects reach.
        {"deep", kCubePoints, kCubeFaces, 6, 2 * 6 * 4096},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LW::Scene record;
        const std::string path =
            saveObject(std::string("awkward_") + std::to_string(&c - cases) + ".lwo",
                       subPatchObject(c.points, c.faces, "SUBD"));
        LW::SceneObject object = LW::readSceneObject(path.c_str(), record, 0, c.level);
        object.mesh->build(hlv::RobustMesh::ComputeNormals);
        EXPECT_EQ(object.mesh->triangleCount(), c.triangles);
        for (const Vector3f& p : object.mesh->positions())
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    }
}
