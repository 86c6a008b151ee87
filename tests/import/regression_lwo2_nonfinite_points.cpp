#include <gtest/gtest.h>

#include <limits>

#include "tests/import/lwo2_test_files.h"

using writers::Lwo2Writer;

// Found by fuzz_lwo2: a quad with a NaN corner crashed GLU's tessellator.
// Polygons that need tessellating and have a NaN or infinite corner are
// skipped; the rest of the object loads.
TEST(Lwo2Regression, QuadsWithNonFiniteCornersAreSkipped)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    Lwo2Writer w;
    w.tags({"Default"})
        .points({{0, 0, 0}, {1, 0, 0}, {nan, 1, 0}, {0, 1, 0}, {2, 0, 0}, {2, infinity, 0}, {3, 1, 0}})
        .polygons({{0, 1, 2, 3}, {1, 4, 5, 6}, {0, 1, 3}})
        .surfaceTags({{0, 0}, {1, 0}, {2, 0}});
    bool failed = true;
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt(saveObject("nonfinite.lwo", w), &failed);
    ASSERT_FALSE(failed);
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->triangleCount(), 1u);
}

// Found by fuzz_lwo2: a NaN in a colour map reached a float-to-integer
// conversion (undefined; UBSan stops on it). NaN channels read as 0,
// infinities clamp like any value out of range.
TEST(Lwo2Regression, NonFiniteColoursClampToTheChannelRange)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    Lwo2Writer w;
    w.points(squarePoints()).polygons({{1, 2, 3}});
    w.vertexMap("RGBA", 4, "A", {{1, 0, {nan, 1, -infinity, infinity}}, {2, 0, {0, 0, 0, 1}}, {3, 0, {0, 0, 0, 1}}});
    std::unique_ptr<hlv::RobustMesh> mesh = loadBuilt(saveObject("nancolour.lwo", w));
    ASSERT_TRUE(mesh);
    ASSERT_EQ(mesh->partCount(), 1u);
    const hlv::MeshPart& part = mesh->parts()[0];
    EXPECT_EQ(part.weights[part.indices[0]], 0x00FF00FFu);
}
