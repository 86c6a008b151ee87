#pragma once
#include <string>
#include <vector>

#include "timeline/brush.h"
#include "timeline/timeline.h"

// What the recording events and brushes saw, in order: a name and a time.
struct Record {
    std::string name;
    float time;
    bool operator==(const Record& o) const { return name == o.name && time == o.time; }
};

inline std::vector<Record>& records()
{
    static std::vector<Record> all;
    return all;
}

inline int& destroyed()
{
    static int count = 0;
    return count;
}

// Records the frame time it fired with.
class RecordingEvent : public hlv::TimeLineEvent {
public:
    RecordingEvent(float time, std::string name_) : TimeLineEvent(time), name(std::move(name_)) {}
    ~RecordingEvent() override { ++destroyed(); }
    void execute(float t) override { records().push_back({name, t}); }
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
    ~RecordingBrush() override { ++destroyed(); }
    void render(float localTime) override { records().push_back({name, localTime}); }
    std::string name;
};
