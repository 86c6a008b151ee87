#include <gtest/gtest.h>

#include "platform/sync.h"

namespace {

void setFromThread(void* event)
{
    platform::setEvent(static_cast<platform::Event*>(event));
}

} // namespace

TEST(Sync, EventStaysSetAndTimesOutWhenNeverSet)
{
    platform::Event* never = platform::createEvent();
    EXPECT_FALSE(platform::waitEvent(never, 20));
    platform::destroyEvent(never);

    platform::Event* event = platform::createEvent();
    platform::Thread* thread = platform::startThread(setFromThread, event);
    EXPECT_TRUE(platform::waitEvent(event, 10000));
    platform::joinThread(thread);
    EXPECT_TRUE(platform::waitEvent(event, 0));  // manual reset: still set
    platform::destroyEvent(event);
}
