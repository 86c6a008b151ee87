// hlvtool on a content directory saved on another machine: the files a
// scene needs, where each was found, a warning for the one that is nowhere
// (an error with --strict), the camera where time 0 puts it, and open and
// closed meshes told apart.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/import/lightwave_scene_folder.h"
#include "tests/support/run_program.h"
#include "tools/writers/lwo2_writer.h"

namespace fs = std::filesystem;

namespace {

const std::string kTool = SKYDRIFT_HLVTOOL;

std::string channels(int count, const float (&position)[3])
{
    std::string text = "NumChannels " + std::to_string(count) + "\n";
    for (int c = 0; c < count; ++c)
        text += "Channel " + std::to_string(c) + "\n{ Envelope\n  1\n  Key " +
                std::to_string(c < 3 ? position[c] : c >= 6 ? 1.0f : 0.0f) + " 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
    return text;
}

// Scenes/ship.lws names its box by a Windows path and a volume path that
// leads nowhere; its camera, at (1, 2, -5), is targeted at the box.
class ContentDirectory {
public:
    ContentDirectory() : root((fs::current_path() / "hlvtool_content_directory").string())
    {
        fs::remove_all(root);
        fs::create_directories(root + "/Scenes");
        fs::create_directories(root + "/Objects");
        lightwave_objects::writeCube(root + "/Objects/Box.lwo");
        const std::vector<Vector3f> corners = {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1},
                                               {-1, -1, 1},  {-1, 1, 1},  {1, 1, 1},  {1, -1, 1}};
        writers::Lwo2Writer().tags({"Plain"}).layer(0).points(corners).polygons({{0, 1, 2, 3}})
            .surfaceTags({{0, 0}}).save(root + "/Objects/Quad.lwo");
        const std::vector<std::vector<uint32_t>> faces = {{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1},
                                                          {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
        writers::Lwo2Writer().tags({"Plain"}).layer(0).points(corners).polygons(faces)
            .surfaceTags(lightwave_objects::allTagged(faces.size(), 0)).save(root + "/Objects/Closed.lwo");
        std::ofstream(root + "/Scenes/ship.lws")
            << "LWSC\n3\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\n\n"
            << "LoadObjectLayer 1 D:\\Work\\Objects\\Box.lwo\nObjectMotion\n" << channels(9, {0, 0, 0})
            << "LoadObjectLayer 1 HD1:Objects/gone.lwo\nObjectMotion\n" << channels(9, {0, 0, 0})
            << "AddCamera\nCameraMotion\n" << channels(6, {1, 2, -5}) << "TargetItem 10000000\n";
    }
    ~ContentDirectory() { fs::remove_all(root); }
    ProgramRun run(const std::string& arguments) const { return runInFolder(root, kTool + " " + arguments); }

    std::string root;
};

size_t occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

TEST(HlvtoolContentDirectory, InfoListsTheFilesWarnsOfTheMissingOneAndPlacesTheCamera)
{
    ContentDirectory tree;
    const ProgramRun info = tree.run("info Scenes/ship.lws");
    ASSERT_EQ(info.exitCode, 0) << info.errors;
    EXPECT_NE(info.output.find("'D:\\Work\\Objects\\Box.lwo' (object item 1): found at " +
                               fs::canonical(tree.root).string() + "/Objects/Box.lwo"),
              std::string::npos)
        << info.output;
    EXPECT_NE(info.output.find("'HD1:Objects/gone.lwo' (object item 2): not found"), std::string::npos) << info.output;
    EXPECT_EQ(occurrences(info.errors, "warning: the file 'HD1:Objects/gone.lwo' (needed by object item 2) is not found"),
              1u)
        << info.errors;
    // At 0 s, looking from (1, 2, -5) at the box at the origin.
    EXPECT_NE(info.output.find("0 eye (1 2 -5) looking (-0.182574 -0.365148 0.912871)"), std::string::npos)
        << info.output;

    const ProgramRun strict = tree.run("info Scenes/ship.lws --strict");
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_NE(strict.errors.find("The file 'HD1:Objects/gone.lwo' (needed by object item 2) is not found."),
              std::string::npos)
        << strict.errors;
}

TEST(HlvtoolContentDirectory, OpenAndClosedMeshesAreToldApart)
{
    ContentDirectory tree;
    // A cube whose +z face is cut in two down its middle, the cut's ends
    // shared as points by the two halves only: the faces beside them meet
    // the halves along edges that have those points inside them.
    const std::vector<Vector3f> corners = {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, 1},
                                           {-1, 1, 1},   {1, 1, 1},   {1, -1, 1},  {0, -1, 1},  {0, 1, 1}};
    const std::vector<std::vector<uint32_t>> cut = {{0, 1, 2, 3}, {4, 8, 9, 5}, {8, 7, 6, 9}, {0, 4, 5, 1},
                                                    {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
    auto save = [&](const std::string& name, std::vector<Vector3f> points, std::vector<std::vector<uint32_t>> faces) {
        writers::Lwo2Writer().tags({"Plain"}).layer(0).points(points).polygons(faces)
            .surfaceTags(lightwave_objects::allTagged(faces.size(), 0)).save(tree.root + "/Objects/" + name);
    };
    save("Cut.lwo", corners, cut);
    save("CutOpen.lwo", corners, {cut.begin(), cut.end() - 2});  // without the +x and -y faces
    std::vector<Vector3f> apart = corners;
    apart[8].y = -1.2f;  // the cut's lower end off the edge: a gap between the halves and the -y face
    save("CutApart.lwo", apart, cut);
    const struct {
        const char* object;
        const char* closure;
    } cases[] = {{"Objects/Quad.lwo", ", open,"},        {"Objects/Closed.lwo", ", closed,"},
                 {"Objects/Box.lwo", ", not manifold,"}, {"Objects/Cut.lwo", ", closed,"},
                 {"Objects/CutOpen.lwo", ", open,"},     {"Objects/CutApart.lwo", ", open,"}};
    for (const auto& c : cases) {
        const ProgramRun info = tree.run(std::string("info ") + c.object);
        EXPECT_EQ(info.exitCode, 0) << c.object << info.errors;
        EXPECT_NE(info.output.find(c.closure), std::string::npos) << c.object << "\n" << info.output;
    }
}

TEST(HlvtoolContentDirectory, ExportReadsObjectsWhereTheContentDirectoryFindsThem)
{
    ContentDirectory tree;
    const ProgramRun run = tree.run("export Scenes/ship.lws ship.gltf");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::ifstream in(tree.root + "/ship.gltf");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The box found through the content directory is the one mesh; the
    // missing object's item is an empty node.
    EXPECT_EQ(occurrences(text, "\"primitives\""), 1u) << text.substr(0, 400);
}

// Files found that cannot be used are warned of, named with why, and not
// called found: an object that is a picture, a picture that is not one.
TEST(HlvtoolContentDirectory, FilesFoundButNotUsableAreNamedWithWhy)
{
    ContentDirectory tree;
    ASSERT_TRUE(writers::Lwo2Writer().chunk("BMHD", {0, 4, 0, 4}).save(tree.root + "/Objects/Sky.lwo", "ILBM"));
    fs::create_directories(tree.root + "/Images");
    std::ofstream(tree.root + "/Images/paint.png") << "not a picture";
    writers::Lwo2Surface paint;
    paint.name = "Paint";
    paint.blocks.push_back(writers::uvMappedBlock("uv", 1));
    writers::Lwo2Writer().tags({"Paint"}).clip(1, "Images/paint.png").layer(0)
        .points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).vertexMap("TXUV", 2, "uv", {{0, 0, {0, 0}}, {1, 0, {1, 0}}, {2, 0, {0, 1}}})
        .polygons({{0, 1, 2}}).surfaceTags({{0, 0}}).surface(paint).save(tree.root + "/Objects/Painted.lwo");
    std::ofstream(tree.root + "/Scenes/bad.lws")
        << "LWSC\n3\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\n\n"
        << "LoadObjectLayer 1 Objects/Sky.lwo\nObjectMotion\n" << channels(9, {0, 0, 0})
        << "LoadObjectLayer 1 Objects/Painted.lwo\nObjectMotion\n" << channels(9, {0, 0, 0});

    const ProgramRun info = tree.run("info Scenes/bad.lws");
    ASSERT_EQ(info.exitCode, 0) << info.errors;
    const std::string root = fs::canonical(tree.root).string();
    for (const std::string& line :
         {"'Objects/Sky.lwo' (object item 1): " + root + "/Objects/Sky.lwo cannot be read: Unsupported object format (ILBM).",
          "'Images/paint.png' (surface 'Paint'): " + root + "/Images/paint.png cannot be decoded"})
        EXPECT_NE(info.output.find(line), std::string::npos) << line << "\n" << info.output;
    EXPECT_EQ(occurrences(info.output, "found at"), 1u) << "only Painted.lwo\n" << info.output;
    EXPECT_EQ(occurrences(info.errors, "warning: the object 'Objects/Sky.lwo' (layer 1, needed by object item 1) "
                                       "cannot be read: Unsupported object format (ILBM)."),
              1u)
        << info.errors;
    EXPECT_EQ(occurrences(info.errors, "warning: the picture '" + root + "/Images/paint.png' (needed by surface "
                                       "'Paint') cannot be decoded"),
              1u)
        << info.errors;

    const ProgramRun strict = tree.run("info Scenes/bad.lws --strict");
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_NE(strict.errors.find("Unsupported object format (ILBM)"), std::string::npos) << strict.errors;
}
