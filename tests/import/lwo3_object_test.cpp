// LWO3 objects, as LightWave 2015 and later save them: the geometry chunks
// of LWO2 with 4-byte sizes, and surfaces, texture blocks and clips as FORMs
// whose leading values sit in an anonymous chunk.
#include <gtest/gtest.h>

#include <algorithm>

#include "import/lws_object.h"
#include "tests/import/lwo2_test_files.h"

using writers::Lwo2Bytes;
using writers::Lwo2ImageBlock;
using writers::Lwo2Surface;
using writers::Lwo2Writer;
using writers::ObjectFormat;

namespace {

// Layer 0: a unit quad in z = 0 (surface "Skin", UV mapped) and a triangle
// above it (surface "Paint", planar along Y); layer 1: one more triangle.
const std::vector<Vector3f> kQuad = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}};

// "Paint" written by hand from the layout: FORM, size, SURF; the anonymous
// chunk with the name and source; COLR (three F4 and an envelope VX), DIFF;
// a comment of odd size with its pad byte; a block FORM holding the image
// map header FORM (anonymous ordinal, CHAN), the texture mapping FORM (CNTR
// and SIZE FORMs with an anonymous vector), PROJ and AXIS; and a node graph.
Lwo2Bytes paintSurface()
{
    Lwo2Bytes header, mapping, block, nodes, body;
    header.chunk("    ", Lwo2Bytes().s0("\x80")).chunk("CHAN", Lwo2Bytes().id4("COLR"));
    mapping.form("CNTR", Lwo2Bytes().chunk("    ", Lwo2Bytes().f4(0.5f).f4(0).f4(0.5f).vx(0)))
        .form("SIZE", Lwo2Bytes().chunk("    ", Lwo2Bytes().f4(2).f4(1).f4(4).vx(0)));
    block.form("IMAP", header).form("TMAP", mapping).chunk("PROJ", Lwo2Bytes().u2(0)).chunk("AXIS", Lwo2Bytes().u2(1));
    nodes.chunk("NVER", Lwo2Bytes().u4(1)).form("NROT", Lwo2Bytes().chunk("NZOM", Lwo2Bytes().f4(1)));
    body.chunk("    ", Lwo2Bytes().s0("Paint").s0(""))
        .chunk("COLR", Lwo2Bytes().f4(1).f4(0.5f).f4(0.25f).vx(0))
        .chunk("DIFF", Lwo2Bytes().f4(0.75f).vx(0))
        .chunk("CMNT", Lwo2Bytes().bytes({'o', 'd', 'd'}))
        .form("BLOK", block)
        .form("NODS", nodes);
    return Lwo2Bytes().id4("SURF").bytes(body.data());
}

std::vector<uint8_t> lwo3Bytes()
{
    Lwo2Surface skin;
    skin.name = "Skin";
    skin.colour[0] = 0.2f;
    skin.colour[1] = 0.4f;
    skin.colour[2] = 0.6f;
    skin.blocks.push_back(writers::uvMappedBlock("uv", 7));
    std::vector<writers::Lwo2MapEntry> uvs;
    for (uint32_t i = 0; i < 4; ++i)
        uvs.push_back({i, 0, {kQuad[i].x, kQuad[i].y}});  // v up, as the quad

    Lwo2Writer w(ObjectFormat::Lwo3);
    w.tags({"Skin", "Paint"}).layer(0, "base").points(kQuad).boundingBox(kQuad).vertexMap("TXUV", 2, "uv", uvs);
    w.polygons({{0, 1, 2, 3}, {4, 5, 6}}).surfaceTags({{0, 0}, {1, 1}});
    w.polygonVertexMap("TXUV", 2, "uv", {{2, 0, {0.9f, 0.9f}}});
    w.layer(1, "extra", {0, 0, 0}, 0).points({{5, 0, 0}, {6, 0, 0}, {5, 1, 0}});
    w.polygons({{0, 1, 2}}).surfaceTags({{0, 0}});
    w.clip(7, "Images/skin.png").surface(skin).chunk("FORM", paintSurface().data());
    return w.bytes();
}

// A file of each test's own: the tests of a folder run side by side.
std::string lwo3Object()
{
    return saveObject(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".lwo3",
                      lwo3Bytes());
}

const hlv::MeshPart& partWithTriangles(const hlv::RobustMesh& mesh, uint32_t triangles)
{
    for (const hlv::MeshPart& part : mesh.parts())
        if (part.triangleCount == triangles)
            return part;
    ADD_FAILURE() << "no part of " << triangles << " triangles";
    return mesh.parts()[0];
}

} // namespace

TEST(Lwo3Object, GeometryTagsMapsAndSurfaces)
{
    const std::string path = lwo3Object();
    LoadCapture capture;
    LW::Scene record;
    LW::SceneObject object = LW::readSceneObject(path.c_str(), record);
    ASSERT_EQ(record.surfaces.size(), 2u);
    const LW::LWSurface& skin = *record.surfaces[0];
    EXPECT_EQ(skin.name, "Skin");
    EXPECT_FLOAT_EQ(skin.colour[0], 0.2f);
    EXPECT_FLOAT_EQ(skin.colour[2], 0.6f);
    EXPECT_FLOAT_EQ(skin.diffuse, 1.0f);
    ASSERT_EQ(skin.colourBlocks.size(), 1u);
    EXPECT_EQ(skin.colourBlocks[0].projection, int(LW::UVMapped));
    EXPECT_EQ(skin.colourBlocks[0].uvMap, "uv");
    EXPECT_EQ(skin.colourBlocks[0].imageName, "Images/skin.png");

    const LW::LWSurface& paint = *record.surfaces[1];
    EXPECT_EQ(paint.name, "Paint");
    EXPECT_FLOAT_EQ(paint.colour[1], 0.5f);
    EXPECT_FLOAT_EQ(paint.diffuse, 0.75f);
    ASSERT_EQ(paint.colourBlocks.size(), 1u);
    const LW::LWTextureBlock& planar = paint.colourBlocks[0];
    EXPECT_EQ(planar.projection, int(LW::Planar));
    EXPECT_EQ(planar.axis, 2);  // Y, stored as axis + 1
    EXPECT_FLOAT_EQ(planar.centre.x, 0.5f);
    EXPECT_FLOAT_EQ(planar.size.z, 4.0f);
    EXPECT_EQ(paint.undrawn, std::vector<std::string>{"node graph"}) << "a node graph is named, not drawn";

    // Both layers in place: the quad and layer 1's triangle are "Skin".
    object.mesh->build(0);
    EXPECT_EQ(object.mesh->triangleCount(), 4u);
    ASSERT_EQ(object.mesh->partCount(), 2u);
    EXPECT_EQ(object.mesh->parts()[0].triangleCount, 3u);
    ASSERT_EQ(object.layers.size(), 2u);
    EXPECT_EQ(object.layers[1].name, "extra");
    EXPECT_EQ(object.layers[1].parent, 0);

    // The quad's UVs come from the map, corner 2 from the polygon's own value.
    const hlv::MeshPart& quad = object.mesh->parts()[0];
    for (uint32_t v = 0; v < quad.vertexCount; ++v) {
        const Vector3f& p = quad.positions[v];
        if (p.x > 4)
            continue;  // layer 1's triangle, which the map does not cover
        const bool corner2 = p.x == 1 && p.y == 1;
        EXPECT_FLOAT_EQ(quad.uvLayers[0][2 * v], corner2 ? 0.9f : p.x);
        EXPECT_FLOAT_EQ(quad.uvLayers[0][2 * v + 1], corner2 ? 0.1f : 1 - p.y);
    }
    // The planar map along Y: u = dx / sx + 0.5, v = 0.5 - dz / sz.
    const hlv::MeshPart& top = partWithTriangles(*object.mesh, 1);
    for (uint32_t v = 0; v < top.vertexCount; ++v) {
        const Vector3f& p = top.positions[v];
        EXPECT_FLOAT_EQ(top.uvLayers[0][2 * v], (p.x - 0.5f) / 2 + 0.5f);
        EXPECT_FLOAT_EQ(top.uvLayers[0][2 * v + 1], 0.5f - (p.z - 0.5f) / 4);
    }

    // One layer, as a scene takes it, though its surface's UV map is in the
    // other layer only.
    LW::Scene again;
    LW::SceneObject extra = LW::readSceneObject(path.c_str(), again, 2);
    extra.mesh->build(0);
    EXPECT_EQ(extra.mesh->triangleCount(), 1u);
}

TEST(Lwo3Object, TheShowLoaderKeepsToLwo2AndDamageFailsCleanly)
{
    const std::string path = lwo3Object();
    // The show reads LWO2 only: another form is null, as the loader promises.
    std::unique_ptr<hlv::RobustMesh> shown(loadLWO2(path.c_str(), nullptr));
    EXPECT_FALSE(shown);

    // An anonymous chunk longer than its form, and every cut of the file.
    CapturingLogger log;
    const std::vector<uint8_t> bytes = lwo3Bytes();
    const std::vector<uint8_t> marker = {'F', 'O', 'R', 'M'};
    auto surf = std::search(bytes.begin() + 12, bytes.end(), marker.begin(), marker.end());
    ASSERT_NE(surf, bytes.end());
    std::vector<uint8_t> longName = bytes;
    longName[size_t(surf - bytes.begin()) + 12 + 7] = 0xF0;  // the anonymous chunk's size
    LW::Scene record;
    EXPECT_THROW(LW::readSceneObject(saveObject("long.lwo3", longName).c_str(), record), bool);
    for (size_t cut = 12; cut < bytes.size(); cut += 5) {
        std::vector<uint8_t> piece(bytes.begin(), bytes.begin() + long(cut));
        const uint32_t length = uint32_t(cut - 8);
        for (int i = 0; i < 4; ++i)
            piece[4 + i] = uint8_t(length >> (24 - 8 * i));
        LW::Scene fresh;
        try {
            LW::readSceneObject(saveObject("cut.lwo3", piece).c_str(), fresh).mesh->build(0);
        } catch (bool) {
        }
        EXPECT_STREQ(LW::indent(), "");
    }
}

// Public LWO3 readers skip the eight bytes that open a surface, clip, still
// or layer form, and the texture frame's vectors, without reading them: the
// leading values are found whatever that header's ID is.
TEST(Lwo3Object, LeadingValuesAreFoundWhateverTheirHeaderSays)
{
    std::vector<uint8_t> bytes = lwo3Bytes();
    size_t replaced = 0;
    for (size_t i = 12; i + 4 <= bytes.size(); ++i)
        if (bytes[i] == ' ' && bytes[i + 1] == ' ' && bytes[i + 2] == ' ' && bytes[i + 3] == ' ') {
            std::fill(bytes.begin() + long(i), bytes.begin() + long(i) + 4, 0);
            ++replaced;
        }
    ASSERT_GT(replaced, 5u);
    LW::Scene record;
    LW::readSceneObject(saveObject("unnamed_headers.lwo3", bytes).c_str(), record);
    ASSERT_EQ(record.surfaces.size(), 2u);
    EXPECT_EQ(record.surfaces[0]->name, "Skin");
    ASSERT_EQ(record.surfaces[0]->colourBlocks.size(), 1u);
    EXPECT_EQ(record.surfaces[0]->colourBlocks[0].imageName, "Images/skin.png");
    ASSERT_EQ(record.surfaces[1]->colourBlocks.size(), 1u);
    EXPECT_FLOAT_EQ(record.surfaces[1]->colourBlocks[0].centre.x, 0.5f);
    EXPECT_FLOAT_EQ(record.surfaces[1]->colourBlocks[0].size.z, 4.0f);
}
