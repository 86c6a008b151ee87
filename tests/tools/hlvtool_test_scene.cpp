#include "tests/tools/hlvtool_test_scene.h"

#include <filesystem>
#include <fstream>

#include "tools/writers/lwo2_writer.h"

namespace {

// A square of side 6 in the z = 0 plane, seen from both sides.
void writeQuad(const std::string& path, const char* surfaceName, float r, float g, float b)
{
    writers::Lwo2Surface surface;
    surface.name = surfaceName;
    surface.colour[0] = r;
    surface.colour[1] = g;
    surface.colour[2] = b;
    writers::Lwo2Writer()
        .tags({surfaceName})
        .points({{-3, -3, 0}, {-3, 3, 0}, {3, 3, 0}, {3, -3, 0}})
        .polygons({{0, 1, 2, 3}, {3, 2, 1, 0}})
        .surfaceTags({{0, 0}, {1, 0}})
        .surface(surface)
        .save(path);
}

// One envelope channel: "value time shape" per key.
std::string channel(int number, const std::vector<std::string>& keys)
{
    std::string text = "Channel " + std::to_string(number) + "\n{ Envelope\n  " + std::to_string(keys.size()) + "\n";
    for (const std::string& key : keys)
        text += "  Key " + key + " 0 0 0 0 0 0\n";
    return text + "  Behaviors 1 1\n}\n";
}

} // namespace

std::string placedMotion(float x, float y, float z, int channels)
{
    std::string text = "NumChannels " + std::to_string(channels) + "\n";
    const float values[9] = {x, y, z, 0, 0, 0, 1, 1, 1};
    for (int c = 0; c < channels && c < 9; ++c)
        text += channel(c, {std::to_string(values[c]) + " 0 0"});
    return text;
}

std::string writeTestLightWaveScene(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    // Both surfaces are called "Default", as nearly every object's is.
    writeQuad(folder + "/red.lwo", "Default", 1, 0, 0);
    writeQuad(folder + "/green.lwo", "Default", 0, 1, 0);

    // Span shapes: 0 TCB, 1 Hermite, 3 linear, 4 stepped (the shape of the
    // span that ends at the key).
    const std::string camera = "NumChannels 6\n" + channel(0, {"0 0 0", "20 1 3"}) + channel(1, {"-100 0 0"}) +
                               channel(2, {"0 0 0", "0 1 0", "0 2 0"}) + channel(3, {"0 0 0", "0 1 4"}) +
                               channel(4, {"0 0 0", "0 1 1"}) + channel(5, {"0 0 0"});
    const std::string text = "LWSC\n3\n\nFirstFrame 0\nLastFrame 30\nFramesPerSecond 30\n\n"
                             "LoadObjectLayer 1 red.lwo\nObjectMotion\n" + placedMotion(0, 0, 10) +
                             "\nLoadObjectLayer 1 green.lwo\nObjectMotion\n" + placedMotion(20, 0, 10) +
                             "\nLoadObjectLayer 1 red.lwo\nObjectMotion\n" + placedMotion(0, 100, 0) +
                             "\nAddLight\nLightMotion\n" + placedMotion(0, 50, 0) +
                             "\nAddCamera\nCameraMotion\n" + camera +
                             "ParentItem 10000002\nZoomFactor 3.2\nNearClipDistance 0.5\nHL_FarClipDistance 500\n"
                             "\nBackdropColor 0 0 1\nFogType 1\nFogMinDistance 400\nFogMaxDistance 480\n"
                             "FogColor 1 1 1\n";
    const std::string path = folder + "/scene.lws";
    std::ofstream(path) << text;
    return path;
}
