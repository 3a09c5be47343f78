// The renderer's flow from start to the frame loop, run on the headless window.
#include "FrameLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlessWindow.h"
#include "LatticeTesting.h"

namespace mosaika {
namespace {

// A clock whose millisecond reading moves through a list, one entry per frame; the last then stays.
struct SteppingClock final : Clock {
    std::vector<std::uint32_t> milliseconds;
    std::size_t next = 0;
    std::optional<std::int64_t> PerformanceCounter() override { return 0x1234ABCD5678; }
    std::uint32_t TickCount() override { return 0; }
    std::uint32_t TimeGetTime() override { return milliseconds[std::min(next++, milliseconds.size() - 1)]; }
};

TEST(RunRenderer, OpensTheWindowLoadsTheColoursThenShowsTheSliceOfTheClockEveryFrame) {
    // Frames at t = 6.0006, 6.6, 7.2006 (a shift), 7.5 and the same time again.
    SteppingClock clock;
    clock.milliseconds = {10001u, 11000u, 12001u, 12500u, 12500u};
    auto program = std::make_unique<RendererProgram>();
    program->scene.NextShiftTime = 6.5;  // left over: without the reset the first frame would not shift
    HeadlessWindow window(5);
    EXPECT_EQ(RunRenderer(*program, window, clock), 0);
    EXPECT_EQ(window.Calls(), (std::vector<std::string>{"create", "colours", "present", "present", "present",
                                                        "present", "present"}));
    EXPECT_EQ(window.Name(), "Mosaika_Kanvas");
    FrameHeader header = MakeFrameHeader(320, 200);
    SetColourTable(header, BuildPaletteTable());
    EXPECT_EQ(window.Header().bytes, header.bytes);

    Scene expected = SeededScene(0xABCD5678u);
    const struct {
        bool shifts;
        int zs;
    } frames[] = {{true, 1024}, {false, 1638}, {true, 1229}, {false, 1536}, {false, 1536}};
    ASSERT_EQ(window.Frames().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        if (frames[i].shifts) ShiftLayers(expected);
        EXPECT_TRUE(SameFrame(window.Frames()[i], ReferenceFrame(expected.lattice, frames[i].zs, 320, 200), 320)) << i;
    }
    EXPECT_EQ(program->scene.NextShiftTime, 8.0);
    EXPECT_EQ(program->scene.random.State(), expected.random.State());

    HeadlessWindow failing(3);  // a window that cannot be created ends the program without frames
    failing.failCreate = true;
    EXPECT_EQ(RunRenderer(*program, failing, clock), 0);
    EXPECT_EQ(failing.Calls(), std::vector<std::string>{"create"});
}

}  // namespace
}  // namespace mosaika
