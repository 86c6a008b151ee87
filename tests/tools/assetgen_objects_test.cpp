// The generated LightWave objects read through the show's own loader and
// build with the flags the show uses; the shadow meshes are closed and face
// outwards; the light shafts stand where the hall's windows and opening are.
#include <gtest/gtest.h>

#include <map>

#include "geometry/robust_mesh.h"
#include "import/lwo2_loader.h"
#include "tests/tools/assetgen_pack.h"

namespace {

std::unique_ptr<hlv::RobustMesh> loadBuilt(const char* name, unsigned flags)
{
    std::unique_ptr<hlv::RobustMesh> mesh(loadLWO2(name, nullptr));
    if (mesh)
        mesh->build(flags);
    return mesh;
}

// Six times the enclosed volume (positive when the faces point outwards).
double signedVolume6(const hlv::RobustMesh& mesh)
{
    double sum = 0;
    for (const hlv::IndexTriangle& t : mesh.triangles()) {
        const Vector3f &a = mesh.positions()[t[0]], &b = mesh.positions()[t[1]], &c = mesh.positions()[t[2]];
        sum += double(dot(a, cross(b, c)));
    }
    return sum;
}

// Every edge has exactly two triangles, which run along it in opposite
// directions (a closed, consistently wound surface).
void expectClosed(hlv::RobustMesh& mesh, const char* name)
{
    const hlv::EdgeList& edges = mesh.edgeList();
    ASSERT_GT(edges.edgeCount(), 0u) << name;
    EXPECT_TRUE(edges.isManifold()) << name;
    uint32_t open = 0, misaligned = 0;
    for (uint32_t e = 0; e < edges.edgeCount(); ++e) {
        if (edges.incidenceCount(e) != 2) {
            ++open;
            continue;
        }
        int forward = 0;
        edges.forEachIncidence(e, [&](uint32_t incidence) { forward += hlv::EdgeList::isForward(incidence) ? 1 : 0; });
        if (forward != 1)
            ++misaligned;
    }
    EXPECT_EQ(open, 0u) << name << ": edges without exactly two triangles";
    EXPECT_EQ(misaligned, 0u) << name << ": neighbours wound against each other";
    EXPECT_GT(signedVolume6(mesh), 0.0) << name << " faces inwards";
}

} // namespace

TEST(AssetObjects, TitleCraftBuildsWithNormalsAndSeveralSurfaces)
{
    enterPack();
    auto craft = loadBuilt("demo\\intro\\objet\\pilot.lwo", hlv::RobustMesh::ComputeNormals);
    ASSERT_TRUE(craft);
    EXPECT_GE(craft->triangleCount(), 2000u);
    EXPECT_LE(craft->triangleCount(), 8000u);
    EXPECT_GE(craft->partCount(), 4u);
    for (const hlv::MeshPart& part : craft->parts())
        EXPECT_TRUE(part.hasNormals());
    // About four units long along Z, nose forward.
    const BoundingBox& box = craft->boundingBox();
    EXPECT_NEAR(box.max.z - box.min.z, 4.3f, 0.3f);
    EXPECT_GT(box.max.x - box.min.x, 5.0f);  // the wingspan
}

TEST(AssetObjects, ShadowReceiverAndCastersAreClosedAndFaceOutwards)
{
    enterPack();
    for (const char* name : {"demo\\ombres\\hlv.lwo", "demo\\ombres\\1.lwo", "demo\\ombres\\2.lwo", "demo\\ombres\\3.lwo"}) {
        auto mesh = loadBuilt(name, hlv::RobustMesh::ComputeNormals | hlv::RobustMesh::BuildEdges);
        ASSERT_TRUE(mesh) << name;
        expectClosed(*mesh, name);
        const BoundingBox& box = mesh->boundingBox();
        float extent = std::max({box.max.x - box.min.x, box.max.y - box.min.y, box.max.z - box.min.z});
        EXPECT_GT(extent, 0.6f) << name;
        EXPECT_LT(extent, 1.6f) << name;
    }
}

TEST(AssetObjects, LightShaftsAreClosedMirroredPairsFromOpeningsToTheFloor)
{
    enterPack();
    const char* names[8] = {"demo\\Mosquee\\volum1OK2.lwo", "demo\\Mosquee\\volum1OK2sym.lwo",
                            "demo\\Mosquee\\volum2OK.lwo",  "demo\\Mosquee\\volum2OKsym.lwo",
                            "demo\\Mosquee\\volum3OK.lwo",  "demo\\Mosquee\\volum3OKsym.lwo",
                            "demo\\Mosquee\\volumPlaf.lwo", "demo\\Mosquee\\volumPlaf-sym.lwo"};
    std::vector<BoundingBox> boxes;
    for (const char* name : names) {
        auto mesh = loadBuilt(name, 0);
        ASSERT_TRUE(mesh) << name;
        expectClosed(*mesh, name);
        ASSERT_EQ(mesh->partCount(), 1u) << name;
        // The glow comes from the vertex colour map: every vertex weighted.
        const hlv::MeshPart& part = mesh->parts()[0];
        ASSERT_TRUE(part.hasWeights()) << name;
        for (uint32_t weight : part.weights) {
            EXPECT_GT(weight & 0xFF, 0u) << name;
        }
        boxes.push_back(mesh->boundingBox());
        // Down to the floor, from well above it.
        EXPECT_NEAR(mesh->boundingBox().min.y, 0.02f, 1e-4f) << name;
        EXPECT_GT(mesh->boundingBox().max.y, 5.0f) << name;
    }
    for (size_t pair = 0; pair < 8; pair += 2) {
        // The "sym" shaft is its partner mirrored on X.
        EXPECT_NEAR(boxes[pair].min.x, -boxes[pair + 1].max.x, 1e-3f) << names[pair];
        EXPECT_NEAR(boxes[pair].max.y, boxes[pair + 1].max.y, 1e-4f) << names[pair];
    }
    // Window shafts start at the side walls (|x| near 12); the ceiling ones
    // at the top of the dome, over the centre.
    for (size_t i = 0; i < 6; ++i)
        EXPECT_GT(std::max(std::fabs(boxes[i].min.x), std::fabs(boxes[i].max.x)), 11.0f) << names[i];
    for (size_t i = 6; i < 8; ++i) {
        EXPECT_GT(boxes[i].max.y, 12.0f) << names[i];
        EXPECT_LT(std::fabs(boxes[i].min.x + boxes[i].max.x) / 2, 2.0f) << names[i];
    }
}
