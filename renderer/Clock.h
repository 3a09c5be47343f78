// The three clock readings the renderer needs, behind one seam so tests can
// fix the random seed and the animation time. The Windows side answers them
// from kernel32 and winmm; tests answer them from plain fields.
#pragma once

#include <cstdint>
#include <optional>

namespace mosaika {

class Clock {
public:
    virtual ~Clock() = default;
    // QueryPerformanceCounter: the counter value, or nothing when the call fails.
    virtual std::optional<std::int64_t> PerformanceCounter() = 0;
    // GetTickCount: milliseconds since system start, 32 bits.
    virtual std::uint32_t TickCount() = 0;
    // timeGetTime: milliseconds since system start, 32 bits; wraps after ~49.7 days.
    virtual std::uint32_t TimeGetTime() = 0;
};

// A clock whose readings are whatever the test sets.
struct FixedClock final : Clock {
    std::optional<std::int64_t> counter = 0;
    std::uint32_t tickCount = 0;
    std::uint32_t milliseconds = 0;

    std::optional<std::int64_t> PerformanceCounter() override { return counter; }
    std::uint32_t TickCount() override { return tickCount; }
    std::uint32_t TimeGetTime() override { return milliseconds; }
};

}  // namespace mosaika
