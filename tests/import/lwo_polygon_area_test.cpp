// Polygons as modellers write them keep all their area as triangles. Every
// expected area is worked out from how the polygon is drawn (see
// lw_test_objects.h), never from the tessellator.
#include <gtest/gtest.h>

#include "import/lws_object.h"
#include "tests/import/lw_test_objects.h"
#include "tests/import/lwo2_test_files.h"

namespace {

Vector3<double> triangleVectorArea(const hlv::RobustMesh& mesh, const hlv::IndexTriangle& t)
{
    const std::vector<Vector3f>& p = mesh.positions();
    const Vector3f n = cross(p[t[1]] - p[t[0]], p[t[2]] - p[t[0]]);
    return Vector3<double>(n.x / 2.0, n.y / 2.0, n.z / 2.0);
}

double meshArea(const hlv::RobustMesh& mesh)
{
    double total = 0;
    for (const hlv::IndexTriangle& t : mesh.triangles())
        total += triangleVectorArea(mesh, t).length();
    return total;
}

// Every triangle faces the way `normal` does (front faces stay front faces).
void expectFacing(const hlv::RobustMesh& mesh, const Vector3<double>& normal)
{
    for (const hlv::IndexTriangle& t : mesh.triangles())
        EXPECT_GT(dot(triangleVectorArea(mesh, t), normal), 0.0) << "a triangle is turned over";
}

std::unique_ptr<hlv::RobustMesh> loadChecked(const std::string& name, const writers::Lwo2Writer& w)
{
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt(saveObject(name, w));
    EXPECT_TRUE(mesh) << name;
    return mesh;
}

} // namespace

TEST(Lwo2PolygonArea, HolesWrittenWithABridgeKeepTheRingAroundTheHole)
{
    LoadCapture capture;
    // One object per way of starting the outline, so that each is measured alone.
    for (size_t i = 0; i < lwtest::keyholePolygons().size(); ++i) {
        writers::Lwo2Writer w;
        w.points(lwtest::keyholePoints()).polygons({lwtest::keyholePolygons()[i]});
        std::unique_ptr<hlv::RobustMesh> mesh = loadChecked("keyhole.lwo", w);
        ASSERT_TRUE(mesh);
        EXPECT_NEAR(meshArea(*mesh), lwtest::kKeyholeArea, 1e-5) << "outline " << i;
        expectFacing(*mesh, {0, 0, 1});
        // Nothing covers the hole: no triangle has its centre inside it.
        for (const hlv::IndexTriangle& t : mesh->triangles()) {
            const Vector3f c = (mesh->positions()[t[0]] + mesh->positions()[t[1]] + mesh->positions()[t[2]]) / 3.0f;
            EXPECT_FALSE(c.x > 1 && c.x < 3 && c.y > 1 && c.y < 3) << "outline " << i;
        }
    }
    EXPECT_TRUE(capture.traced("1 polygons were triangulated by their outline")) << tracedText();

    // The whole object as written, and the form the strict rules read
    // (outer contour, then the hole) unchanged beside them.
    std::unique_ptr<hlv::RobustMesh> all = loadChecked("keyholes.lwo", lwtest::keyholeObject());
    ASSERT_TRUE(all);
    EXPECT_NEAR(meshArea(*all), 3 * lwtest::kKeyholeArea, 1e-4);
    writers::Lwo2Writer strict;
    strict.points(lwtest::keyholePoints()).polygons({{0, 1, 2, 3, 0, 4, 7, 6, 5, 4}});
    tracedText().clear();
    std::unique_ptr<hlv::RobustMesh> split = loadChecked("split_hole.lwo", strict);
    ASSERT_TRUE(split);
    EXPECT_NEAR(meshArea(*split), lwtest::kKeyholeArea, 1e-5);
    EXPECT_FALSE(capture.traced("by their outline")) << tracedText();
}

TEST(Lwo2PolygonArea, OlderObjectsWithABridgedHoleKeepItToo)
{
    LW::Scene record;
    LW::SceneObject object = LW::readSceneObject(saveObject("keyhole_lwob.lwo", lwtest::keyholeLwob()).c_str(), record);
    object.mesh->build(0);
    EXPECT_NEAR(meshArea(*object.mesh), lwtest::kKeyholeArea, 1e-5);
    expectFacing(*object.mesh, {0, 0, 1});
}

TEST(Lwo2PolygonArea, SelfIntersectingPolygonsGetTheirCrossingAsAPoint)
{
    LoadCapture capture;
    std::unique_ptr<hlv::RobustMesh> ties = loadChecked("bowties.lwo", lwtest::bowTieObject());
    ASSERT_TRUE(ties);
    EXPECT_NEAR(meshArea(*ties), lwtest::kBowTieArea, 1e-5);
    EXPECT_EQ(ties->triangleCount(), 4u);
    EXPECT_FALSE(capture.traced("skipped because")) << tracedText();
    // The crossings' texture coordinates are mixed from the corners' like
    // their positions: half the position for the first tie, and the
    // polygon's own quarter for the second.
    ASSERT_EQ(ties->partCount(), 1u);
    const hlv::MeshPart& part = ties->parts()[0];
    ASSERT_EQ(part.uvLayerCount, 1u);
    bool crossingSeen[2] = {false, false};
    for (uint32_t v = 0; v < part.vertexCount; ++v) {
        const Vector3f& p = part.positions[v];
        const float scale = p.x < 4 ? 0.5f : 0.25f;
        EXPECT_NEAR(part.uvLayers[0][2 * v], p.x * scale, 1e-5f) << p.x << " " << p.y;
        EXPECT_NEAR(part.uvLayers[0][2 * v + 1], 1 - p.y * scale, 1e-5f) << p.x << " " << p.y;
        if (std::fabs(p.y - 1) < 1e-5f)
            crossingSeen[p.x < 4 ? 0 : 1] = true;
    }
    EXPECT_TRUE(crossingSeen[0] && crossingSeen[1]);

    std::unique_ptr<hlv::RobustMesh> star = loadChecked("star.lwo", lwtest::starObject());
    ASSERT_TRUE(star);
    EXPECT_NEAR(meshArea(*star), lwtest::starArea(), 1e-5);
}

TEST(Lwo2PolygonArea, NonPlanarPolygonsCoverTheirBestFitPlane)
{
    std::unique_ptr<hlv::RobustMesh> crown = loadChecked("crown.lwo", lwtest::crownObject());
    ASSERT_TRUE(crown);
    // The triangles' shadow on the best-fit plane z = 0 is the octagon, with
    // no triangle turned over (which would cancel area out).
    double shadow = 0;
    for (const hlv::IndexTriangle& t : crown->triangles())
        shadow += triangleVectorArea(*crown, t).z;
    EXPECT_NEAR(shadow, 2 * std::sqrt(2.0), 1e-5);
    expectFacing(*crown, {0, 0, 1});
    EXPECT_EQ(crown->triangleCount(), 6u);
}

TEST(Lwo2PolygonArea, SubdivisionCagesAreFacesAndOtherListsAreSkipped)
{
    LoadCapture capture;
    std::unique_ptr<hlv::RobustMesh> cage = loadChecked("cage.lwo", lwtest::cageObject());
    ASSERT_TRUE(cage);
    EXPECT_NEAR(meshArea(*cage), lwtest::cageArea(), 1e-5);
    EXPECT_EQ(cage->triangleCount(), 12u + 3u);
    // The tags after each list refer to that list: the cube's last face and
    // the pentagon are "Lid".
    ASSERT_EQ(cage->partCount(), 2u);
    EXPECT_EQ(cage->parts()[0].triangleCount, 10u);
    EXPECT_EQ(cage->parts()[1].triangleCount, 5u);
    EXPECT_TRUE(capture.traced("Curves are not supported (2 curves were skipped).")) << tracedText();
    EXPECT_TRUE(capture.traced("Bones are not supported (1 bones were skipped).")) << tracedText();
    EXPECT_TRUE(capture.traced("Metaballs are not supported (1 metaballs were skipped).")) << tracedText();
}
