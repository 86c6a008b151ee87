// LightWave scenes from memory, converted with their objects and post-loaded.
// The objects a scene names are looked for in a scratch folder holding
// "a.lwo" (a textured square), "b.lwo" (a triangle) and the objects of the
// tests' scenes, "Objects/Box.lwo" and the two-layer "Objects/Layers.lwo".
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "fuzz/fuzz_input.h"
#include "import/lws_convert.h"
#include "import/lws_parser.h"
#include "scene/scene.h"
#include "tests/import/lightwave_scene_folder.h"
#include "tools/writers/lwo2_writer.h"
#include "tools/writers/xm_writer.h"

namespace {

std::string g_objects;

void writeObjects()
{
    g_objects = fuzz::scratchPath("-objects");
    std::filesystem::create_directories(g_objects);
    writers::Lwo2Surface surface;
    surface.name = "Skin";
    writers::Lwo2ImageBlock block;
    block.clip = 1;
    surface.blocks.push_back(block);
    writers::Lwo2Writer square;
    square.tags({"Skin"})
        .points({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}})
        .polygons({{0, 1, 2, 3}})
        .surfaceTags({{0, 0}})
        .clip(1, "missing.png")
        .surface(surface);
    writers::writeFileBytes(g_objects + "/a.lwo", square.bytes());
    writers::Lwo2Writer triangle;
    triangle.tags({"Plain"}).points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}).polygons({{0, 1, 2}}).surfaceTags({{0, 0}});
    writers::writeFileBytes(g_objects + "/b.lwo", triangle.bytes());
    lightwave_objects::write(g_objects);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::silenceLogs();
    writeObjects();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LW::LwsScene parsed;
    parsed.searchDirectories.push_back(g_objects);
    // Files are looked for from the scratch folder, not from wherever the
    // fuzzer runs.
    parsed.sceneFolder = g_objects;
    try {
        LW::parseLwsText(std::string(reinterpret_cast<const char*>(data), size), parsed);
        LW::ConvertOptions options;
        options.uploadTextures = false;
        std::unique_ptr<::Scene> scene(LW::convertLwsScene(parsed, options));
        scene->post_load();
    } catch (bool) {
    }
    return 0;
}
