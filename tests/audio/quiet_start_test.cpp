#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "audio/output.h"

namespace {

size_t countLines(const std::string& text)
{
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

} // namespace

// A sound device that cannot be opened, through ALSA as a machine without a
// sound card meets it: the viewer reads one line saying the show plays
// without sound and why, not the sound library's own complaints.
TEST(QuietStart, ADeviceThatCannotOpenGivesOneLine)
{
    // A configuration whose default device names a card that is not there,
    // as ALSA's own configuration does on a machine without one.
    const std::string config = "alsa_no_card.conf";
    std::ofstream(config) << "pcm.!default { type hw card 97 }\nctl.!default { type hw card 97 }\n";
    const struct {
        const char* name;
        const char* device;
    } cases[] = {{"the default device", "default"}, {"a card that does not exist", "hw:97"}};
    for (const auto& c : cases) {
        setenv("SDL_AUDIODRIVER", "alsa", 1);
        setenv("AUDIODEV", c.device, 1);
        setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
        testing::internal::CaptureStderr();
        std::unique_ptr<audio::Output> output = audio::openDeviceOutput(44100);
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(output, nullptr) << c.name;
        EXPECT_EQ(errors.find("ALSA lib"), std::string::npos) << c.name << ":\n" << errors;
        EXPECT_EQ(countLines(errors), 1u) << c.name << ":\n" << errors;
        EXPECT_EQ(errors.rfind("Sky Drift plays without sound: ", 0), 0u) << c.name << ":\n" << errors;
    }
}
