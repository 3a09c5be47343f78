// The renderer's clocks on Windows: kernel32 for the seed, winmm for animation time
// (loaded from the system folder, see SystemLibraries.h).
#pragma once

#include "Clock.h"

namespace mosaika::gdi8 {

class WinClock final : public Clock {
public:
    std::optional<std::int64_t> PerformanceCounter() override;
    std::uint32_t TickCount() override;
    std::uint32_t TimeGetTime() override;
};

}  // namespace mosaika::gdi8
