#include "timeline/timeline.h"

namespace hlv {

TimeLineEvent::TimeLineEvent(float time_) : time(time_) { TimeLine::instance().insert(this); }

TimeLine& TimeLine::instance()
{
    static TimeLine timeline;
    return timeline;
}

TimeLine::~TimeLine() { clear(); }

void TimeLine::insert(TimeLineEvent* event)
{
    event->time += baseTime;
    // A multimap puts a new key after the equal ones, so equal times fire in
    // creation order.
    events_.insert({event->time, event});
    ++count_;
}

void TimeLine::rewind() { cursor_ = events_.begin(); }

void TimeLine::advance(float t)
{
    while (cursor_ != events_.end() && cursor_->first <= t) {
        TimeLineEvent* event = cursor_->second;
        event->execute(t);
        delete event;
        cursor_ = events_.erase(cursor_);
        --count_;
    }
}

std::vector<TimeLineEvent*> TimeLine::pending() const
{
    std::vector<TimeLineEvent*> events;
    events.reserve(events_.size());
    for (const auto& entry : events_)
        events.push_back(entry.second);
    return events;
}

void TimeLine::clear()
{
    for (auto& entry : events_)
        delete entry.second;
    events_.clear();
    count_ = 0;
    rewind();
}

} // namespace hlv
