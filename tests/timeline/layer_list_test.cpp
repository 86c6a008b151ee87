#include "recording.h"

#include "timeline/events.h"

using LayerListTest = TimelineFixture;

TEST_F(LayerListTest, FreshBrushChannelDefaults)
{
    RecordingBrush brush("b");
    float values[hlv::Brush::kChannelCount];
    brush.evaluateChannels(3, values);
    const float expected[] = {0, 0, 0, 0, 1, 1, 1, 1, 0};
    for (int i = 0; i < hlv::Brush::kChannelCount; ++i)
        EXPECT_EQ(values[i], expected[i]) << "channel " << i;
}

TEST_F(LayerListTest, DurationEndsTheBrush)
{
    list.activate(10, new RecordingBrush("five", 0, 5));
    list.activate(10, new RecordingBrush("endless", 1));
    for (float t : {10.0f, 14.99f, 15.0f, 1e6f})
        list.render(t);
    EXPECT_EQ(g_records, (Records{{"five", 0}, {"endless", 0}, {"five", 4.99f}, {"endless", 4.99f}, {"endless", 5},
                                  {"endless", 1e6f - 10}}));
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(LayerListTest, LateActivationIsRemovedUndrawn)
{
    list.activate(10, new RecordingBrush("late", 2, 5));
    list.render(16);
    EXPECT_TRUE(g_records.empty());
    EXPECT_EQ(g_destroyed, 1);
    EXPECT_TRUE(list.layer(2).empty());
}

TEST_F(LayerListTest, KeptBrushDrawsAgainFromLocalZero)
{
    RecordingBrush* brush = new RecordingBrush("kept", 0, 5);
    brush->deleteWhenFinished = false;
    list.activate(10, brush);
    list.render(12);
    list.render(15);
    list.activate(20, brush);
    list.render(20);
    EXPECT_EQ(g_records, (Records{{"kept", 2}, {"kept", 0}}));
    EXPECT_EQ(g_destroyed, 0);
}

TEST_F(LayerListTest, DrawingOrderIsLayerThenActivation)
{
    for (auto [name, layer] : {std::pair{"3 first", 3}, {"7", 7}, {"0", 0}, {"3 second", 3}})
        list.activate(0, new RecordingBrush(name, layer));
    list.render(1);
    std::vector<std::string> order;
    for (const Record& r : g_records)
        order.push_back(r.name);
    EXPECT_EQ(order, (std::vector<std::string>{"0", "3 first", "3 second", "7"}));
}

TEST_F(LayerListTest, BrushOnTwoEntriesLivesUntilTheLastEnds)
{
    RecordingBrush* brush = new RecordingBrush("twice", 1, 5);
    list.activate(10, brush);
    list.activate(12, brush);
    list.render(15);  // the first entry ends; the second draws at local 3
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_EQ(g_records, (Records{{"twice", 3}}));
    list.render(17);
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(LayerListTest, ClearDestroysEveryBrushOnce)
{
    RecordingBrush* kept = new RecordingBrush("kept");
    kept->deleteWhenFinished = false;
    RecordingBrush* twice = new RecordingBrush("twice", 4);
    list.activate(0, kept);
    list.activate(0, twice);
    list.activate(1, twice);
    list.clear();
    EXPECT_EQ(g_destroyed, 2);
    list.render(1);
    EXPECT_TRUE(g_records.empty());

    // A layer number outside 0..7 is refused rather than written out of range.
    RecordingBrush outside("outside", 8);
    list.activate(0, &outside);
    EXPECT_FALSE(list.holds(&outside));
}

// Quitting mid-show: a drawing brush that waits on another activation, and a
// brush waiting on two, are each destroyed once, with every pending event.
TEST_F(LayerListTest, ClearShowDestroysWaitingBrushesOnce)
{
    RecordingBrush* drawing = new RecordingBrush("drawing");
    RecordingBrush* waiting = new RecordingBrush("waiting");
    new hlv::EvtActivateBrush(0, drawing);
    new hlv::EvtActivateBrush(5, drawing);
    new hlv::EvtActivateBrush(6, waiting);
    new hlv::EvtActivateBrush(7, waiting);
    timeline.rewind();
    timeline.advance(1);
    ASSERT_TRUE(list.holds(drawing));
    hlv::clearShow();
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_EQ(timeline.count(), 0u);
    EXPECT_TRUE(list.layer(0).empty());
}
