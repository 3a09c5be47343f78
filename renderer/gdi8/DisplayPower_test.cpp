// The renderer while the display is off, on the real window under Wine: the
// display state arrives as the system sends it (WM_POWERBROADCAST with a
// GUID_CONSOLE_DISPLAY_STATE setting), here from another thread of the test.
// The frame loop is the program's own: RenderFrame, then PresentFrame.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <utility>

#include "FrameLoop.h"
#include "Gdi8Window.h"
#include "SystemTest.h"
#include "WinClock.h"

namespace {

enum DisplayState : DWORD { kOff, kOn, kDimmed };
constexpr const wchar_t* kChildVariable = L"MOSAIKA_DISPLAY_OFF_CHILD";

// Sends the notification as the system does; returns once the window has handled it.
void SendDisplayState(HWND window, DisplayState state) {
    alignas(POWERBROADCAST_SETTING) std::uint8_t bytes[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes);
    setting->PowerSetting = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    setting->DataLength = sizeof(DWORD);
    std::memcpy(setting->Data, &state, sizeof(DWORD));
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
}

// The renderer's own loop on its window, counting frames until told to stop.
struct Renderer {
    mosaika::gdi8::Gdi8Window window;
    mosaika::gdi8::WinClock clock;
    std::unique_ptr<mosaika::RendererProgram> program = std::make_unique<mosaika::RendererProgram>();
    std::atomic<long> frames{0};
    HWND hwnd = nullptr;

    bool Create() {
        mosaika::BuildLattice(program->scene, clock);
        return window.CreateRendererWindow(mosaika::kRendererWindowName, mosaika::kFrameWidth, mosaika::kFrameHeight) &&
               window.LoadColourTable(mosaika::BuildPaletteTable()) &&
               (hwnd = FindWindowA(mosaika::kRendererWindowName, mosaika::kRendererWindowName)) != nullptr;
    }
    void Run(const std::atomic<bool>& stop) {
        for (std::uint8_t* frame = program->frameBuffer.data(); !stop; ++frames) {
            mosaika::RenderFrame(program->scene, clock, frame, mosaika::kFrameWidth, mosaika::kFrameHeight);
            window.PresentFrame(frame);
        }
    }
};

// Processor time of this process in milliseconds, user and kernel together.
double CpuMs() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto ms = [](FILETIME t) { return static_cast<double>(t.dwLowDateTime + (1ull << 32) * t.dwHighDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

TEST(DisplayPowerTest, NoFrameAndLittleProcessorWhileTheDisplayIsOffFramesAgainWhenItIsOnOrDimmed) {
    Renderer renderer;
    ASSERT_TRUE(renderer.Create());
    std::atomic<bool> stop{false};
    struct Sample {
        long frames;
        double cpuPercent;
    } on{}, off{}, dimmed{}, onAgain{};
    const auto measure = [&renderer] {  // over the next two seconds
        const long frames = renderer.frames;
        const double cpu = CpuMs();
        Sleep(2000);
        return Sample{renderer.frames - frames, (CpuMs() - cpu) / 20.0};
    };
    std::thread display([&] {
        on = measure();
        SendDisplayState(renderer.hwnd, kOff);
        SendDisplayState(renderer.hwnd, kOff);  // the same state again changes nothing
        off = measure();
        SendDisplayState(renderer.hwnd, kDimmed);
        dimmed = measure();
        SendDisplayState(renderer.hwnd, kOn);
        onAgain = measure();
        stop = true;
    });
    renderer.Run(stop);
    display.join();
    std::printf("monitors: %d; display on: %.0f frames/s, CPU %.1f %% of one core; off: %ld frames, CPU %.1f %%\n",
                GetSystemMetrics(SM_CMONITORS), on.frames / 2.0, on.cpuPercent, off.frames, off.cpuPercent);
    EXPECT_GT(on.frames, 20);
    EXPECT_EQ(off.frames, 0);
    EXPECT_LT(off.cpuPercent, 10.0);
    EXPECT_GT(dimmed.frames, 20) << "dimmed counts as visible";
    EXPECT_GT(onAgain.frames, 20);
}

// The child of the next case: the display reported off before the loop's
// first frame (sent from this thread, the window handles it at once), so the
// loop draws that frame and pauses; only a close can end it (with ExitProcess).
TEST(DisplayPowerTest, ChildRendererWithTheDisplayOff) {
    if (!GetEnvironmentVariableW(kChildVariable, nullptr, 0)) GTEST_SKIP() << "runs as the child of the next case";
    Renderer renderer;
    ASSERT_TRUE(renderer.Create());
    SendDisplayState(renderer.hwnd, kOff);
    renderer.Run(std::atomic<bool>{false});
}

TEST(DisplayPowerTest, WhileTheDisplayIsOffEscOrCloseStillEndItWithExitCodeZero) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const wchar_t* kanvas = systest::kRendererWindowTitle;
    for (const auto& [message, wParam] : {std::pair<UINT, WPARAM>{WM_KEYDOWN, VK_ESCAPE}, {WM_CLOSE, 0}}) {
        SCOPED_TRACE(message == WM_CLOSE ? "WM_CLOSE" : "Esc");
        SetEnvironmentVariableW(kChildVariable, L"1");
        const systest::Process child =
            systest::Process::Start(self, L"--gtest_filter=DisplayPowerTest.ChildRendererWithTheDisplayOff");
        SetEnvironmentVariableW(kChildVariable, nullptr);
        HWND window = systest::WaitForWindow(kanvas, kanvas);
        ASSERT_NE(window, nullptr);
        // The pause began: its one frame stays on the screen, unchanged for
        // a second and a half (a drawing loop changes it with every frame),
        // and the window is still there for the screen saver looking for it.
        systest::Screenshot still;
        DWORD stillSince = GetTickCount();
        EXPECT_TRUE(systest::WaitUntil([&] {
            systest::Screenshot now = systest::CaptureScreen();
            if (now.pixels != still.pixels) still = std::move(now), stillSince = GetTickCount();
            return GetTickCount() - stillSince >= 1500;
        }, systest::kWindowTimeoutMs, 50)) << "the renderer kept drawing while the display was off";
        EXPECT_EQ(FindWindowW(kanvas, kanvas), window);
        PostMessageW(window, message, wParam, 0);
        ASSERT_EQ(child.ExitCode(2000), 0u) << "259: it did not end";
    }
}

}  // namespace
