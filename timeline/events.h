#pragma once
#include "timeline/timeline.h"

namespace hlv {

class Brush;

// Puts a brush on the layer list, with this event's time as its start time.
class EvtActivateBrush : public TimeLineEvent {
public:
    EvtActivateBrush(float time, Brush* brush);
    void execute(float t) override;

    Brush* brush;  // not owned
};

// Stores a fixed value into a target when it fires.
template <typename T>
class EvtChangeValue : public TimeLineEvent {
public:
    EvtChangeValue(float time, T* target_, const T& value_) : TimeLineEvent(time), target(target_), value(value_) {}
    void execute(float) override { *target = value; }

    T* target;
    T value;
};

} // namespace hlv
