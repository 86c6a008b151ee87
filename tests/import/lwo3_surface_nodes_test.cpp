// LWO3 surfaces drawn from their node graphs, as LightWave 2015 and later
// save them: the colour, shading and picture a user sees in LightWave.
#include <gtest/gtest.h>

#include "import/lws_object.h"
#include "tests/import/lwo2_test_files.h"
#include "tests/import/lwo3_node_objects.h"

using namespace lwo3_nodes;
using writers::Lwo2Writer;
using writers::ObjectFormat;

namespace {

struct Case {
    const char* surface;
    Lwo2Bytes graph;
    Lwo2Bytes more;               // after the graph in the surface form
    float colour[3];
    float diffuse;
    const char* picture;          // the colour picture, "" for none
    // The drawn UV at the quad's (1, 1) corner, with a picture. Drawn v runs
    // down the picture (LightWave's v = 1 is its top); tiles repeat it.
    float uvAtCorner[2];
    const char* undrawn;          // named as not drawn, "" for nothing
};

const Link kStandard{"Surface", "Material", "Standard (1)", "Material"};
const Link kPrincipled{"Surface", "Material", "Principled BSDF (1)", "Material"};

std::vector<Case> cases()
{
    std::vector<Case> all;
    all.push_back({"Standard",
                   nodeGraph({materialNode("Standard", "Standard (1)",
                                           {{"Color", {0.2, 0.4, 0.6}}, {"Diffuse", {0.8}}, {"Specular", {0.25}}})},
                             {kStandard}),
                   {}, {0.2f, 0.4f, 0.6f}, 0.8f, "", {}, ""});
    ImageSettings tiled;
    tiled.file = "Images/grid.png";
    tiled.uTiles = 2;
    tiled.vTiles = 3;
    all.push_back({"PrincipledImage",
                   nodeGraph({materialNode("Principled BSDF", "Principled BSDF (1)",
                                           {{"Color", {1, 0.5, 0}}, {"Roughness", {0.5}}}),
                              imageNode("Image (1)", tiled)},
                             {kPrincipled, {"Principled BSDF (1)", "Color", "Image (1)", "Color"}}),
                   {}, {1, 0.5f, 0}, 1, "Images/grid.png", {2, 1 - 3}, ""});
    Input layered{"Color", {0.5, 0.5, 0.5}, inputLayer(1, "Texture")};
    all.push_back({"StandardLayer", nodeGraph({materialNode("Standard", "Standard (1)", {layered})}, {kStandard}), {},
                   {0.5f, 0.5f, 0.5f}, 1, "Images/clip.png", {1, 0}, ""});
    // Only the node on the Surface node's Material input is drawn.
    all.push_back({"ConnectedWins",
                   nodeGraph({materialNode("Principled BSDF", "Principled BSDF (1)", {{"Color", {0, 1, 0}}}),
                              materialNode("Standard", "Standard (1)", {{"Color", {0, 0, 1}}})},
                             {kStandard}),
                   {}, {0, 0, 1}, 1, "", {}, ""});
    ImageSettings bump;
    bump.file = "Images/bump.png";
    all.push_back({"BumpNotDrawn",
                   nodeGraph({materialNode("Standard", "Standard (1)", {{"Color", {0.3, 0.3, 0.3}}}),
                              imageNode("Image (1)", bump)},
                             {kStandard, {"Standard (1)", "Bump", "Image (1)", "Color"}}),
                   {}, {0.3f, 0.3f, 0.3f}, 1, "", {}, "Image node on Bump"});
    // A layer with no picture chosen shows nothing; a procedural one is named.
    Input unset{"Color", {0.7, 0.7, 0.7}, inputLayer(0, "Texture")};
    all.push_back({"NoPictureChosen", nodeGraph({materialNode("Standard", "Standard (1)", {unset})}, {kStandard}), {},
                   {0.7f, 0.7f, 0.7f}, 1, "", {}, ""});
    Input procedural{"Color", {0.4, 0.4, 0.4}, inputLayer(0, "", "txtr", "PROC")};
    all.push_back({"ProceduralLayer",
                   nodeGraph({materialNode("Standard", "Standard (1)", {procedural})}, {kStandard}), {},
                   {0.4f, 0.4f, 0.4f}, 1, "", {}, "procedural texture on Color"});
    // A surface with a texture layer of its own is drawn by its own
    // settings (here LightWave's grey, as it has no COLR), not its graph.
    ImageSettings node;
    node.file = "Images/node.png";
    all.push_back({"OwnLayerWins",
                   nodeGraph({materialNode("Standard", "Standard (1)", {{"Color", {0.1, 0.2, 0.3}}}),
                              imageNode("Image (1)", node)},
                             {kStandard, {"Standard (1)", "Color", "Image (1)", "Color"}}),
                   inputLayer(1, "Texture", "COLR"), {200 / 255.0f, 200 / 255.0f, 200 / 255.0f}, 1, "Images/clip.png",
                   {1, 0}, "node graph"});
    return all;
}

// One unit quad per case, side by side along x, each with its own surface
// and the UV map "Texture" giving each corner its place in the quad.
std::vector<uint8_t> objectBytes(const std::vector<Case>& all)
{
    std::vector<Vector3f> points;
    std::vector<std::vector<uint32_t>> quads;
    std::vector<std::pair<uint32_t, uint16_t>> tags;
    std::vector<writers::Lwo2MapEntry> uvs;
    std::vector<std::string> names;
    for (uint32_t i = 0; i < all.size(); ++i) {
        const Vector3f corners[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
        for (uint32_t k = 0; k < 4; ++k) {
            uvs.push_back({uint32_t(points.size()), 0, {corners[k].x, corners[k].y}});
            points.push_back({corners[k].x + 2 * float(i), corners[k].y, 0});
        }
        quads.push_back({4 * i, 4 * i + 1, 4 * i + 2, 4 * i + 3});
        tags.push_back({i, uint16_t(i)});
        names.push_back(all[i].surface);
    }
    Lwo2Writer w(ObjectFormat::Lwo3);
    w.tags(names).layer(0).points(points).boundingBox(points).vertexMap("TXUV", 2, "Texture", uvs);
    w.polygons(quads).surfaceTags(tags).clip(1, "Images/clip.png");
    for (const Case& c : all)
        w.chunk("FORM", surfaceForm(c.surface, c.graph, c.more));
    return w.bytes();
}

// The drawn UV of the first vertex at `position`.
bool uvAt(const hlv::RobustMesh& mesh, const Vector3f& position, float uv[2])
{
    for (const hlv::MeshPart& part : mesh.parts())
        for (uint32_t v = 0; v < part.vertexCount; ++v)
            if (part.uvLayerCount > 0 && part.positions[v].x == position.x && part.positions[v].y == position.y) {
                uv[0] = part.uvLayers[0][2 * v];
                uv[1] = part.uvLayers[0][2 * v + 1];
                return true;
            }
    return false;
}

} // namespace

TEST(Lwo3SurfaceNodes, SurfacesShowTheirMaterialNodeAndItsPicture)
{
    const std::vector<Case> all = cases();
    const std::string path = saveObject("surface_nodes.lwo", objectBytes(all));
    LW::Scene record;
    LW::SceneObject object = LW::readSceneObject(path.c_str(), record);
    object.mesh->build(0);
    ASSERT_EQ(record.surfaces.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i) {
        const Case& c = all[i];
        SCOPED_TRACE(c.surface);
        const LW::LWSurface& s = *record.surfaces[i];
        ASSERT_EQ(s.name, c.surface);
        for (int k = 0; k < 3; ++k)
            EXPECT_FLOAT_EQ(s.colour[k], c.colour[k]);
        EXPECT_FLOAT_EQ(s.diffuse, c.diffuse);
        if (*c.picture) {
            ASSERT_EQ(s.colourBlocks.size(), 1u);
            EXPECT_EQ(s.colourBlocks[0].imageName, c.picture);
            EXPECT_EQ(s.colourBlocks[0].projection, int(LW::UVMapped));
            float uv[2];
            ASSERT_TRUE(uvAt(*object.mesh, {2.0f * float(i) + 1, 1, 0}, uv));
            EXPECT_FLOAT_EQ(uv[0], c.uvAtCorner[0]);
            EXPECT_FLOAT_EQ(uv[1], c.uvAtCorner[1]);
        } else {
            EXPECT_TRUE(s.colourBlocks.empty());
        }
        if (*c.undrawn)
            EXPECT_EQ(s.undrawn, std::vector<std::string>{c.undrawn});
        else
            EXPECT_TRUE(s.undrawn.empty()) << s.undrawn[0];
    }
    EXPECT_FLOAT_EQ(record.surfaces[0]->specular, 0.25f);
}

// A damaged graph fails the object cleanly, wherever it is cut, and a form's
// leading chunk is found whatever its ID says.
TEST(Lwo3SurfaceNodes, DamagedGraphsFailCleanlyAndLeadingChunksNeedNoName)
{
    std::vector<uint8_t> bytes = objectBytes(cases());
    CapturingLogger log;
    for (size_t cut = 200; cut < bytes.size(); cut += 97) {
        std::vector<uint8_t> piece(bytes.begin(), bytes.begin() + long(cut));
        const uint32_t length = uint32_t(cut - 8);
        for (int i = 0; i < 4; ++i)
            piece[4 + i] = uint8_t(length >> (24 - 8 * i));
        LW::Scene fresh;
        try {
            LW::readSceneObject(saveObject("cut_nodes.lwo", piece).c_str(), fresh).mesh->build(0);
        } catch (bool) {
        }
        EXPECT_STREQ(LW::indent(), "");
    }
    for (size_t i = 12; i + 4 <= bytes.size(); ++i)
        if (std::equal(bytes.begin() + long(i), bytes.begin() + long(i) + 4, "    "))
            std::fill(bytes.begin() + long(i), bytes.begin() + long(i) + 4, 0);
    LW::Scene record;
    LW::readSceneObject(saveObject("unnamed_nodes.lwo", bytes).c_str(), record);
    ASSERT_EQ(record.surfaces.size(), cases().size());
    EXPECT_FLOAT_EQ(record.surfaces[0]->colour[2], 0.6f);
    ASSERT_EQ(record.surfaces[1]->colourBlocks.size(), 1u);
    EXPECT_EQ(record.surfaces[1]->colourBlocks[0].imageName, "Images/grid.png");
    EXPECT_FLOAT_EQ(record.surfaces[1]->colourBlocks[0].vTiles, 3);
}
