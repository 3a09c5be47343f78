#include "WinClock.h"

#include "SystemLibraries.h"

namespace mosaika::gdi8 {

std::optional<std::int64_t> WinClock::PerformanceCounter() {
    LARGE_INTEGER counter;
    if (!QueryPerformanceCounter(&counter)) return std::nullopt;
    return counter.QuadPart;
}

std::uint32_t WinClock::TickCount() { return GetTickCount(); }

std::uint32_t WinClock::TimeGetTime() { return timeGetTime(); }

}  // namespace mosaika::gdi8
