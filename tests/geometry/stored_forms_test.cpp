// The scene file's surface bodies and a point mesh, built by hand from the
// format tables, read with the readers and written again.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "geometry/surface.h"
#include "geometry/uni_surface_mesh.h"
#include "persist/encoding.h"
#include "tests/support/stored_bytes.h"
#include "tests/support/stored_objects.h"

namespace {

void expectColour(const Surface& surface, float r, float g, float b, float factor)
{
    EXPECT_EQ(surface.colour[0], r);
    EXPECT_EQ(surface.colour[1], g);
    EXPECT_EQ(surface.colour[2], b);
    EXPECT_EQ(surface.colour_factor, factor);
}

} // namespace

// Surface: name, red, green, blue, colour factor, texture count.
// TextureSurface adds the texture scale, the modulate texture index (-1:
// none) and the texture index; TexDifSurface adds a reserved float and the
// detail texture index.
TEST(StoredForms, SurfaceBodiesOfTheThreeKinds)
{
    StoredBytes plain;
    plain.frame("class Surface").string("stone").f32(0.25f).f32(0.5f).f32(0.75f).f32(1.5f).packed(0);
    StoredBytes textured;
    textured.frame("class TextureSurface").string("grass").f32(1).f32(0.5f).f32(0).f32(2).packed(1);
    textured.vec3(2, 3, 4).packed(0xFFFFFFFFu).packed(5);
    StoredBytes detailed;
    detailed.frame("class TexDifSurface").string("rock").f32(0.1f).f32(0.2f).f32(0.3f).f32(0.9f).packed(2);
    detailed.vec3(8, 8, 1).packed(1).packed(300).f32(-0.5f).packed(2);

    std::unique_ptr<Surface> stone = readAs<Surface>(plain.bytes());
    ASSERT_TRUE(stone);
    EXPECT_EQ(stone->kind, Surface::Plain);
    EXPECT_EQ(stone->name, "stone");
    expectColour(*stone, 0.25f, 0.5f, 0.75f, 1.5f);
    EXPECT_EQ(stone->texture_count, 0u);

    std::unique_ptr<TextureSurface> grass = readAs<TextureSurface>(textured.bytes());
    ASSERT_TRUE(grass);
    EXPECT_EQ(grass->kind, Surface::Textured);
    EXPECT_EQ(grass->name, "grass");
    expectColour(*grass, 1, 0.5f, 0, 2);
    EXPECT_EQ(grass->texture_count, 1u);
    EXPECT_EQ(grass->texture_scale, Vector3f(2, 3, 4));
    EXPECT_EQ(grass->modulate_index, -1);
    EXPECT_EQ(grass->texture_index, 5);

    std::unique_ptr<TexDifSurface> rock = readAs<TexDifSurface>(detailed.bytes());
    ASSERT_TRUE(rock);
    EXPECT_EQ(rock->kind, Surface::TexturedDetail);
    EXPECT_EQ(rock->name, "rock");
    expectColour(*rock, 0.1f, 0.2f, 0.3f, 0.9f);
    EXPECT_EQ(rock->texture_count, 2u);
    EXPECT_EQ(rock->texture_scale, Vector3f(8, 8, 1));
    EXPECT_EQ(rock->modulate_index, 1);
    EXPECT_EQ(rock->texture_index, 300);
    EXPECT_EQ(rock->reserved, -0.5f);
    EXPECT_EQ(rock->detail_index, 2);

    Surface madeStone("stone", nullptr);
    madeStone.colour[0] = 0.25f;
    madeStone.colour[1] = 0.5f;
    madeStone.colour[2] = 0.75f;
    madeStone.colour_factor = 1.5f;
    EXPECT_EQ(written(madeStone), plain.bytes());

    TextureSurface madeGrass("grass", nullptr, 5);
    madeGrass.colour[1] = 0.5f;
    madeGrass.colour[2] = 0;
    madeGrass.colour_factor = 2;
    madeGrass.texture_scale = Vector3f(2, 3, 4);
    EXPECT_EQ(written(madeGrass), textured.bytes());

    TexDifSurface madeRock("rock", nullptr, 300, 2);
    madeRock.colour[0] = 0.1f;
    madeRock.colour[1] = 0.2f;
    madeRock.colour[2] = 0.3f;
    madeRock.colour_factor = 0.9f;
    madeRock.texture_scale = Vector3f(8, 8, 1);
    madeRock.modulate_index = 1;
    madeRock.reserved = -0.5f;
    EXPECT_EQ(written(madeRock), detailed.bytes());
}

// A point mesh: part index, the 16-bit index list, the box, then the
// position block: 3 x vertex count, and per vertex x, y, z as shorts, each
// (coordinate - box centre) * 32767 / half the box, truncated.
TEST(StoredForms, PointMeshQuantisesItsPositionsInItsBox)
{
    // Box (-2, -1, 0)..(2, 3, 4): centre (0, 1, 2), half sizes 2.
    const float lo[3] = {-2, -1, 0}, hi[3] = {2, 3, 4};
    StoredBytes expected;
    expected.frame("class UniSurfaceMesh_Point").packed(3);
    expected.packed(6).u16(0).i16(1).i16(1).i16(0).i16(-1).i16(-1);  // triangles (0, 1, 2), (2, 1, 0)
    expected.box(false, lo, hi);
    expected.packed(9);
    expected.i16(-32767).i16(-32767).i16(-32767);  // the box's low corner
    expected.i16(32767).i16(32767).i16(32767);     // its high corner
    expected.i16(16383).i16(-8191).i16(24575);     // (1, 0.5, 3.5): 16383.5, -8191.75, 24575.25

    std::unique_ptr<UniSurfaceMesh_Point> read = readAs<UniSurfaceMesh_Point>(expected.bytes());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->part_index, 3u);
    EXPECT_EQ(read->indices, (std::vector<unsigned short>{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(read->triangle_count, 2u);
    EXPECT_FALSE(read->box.empty);
    EXPECT_EQ(read->box.min, Vector3f(-2, -1, 0));
    EXPECT_EQ(read->box.max, Vector3f(2, 3, 4));
    const Vector3f points[3] = {{-2, -1, 0}, {2, 3, 4}, {1, 0.5f, 3.5f}};
    ASSERT_EQ(read->vertices.size(), 3u);
    const float step = 2.0f / 32767;
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(read->vertices[i].position.x, points[i].x, step) << "vertex " << i;
        EXPECT_NEAR(read->vertices[i].position.y, points[i].y, step) << "vertex " << i;
        EXPECT_NEAR(read->vertices[i].position.z, points[i].z, step) << "vertex " << i;
    }

    UniSurfaceMesh_Point made({{{0, 1, 2}}, {{2, 1, 0}}}, {{points[0]}, {points[1]}, {points[2]}});
    made.part_index = 3;
    EXPECT_EQ(written(made), expected.bytes());
}
