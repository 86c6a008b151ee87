// A LightWave scene's settings beside its items: the shape of its frame,
// which its cameras take, and what glTF has no place for.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "export/lightwave_settings.h"
#include "import/lws_line_reader.h"
#include "scene/scene.h"
#include "scene/transform_node.h"

namespace gltf_export {

// The scene reader keeps no frame size: the few lines that give it are read
// here from the scene's text.
float lightWaveFrameAspect(const std::string& scenePath)
{
    std::ifstream in(scenePath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // LightWave 6 and later write "FrameSize W H" and "PixelAspect P";
    // LightWave 5's resolutions are all 4:3.
    double width = 4, height = 3, pixel = 1;
    try {
        LW::LineReader lines(std::move(text));
        while (lines.next()) {
            const std::string& keyword = lines.token(0);
            if (keyword == "FrameSize" && lines.count() >= 3) {
                width = std::strtod(lines.token(1).c_str(), nullptr);
                height = std::strtod(lines.token(2).c_str(), nullptr);
            } else if (keyword == "PixelAspect" && lines.count() >= 2) {
                pixel = std::strtod(lines.token(1).c_str(), nullptr);
            }
            lines.skipBlock();
        }
    } catch (bool) {
        // A line past the reader's limit: what was read stands.
    }
    const double aspect = width / height * pixel;
    return aspect > 0.01 && aspect < 100 ? float(aspect) : 4.0f / 3.0f;
}

void addLightWaveSettings(Document& document, const LW::LwsScene& record, const Scene& scene,
                          const std::vector<int>& made, const std::string& scenePath, LightUnits units)
{
    for (size_t i = 0; i < record.items.size() && i < record.itemNodes.size(); ++i) {
        if (record.items[i]->kind != LW::LwsScene::ItemKind::Light)
            continue;
        const int number = scene.node_number(record.itemNodes[i]);
        if (number <= 0 || size_t(number) >= made.size() || made[size_t(number)] < 0)
            continue;
        document.lights.push_back(lightOf(static_cast<const LW::LwsScene::Light&>(*record.items[i]), document.notCarried));
        document.nodes[size_t(made[size_t(number)])].light = int(document.lights.size() - 1);
    }
    setLightBrightness(document, units);
    const float aspect = lightWaveFrameAspect(scenePath);
    for (Camera& camera : document.cameras)
        camera.aspectRatio = aspect;
    if (record.fogEnabled)
        document.notCarried.push_back("fog (glTF has none)");
    if (record.backdrop[0] != 0 || record.backdrop[1] != 0 || record.backdrop[2] != 0)
        document.notCarried.push_back("backdrop colour (glTF has no background)");
}

} // namespace gltf_export
