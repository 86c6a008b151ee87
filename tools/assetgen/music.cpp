// The music files: the loading tune, the closing tune, and the soundtrack
// rendered through the player's own module code and encoded to MP3 with
// markers at the show's section starts.
#include <cmath>
#include <stdexcept>

#include "audio/module_player.h"
#include "tools/assetgen/asset_pack.h"
#include "tools/assetgen/reverb.h"
#include "tools/assetgen/soundtrack.h"
#include "tools/writers/mp3_writer.h"
#include "tools/writers/xm_writer.h"

namespace assetgen {

namespace {

constexpr int kRate = 44100;

void saveModule(const PackFolder& pack, const char* name, const writers::XmModule& module)
{
    std::string path = pack.pathOf(name);
    checkWritten(writers::writeXm(path, module), path);
}

// Interleaved stereo of the module's first `seconds`.
std::vector<float> render(const writers::XmModule& module, double seconds)
{
    std::vector<uint8_t> bytes = writers::encodeXm(module);
    int error = 0;
    std::unique_ptr<audio::ModulePlayer> player = audio::ModulePlayer::load({bytes.begin(), bytes.end()}, &error);
    if (!player)
        throw std::runtime_error("the soundtrack module does not load (error " + std::to_string(error) + ")");
    player->play();
    size_t frames = size_t(std::llround(seconds * kRate));
    std::vector<float> out(frames * 2, 0.0f);
    const size_t chunk = 4096;
    for (size_t done = 0; done < frames; done += chunk) {
        int count = int(std::min(chunk, frames - done));
        player->mixInto(out.data() + done * 2, count, kRate);
    }
    return out;
}

void makeSoundtrack(const PackFolder& pack)
{
    Soundtrack track = composeSoundtrack();
    const double seconds = track.rows * kSecondsPerRow;
    std::vector<float> mix = render(track.module, seconds);
    addReverb(mix, 0.35f);
    // A little below full scale, so the switch to the closing tune (a module
    // at its natural level) does not fall away.
    normalise(mix, 0.6f);
    writers::Mp3Audio audio;
    audio.samples.resize(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        audio.samples[i] = int16_t(std::lround(mix[i] * 32767.0f));
    std::vector<writers::Mp3Marker> markers;
    for (size_t i = 0; i < track.parts.size(); ++i) {
        uint32_t start = uint32_t(std::lround(track.parts[i].startRow * kSecondsPerRow * 1000));
        uint32_t end = i + 1 < track.parts.size() ? uint32_t(std::lround(track.parts[i + 1].startRow * kSecondsPerRow * 1000))
                                                  : uint32_t(std::lround(seconds * 1000));
        markers.push_back({track.parts[i].name, start, end});
    }
    std::string path = pack.pathOf("demo\\SkyDrift.mp3");
    checkWritten(writers::writeMp3(path, audio, markers, 160), path);
}

} // namespace

void addMusicSteps(std::vector<AssetStep>& steps)
{
    steps.push_back({"loading tune", [](const PackFolder& pack) { saveModule(pack, "demo\\_SKYD11.xm", composeLoadingTune()); }});
    steps.push_back({"closing tune", [](const PackFolder& pack) { saveModule(pack, "demo\\_SKYD22.xm", composeClosingTune()); }});
    steps.push_back({"soundtrack (render and encode)", makeSoundtrack});
}

} // namespace assetgen
