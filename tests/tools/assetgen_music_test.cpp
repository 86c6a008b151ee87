// The generated music plays through the show's own sound code: two modules
// that loop and make sound, and a stream of the show's length in the
// required format, with its parts marked at the section starts.
#include <gtest/gtest.h>

#include <libopenmpt/libopenmpt.hpp>

#include <cmath>

#include "audio/id3_chapters.h"
#include "audio/module_player.h"
#include "audio/mp3_decoder.h"
#include "tests/support/run_program.h"
#include "tests/tools/assetgen_pack.h"

namespace {

std::vector<unsigned char> bytesOf(const char* path)
{
    std::string text = readWholeFile(packRoot() + "/" + path);
    return {text.begin(), text.end()};
}

double rms(const float* samples, size_t count)
{
    double sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / double(count)) : 0.0;
}

} // namespace

TEST(AssetMusic, TunesAreModulesOfTheirLengthsThatSound)
{
    struct Tune {
        const char* path;
        double seconds;
    };
    for (const Tune& tune : {Tune{"demo/_SKYD11.xm", 12.8}, Tune{"demo/_SKYD22.xm", 25.6}}) {
        std::vector<unsigned char> bytes = bytesOf(tune.path);
        openmpt::module module(bytes);
        EXPECT_EQ(module.get_metadata("type"), "xm") << tune.path;
        EXPECT_NEAR(module.get_duration_seconds(), tune.seconds, 0.05) << tune.path;
        int error = 0;
        std::unique_ptr<audio::ModulePlayer> player = audio::ModulePlayer::load(bytes, &error);
        ASSERT_TRUE(player) << tune.path << " error " << error;
        player->play();
        std::vector<float> mix(44100 * 2 * 4, 0.0f);
        player->mixInto(mix.data(), 44100 * 4, 44100);
        EXPECT_GT(rms(mix.data(), mix.size()), 0.01) << tune.path;
    }
}

TEST(AssetMusic, SoundtrackLastsTheShowInCdQualityWithItsPartsMarked)
{
    std::vector<unsigned char> bytes = bytesOf("demo/SkyDrift.mp3");
    // The marks at the section starts.
    std::vector<audio::ChapterMark> marks = audio::readChapterMarks(bytes.data(), bytes.size());
    const uint32_t starts[] = {0, 15500, 42500, 75100, 93600, 126600};
    ASSERT_GE(marks.size(), std::size(starts));
    for (size_t i = 0; i < std::size(starts); ++i)
        EXPECT_EQ(marks[i].startMilliseconds, starts[i]) << marks[i].name;
    // The first MPEG frame after the tag: MPEG-1 layer III, 44.1 kHz, stereo, 128 kbit/s or more.
    size_t at = 10 + ((size_t(bytes[6]) << 21) | (size_t(bytes[7]) << 14) | (size_t(bytes[8]) << 7) | bytes[9]);
    while (at + 4 < bytes.size() && !(bytes[at] == 0xFF && (bytes[at + 1] & 0xE0) == 0xE0))
        ++at;
    ASSERT_LT(at + 4, bytes.size());
    EXPECT_EQ(bytes[at + 1] & 0x1E, 0x1A);  // MPEG-1, layer III
    static const int kBitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    EXPECT_GE(kBitrates[bytes[at + 2] >> 4], 128);
    EXPECT_EQ((bytes[at + 2] >> 2) & 3, 0);  // 44.1 kHz
    EXPECT_NE(bytes[at + 3] >> 6, 3);         // not mono

    int error = 0;
    std::unique_ptr<audio::Mp3Decoder> decoder = audio::Mp3Decoder::open(bytes, 44100, &error);
    ASSERT_TRUE(decoder) << error;
    std::vector<float> all;
    std::vector<float> chunk(44100 * 2);
    for (int read; (read = decoder->read(chunk.data(), 44100)) > 0;)
        all.insert(all.end(), chunk.begin(), chunk.begin() + read * 2);
    const double seconds = double(all.size() / 2) / 44100.0;
    EXPECT_GE(seconds, 170.0);
    EXPECT_LT(seconds, 180.0);
    // Sound all the way through: no second of the show's part is silent.
    for (size_t second = 0; second < 170; ++second)
        EXPECT_GT(rms(all.data() + second * 88200, 88200), 0.01) << "silence at " << second << " s";
}
