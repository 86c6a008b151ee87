// A LightWave scene's settings beside its items: the shape of its frame,
// which its cameras take, and what glTF has no place for.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "export/lightwave_lights.h"
#include "import/lws_line_reader.h"

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

void noteSettingsLeftOut(const LW::LwsScene& scene, std::vector<std::string>& notCarried)
{
    if (scene.fogEnabled)
        notCarried.push_back("fog (glTF has none)");
    if (scene.backdrop[0] != 0 || scene.backdrop[1] != 0 || scene.backdrop[2] != 0)
        notCarried.push_back("backdrop colour (glTF has no background)");
}

} // namespace gltf_export
