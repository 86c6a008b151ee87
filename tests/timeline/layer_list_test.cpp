#include <gtest/gtest.h>

#include "recording.h"
#include "timeline/layer_list.h"

using hlv::LayerList;

namespace {
class LayerListTest : public testing::Test {
protected:
    void SetUp() override
    {
        list.clear();
        records().clear();
        destroyed() = 0;
    }
    void TearDown() override { list.clear(); }
    LayerList& list = LayerList::instance();
};
} // namespace

TEST_F(LayerListTest, FreshBrushChannelDefaults)
{
    RecordingBrush brush("b");
    float values[hlv::Brush::kChannelCount];
    brush.evaluateChannels(3, values);
    const float expected[] = {0, 0, 0, 0, 1, 1, 1, 1, 0};
    for (int i = 0; i < hlv::Brush::kChannelCount; ++i)
        EXPECT_EQ(values[i], expected[i]) << "channel " << i;
    EXPECT_EQ(brush.layer, 0);
    EXPECT_TRUE(brush.deleteWhenFinished);
    EXPECT_TRUE(brush.visible);
    EXPECT_FALSE(brush.isFinished(1e9f));  // duration 0 never ends
}

TEST_F(LayerListTest, DurationEndsTheBrush)
{
    list.activate(10, new RecordingBrush("five", 0, 5));
    list.activate(10, new RecordingBrush("endless", 1));
    list.render(10);
    list.render(14.99f);
    list.render(15);
    EXPECT_EQ(records(), (std::vector<Record>{{"five", 0}, {"endless", 0}, {"five", 4.99f}, {"endless", 4.99f}, {"endless", 5}}));
    EXPECT_EQ(destroyed(), 1);
    EXPECT_TRUE(list.layer(0).empty());
    list.render(1e6f);
    EXPECT_EQ(records().back(), (Record{"endless", 1e6f - 10}));
}

TEST_F(LayerListTest, LateActivationIsRemovedUndrawn)
{
    list.activate(10, new RecordingBrush("late", 2, 5));
    list.render(16);
    EXPECT_TRUE(records().empty());
    EXPECT_EQ(destroyed(), 1);
    EXPECT_TRUE(list.layer(2).empty());
}

TEST_F(LayerListTest, KeptBrushDrawsAgainFromLocalZero)
{
    RecordingBrush* brush = new RecordingBrush("kept", 0, 5);
    brush->deleteWhenFinished = false;
    list.activate(10, brush);
    list.render(12);
    list.render(15);
    EXPECT_EQ(destroyed(), 0);
    EXPECT_TRUE(list.layer(0).empty());
    list.activate(20, brush);
    list.render(20);
    EXPECT_EQ(records(), (std::vector<Record>{{"kept", 2}, {"kept", 0}}));
}

TEST_F(LayerListTest, DrawingOrderIsLayerThenActivation)
{
    list.activate(0, new RecordingBrush("layer 3 first", 3));
    list.activate(0, new RecordingBrush("layer 7", 7));
    list.activate(0, new RecordingBrush("layer 0", 0));
    list.activate(0, new RecordingBrush("layer 3 second", 3));
    list.render(1);
    std::vector<std::string> order;
    for (const Record& r : records())
        order.push_back(r.name);
    EXPECT_EQ(order, (std::vector<std::string>{"layer 0", "layer 3 first", "layer 3 second", "layer 7"}));
}

TEST_F(LayerListTest, BrushOnTwoEntriesLivesUntilTheLastEnds)
{
    RecordingBrush* brush = new RecordingBrush("twice", 1, 5);
    list.activate(10, brush);
    list.activate(12, brush);
    list.render(15);  // the first entry ends; the second draws at local 3
    EXPECT_EQ(destroyed(), 0);
    EXPECT_EQ(records(), (std::vector<Record>{{"twice", 3}}));
    list.render(17);
    EXPECT_EQ(destroyed(), 1);
    EXPECT_TRUE(list.layer(1).empty());
}

TEST_F(LayerListTest, ClearDestroysEveryBrushOnce)
{
    RecordingBrush* kept = new RecordingBrush("kept");
    kept->deleteWhenFinished = false;
    RecordingBrush* twice = new RecordingBrush("twice", 4);
    list.activate(0, kept);
    list.activate(0, twice);
    list.activate(1, twice);
    list.activate(0, new RecordingBrush("other", 5));
    list.clear();
    EXPECT_EQ(destroyed(), 3);
    for (int i = 0; i < LayerList::kLayerCount; ++i)
        EXPECT_TRUE(list.layer(i).empty());
    list.render(1);
    EXPECT_TRUE(records().empty());

    // A layer number outside 0..7 is refused rather than written out of range.
    RecordingBrush outside("outside", 8);
    list.activate(0, &outside);
    EXPECT_FALSE(list.holds(&outside));
}
