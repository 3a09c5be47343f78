// The renderer program モザイカ図.dll seen from outside, as the screen saver
// and a user see it: its window, its pixels, its reaction to input and to a
// close request, the system's screen-saver flag, and its exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Palette.h"
#include "SystemTest.h"

namespace {

using systest::Process;

using systest::kWindowTimeoutMs;
constexpr const wchar_t* kKanvas = systest::kRendererWindowTitle;
// The class of the renderer's windows on the monitors beside the primary one.
constexpr const wchar_t* kMonitorClass = L"Mosaika_Kanvas_Monitor";

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
        EXPECT_EQ(FindWindowW(kMonitorClass, nullptr), nullptr) << "a monitor window is left";
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

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// Waits until the window has reached this rectangle; false when it did not in time.
bool WaitForRect(HWND window, const RECT& expected) {
    return systest::WaitUntil([&] { return SameRect(WindowRect(window), expected); }, 3000);
}

// Keys go to the foreground window: the renderer's once it has been shown and activated.
bool WaitForForeground(HWND window) {
    return systest::WaitUntil([window] { return GetForegroundWindow() == window; }, 3000);
}

std::set<std::uint32_t> PaletteColours() {
    std::set<std::uint32_t> palette;
    for (const mosaika::PaletteEntry& entry : mosaika::BuildPaletteTable()) {
        palette.insert(std::uint32_t{entry.red} << 16 | std::uint32_t{entry.green} << 8 | entry.blue);
    }
    return palette;
}

std::size_t ForeignPixels(const systest::Screenshot& shot, const std::set<std::uint32_t>& palette) {
    std::size_t foreign = 0;
    for (const std::uint32_t pixel : shot.pixels) foreign += palette.count(pixel) ? 0 : 1;
    return foreign;
}

// The area shows a cell pattern in the palette's colours only, and it moves.
void ExpectMovingCellPattern(const RECT& area, const std::string& name) {
    const std::set<std::uint32_t> palette = PaletteColours();
    systest::Screenshot first;
    EXPECT_TRUE(systest::WaitUntil([&] {
        first = systest::CaptureArea(area);
        return ForeignPixels(first, palette) == 0;
    }, 5000, 100)) << ForeignPixels(first, palette) << " pixels outside the palette";
    systest::SleepMs(1200);
    const systest::Screenshot later = systest::CaptureArea(area);
    std::printf("screenshots: %s %s\n", systest::SaveScreenshot(first, name + "-first").c_str(),
                systest::SaveScreenshot(later, name + "-later").c_str());

    const std::set<std::uint32_t> seen(first.pixels.begin(), first.pixels.end());
    // A cell pattern shows pale borders, the yellow band and dark interiors.
    EXPECT_GT(seen.size(), 100u);
    EXPECT_TRUE(seen.count(0xFFFFBF) || seen.count(0xFEFECB) || seen.count(0xFDFDCD)) << "no cell border";
    EXPECT_NE(first.pixels, later.pixels) << "the pattern does not move";
}

TEST_F(RendererTest, OpensOnePopupTitledAndRegisteredMosaikaKanvasOverTheScreen) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr) << "no window titled Mosaika_Kanvas";

    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, kKanvas);
    // Found by title as soon as it exists: shown and placed a moment later.
    EXPECT_TRUE(systest::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 3000));
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & static_cast<LONG>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
              static_cast<LONG>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(style & WS_CAPTION, 0);

    // Like a maximized window plus one caption height, from the top-left corner.
    EXPECT_TRUE(WaitForRect(window, {0, 0, GetSystemMetrics(SM_CXMAXIMIZED),
                                     GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION)}));

    Close(window);
    ExpectEndsWithZero();
}

TEST_F(RendererTest, ShowsAMovingCellPatternInThePalettesColoursOnly) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);
    ExpectMovingCellPattern({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, "renderer");
    Close(window);
    ExpectEndsWithZero();
}

TEST_F(RendererTest, SwitchesTheSystemScreenSaverOffWhileRunningAndOnAtClose) {
    for (const bool before : {true, false}) {
        SCOPED_TRACE(before ? "on before" : "off before");
        systest::SetScreenSaverActive(before);
        HWND window = StartRenderer();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(systest::WaitUntil([] { return !systest::ScreenSaverActive(); }, 3000, 50));
        Close(window);
        ExpectEndsWithZero();
        EXPECT_TRUE(systest::ScreenSaverActive());
    }
}

TEST_F(RendererTest, EscapeKeyEndsItWithExitCodeZero) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(WaitForForeground(window));
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
    EXPECT_TRUE(WaitForForeground(window));
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
        const int width = n * unitWidth;
        const int height = n * unitHeight;
        // Halved rounding down: a window larger than the screen sticks out equally.
        const int left = (screenWidth - width) >> 1;
        const int top = (screenHeight - height) >> 1;
        EXPECT_TRUE(WaitForRect(window, {left, top, left + width, top + height}));
        if (width > screenWidth) {
            EXPECT_LT(left, 0);
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
        EXPECT_TRUE(WaitForRect(window, {0, 0, GetSystemMetrics(SM_CXMAXIMIZED),
                                         GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION)}));
        Close(window);
        ExpectEndsWithZero();
    }
}

// The monitors beside the primary one, as the system reports them.
std::vector<RECT> SecondaryMonitors() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(monitor, &info);
        if (!(info.dwFlags & MONITORINFOF_PRIMARY)) reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

int WindowsTitled(const wchar_t* title) {
    std::pair<const wchar_t*, int> search{title, 0};
    EnumWindows([](HWND window, LPARAM data) -> BOOL {
        auto* found = reinterpret_cast<std::pair<const wchar_t*, int>*>(data);
        wchar_t text[64] = {};
        GetWindowTextW(window, text, 64);
        if (std::wcscmp(text, found->first) == 0) ++found->second;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Run in the two-monitor world (MOSAIKA_MONITORS=2, see CMakeLists.txt); skipped with one monitor.
class RendererOnTwoMonitorsTest : public RendererTest {
protected:
    void SetUp() override {
        std::printf("the system reports %d monitors\n", GetSystemMetrics(SM_CMONITORS));
        if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor";
        ASSERT_EQ(SecondaryMonitors().size(), 1u);
        second_ = SecondaryMonitors().front();
    }

    // The renderer's window on the second monitor, once it covers that monitor.
    HWND WaitForMonitorWindow() {
        HWND monitorWindow = systest::WaitForWindow(kMonitorClass, nullptr, kWindowTimeoutMs);
        EXPECT_TRUE(monitorWindow && WaitForRect(monitorWindow, second_)) << "the second monitor is not covered";
        return monitorWindow;
    }

    RECT second_{};
};

TEST_F(RendererOnTwoMonitorsTest, ShowsThePatternOnTheSecondMonitorAndAClickThereLeavesTheKeyboardAlone) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);
    HWND monitorWindow = WaitForMonitorWindow();
    ASSERT_NE(monitorWindow, nullptr);
    EXPECT_TRUE(GetWindowLongW(monitorWindow, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    EXPECT_EQ(WindowsTitled(kKanvas), 1) << "the screen saver program must find one window";
    ExpectMovingCellPattern(second_, "renderer-second-monitor");

    // A click in the middle of the second monitor (absolute over the virtual desktop).
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv((second_.left + second_.right) / 2 - left, 65535, width - 1);
    move.mi.dy = MulDiv((second_.top + second_.bottom) / 2 - top, 65535, height - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    SendInput(1, &move, sizeof move);
    systest::ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    systest::SleepMs(500);
    EXPECT_TRUE(renderer_.Running());
    EXPECT_EQ(GetForegroundWindow(), window) << "the click took the activation";
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    EXPECT_TRUE(GetCursorInfo(&cursor) && !(cursor.flags & CURSOR_SHOWING)) << "the pointer shows on the second monitor";
    systest::PressKey(VK_ESCAPE);
    ExpectEndsWithZero();
}

TEST_F(RendererOnTwoMonitorsTest, CloseRequestToTheSecondMonitorsWindowEndsItWithExitCodeZero) {
    ASSERT_NE(StartRenderer(), nullptr);
    HWND monitorWindow = WaitForMonitorWindow();
    ASSERT_NE(monitorWindow, nullptr);
    Close(monitorWindow);
    ExpectEndsWithZero();
}

// Wine 8 follows a change of the X screen's layout but does not announce it:
// the test changes it with xrandr (a Unix program Wine can start) and sends
// the WM_DISPLAYCHANGE that Windows would broadcast. (Wine starts the Unix
// program but hands back no process handle: the test waits for the layout.)
bool Xrandr(std::wstring arguments) {
    std::wstring commandLine = L"xrandr " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(L"Z:\\usr\\bin\\xrandr", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return false;
    }
    for (HANDLE handle : {info.hProcess, info.hThread}) {
        if (handle) CloseHandle(handle);
    }
    return true;
}

TEST_F(RendererOnTwoMonitorsTest, MonitorWindowsFollowAMonitorRemovedAndAddedElsewhere) {
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(WaitForMonitorWindow(), nullptr);
    if (!Xrandr(L"--output DUMMY1 --off")) GTEST_SKIP() << "no xrandr: not the two-monitor world of wine-run.sh";
    const auto announce = [window](int monitors) {
        EXPECT_TRUE(systest::WaitUntil([=] { return GetSystemMetrics(SM_CMONITORS) == monitors; }, 5000, 50));
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_DISPLAYCHANGE, 32, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    };
    announce(1);
    EXPECT_TRUE(systest::WaitForNoWindow(kMonitorClass, nullptr, 3000)) << "a window is left on the removed monitor";

    EXPECT_TRUE(Xrandr(L"--output DUMMY1 --mode 800x600 --pos 1024x100"));
    announce(2);
    ASSERT_EQ(SecondaryMonitors().size(), 1u);
    second_ = SecondaryMonitors().front();
    EXPECT_EQ(second_.top, 100);
    EXPECT_NE(WaitForMonitorWindow(), nullptr);
    EXPECT_EQ(WindowsTitled(kKanvas), 1);

    Xrandr(L"--output DUMMY1 --mode 800x600 --pos 1024x0");  // as it was, for the cases after this one
    EXPECT_TRUE(systest::WaitUntil([] { return SecondaryMonitors().front().top == 0; }, 5000, 50));
    Close(window);
    ExpectEndsWithZero();
}

}  // namespace
