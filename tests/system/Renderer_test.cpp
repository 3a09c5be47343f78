// The renderer program モザイカ図.dll seen from outside, as the screen saver
// and a user see it: its window, its pixels, its reaction to input and to a
// close request, the system's screen-saver flag, and its exit code. The same
// cases run again in the two-monitor world (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "Palette.h"
#include "SystemTest.h"

namespace {

using namespace systest;

constexpr const wchar_t* kKanvas = kRendererWindowTitle;
// The class of the renderer's windows on the monitors beside the primary one.
constexpr const wchar_t* kMonitorClass = L"Mosaika_Kanvas_Monitor";

class RendererTest : public testing::Test {
protected:
    // Starts the renderer and waits until its window is up.
    HWND StartRenderer(const std::wstring& arguments = L"") {
        renderer_ = Process::Start(ProgramFolder() + L"\\" + kRendererFileName, arguments);
        return WaitForRendererWindow();
    }

    void ExpectEndsWithZero() {
        ASSERT_EQ(renderer_.ExitCode(5000), 0u) << "259: the renderer did not end";
        EXPECT_EQ(FindWindowW(nullptr, kKanvas), nullptr);
        EXPECT_EQ(FindWindowW(kMonitorClass, nullptr), nullptr) << "a monitor window is left";
    }

    Process renderer_;
};

// The system's screen-saver flag through a fresh process (ScreenSaverFlagProbe.cpp): "get" is true when it is on.
bool ScreenSaverFlag(const wchar_t* command) {
    return Process::Start(TestFile(L"ScreenSaverFlagProbe.exe"), command).ExitCode(kExitTimeoutMs) == 1;
}

// Waits until the window has reached this rectangle; false when it did not in time.
bool WaitForRect(HWND window, const RECT& expected) {
    RECT rect{};
    return WaitUntil([&] { return GetWindowRect(window, &rect) && EqualRect(&rect, &expected); }, 3000);
}

// The area shows a cell pattern in the palette's colours only, and it moves.
void ExpectMovingCellPattern(const RECT& area, const std::string& name) {
    std::set<std::uint32_t> palette;
    for (const mosaika::PaletteEntry& entry : mosaika::BuildPaletteTable()) {
        palette.insert(std::uint32_t{entry.red} << 16 | std::uint32_t{entry.green} << 8 | entry.blue);
    }
    Screenshot first;
    std::size_t foreign = 0;
    EXPECT_TRUE(WaitUntil([&] {
        first = CaptureScreen(area);
        foreign = 0;
        for (const std::uint32_t pixel : first.pixels) foreign += palette.count(pixel) ? 0 : 1;
        return foreign == 0;
    }, 5000, 100)) << foreign << " pixels outside the palette";
    Screenshot later;
    EXPECT_TRUE(WaitUntil([&] { return (later = CaptureScreen(area)).pixels != first.pixels; }, 3000, 100))
        << "the pattern does not move";
    std::printf("screenshots: %s %s\n", SaveScreenshot(first, name + "-first").c_str(),
                SaveScreenshot(later, name + "-later").c_str());
    const std::set<std::uint32_t> seen(first.pixels.begin(), first.pixels.end());
    // A cell pattern shows pale borders, the yellow band and dark interiors.
    EXPECT_GT(seen.size(), 100u);
    EXPECT_TRUE(seen.count(0xFFFFBF) || seen.count(0xFEFECB) || seen.count(0xFDFDCD)) << "no cell border";
}

void ExpectPatternIgnoringOtherInputAndZooms(HWND window) {
    ExpectMovingCellPattern({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, "renderer");
    for (const WORD key : {WORD{'A'}, WORD{VK_SPACE}, WORD{VK_RETURN}, WORD{VK_F1}}) PressKey(key);
    MoveMouseTo(100, 100);
    MoveMouseTo(500, 400);
    ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ClickMouse(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(HoldsFor([&] { return FindWindowW(kKanvas, kKanvas) == window; }, 700))
        << "other input ended it";
    // n times an overlapped window whose client area is the 320 x 200 frame,
    // centred, halved rounding down: one larger than the screen sticks out equally.
    RECT unit{0, 0, 320, 200};
    AdjustWindowRect(&unit, WS_OVERLAPPEDWINDOW, FALSE);
    for (const int n : {2, 4, 1}) {
        PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(0x400 + n), 0);
        const int width = n * (unit.right - unit.left), height = n * (unit.bottom - unit.top);
        const int left = (GetSystemMetrics(SM_CXSCREEN) - width) >> 1;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - height) >> 1;
        EXPECT_TRUE(WaitForRect(window, {left, top, left + width, top + height})) << "zoom " << n;
    }
}

// The first start also shows the pattern, ignores other input and zooms.
TEST_F(RendererTest, OnePopupWhateverTheArgumentsScreenSaverOffPatternMovesOtherInputIgnoredZoomsUntilEscOrClose) {
    const struct {
        const wchar_t* arguments;
        bool screenSaverBefore;
        bool escape;  // else a close request from another process
    } rows[] = {{L"", true, true}, {L"/s", false, false}, {L"/p 1234", true, false}, {L"-c extra words", false, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "'" << Cp932(row.arguments) << "'");
        ScreenSaverFlag(row.screenSaverBefore ? L"on" : L"off");
        HWND window = StartRenderer(row.arguments);
        ASSERT_NE(window, nullptr) << "no window of class and title Mosaika_Kanvas shown";
        EXPECT_EQ(CountWindows(kKanvas), 1) << "the screen saver program must find one window";
        const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
        EXPECT_EQ(style & (WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION),
                  DWORD{WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN});
        // Like a maximized window plus one caption height, from the top-left corner.
        EXPECT_TRUE(WaitForRect(window, {0, 0, GetSystemMetrics(SM_CXMAXIMIZED),
                                         GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION)}));
        EXPECT_TRUE(WaitUntil([] { return !ScreenSaverFlag(L"get"); }, 3000, 50)) << "the screen saver stays on";
        if (&row == rows) ExpectPatternIgnoringOtherInputAndZooms(window);
        if (row.escape) {
            PressKey(VK_ESCAPE);
        } else {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        ExpectEndsWithZero();
        EXPECT_TRUE(ScreenSaverFlag(L"get")) << "the screen saver was not switched on again";
    }
}

// The monitor beside the primary one (which starts at 0,0); empty when there is none.
RECT SecondMonitor() {
    RECT second{};
    EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR, HDC, LPRECT rect, LPARAM data) -> BOOL {
        if (rect->left || rect->top) *reinterpret_cast<RECT*>(data) = *rect;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&second));
    return second;
}

// The renderer's window on the second monitor, once it covers that monitor.
HWND WaitForMonitorWindow(const RECT& second) {
    HWND monitorWindow = WaitForWindow(kMonitorClass, nullptr);
    EXPECT_TRUE(monitorWindow && WaitForRect(monitorWindow, second)) << "the second monitor is not covered";
    return monitorWindow;
}

// Run in the two-monitor world (MOSAIKA_MONITORS=2); skipped with one monitor.
class RendererOnTwoMonitorsTest : public RendererTest {};

// Wine 8 follows a change of the X screen's layout but does not announce it:
// the test changes it with xrandr (a Unix program Wine can start, handing back
// no process handle) and sends the WM_DISPLAYCHANGE that Windows would broadcast.
bool Xrandr(std::wstring arguments) {
    arguments = L"xrandr " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const bool started = CreateProcessW(L"Z:\\usr\\bin\\xrandr", arguments.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &info);
    for (HANDLE handle : {info.hProcess, info.hThread}) {
        if (handle) CloseHandle(handle);
    }
    return started;
}

TEST_F(RendererOnTwoMonitorsTest, PatternOnTheSecondMonitorWhichFollowsTheLayoutAndIgnoresClicks) {
    if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor";
    RECT second = SecondMonitor();
    HWND window = StartRenderer();
    ASSERT_NE(window, nullptr);
    HWND monitorWindow = WaitForMonitorWindow(second);
    ASSERT_NE(monitorWindow, nullptr);
    EXPECT_TRUE(GetWindowLongW(monitorWindow, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    ExpectMovingCellPattern(second, "renderer-second-monitor");

    SetCursorPos((second.left + second.right) / 2, (second.top + second.bottom) / 2);  // a click in its middle
    ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(HoldsFor([&] { return renderer_.Running() && GetForegroundWindow() == window; }, 500))
        << "the click ended it or took the activation";
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    EXPECT_TRUE(GetCursorInfo(&cursor) && !(cursor.flags & CURSOR_SHOWING)) << "the pointer shows on the second monitor";

    // The monitor removed, then added elsewhere.
    if (!Xrandr(L"--output DUMMY1 --off")) GTEST_SKIP() << "no xrandr: not the two-monitor world of wine-run.sh";
    const auto announce = [window](int monitors) {
        EXPECT_TRUE(WaitUntil([=] { return GetSystemMetrics(SM_CMONITORS) == monitors; }, 5000, 50));
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_DISPLAYCHANGE, 32, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    };
    announce(1);
    EXPECT_TRUE(WaitUntil([] { return !FindWindowW(kMonitorClass, nullptr); }, 3000)) << "a window is left on the removed monitor";
    EXPECT_TRUE(Xrandr(L"--output DUMMY1 --mode 800x600 --pos 1024x100"));
    announce(2);
    second = SecondMonitor();
    EXPECT_EQ(second.top, 100);
    monitorWindow = WaitForMonitorWindow(second);
    EXPECT_EQ(CountWindows(kKanvas), 1);

    Xrandr(L"--output DUMMY1 --mode 800x600 --pos 1024x0");  // as it was, for the cases after this one
    EXPECT_TRUE(WaitUntil([] { return SecondMonitor().top == 0; }, 5000, 50));
    PostMessageW(monitorWindow, WM_CLOSE, 0, 0);  // a close request to the second monitor's window ends the program
    ExpectEndsWithZero();
}

}  // namespace
