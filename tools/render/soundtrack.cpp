#include "tools/render/soundtrack.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/music_steps.h"
#include "audio/fmod.h"
#include "audio/fmod_errors.h"
#include "audio/music.h"
#include "audio/test_hooks.h"
#include "platform/path.h"

const char* const kSoundtrackFormat = "-f f32le -ar 44100 -ac 2";

namespace {

constexpr int kRate = 44100;
constexpr double kClosingTuneSeconds = 166.1;
constexpr const char* kMainStream = "demo\\SkyDrift.mp3";
constexpr const char* kClosingTune = "demo\\_SKYD22.xm";

// Mixes `frames` stereo frames from the library and appends them to `out`.
bool mixFrames(std::ofstream& out, long long frames)
{
    constexpr int kBlock = 4096;
    std::vector<float> buffer(2 * kBlock);
    for (long long done = 0; done < frames;) {
        const int count = static_cast<int>(std::min<long long>(kBlock, frames - done));
        std::fill(buffer.begin(), buffer.end(), 0.0f);
        audio::mixForCapture(buffer.data(), count);
        out.write(reinterpret_cast<const char*>(buffer.data()), std::streamsize(sizeof(float)) * 2 * count);
        if (!out)
            return false;
        done += count;
    }
    return true;
}

// The sound library only says "File not found"; a silent soundtrack is no
// soundtrack, so a missing music file is named before any work.
bool musicReadable(const char* resourceName, std::string* error)
{
    if (FILE* file = platform::openResource(resourceName, "rb")) {
        std::fclose(file);
        return true;
    }
    *error = "Cannot read the show's music " + platform::filesystemPath(resourceName) +
             ": the show's files are incomplete (build them again, or name the folder that holds them with --data)";
    return false;
}

} // namespace

bool writeSoundtrack(const std::string& path, float seconds, std::string* error)
{
    if (!musicReadable(kMainStream, error) || (seconds > kClosingTuneSeconds && !musicReadable(kClosingTune, error)))
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        *error = "Cannot write " + path;
        return false;
    }
    // No device: the capture pulls the mix itself, as fast as it can.
    if (!FSOUND_SetOutput(FSOUND_OUTPUT_NOSOUND_NONREALTIME) || !FSOUND_Init(kRate, 32, 0)) {
        *error = std::string("The sound library did not start: ") + FMOD_ErrorString(FSOUND_GetError());
        return false;
    }
    if (!music::playStream(kMainStream)) {
        *error = std::string("The sound library cannot play ") + platform::filesystemPath(kMainStream) + ": " +
                 FMOD_ErrorString(FSOUND_GetError());
        return false;
    }
    const long long total = static_cast<long long>(double(seconds) * kRate + 0.5);
    const long long switchFrame = static_cast<long long>(kClosingTuneSeconds * kRate + 0.5);
    bool written = mixFrames(out, std::min(total, switchFrame));
    if (written && total > switchFrame) {
        music::switchToTune(kClosingTune);
        written = mixFrames(out, total - switchFrame);
    }
    shutDownMusic();
    if (!written) {
        *error = "Cannot write " + path;
        out.close();
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    return written;
}
