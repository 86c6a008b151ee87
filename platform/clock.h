#pragma once
#include <cstdint>

namespace platform {

// Milliseconds on a 32-bit counter that wraps like the Windows multimedia timer.
uint32_t timeGetTime();

// Seconds from `start` to `now` on that counter, across one wrap.
inline float elapsedSeconds(uint32_t start, uint32_t now)
{
    uint32_t ms = now >= start ? now - start : 0xFFFFFFFFu - start + now;
    return static_cast<float>(ms) * 0.001f;
}

} // namespace platform
