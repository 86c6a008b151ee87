#pragma once
#include <cstddef>
#include <map>
#include <vector>

namespace hlv {

// A timed action of the show. Constructing an event files it into the
// timeline, which owns it from then on and destroys it after it fired.
class TimeLineEvent {
public:
    // `time` is relative to the timeline's base time.
    explicit TimeLineEvent(float time);
    virtual ~TimeLineEvent() = default;
    // Runs the event; `t` is the current show time, not the event's own.
    virtual void execute(float t) = 0;

    float time;  // absolute show time once inserted
};

// The show's one timeline: events in time order, equal times in creation order.
class TimeLine {
public:
    static TimeLine& instance();
    ~TimeLine();

    void insert(TimeLineEvent* event);  // adds the base time; the cursor stays
    void rewind();                      // cursor to the earliest event
    void advance(float t);              // fires every event with time <= t
    void clear();                       // destroys every event, then rewinds
    size_t count() const { return count_; }
    std::vector<TimeLineEvent*> pending() const;  // every event not fired yet, in firing order

    float baseTime = 0.0f;  // written by the show script, section by section

private:
    std::multimap<float, TimeLineEvent*> events_;
    std::multimap<float, TimeLineEvent*>::iterator cursor_ = events_.end();
    size_t count_ = 0;
};

} // namespace hlv
