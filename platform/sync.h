#pragma once
#include <cstdint>

namespace platform {

// A manual-reset event: once set it stays set until destroyed.
struct Event;
Event* createEvent();
void setEvent(Event* event);
// True when the event was set within `milliseconds`.
bool waitEvent(Event* event, uint32_t milliseconds);
void destroyEvent(Event* event);

struct Thread;
Thread* startThread(void (*entry)(void*), void* argument);
// Waits for the thread to end and frees it.
void joinThread(Thread* thread);

} // namespace platform
