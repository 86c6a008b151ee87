#include "platform/clock.h"

#include <time.h>

namespace platform {

uint32_t timeGetTime()
{
    // Monotonic milliseconds cut to 32 bits: the counter wraps every ~49.7
    // days exactly as the multimedia timer does, and callers handle that.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

} // namespace platform
