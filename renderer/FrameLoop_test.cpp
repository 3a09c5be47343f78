// The renderer's flow from start to the frame loop, run on the headless window.
#include "FrameLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HeadlessWindow.h"
#include "ReferenceRenderer.h"

namespace mosaika {
namespace {

// A clock whose millisecond reading moves through a list, one entry per frame
// (the frame loop reads it once per frame); the last entry then stays.
struct SteppingClock final : Clock {
    std::int64_t counter = 0;
    std::vector<std::uint32_t> milliseconds;
    std::size_t next = 0;

    std::optional<std::int64_t> PerformanceCounter() override { return counter; }
    std::uint32_t TickCount() override { return 0; }
    std::uint32_t TimeGetTime() override {
        const std::uint32_t now = milliseconds[std::min(next, milliseconds.size() - 1)];
        ++next;
        return now;
    }
};

// The headless window, also keeping the header as it was when the first frame was shown.
class WatchedWindow final : public RendererWindow {
public:
    explicit WatchedWindow(int frameLimit) : inner(frameLimit) {}

    bool CreateRendererWindow(const char* name, int width, int height) override {
        return inner.CreateRendererWindow(name, width, height);
    }
    bool LoadColourTable(const PaletteTable& entries) override { return inner.LoadColourTable(entries); }
    bool PresentFrame(const std::uint8_t* frame) override {
        if (!headerAtFirstFrame) headerAtFirstFrame = inner.Header();
        return inner.PresentFrame(frame);
    }
    void DestroyRendererWindow() override { inner.DestroyRendererWindow(); }

    HeadlessWindow inner;
    std::optional<FrameHeader> headerAtFirstFrame;
};

TEST(RunRenderer, OpensTheWindowThenLoadsColoursThenPresentsFrames) {
    auto program = std::make_unique<RendererProgram>();
    WatchedWindow window(3);
    FixedClock clock;
    EXPECT_EQ(RunRenderer(*program, window, clock), 0);

    EXPECT_EQ(window.inner.Calls(), (std::vector<std::string>{"create", "colours", "present", "present", "present"}));
    EXPECT_EQ(window.inner.Name(), "Mosaika_Kanvas");
    ASSERT_EQ(window.inner.Frames().size(), 3u);
    EXPECT_EQ(window.inner.Frames()[0].size(), 320u * 200u);

    // The first frame already shows in the palette's colours.
    FrameHeader expected = MakeFrameHeader(320, 200);
    SetColourTable(expected, BuildPaletteTable());
    ASSERT_TRUE(window.headerAtFirstFrame.has_value());
    EXPECT_EQ(window.headerAtFirstFrame->bytes, expected.bytes);
}

TEST(RunRenderer, EndsWithoutFramesWhenTheWindowCannotBeCreated) {
    auto program = std::make_unique<RendererProgram>();
    HeadlessWindow window(3);
    window.failCreate = true;
    FixedClock clock;
    EXPECT_EQ(RunRenderer(*program, window, clock), 0);
    EXPECT_EQ(window.Calls(), std::vector<std::string>{"create"});
    EXPECT_TRUE(window.Frames().empty());
}

TEST(RunRenderer, ShowsTheSliceOfTheClockEveryFrame) {
    // Frames at t = 6.0006, 6.6, 7.2006 (a shift), 7.5 and the same time again.
    SteppingClock clock;
    clock.counter = 0x1234ABCD5678;
    clock.milliseconds = {10001u, 11000u, 12001u, 12500u, 12500u};
    auto program = std::make_unique<RendererProgram>();
    program->scene.NextShiftTime = 6.5;  // left over: without the reset the first frame would not shift
    HeadlessWindow window(5);
    EXPECT_EQ(RunRenderer(*program, window, clock), 0);
    ASSERT_EQ(window.Frames().size(), 5u);

    auto expected = std::make_unique<Scene>();
    FixedClock seedClock;
    seedClock.counter = 0xABCD5678;
    BuildLattice(*expected, seedClock);
    const struct {
        bool shifts;
        int zs;
    } frames[] = {{true, 1024}, {false, 1638}, {true, 1229}, {false, 1536}, {false, 1536}};
    std::vector<std::uint8_t> frame(320 * 200);
    for (std::size_t i = 0; i < 5; ++i) {
        if (frames[i].shifts) ShiftLayers(*expected);
        ReferenceShadeSlice(expected->lattice, frames[i].zs, frame.data(), 320, 200);
        EXPECT_TRUE(window.Frames()[i] == frame) << "frame " << i;
    }
    EXPECT_EQ(program->scene.NextShiftTime, 8.0);
    EXPECT_EQ(program->scene.random.State(), expected->random.State());
}

}  // namespace
}  // namespace mosaika
