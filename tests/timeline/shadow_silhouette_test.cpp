#include <gtest/gtest.h>

#include <map>

#include "tests/geometry/capturing_logger.h"
#include "tests/timeline/mesh_layer_shapes.h"
#include "timeline/shadow_caster.h"
#include "timeline/shadow_scene.h"
#include "timeline/shadow_volume.h"

using hlv::ShadowCaster;
using hlv::ShadowVolume;

TEST(ShadowSilhouette, ClosedMeshLitFromOutsideGivesOneLoop)
{
    auto cube = boxMesh({0, 0, 0}, {1, 1, 1});
    ShadowCaster caster(cube.get());
    caster.prepare();
    // From (5, 6, 7) the faces x = 1, y = 1 and z = 1 are lit: their outline
    // is a hexagon through six of the eight corners.
    caster.computeSilhouette({5, 6, 7});
    ASSERT_EQ(caster.silhouette().size(), 6u);
    std::map<uint32_t, int> edgesAtVertex;
    for (const auto& edge : caster.silhouette()) {
        ++edgesAtVertex[edge.v0];
        ++edgesAtVertex[edge.v1];
    }
    EXPECT_EQ(edgesAtVertex.size(), 6u);
    for (const auto& [vertex, count] : edgesAtVertex)
        EXPECT_EQ(count, 2) << "vertex " << vertex;

    CapturingLogger logger;
    ShadowVolume volume;
    volume.build(caster, {5, 6, 7});
    EXPECT_EQ(logger.text, "\r\npoint cloud : 12 pts => 6 pts");
    EXPECT_EQ(volume.vertexCount(), 12u);
    EXPECT_EQ(volume.quadCount(), 6u);
}

TEST(ShadowSilhouette, SingleTriangleIsAllBorderTowardsTheLightAndNothingAway)
{
    // Counter-clockwise seen from +z: it faces +z.
    auto triangle = builtMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2, 0}}, 3);
    ShadowCaster caster(triangle.get());
    caster.prepare();
    caster.computeSilhouette({0.2f, 0.2f, 5});
    EXPECT_EQ(caster.silhouette().size(), 3u);
    caster.computeSilhouette({0.2f, 0.2f, -5});
    EXPECT_TRUE(caster.silhouette().empty());
}

TEST(ShadowSilhouette, CoplanarTrianglesNeverMeetAtASilhouette)
{
    // A unit square of two triangles sharing the diagonal (0, 2).
    auto square = builtMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 0}, {0, 2, 3, 0}}, 3);
    ShadowCaster caster(square.get());
    caster.prepare();
    const auto& edges = square->edgeList();
    uint32_t diagonal = edges.edgeCount();
    for (uint32_t e = 0; e < edges.edgeCount(); ++e)
        if (edges.incidenceCount(e) == 2)
            diagonal = e;
    ASSERT_LT(diagonal, edges.edgeCount());
    EXPECT_TRUE(caster.isFlat(diagonal));

    const auto& d = edges.edges()[diagonal];
    const Vector3f lights[] = {{0.5f, 0.5f, 3}, {0.5f, 0.5f, -3}, {5, 5, 0}, {-2, 7, 1e-6f}, {0.9f, 0.1f, -1e-6f}};
    for (const Vector3f& light : lights) {
        caster.computeSilhouette(light);
        for (const auto& edge : caster.silhouette())
            EXPECT_FALSE(edge.v0 == d.v0 && edge.v1 == d.v1) << light.x << " " << light.y << " " << light.z;
    }
    caster.computeSilhouette({0.5f, 0.5f, 3});
    EXPECT_EQ(caster.silhouette().size(), 4u);  // the open border
}

TEST(ShadowScene, ObjectsComeOutOneEveryFourTenthsFromFourSeconds)
{
    EXPECT_EQ(hlv::ShadowScene::visibleCount(0.0f), 0);
    EXPECT_EQ(hlv::ShadowScene::visibleCount(4.3f), 0);
    EXPECT_EQ(hlv::ShadowScene::visibleCount(4.4f), 1);
    EXPECT_EQ(hlv::ShadowScene::visibleCount(23.2f), 48);
    EXPECT_EQ(hlv::ShadowScene::visibleCount(200.0f), 48);
}
