#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "timeline/brush.h"
#include "timeline/clear_show.h"
#include "timeline/layer_list.h"
#include "timeline/timeline.h"

// What the recording events and brushes saw, in order: a name and a time.
struct Record {
    std::string name;
    float time;
    bool operator==(const Record& o) const { return name == o.name && time == o.time; }
};
using Records = std::vector<Record>;

inline Records g_records;
inline int g_destroyed = 0;

// Records the frame time it fired with.
class RecordingEvent : public hlv::TimeLineEvent {
public:
    RecordingEvent(float time, std::string name_) : TimeLineEvent(time), name(std::move(name_)) {}
    ~RecordingEvent() override { ++g_destroyed; }
    void execute(float t) override { g_records.push_back({name, t}); }
    std::string name;
};

// Records the local time of every draw.
class RecordingBrush : public hlv::Brush {
public:
    RecordingBrush(std::string name_, int layer_ = 0, float duration_ = 0) : name(std::move(name_))
    {
        layer = layer_;
        duration = duration_;
    }
    ~RecordingBrush() override { ++g_destroyed; }
    void render(float localTime) override { g_records.push_back({name, localTime}); }
    std::string name;
};

// Starts every test with an empty timeline, layer list and record.
class TimelineFixture : public testing::Test {
protected:
    void SetUp() override
    {
        timeline.clear();
        timeline.baseTime = 0;
        list.clear();
        g_records.clear();
        g_destroyed = 0;
    }
    // Brushes a test leaves on the layers or waiting on an activation.
    void TearDown() override { hlv::clearShow(); }
    hlv::TimeLine& timeline = hlv::TimeLine::instance();
    hlv::LayerList& list = hlv::LayerList::instance();
};
