// LightWave lights as KHR_lights_punctual holds them: each light type,
// colours as LightWave 5 (0 to 255) and LightWave 6 (0 to 1) write them,
// intensity plain, enveloped and LightWave 5's keyword (written as pi times
// LightWave's: see lightwave_lights.cpp), spot cones in degrees and, under
// LightWave 8's names, in radians.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/export/lws_writer.h"
#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;
const std::string kTool = SKYDRIFT_HLVTOOL;
const float kDegree = float(M_PI) / 180.0f;

struct LightCase {
    const char* name;
    int version;
    std::string lines;  // after the light's motion
    const char* type;
    float colour[3];  // as glTF stores it: linear, from the file's sRGB values
    float intensity;  // LightWave's; without objects around, glTF's is pi times it
    float inner, outer;  // radians, spot lights only
};

std::string sceneText(const LightCase& c)
{
    const std::string light = "AddLight\nLightName " + std::string(c.name) + "\nShowLight 0 7\n";
    if (c.version == 1) {
        return "LWSC\n1\n\nFirstFrame 1\nLastFrame 30\nFrameStep 1\n\n" + light +
               lwsgen::lw5Motion("LightMotion", {lwsgen::Lw5Key{}}, 1) + c.lines;
    }
    lwsgen::Item item;
    item.add = "AddLight 20000000";
    item.motion = "LightMotion";
    item.after = "LightName " + std::string(c.name) + "\n" + c.lines;
    return lwsgen::sceneV3({item}, 0, 30, 30);
}

TEST(ExportLights, EachLightWaveLightKeepsItsTypeColourIntensityAndCone)
{
    const std::string envelope = "(envelope)\n{ Envelope\n  2\n  Key 0.6 0 0 0 0 0 0 0 0 0\n"
                                 "  Key 0.2 1 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
    const LightCase cases[] = {
        {"Sun", 3, "LightColor 1 0.5 0.25\nLightIntensity 0.8\nLightType 0\n", "directional", {1, 0.21404f, 0.050876f}, 0.8f, 0, 0},
        {"Bulb", 3, "LightColor 0 1 0\nLightIntensity " + envelope + "LightType 1\n", "point", {0, 1, 0}, 0.6f, 0, 0},
        {"Beam", 3, "LightColor 1 1 1\nLightIntensity 1.5\nLightType 2\nConeAngle 30\nEdgeAngle 10\n", "spot",
         {1, 1, 1}, 1.5f, 20 * kDegree, 30 * kDegree},
        {"Panel", 3, "LightColor 1 1 1\nLightIntensity 1\nLightType 4\n", "point", {1, 1, 1}, 1, 0, 0},
        {"Old", 1, "LightColor 255 51 0\nLgtIntensity 0.5\nLightType 2\nConeAngle 45\nEdgeAngle 50\n", "spot",
         {1, 0.033105f, 0}, 0.5f, 0, 45 * kDegree},
        {"Newer", 3, "LightColor 1 1 1\nLightIntensity 1\nLightType 2\nLightConeAngle 0.5235988\nLightEdgeAngle 0.1745329\n",
         "spot", {1, 1, 1}, 1, 20 * kDegree, 30 * kDegree},
    };
    const std::string folder = (fs::current_path() / "export_lights").string();
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const LightCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(folder + "/light.lws") << sceneText(c);
        const ProgramRun run = runInFolder(folder, kTool + " export light.lws light.gltf --verbose");
        ASSERT_EQ(run.exitCode, 0) << run.errors;
        const nlohmann::json document = nlohmann::json::parse(readWholeFile(folder + "/light.gltf"));
        const nlohmann::json& lights = document["extensions"]["KHR_lights_punctual"]["lights"];
        ASSERT_EQ(lights.size(), 1u);
        const nlohmann::json& light = lights[0];
        EXPECT_EQ(light["name"], c.name);
        EXPECT_EQ(light["type"], c.type);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(light["color"][i].get<float>(), c.colour[i], 1e-3f);
        EXPECT_NEAR(light["intensity"].get<float>(), c.intensity * float(M_PI), 1e-5f);
        if (std::string(c.type) == "spot") {
            EXPECT_NEAR(light["spot"]["outerConeAngle"].get<float>(), c.outer, 1e-5f);
            EXPECT_NEAR(light["spot"].value("innerConeAngle", 0.0f), c.inner, 1e-5f);
        }
        if (std::string(c.name) == "Panel") {
            EXPECT_NE(run.errors.find("area light"), std::string::npos) << run.errors;
        }
    }
    fs::remove_all(folder);
}

} // namespace
