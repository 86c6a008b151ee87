#include "platform/sync.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {

struct Event {
    std::mutex mutex;
    std::condition_variable changed;
    bool set = false;
};

Event* createEvent()
{
    return new Event;
}

void setEvent(Event* event)
{
    {
        std::lock_guard<std::mutex> lock(event->mutex);
        event->set = true;
    }
    event->changed.notify_all();
}

bool waitEvent(Event* event, uint32_t milliseconds)
{
    std::unique_lock<std::mutex> lock(event->mutex);
    return event->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [event] { return event->set; });
}

void destroyEvent(Event* event)
{
    delete event;
}

struct Thread {
    std::thread thread;
};

Thread* startThread(void (*entry)(void*), void* argument)
{
    auto* thread = new Thread;
    thread->thread = std::thread(entry, argument);
    return thread;
}

void joinThread(Thread* thread)
{
    if (!thread)
        return;
    if (thread->thread.joinable())
        thread->thread.join();
    delete thread;
}

} // namespace platform
