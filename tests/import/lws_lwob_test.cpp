#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "import/lws_convert.h"
#include "import/lws_object.h"
#include "import/lws_parser.h"
#include "scene/keyframe_handlers.h"
#include "scene/scene.h"
#include "tests/geometry/capturing_logger.h"
#include "tools/writers/lwo2_writer.h"
#include "tests/import/lws_parse.h"

namespace {

using writers::Lwo2Bytes;

// An LWOB object: a quad of surface 1 carrying a triangle as its detail
// polygon, a triangle of surface 2, and a triangle of a surface that does
// not exist (left out).
writers::Lwo2Writer lwobObject(bool nestedDetail = false)
{
    Lwo2Bytes names;
    names.s0("Wood").s0("Paint");
    Lwo2Bytes polygons;
    polygons.u2(4).u2(0).u2(1).u2(2).u2(3).u2(uint16_t(-1)).u2(1);
    polygons.u2(3).u2(0).u2(1).u2(4).u2(nestedDetail ? uint16_t(-2) : uint16_t(2));
    if (nestedDetail)
        polygons.u2(1).u2(3).u2(0).u2(1).u2(2).u2(1);
    polygons.u2(3).u2(0).u2(2).u2(4).u2(2);
    polygons.u2(3).u2(1).u2(2).u2(4).u2(9);

    Lwo2Bytes wood;
    wood.s0("Wood")
        .subChunk("COLR", Lwo2Bytes().u4(0xFF804000u))
        .subChunk("DIFF", Lwo2Bytes().u2(128))
        .subChunk("CTEX", Lwo2Bytes().s0("Planar Image Map"))
        .subChunk("TIMG", Lwo2Bytes().s0("Images/grain.iff"))
        .subChunk("TFLG", Lwo2Bytes().u2(2))
        .subChunk("TSIZ", Lwo2Bytes().f4(2).f4(2).f4(2))
        .subChunk("BTEX", Lwo2Bytes().s0("Planar Image Map"))
        .subChunk("TIMG", Lwo2Bytes().s0("bumps.iff"));
    return writers::Lwo2Writer()
        .points({{0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {0, 0, 1}})
        .chunk("SRFS", names.data())
        .chunk("POLS", polygons.data())
        .chunk("SURF", wood.data());
}

std::string folderFor(const char* name)
{
    const std::string folder = (std::filesystem::current_path() / name).string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace

TEST(LwobObject, PolygonsSurfacesAndTextureBlocks)
{
    const std::string folder = folderFor("lwob_object");
    lwobObject().save(folder + "/old.lwo", "LWOB");
    CapturingLogger log;
    LW::Scene record;
    LW::SceneObject object = LW::readSceneObject((folder + "/old.lwo").c_str(), record);
    ASSERT_NE(object.mesh, nullptr);
    ASSERT_EQ(record.surfaces.size(), 2u);
    EXPECT_EQ(object.tagSurface, (std::vector<uint32_t>{0, 1}));

    const LW::LWSurface& wood = *record.surfaces[0];
    EXPECT_FLOAT_EQ(wood.colour[0], 1.0f);
    EXPECT_NEAR(wood.colour[1], 128.0f / 255.0f, 1e-6f);
    EXPECT_FLOAT_EQ(wood.diffuse, 0.5f);
    ASSERT_EQ(wood.colourBlocks.size(), 1u) << "the bump texture is not kept";
    EXPECT_EQ(wood.colourBlocks[0].imageName, "Images/grain.iff");
    EXPECT_EQ(wood.colourBlocks[0].axis, 2);  // Y
    EXPECT_EQ(wood.colourBlocks[0].projection, int(LW::Planar));
    EXPECT_FLOAT_EQ(wood.colourBlocks[0].size.x, 2.0f);

    // The quad of "Wood" (2 triangles), its detail triangle and one more of
    // "Paint"; the polygon of surface 9 is left out.
    object.mesh->build(0);
    EXPECT_EQ(object.mesh->triangleCount(), 4u);
    ASSERT_EQ(object.mesh->partCount(), 2u);
    EXPECT_EQ(object.mesh->parts()[0].triangleCount, 2u);
    EXPECT_EQ(object.mesh->parts()[1].triangleCount, 2u);
    EXPECT_EQ(object.mesh->parts()[0].uvLayerCount, 1u);

    // Damaged forms fail the load, never crash.
    lwobObject(true).save(folder + "/nested.lwo", "LWOB");
    EXPECT_THROW(LW::readSceneObject((folder + "/nested.lwo").c_str(), record), bool);
    EXPECT_TRUE(log.contains("Detail polygons inside detail polygons."));
    const std::vector<uint8_t> bytes = lwobObject().bytes("LWOB");
    for (size_t cut = 12; cut < bytes.size(); cut += 7) {
        std::vector<uint8_t> piece(bytes.begin(), bytes.begin() + long(cut));
        const uint32_t length = uint32_t(cut - 8);
        for (int i = 0; i < 4; ++i)
            piece[4 + i] = uint8_t(length >> (24 - 8 * i));
        FILE* file = std::fopen((folder + "/cut.lwo").c_str(), "wb");
        std::fwrite(piece.data(), 1, piece.size(), file);
        std::fclose(file);
        LW::Scene fresh;
        try {
            LW::readSceneObject((folder + "/cut.lwo").c_str(), fresh);
        } catch (bool) {
        }
    }
    std::filesystem::remove_all(folder);
}

TEST(LwobObject, VersionOneSceneGivesSplineMotion)
{
    const std::string folder = folderFor("lwob_scene");
    lwobObject().save(folder + "/old.lwo", "LWOB");
    CapturingLogger log;
    LW::LwsScene record;
    std::unique_ptr<Scene> scene =
        importLwsText("LWSC\n1\nFirstFrame 1\nLastFrame 60\nFramesPerSecond 30\n"
                      "LoadObject old.lwo\nObjectMotion (unnamed)\n  9\n  2\n"
                      "  0 0 0 0 0 0 1 1 1\n  0 0 0 0 0\n  30 0 0 90 0 0 1 1 1\n  60 0 0 0 0\nEndBehavior 1\n",
                      folder, record);
    ASSERT_EQ(scene->primitives().size(), 1u);
    const auto* item = dynamic_cast<const TransformNode*>(scene->nodes()[2]);
    ASSERT_NE(item, nullptr);
    const auto* position = dynamic_cast<const LW5KeyframeHandler*>(&item->position());
    ASSERT_NE(position, nullptr);
    Vector3f at;
    position->evaluate(at, 2.0f);  // frame 60
    EXPECT_NEAR(at.x, 30.0f, 1e-3f);
    item->rotation().evaluate(at, 2.0f);
    // A heading of 90 degrees; the nodes' Y rotation turns the other way.
    EXPECT_NEAR(at.y, -90.0f, 1e-3f);
    std::filesystem::remove_all(folder);
}
