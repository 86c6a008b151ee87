#include "recording.h"
#include "timeline/events.h"

using TimeLineTest = TimelineFixture;

TEST_F(TimeLineTest, FiresInTimeOrderAndEqualTimesInCreationOrder)
{
    timeline.advance(100);  // empty: nothing happens
    new RecordingEvent(3, "c");
    new RecordingEvent(1, "a1");
    new RecordingEvent(2, "b");
    new RecordingEvent(1, "a2");
    EXPECT_EQ(timeline.count(), 4u);
    timeline.rewind();
    timeline.advance(10);
    EXPECT_EQ(g_records, (Records{{"a1", 10}, {"a2", 10}, {"b", 10}, {"c", 10}}));
    EXPECT_EQ(timeline.count(), 0u);
    EXPECT_EQ(g_destroyed, 4);
}

TEST_F(TimeLineTest, LateFramesFireEverythingDueWithTheFrameTime)
{
    new RecordingEvent(12, "12");
    new RecordingEvent(12.5f, "12.5");
    new RecordingEvent(13, "13");
    timeline.rewind();
    timeline.advance(11.9f);
    timeline.advance(12.7f);
    timeline.advance(12.0f);  // a smaller t fires nothing new
    EXPECT_EQ(g_records, (Records{{"12", 12.7f}, {"12.5", 12.7f}}));
    EXPECT_EQ(timeline.count(), 1u);
    timeline.advance(20);
    EXPECT_EQ(g_records.back(), (Record{"13", 20}));
}

TEST_F(TimeLineTest, BaseTimeIsAddedAtCreation)
{
    timeline.baseTime = 42.5f;
    EXPECT_EQ((new RecordingEvent(1.0f, "late"))->time, 43.5f);
    timeline.rewind();
    timeline.advance(43.4f);
    EXPECT_TRUE(g_records.empty());
    timeline.advance(43.5f);
    EXPECT_EQ(g_records, (Records{{"late", 43.5f}}));
}

TEST_F(TimeLineTest, ClearDestroysEveryEvent)
{
    new RecordingEvent(1, "a");
    new RecordingEvent(2, "b");
    timeline.clear();
    EXPECT_EQ(g_destroyed, 2);
    timeline.advance(5);
    EXPECT_TRUE(g_records.empty());
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
    list.render(8);
    EXPECT_EQ(g_records, (Records{{"brush", 3}}));
}
