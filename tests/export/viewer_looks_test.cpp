// What a viewer shows of an export, read back through three.js's GLTFLoader
// (check_looks.mjs): pictures the right way up at known UV corners,
// a material per surface of each object, vertex colours as LightWave mixes
// them, layers under their parents, names any reader takes, lights that
// light as LightWave's do.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <nlohmann/json.hpp>
#include <zlib.h>

#include "export/png_bytes.h"
#include "tests/export/lws_writer.h"
#include "tests/support/run_program.h"
#include "tools/writers/lwo2_writer.h"

namespace {

namespace fs = std::filesystem;
const std::string kTool = SKYDRIFT_HLVTOOL;
const std::string kTestFolder = SKYDRIFT_EXPORT_TESTS;

using Rgb = std::array<int, 3>;
// The picture's quarters as its file shows them, top row first.
const Rgb kTopLeft{255, 0, 0}, kTopRight{0, 255, 0}, kBottomLeft{0, 0, 255}, kBottomRight{255, 255, 255};

// A PNG chunk: length, type, body, CRC of type and body.
std::vector<unsigned char> pngChunk(const std::string& type, const std::vector<unsigned char>& body)
{
    std::vector<unsigned char> chunk;
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk.push_back((unsigned char)(body.size() >> shift));
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), body.begin(), body.end());
    const uLong crc = crc32(0, chunk.data() + 4, uInt(chunk.size() - 4));
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk.push_back((unsigned char)(crc >> shift));
    return chunk;
}

// A 2x2 PNG of the four quarters (the writer takes rows bottom first), with
// what older programs write after the header: a gamma of 1/1.8 (Macintosh
// software) and pixels twice as wide as tall.
void writeCornerPicture(const std::string& path)
{
    const std::vector<uint8_t> pixels = {0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0};
    std::vector<unsigned char> png = gltf_export::pngOf(pixels, 2, 2, 3);
    const size_t afterHeader = 8 + 12 + 13;
    const auto gamma = pngChunk("gAMA", {0, 0, 0xD9, 0x03});  // 55555
    const auto shape = pngChunk("pHYs", {0, 0, 0, 2, 0, 0, 0, 1, 0});
    png.insert(png.begin() + afterHeader, shape.begin(), shape.end());
    png.insert(png.begin() + afterHeader, gamma.begin(), gamma.end());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

// A quad facing -Z (LightWave's camera looks down +Z) from (-1, -1) to
// (1, 1), its points bottom-left, top-left, top-right, bottom-right.
const std::vector<Vector3f> kQuad = {{-1, -1, 0}, {-1, 1, 0}, {1, 1, 0}, {1, -1, 0}};

writers::Lwo2Writer quadObject(const writers::Lwo2Surface& surface, bool uvMap, const std::string& picture)
{
    writers::Lwo2Writer object;
    object.tags({surface.name}).layer(0).points(kQuad).boundingBox(kQuad);
    if (uvMap)  // LightWave's UVs count v up from the picture's bottom row
        object.vertexMap("TXUV", 2, "UV", {{0, 0, {0, 0}}, {1, 0, {0, 1}}, {2, 0, {1, 1}}, {3, 0, {1, 0}}});
    object.polygons({{0, 1, 2, 3}}).surfaceTags({{0, 0}});
    if (!picture.empty())
        object.clip(1, picture);
    return object.surface(surface);
}

struct Looks {
    nlohmann::json json;
    const nlohmann::json* mesh(const std::string& material) const
    {
        for (const auto& mesh : json["meshes"])
            if (mesh["material"] == material)
                return &mesh;
        return nullptr;
    }
};

Looks exportAndLook(const std::string& folder, const std::string& source, const std::string& out,
                    const std::string& options = "")
{
    const ProgramRun run = runInFolder(folder, kTool + " export '" + source + "' '" + out + "' " + options);
    EXPECT_EQ(run.exitCode, 0) << source << "\n" << run.errors;
    const ProgramRun node = runInFolder(folder, "node '" + kTestFolder + "/check_looks.mjs' '" + out + "'");
    EXPECT_EQ(node.exitCode, 0) << node.errors;
    Looks looks{nlohmann::json::parse(node.output, nullptr, false)};
    EXPECT_FALSE(looks.json.is_discarded()) << node.output;
    if (!looks.json.is_discarded()) {
        const nlohmann::json& validation = looks.json["validation"];
        EXPECT_EQ(validation["errors"], 0) << out << "\n" << validation["messages"].dump(1);
        EXPECT_EQ(validation["warnings"], 0) << out << "\n" << validation["messages"].dump(1);
    }
    if (looks.json.is_discarded())
        looks.json = {{"meshes", nlohmann::json::array()}, {"lights", nlohmann::json::array()}};
    return looks;
}

// The colour shown at the vertex nearest `at` (LightWave's axes).
Rgb shownAt(const nlohmann::json& mesh, const Vector3f& at)
{
    double nearest = 1e30;
    Rgb shown{-1, -1, -1};
    for (const auto& vertex : mesh["vertices"]) {
        const auto& p = vertex["position"];
        const double d = std::hypot(p[0].get<double>() - at.x, p[1].get<double>() - at.y, p[2].get<double>() - at.z);
        if (d < nearest) {
            nearest = d;
            shown = {vertex["shown"][0], vertex["shown"][1], vertex["shown"][2]};
        }
    }
    return shown;
}

int alphaAt(const nlohmann::json& mesh, const Vector3f& at)
{
    for (const auto& vertex : mesh["vertices"]) {
        const auto& p = vertex["position"];
        if (std::hypot(p[0].get<double>() - at.x, p[1].get<double>() - at.y, p[2].get<double>() - at.z) < 1e-4)
            return vertex["shown"][3];
    }
    return -1;
}

void expectColour(const Rgb& shown, const Rgb& expected, const std::string& where)
{
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(shown[size_t(c)], expected[size_t(c)], 2) << where << ", channel " << c;
}

bool readersInstalled()
{
    return fs::exists(kTestFolder + "/node_modules/three");
}

class ExportLooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!readersInstalled())
            GTEST_SKIP() << "run `npm ci` in tests/export (scripts/test does) for three.js";
        folder = (fs::current_path() / ("export_looks_" + std::string(
                      ::testing::UnitTest::GetInstance()->current_test_info()->name()))).string();
        fs::remove_all(folder);
        fs::create_directories(folder + "/Images");
        fs::create_directories(folder + "/Objects");
        writeCornerPicture(folder + "/Images/corners.png");
    }
    void TearDown() override
    {
        if (!HasFailure())
            fs::remove_all(folder);
    }
    std::string folder;
};

// A UV map and a planar projection put the picture's top-left quarter at
// the quad's top-left corner, as LightWave shows it; the object exported
// from another folder still finds its picture beside it.
TEST_F(ExportLooks, PicturesShowTheRightWayUpAtEachCorner)
{
    struct Case {
        const char* name;
        bool uvMap;
    };
    for (const Case& c : {Case{"uv", true}, Case{"planar", false}}) {
        SCOPED_TRACE(c.name);
        writers::Lwo2Surface surface;
        surface.name = c.name;
        surface.colour[0] = surface.colour[1] = surface.colour[2] = 1;
        writers::Lwo2ImageBlock block = c.uvMap ? writers::uvMappedBlock("UV", 1) : writers::Lwo2ImageBlock();
        block.clip = 1;
        block.size = {2, 2, 2};  // planar along Z over the quad
        surface.blocks.push_back(block);
        const std::string object = folder + "/Objects/" + c.name + ".lwo";
        ASSERT_TRUE(quadObject(surface, c.uvMap, "../Images/corners.png").save(object));
        // Run from elsewhere: the picture is found beside the object.
        const Looks looks = exportAndLook(fs::current_path().string(), object, folder + "/" + c.name + ".glb");
        const nlohmann::json* mesh = looks.mesh(c.name);
        ASSERT_NE(mesh, nullptr) << looks.json.dump();
        ASSERT_FALSE((*mesh)["picture"].is_null()) << "the picture is embedded";
        expectColour(shownAt(*mesh, kQuad[1]), kTopLeft, "top left");
        expectColour(shownAt(*mesh, kQuad[2]), kTopRight, "top right");
        expectColour(shownAt(*mesh, kQuad[0]), kBottomLeft, "bottom left");
        expectColour(shownAt(*mesh, kQuad[3]), kBottomRight, "bottom right");
    }
}

// Two objects whose surfaces share a name keep their own colours, opacity
// and sides; a vertex colour map mixes into the surface colour.
TEST_F(ExportLooks, EachObjectsSurfacesAreTheirOwnMaterials)
{
    writers::Lwo2Surface orange;
    orange.name = "Default";
    orange.colour[0] = 1, orange.colour[1] = 0.5f, orange.colour[2] = 0;
    orange.transparency = 0.5f;
    orange.sides = 3;
    ASSERT_TRUE(quadObject(orange, false, "").save(folder + "/Objects/Orange.lwo"));
    writers::Lwo2Surface grey;
    grey.name = "Default";
    ASSERT_TRUE(quadObject(grey, false, "").save(folder + "/Objects/Grey.lwo"));
    // Colour (0.2, 0.4, 1) at diffuse 0.5 with a map at intensity 1: the
    // map's colour at half brightness.
    writers::Lwo2Surface painted;
    painted.name = "Painted";
    painted.colour[0] = 0.2f, painted.colour[1] = 0.4f, painted.colour[2] = 1;
    painted.diffuse = 0.5f;
    painted.vertexColourMap = "Paint";
    painted.vertexColourType = "RGB";
    writers::Lwo2Writer paintedObject;
    paintedObject.tags({"Painted"}).layer(0).points(kQuad).boundingBox(kQuad)
        .vertexMap("RGB", 3, "Paint", {{0, 0, {1, 1, 1}}, {1, 0, {1, 0, 0}}, {2, 0, {0, 1, 0}}, {3, 0, {0, 0, 1}}})
        .polygons({{0, 1, 2, 3}}).surfaceTags({{0, 0}}).surface(painted);
    ASSERT_TRUE(paintedObject.save(folder + "/Objects/Painted.lwo"));

    // An RGBA map whose first vertex is half see-through.
    writers::Lwo2Surface glass;
    glass.name = "Glass";
    glass.vertexColourMap = "Clear";
    writers::Lwo2Writer glassObject;
    glassObject.tags({"Glass"}).layer(0).points(kQuad).boundingBox(kQuad)
        .vertexMap("RGBA", 4, "Clear", {{0, 0, {1, 1, 1, 0.5f}}, {1, 0, {1, 1, 1, 1}}, {2, 0, {1, 1, 1, 1}}, {3, 0, {1, 1, 1, 1}}})
        .polygons({{0, 1, 2, 3}}).surfaceTags({{0, 0}}).surface(glass);
    ASSERT_TRUE(glassObject.save(folder + "/Objects/Glass.lwo"));

    std::vector<lwsgen::Item> items(4);
    items[0].add = "LoadObjectLayer 1 Objects/Orange.lwo";
    items[1].add = "LoadObjectLayer 1 Objects/Grey.lwo";
    items[2].add = "LoadObjectLayer 1 Objects/Painted.lwo";
    items[3].add = "LoadObjectLayer 1 Objects/Glass.lwo";
    std::ofstream(folder + "/two.lws") << lwsgen::sceneV3(items, 0, 30, 30);
    const Looks looks = exportAndLook(folder, "two.lws", "two.glb");

    struct Expected {
        const char* material;
        Rgb colour;
        double opacity;
        bool blended, doubleSided;
    };
    for (const Expected& e : {Expected{"Default", {255, 128, 0}, 0.5, true, true},
                              Expected{"Default (2)", {200, 200, 200}, 1, false, false}}) {
        SCOPED_TRACE(e.material);
        const nlohmann::json* mesh = looks.mesh(e.material);
        ASSERT_NE(mesh, nullptr) << looks.json.dump();
        expectColour({(*mesh)["colour"][0], (*mesh)["colour"][1], (*mesh)["colour"][2]}, e.colour, "base colour");
        EXPECT_NEAR((*mesh)["opacity"].get<double>(), e.opacity, 1e-3);
        EXPECT_EQ((*mesh)["blended"], e.blended);
        EXPECT_EQ((*mesh)["doubleSided"], e.doubleSided);
    }
    const nlohmann::json* mesh = looks.mesh("Painted");
    ASSERT_NE(mesh, nullptr);
    expectColour(shownAt(*mesh, kQuad[0]), {128, 128, 128}, "white at half diffuse");
    expectColour(shownAt(*mesh, kQuad[1]), {128, 0, 0}, "red at half diffuse");
    expectColour(shownAt(*mesh, kQuad[2]), {0, 128, 0}, "green at half diffuse");
    const nlohmann::json* clear = looks.mesh("Glass");
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ((*clear)["blended"], true);
    EXPECT_NEAR(alphaAt(*clear, kQuad[0]), 128, 1);
    EXPECT_NEAR(alphaAt(*clear, kQuad[1]), 255, 1);
}

// A layer whose parent layer comes later in the file hangs under it; names
// in Windows-1252 arrive as the same letters; repeated names are told apart.
TEST_F(ExportLooks, LayersKeepTheirParentsAndNamesTheirLetters)
{
    writers::Lwo2Surface surface;
    surface.name = "Fl\xE4" "che";  // "Fläche", as LightWave writes it on Windows
    writers::Lwo2Writer object;
    object.tags({surface.name})
        .layer(0, "Rad", Vector3f{0, 0, 0}, 1).points(kQuad).polygons({{0, 1, 2, 3}}).surfaceTags({{0, 0}})
        .layer(1, "K\xF6rper").points(kQuad).polygons({{0, 1, 2, 3}}).surfaceTags({{0, 0}})
        .layer(2, "Rad").points(kQuad).polygons({{0, 1, 2, 3}}).surfaceTags({{0, 0}})
        .surface(surface);
    ASSERT_TRUE(object.save(folder + "/Objects/car.lwo"));
    const ProgramRun run = runInFolder(folder, kTool + " export Objects/car.lwo car.gltf");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const nlohmann::json json = nlohmann::json::parse(readWholeFile(folder + "/car.gltf"));
    std::map<std::string, int> nodeNamed;
    for (size_t i = 0; i < json["nodes"].size(); ++i)
        nodeNamed[json["nodes"][i]["name"]] = int(i);
    ASSERT_EQ(nodeNamed.size(), 3u) << json["nodes"].dump();
    ASSERT_TRUE(nodeNamed.count("K\xC3\xB6rper")) << json["nodes"].dump();
    ASSERT_TRUE(nodeNamed.count("Rad") && nodeNamed.count("Rad (2)")) << json["nodes"].dump();
    const auto& children = json["nodes"][size_t(nodeNamed["K\xC3\xB6rper"])]["children"];
    EXPECT_EQ(children, nlohmann::json::array({nodeNamed["Rad"]}));
    EXPECT_EQ(json["materials"][0]["name"], "Fl\xC3\xA4" "che");
}

// A white surface facing a LightWave light at 100 % shows white: at any
// distance from a distant light, at its distance from the scene's middle for
// a point or spot light. Shown as glTF readers compute it (a white surface
// under E lux shows E / pi), and as Blender's importer takes the same file
// (a watt is 683 lumens; Blender shows a sun of strength S, or a point light
// of P watts at d, as S / pi or P / (4 pi^2 d^2)).
TEST_F(ExportLooks, LightsLightAsLightWavesDoAtTheScenesScale)
{
    writers::Lwo2Surface white;
    white.name = "White";
    ASSERT_TRUE(quadObject(white, false, "").save(folder + "/Objects/Quad.lwo"));
    struct LightItem {
        const char* name;
        int type;
        float intensity;
        float z;  // in front of the quad
    };
    const LightItem lights[] = {{"Sun", 0, 0.5f, -20}, {"Bulb", 1, 0.8f, -10}, {"Beam", 2, 1.0f, -4}};
    std::vector<lwsgen::Item> items(1);
    items[0].add = "LoadObjectLayer 1 Objects/Quad.lwo";
    for (const LightItem& light : lights) {
        lwsgen::Item item;
        item.add = "AddLight 20000000";
        item.motion = "LightMotion";
        item.channels[2] = lwsgen::still(light.z);
        std::ostringstream after;
        after << "LightName " << light.name << "\nLightColor 1 1 1\nLightIntensity " << light.intensity
              << "\nLightType " << light.type << "\nConeAngle 30\nEdgeAngle 5\n";
        item.after = after.str();
        items.push_back(item);
    }
    std::ofstream(folder + "/lit.lws") << lwsgen::sceneV3(items, 0, 30, 30);
    for (const bool blender : {false, true}) {
        SCOPED_TRACE(blender ? "for Blender" : "for glTF readers");
        const Looks looks = exportAndLook(folder, "lit.lws", "lit.glb", blender ? "--blender-lights" : "");
        ASSERT_EQ(looks.json["lights"].size(), 3u) << looks.json.dump();
        for (const LightItem& light : lights) {
            SCOPED_TRACE(light.name);
            const nlohmann::json* read = nullptr;
            for (const auto& l : looks.json["lights"])
                if (l["name"].get<std::string>().find(light.name) != std::string::npos)
                    read = &l;
            ASSERT_NE(read, nullptr) << looks.json["lights"].dump();
            const double intensity = (*read)["intensity"];
            const double d = std::fabs(light.z);
            double shown;
            if (light.type == 0)
                shown = (blender ? intensity / 683 : intensity) / M_PI;
            else if (blender)
                shown = intensity * 4 * M_PI / 683 / (4 * M_PI * M_PI * d * d);
            else
                shown = intensity / (M_PI * d * d);
            EXPECT_NEAR(shown, light.intensity, 1e-3 * light.intensity);
        }
    }
}

} // namespace
