// The show's own objects give exactly the triangles of the strict
// tessellation rules, in the same order: polygons only take their outline
// where those rules drop them, and the show's objects have none such.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "geometry/robust_mesh.h"
#include "import/lwo2_loader.h"
#include "import/polygon_tessellator.h"
#include "tests/tools/assetgen_pack.h"

namespace {

// Built with normals and draw parts, as the intro object is.
std::unique_ptr<hlv::RobustMesh> loadWith(const std::string& path, bool outline)
{
    LW::PolygonTessellator::setOutlineTriangulation(outline);
    std::unique_ptr<hlv::RobustMesh> mesh(loadLWO2(path.c_str(), nullptr));
    LW::PolygonTessellator::setOutlineTriangulation(true);
    if (mesh)
        mesh->build(hlv::RobustMesh::ComputeNormals);
    return mesh;
}

} // namespace

TEST(AssetObjectTriangles, ShowObjectsGiveTheTrianglesOfTheStrictRules)
{
    size_t compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(packRoot() + "/demo")) {
        if (entry.path().extension() != ".lwo")
            continue;
        const std::string path = entry.path().string();
        std::unique_ptr<hlv::RobustMesh> strict = loadWith(path, false), full = loadWith(path, true);
        ASSERT_TRUE(strict && full) << path;
        EXPECT_GT(full->triangleCount(), 0u) << path;
        EXPECT_EQ(full->positions(), strict->positions()) << path;
        EXPECT_EQ(full->triangles(), strict->triangles()) << path;
        EXPECT_EQ(full->surfaceIds(), strict->surfaceIds()) << path;
        ASSERT_EQ(full->partCount(), strict->partCount()) << path;
        for (size_t p = 0; p < full->parts().size(); ++p) {
            const hlv::MeshPart &a = full->parts()[p], &b = strict->parts()[p];
            EXPECT_EQ(a.positions, b.positions) << path << " part " << p;
            EXPECT_EQ(a.normals, b.normals) << path << " part " << p;
            EXPECT_EQ(a.indices, b.indices) << path << " part " << p;
            EXPECT_EQ(a.uvLayers, b.uvLayers) << path << " part " << p;
            EXPECT_EQ(a.weights, b.weights) << path << " part " << p;
        }
        ++compared;
    }
    EXPECT_GE(compared, 13u) << "the pack's objects";
}
