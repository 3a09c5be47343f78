// The renderer program モザイカ図.dll seen from outside, as the screen saver
// and a user see it: its window, its pixels, its reaction to input and to a
// close request, the system's screen-saver flag, and its exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "Palette.h"
#include "SystemTest.h"

namespace {

using systest::Process;

using systest::kWindowTimeoutMs;
constexpr const wchar_t* kKanvas = systest::kRendererWindowTitle;

class RendererTest : public ::testing::Test {
protected:
    // Starts the renderer and waits for its window, reporting how long that took.
    HWND StartRenderer(const std::wstring& arguments = L"") {
        renderer_ = Process::Start(systest::RendererPath(), arguments);
        EXPECT_TRUE(renderer_.Started()) << "CreateProcess failed: " << GetLastError();
        HWND window = systest::WaitForWindow(kKanvas, kKanvas, kWindowTimeoutMs);
        std::printf("renderer window found %lu ms after process start\n", renderer_.Age());
        return window;
    }

    void ExpectEndsWithZero(DWORD timeoutMs = 5000) {
        DWORD exitCode = 1234;
        ASSERT_TRUE(renderer_.WaitForExit(timeoutMs, &exitCode)) << "the renderer did not end";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(FindWindowW(nullptr, kKanvas), nullptr);
    }

    void Close(HWND window) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    }

    Process renderer_;
};

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

TEST_F(RendererTest, OpensOnePopupTitledAndRegisteredMosaikaKanvasOverTheScreen) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr) << "no window titled Mosaika_Kanvas";

    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, kKanvas);
    EXPECT_TRUE(IsWindowVisible(window));
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & static_cast<LONG>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              static_cast<LONG>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(style & WS_CAPTION, 0);

    // Like a maximized window plus one caption height, from the top-left corner.
    const RECT rect = WindowRect(window);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXMAXIMIZED));
    EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION));

    Close(window);
    ExpectEndsWithZero();
}

TEST_F(RendererTest, ShowsAMovingCellPatternInThePalettesColoursOnly) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);

    std::set<std::uint32_t> palette;
    for (const mosaika::PaletteEntry& entry : mosaika::BuildPaletteTable()) {
        palette.insert(std::uint32_t{entry.red} << 16 | std::uint32_t{entry.green} << 8 | entry.blue);
    }

    systest::SleepMs(500);
    const systest::Screenshot first = systest::CaptureScreen();
    systest::SleepMs(1200);
    const systest::Screenshot later = systest::CaptureScreen();
    std::printf("screenshots: %s %s\n", systest::SaveScreenshot(first, "renderer-first").c_str(),
                systest::SaveScreenshot(later, "renderer-later").c_str());

    std::set<std::uint32_t> seen;
    std::size_t foreign = 0;
    for (const std::uint32_t pixel : first.pixels) {
        seen.insert(pixel);
        if (!palette.count(pixel)) ++foreign;
    }
    EXPECT_EQ(foreign, 0u) << "pixels outside the palette";
    // A cell pattern shows pale borders, the yellow band and dark interiors.
    EXPECT_GT(seen.size(), 100u);
    EXPECT_TRUE(seen.count(0xFFFFBF) || seen.count(0xFEFECB) || seen.count(0xFDFDCD)) << "no cell border";
    EXPECT_NE(first.pixels, later.pixels) << "the pattern does not move";

    Close(window);
    ExpectEndsWithZero();
}

TEST_F(RendererTest, SwitchesTheSystemScreenSaverOffWhileRunningAndOnAtClose) {
    for (const bool before : {true, false}) {
        SCOPED_TRACE(before ? "on before" : "off before");
        systest::SetScreenSaverActive(before);
        HWND window = StartRenderer();
        ASSERT_NE(window, nullptr);
        systest::SleepMs(200);
        EXPECT_FALSE(systest::ScreenSaverActive());
        Close(window);
        ExpectEndsWithZero();
        EXPECT_TRUE(systest::ScreenSaverActive());
    }
}

TEST_F(RendererTest, EscapeKeyEndsItWithExitCodeZero) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);
    systest::SleepMs(300);
    systest::PressKey(VK_ESCAPE);
    ExpectEndsWithZero();
}

TEST_F(RendererTest, CloseRequestFromAnotherProcessEndsItWithExitCodeZero) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);
    systest::SleepMs(300);
    Close(window);
    ExpectEndsWithZero();
}

TEST_F(RendererTest, OtherKeysMouseMovesAndClicksLeaveItRunning) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);
    systest::SleepMs(300);
    for (const WORD key : {WORD{'A'}, WORD{VK_SPACE}, WORD{VK_RETURN}, WORD{VK_F1}}) systest::PressKey(key);
    systest::MoveMouseTo(100, 100);
    systest::MoveMouseTo(500, 400);
    systest::ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    systest::ClickMouse(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    systest::SleepMs(700);
    EXPECT_TRUE(renderer_.Running());
    EXPECT_EQ(FindWindowW(kKanvas, kKanvas), window);
    Close(window);
    ExpectEndsWithZero();
}

TEST_F(RendererTest, ZoomCommandsGiveCentredMultiplesOfTheFrameWindowSize) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);

    // An overlapped window whose client area is exactly the 320 x 200 frame.
    RECT unit{0, 0, 320, 200};
    AdjustWindowRect(&unit, WS_OVERLAPPEDWINDOW, FALSE);
    const int unitWidth = unit.right - unit.left;
    const int unitHeight = unit.bottom - unit.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);

    for (const int n : {2, 4, 1}) {
        SCOPED_TRACE(n);
        PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(0x400 + n), 0);
        systest::SleepMs(300);
        const RECT rect = WindowRect(window);
        const int width = n * unitWidth;
        const int height = n * unitHeight;
        EXPECT_EQ(rect.right - rect.left, width);
        EXPECT_EQ(rect.bottom - rect.top, height);
        // Halved rounding down: a window larger than the screen sticks out equally.
        EXPECT_EQ(rect.left, (screenWidth - width) >> 1);
        EXPECT_EQ(rect.top, (screenHeight - height) >> 1);
        if (width > screenWidth) {
            EXPECT_LT(rect.left, 0);
        }
    }
    EXPECT_TRUE(renderer_.Running());
    Close(window);
    ExpectEndsWithZero();
}

TEST_F(RendererTest, CommandLineArgumentsChangeNothing) {
    for (const wchar_t* arguments : {L"/s", L"/p 1234", L"-c extra words"}) {
        SCOPED_TRACE(testing::Message() << "arguments");
        HWND window = StartRenderer(arguments);
        ASSERT_NE(window, nullptr);
        const RECT rect = WindowRect(window);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXMAXIMIZED));
        Close(window);
        ExpectEndsWithZero();
    }
}

}  // namespace
