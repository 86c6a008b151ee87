// scripts/play writes a video of the asked size and rate, with sound.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/run_program.h"

namespace {

namespace fs = std::filesystem;

// ffprobe's one value for one stream ("v:0", "a:0") and entry ("width").
std::string probe(const std::string& video, const std::string& stream, const std::string& entry)
{
    ProgramRun run = runInFolder("play_probe", "ffprobe -v error -select_streams " + stream + " -show_entries stream=" +
                                                   entry + " -of default=noprint_wrappers=1:nokey=1 '" + video + "'");
    std::string value = run.output;
    while (!value.empty() && (value.back() == '\n' || value.back() == '\r'))
        value.pop_back();
    return value;
}

} // namespace

TEST(PlayVideo, ASixteenByNineVideoAtSixtyFramesASecondWithSound)
{
    const std::string video = fs::absolute("play_video/show.mp4").string();
    fs::remove(video);
    const std::string build = fs::path(SKYDRIFT_DEMO_PACK).parent_path().string();
    ProgramRun run = runInFolder("play_video", std::string("'") + SKYDRIFT_SOURCE_DIR + "/scripts/play' --video --built '" +
                                                   build + "' --size 1920x1080 --fps 60 --seconds 2 --out '" + video + "'");
    ASSERT_EQ(run.exitCode, 0) << run.output << run.errors;
    EXPECT_EQ(probe(video, "v:0", "width"), "1920");
    EXPECT_EQ(probe(video, "v:0", "height"), "1080");
    EXPECT_EQ(probe(video, "v:0", "r_frame_rate"), "60/1");
    EXPECT_EQ(probe(video, "v:0", "nb_frames"), "120");
    EXPECT_EQ(probe(video, "a:0", "codec_name"), "aac");

    // A size that is not WxH is refused before anything is built.
    ProgramRun bad = runInFolder("play_video", std::string("'") + SKYDRIFT_SOURCE_DIR +
                                                   "/scripts/play' --video --size big --built '" + build + "'");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.errors.find("--size takes a video size WxH"), std::string::npos) << bad.errors;
}
