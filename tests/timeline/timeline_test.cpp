#include <gtest/gtest.h>

#include "recording.h"
#include "timeline/events.h"
#include "timeline/layer_list.h"

using hlv::TimeLine;

namespace {
class TimeLineTest : public testing::Test {
protected:
    void SetUp() override
    {
        TimeLine::instance().clear();
        TimeLine::instance().baseTime = 0;
        hlv::LayerList::instance().clear();
        records().clear();
        destroyed() = 0;
    }
    TimeLine& timeline = TimeLine::instance();
};
} // namespace

TEST_F(TimeLineTest, FiresInTimeOrderAndEqualTimesInCreationOrder)
{
    timeline.advance(100);  // empty: nothing happens
    EXPECT_TRUE(records().empty());

    new RecordingEvent(3, "c");
    new RecordingEvent(1, "a1");
    new RecordingEvent(2, "b");
    new RecordingEvent(1, "a2");
    EXPECT_EQ(timeline.count(), 4u);
    timeline.rewind();
    timeline.advance(10);
    EXPECT_EQ(records(), (std::vector<Record>{{"a1", 10}, {"a2", 10}, {"b", 10}, {"c", 10}}));
    EXPECT_EQ(timeline.count(), 0u);
    EXPECT_EQ(destroyed(), 4);
}

TEST_F(TimeLineTest, LateFramesFireEverythingDueWithTheFrameTime)
{
    new RecordingEvent(12, "twelve");
    new RecordingEvent(12.5f, "twelve and a half");
    new RecordingEvent(13, "thirteen");
    timeline.rewind();
    timeline.advance(11.9f);
    EXPECT_TRUE(records().empty());
    timeline.advance(12.7f);
    EXPECT_EQ(records(), (std::vector<Record>{{"twelve", 12.7f}, {"twelve and a half", 12.7f}}));
    EXPECT_EQ(timeline.count(), 1u);
    timeline.advance(12.0f);  // a smaller t fires nothing new
    EXPECT_EQ(records().size(), 2u);
    timeline.advance(20);
    EXPECT_EQ(records().back(), (Record{"thirteen", 20}));
    EXPECT_EQ(destroyed(), 3);
}

TEST_F(TimeLineTest, BaseTimeIsAddedAtCreation)
{
    timeline.baseTime = 42.5f;
    RecordingEvent* event = new RecordingEvent(1.0f, "late");
    EXPECT_EQ(event->time, 43.5f);
    timeline.baseTime = 0;
    timeline.rewind();
    timeline.advance(43.4f);
    EXPECT_TRUE(records().empty());
    timeline.advance(43.5f);
    EXPECT_EQ(records(), (std::vector<Record>{{"late", 43.5f}}));
}

TEST_F(TimeLineTest, ClearDestroysEveryEvent)
{
    new RecordingEvent(1, "a");
    new RecordingEvent(2, "b");
    timeline.clear();
    EXPECT_EQ(destroyed(), 2);
    EXPECT_EQ(timeline.count(), 0u);
    timeline.advance(5);
    EXPECT_TRUE(records().empty());
}

TEST_F(TimeLineTest, ValueAndActivationEvents)
{
    bool visible = false;
    bool shown = true;
    new hlv::EvtChangeValue<bool>(1, &visible, shown);
    shown = false;  // the value was copied when the event was made
    RecordingBrush* brush = new RecordingBrush("brush");
    new hlv::EvtActivateBrush(5, brush);
    timeline.rewind();
    timeline.advance(7);
    EXPECT_TRUE(visible);

    // The brush starts at the event's time, not at the late frame's.
    const auto& layer = hlv::LayerList::instance().layer(0);
    ASSERT_EQ(layer.size(), 1u);
    EXPECT_EQ(layer.front().startTime, 5);
    EXPECT_EQ(layer.front().brush, brush);
}
