#include <gtest/gtest.h>

#include <cstdlib>

#include "resources/scene_manager.h"
#include "tests/app/show_run.h"
#include "timeline/scene_events.h"
#include "timeline/timeline.h"

namespace {

// Starts the show with the disclaimer answered `answer` and the opposite
// loading mode passed in, which the answer must override.
void expectAnswerGivesMode(const char* answer, bool loadDuringShow)
{
    setenv("SKYDRIFT_ANSWER", answer, 1);
    ShowRun run(!loadDuringShow, ShowRun::kOnlyAskedFrames, true);
    ASSERT_TRUE(run.started());
    for (const char* scene : {"demo\\cubes.hlv", "demo\\metaballs.hlv", "demo\\fin2.hlv"})
        EXPECT_EQ(sceneManager.contains(scene), !loadDuringShow) << scene << " after answering " << answer;
    size_t sceneLoads = 0;
    for (hlv::TimeLineEvent* event : hlv::TimeLine::instance().pending())
        sceneLoads += dynamic_cast<hlv::EvtLoadScene*>(event) != nullptr;
    EXPECT_EQ(sceneLoads, loadDuringShow ? 3u : 0u) << "after answering " << answer;
}

} // namespace

// No in the disclaimer leaves the three big scenes to loader threads during
// the show; Yes preloads them.
TEST(StartupTest, DisclaimerNoLoadsDuringTheShow)
{
    expectAnswerGivesMode("no", true);
}

TEST(StartupTest, DisclaimerYesPreloads)
{
    expectAnswerGivesMode("yes", false);
}
