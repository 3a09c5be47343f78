// The settings dialog "<モザイカ図>" of モザイカ図.scr /c, seen from outside as a
// user sees it: where it opens and how large it is at the display's DPI, its
// painted bands and button faces, real mouse presses and keys on its
// controls, the ini file it writes (or leaves alone), the file chooser and the
// home-page button. Every control is found where the layout (in twips) puts
// it, converted with the display's DPI from the dialog's client origin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "SystemTest.h"

#ifndef MOSAIKA_HOME_PAGE
#define MOSAIKA_HOME_PAGE "https://example.com/"
#endif

namespace {

using systest::Cp932;
using systest::Process;
using systest::Screenshot;

constexpr const wchar_t* kDialogTitle = systest::kSettingsDialogTitle;
constexpr const wchar_t* kProgramTitle = L"モザイカ図";
constexpr const wchar_t* kChooserTitle = L"ﾌｧｲﾙを開く";
constexpr DWORD kTimeoutMs = 10000;

// --- Colours ----------------------------------------------------------------

// A screen colour 0xRRGGBB, printed in hex when an expectation fails.
struct Colour {
    std::uint32_t rgb = 0;
    friend bool operator==(Colour a, Colour b) { return a.rgb == b.rgb; }
    friend void PrintTo(Colour c, std::ostream* out) {
        char text[8];
        std::snprintf(text, sizeof text, "%06X", c.rgb & 0xFFFFFFu);
        *out << text;
    }
};
using Colours = std::vector<Colour>;

int Red(std::uint32_t rgb) { return static_cast<int>(rgb >> 16 & 0xFF); }
int Green(std::uint32_t rgb) { return static_cast<int>(rgb >> 8 & 0xFF); }
int Blue(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

constexpr std::uint32_t Rgb(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red << 16 | green << 8 | blue);
}

bool Near(std::uint32_t actual, std::uint32_t expected, int tolerance) {
    return std::abs(Red(actual) - Red(expected)) <= tolerance &&
           std::abs(Green(actual) - Green(expected)) <= tolerance &&
           std::abs(Blue(actual) - Blue(expected)) <= tolerance;
}

std::string Hex(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", rgb & 0xFFFFFFu);
    return text;
}

// The rings of the button skins, outer edge inwards (top rows 0..3 and bottom
// rows 24..21 of a 25-pixel face).
struct Look {
    const char* name;
    Colours top;
    Colours bottom;
};
const Look kNormal{"Normal", {{0xDCD6C2}, {0x003C74}, {0xF3F3EE}, {0xF3F3EE}},
                   {{0xFAFAF6}, {0x003C74}, {0xD6D0C5}, {0xE2DFD6}}};
const Look kHighLight{"HighLight", {{0xDCD6C2}, {0x003C74}, {0xFFF0CF}, {0xFDD889}},
                      {{0xFAFAF6}, {0x003C74}, {0xE59700}, {0xF8B330}}};
const Look kPressed{"Pressed", {{0xECE9D8}, {0xDCD6C2}, {0x003C74}, {0xD1CCC1}},
                    {{0xECE9D8}, {0xFAFAF6}, {0x003C74}, {0xF2F1EE}}};
const Look kSelected{"Selected", {{0xDCD6C2}, {0x003C74}, {0xCEE7FF}, {0xCEE7FF}},
                     {{0xFAFAF6}, {0x003C74}, {0x6982EE}, {0x6982EE}}};
const Look kDisable{"Disable", {{0xECE9D8}, {0xC9C7BA}, {0xF5F4EA}, {0xF5F4EA}},
                    {{0xECE9D8}, {0xC9C7BA}, {0xF5F4EA}, {0xF5F4EA}}};

// --- Text, files -------------------------------------------------------------

// The ini file as the dialog's save button leaves it: section "Section", the
// three keys in their order, CRLF line ends. Windows writes the numbers with
// their leading blank; Wine's profile writer drops blanks after "=".
std::string IniBytes(int bgmMode, int bgmRepeat, const std::wstring& bgmFile, bool blanks = true) {
    const std::string blank = blanks ? " " : "";
    return "[Section]\r\n" + Cp932(L"BGM区分") + "=" + blank + std::to_string(bgmMode) + "\r\n" +
           Cp932(L"BGMﾘﾋﾟｰﾄ") + "=" + blank + std::to_string(bgmRepeat) + "\r\n" + Cp932(L"BGMﾌｧｲﾙ") + "=" +
           Cp932(bgmFile) + "\r\n";
}

// Whether the saved file is exactly what the save button writes, in the
// Windows form or in Wine's; prints which.
::testing::AssertionResult SavedAs(const std::string& actual, int bgmMode, int bgmRepeat,
                                   const std::wstring& bgmFile) {
    if (actual == IniBytes(bgmMode, bgmRepeat, bgmFile, true)) {
        std::printf("ini written with the leading blanks (Windows form)\n");
        return ::testing::AssertionSuccess();
    }
    if (actual == IniBytes(bgmMode, bgmRepeat, bgmFile, false)) {
        std::printf("ini written without the leading blanks (Wine's profile writer)\n");
        return ::testing::AssertionSuccess();
    }
    std::string shown;
    for (const char c : actual) {
        const auto byte = static_cast<unsigned char>(c);
        char part[8];
        std::snprintf(part, sizeof part, byte >= 0x20 && byte < 0x7F ? "%c" : "\\x%02X", byte);
        shown += part;
    }
    return ::testing::AssertionFailure() << "the ini file holds \"" << shown << "\", not mode " << bgmMode
                                         << ", repeat " << bgmRepeat << " and the expected file";
}

// A 16-bit mono PCM WAV file: one second of a 440 Hz tone.
std::string ToneWave() {
    constexpr std::uint32_t rate = 22050;
    constexpr std::uint32_t dataBytes = rate * 2;
    std::string wave;
    const auto put = [&wave](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wave += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    wave += "RIFF";
    put(36 + dataBytes, 4);
    wave += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    wave += "data";
    put(dataBytes, 4);
    for (std::uint32_t i = 0; i < rate; ++i) {
        const double value = 12000 * std::sin(2 * 3.14159265358979 * 440 * i / rate);
        put(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value))), 2);
    }
    return wave;
}

// The file fake-browser/xdg-open appends the addresses it is given to: a Unix
// path in MOSAIKA_BROWSER_LOG (the launcher runs on the Unix side, so only the
// environment Wine started with reaches it), here as Wine's DOS name. Empty
// when the variable is missing or the test does not run under Wine.
std::wstring BrowserLog() {
    char unixPath[1024] = {};
    if (GetEnvironmentVariableA("MOSAIKA_BROWSER_LOG", unixPath, sizeof unixPath) == 0) return {};
    using WineDosName = wchar_t*(__cdecl*)(const char*);
    const auto dosName = reinterpret_cast<WineDosName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!dosName) return {};
    wchar_t* name = dosName(unixPath);
    if (!name) return {};
    std::wstring result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// --- Waiting, input ----------------------------------------------------------

// Polls until done() holds; false on timeout. The elapsed milliseconds go to *elapsed.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD* elapsed = nullptr) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) {
            if (elapsed) *elapsed = GetTickCount() - start;
            return true;
        }
        if (GetTickCount() - start > timeoutMs) {
            if (elapsed) *elapsed = GetTickCount() - start;
            return false;
        }
        Sleep(10);
    }
}

void SendMouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void MoveTo(POINT at) { systest::MoveMouseTo(at.x, at.y); }

// Moves there, then presses and releases a mouse button.
void ClickAt(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
    MoveTo(at);
    Sleep(30);
    systest::ClickMouse(down, up);
}

// Characters typed as the keyboard sends them (as Unicode key events).
void TypeText(const std::wstring& text) {
    for (const wchar_t c : text) {
        INPUT input[2]{};
        for (INPUT& each : input) {
            each.type = INPUT_KEYBOARD;
            each.ki.wScan = c;
            each.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        Sleep(10);
    }
}

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A window's text. GetWindowTextW does not ask a control of another process
// for its text; WM_GETTEXT does.
std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
    return text;
}

void SetWindowTextOf(HWND window, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
}

int CountTopLevelWindows(const wchar_t* title) {
    struct Search {
        const wchar_t* title;
        int count;
    } search{title, 0};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (WindowText(window) == s->title) ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

// The displays' DPI as this (DPI-aware) process reads it.
int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The DPI the test world was started with (the wrapper's MOSAIKA_DPI), 96 by default.
int ExpectedDpi() {
    wchar_t value[16] = {};
    if (GetEnvironmentVariableW(L"MOSAIKA_DPI", value, 16) == 0) return 96;
    return _wtoi(value);
}

// --- The dialog ----------------------------------------------------------------

// A rectangle on the screen, in pixels.
struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    POINT Centre() const { return {left + width / 2, top + height / 2}; }
    POINT At(int x, int y) const { return {left + x, top + y}; }
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

// The open dialog and its layout at the display's DPI: positions in twips
// from the top-left corner of the container's client area, each edge rounded
// to the nearest pixel.
class Dialog {
public:
    Dialog() = default;
    explicit Dialog(HWND window) : window_(window), dpi_(ScreenDpi()) {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        origin_ = origin;
    }

    HWND Hwnd() const { return window_; }
    int Dpi() const { return dpi_; }
    int Px(double twips) const { return static_cast<int>(std::lround(twips * dpi_ / 1440.0)); }

    // In the dialog's client area.
    Box InDialog(double left, double top, double width, double height) const {
        return Scaled(origin_, left, top, width, height);
    }
    // In the panel Pic_C (180, 240 in the dialog).
    Box InPanel(double left, double top, double width, double height) const {
        const Box panel = Panel();
        return Scaled({panel.left, panel.top}, left, top, width, height);
    }

    Box Client() const { return InDialog(0, 0, 7185, 3780); }
    Box Panel() const { return InDialog(180, 240, 6795, 2535); }
    Box CmdEtc() const { return InDialog(2880, 3000, 1875, 375); }
    Box CmdSet() const { return InDialog(4800, 3000, 1095, 375); }
    Box CmdCan() const { return InDialog(5940, 3000, 1035, 375); }
    Box CmdBgm() const { return InPanel(540, 1740, 435, 315); }
    Box Repeat() const { return InPanel(1380, 780, 615, 300); }
    Box Fname() const { return InPanel(1020, 1740, 5355, 435); }
    // Img_BGM and lbl_BGM by element: 0 none, 1 music CD, 2 MP3/WAV.
    Box Indicator(int index) const { return InPanel(300, kRowTops[index], 195, 195); }
    Box SourceLabel(int index) const { return InPanel(540, kRowTops[index], kLabelWidths[index], 195); }

    // The child windows by kind.
    HWND PanelWindow() const { return ChildAt(window_, Panel()); }
    HWND RepeatBox() const { return FindWindowExW(PanelWindow(), nullptr, L"ComboBox", nullptr); }
    HWND RepeatEdit() const { return FindWindowExW(RepeatBox(), nullptr, L"Edit", nullptr); }
    HWND BrowseButton() const { return ChildAt(PanelWindow(), CmdBgm()); }
    HWND ButtonWindow(const Box& box) const { return ChildAt(window_, box); }

private:
    static constexpr double kRowTops[3] = {1140, 840, 1440};
    static constexpr double kLabelWidths[3] = {345, 645, 900};

    Box Scaled(POINT origin, double left, double top, double width, double height) const {
        const int x = Px(left);
        const int y = Px(top);
        return {origin.x + x, origin.y + y, Px(left + width) - x, Px(top + height) - y};
    }

    // The direct child window of parent whose rectangle starts at the box's corner.
    static HWND ChildAt(HWND parent, const Box& box) {
        for (HWND child = FindWindowExW(parent, nullptr, nullptr, nullptr); child;
             child = FindWindowExW(parent, child, nullptr, nullptr)) {
            const RECT rect = WindowRect(child);
            if (rect.left == box.left && rect.top == box.top) return child;
        }
        return nullptr;
    }

    HWND window_ = nullptr;
    int dpi_ = 96;
    POINT origin_{};
};

// What a screenshot shows of the controls.
Colours TopRows(const Screenshot& shot, const Box& button) {
    const int x = button.left + button.width / 2;
    Colours rows;
    for (int y = 0; y < 4; ++y) rows.push_back({shot.At(x, button.top + y)});
    return rows;
}

Colours BottomRows(const Screenshot& shot, const Box& button) {
    const int x = button.left + button.width / 2;
    Colours rows;
    for (int y = 1; y <= 4; ++y) rows.push_back({shot.At(x, button.Bottom() - y)});
    return rows;
}

bool Shows(const Screenshot& shot, const Box& button, const Look& look) {
    return TopRows(shot, button) == look.top && BottomRows(shot, button) == look.bottom;
}

void ExpectLook(const Screenshot& shot, const Box& button, const Look& look) {
    SCOPED_TRACE(look.name);
    EXPECT_EQ(TopRows(shot, button), look.top);
    EXPECT_EQ(BottomRows(shot, button), look.bottom);
}

// Waits until the button shows the look; prints how long that took.
bool WaitForLook(const Box& button, const Look& look, const char* what) {
    DWORD elapsed = 0;
    const bool shown = WaitUntil([&] { return Shows(systest::CaptureScreen(), button, look); }, 5000, &elapsed);
    std::printf("%s: %s look %s after %lu ms\n", what, look.name, shown ? "shown" : "NOT shown", elapsed);
    return shown;
}

// Whether the button shows a hover look (HighLight or HighLightSelect): the
// orange inner band in its top rows, at any DPI.
bool ShowsHover(const Screenshot& shot, const Box& button) {
    for (int y = 0; y < button.height / 4; ++y) {
        const std::uint32_t p = shot.At(button.left + button.width / 2, button.top + y);
        if (p == 0xFDD889 || p == 0xFFF0CF) return true;
    }
    return false;
}

// Clicks a button as a user does: the pointer comes over it (and the button
// shows that it noticed) before the left button goes down and up. A press
// that comes without a move first gives the button the focus and no Click.
// Under Wine the first move after a modal window closed can arrive after a
// press sent right behind it, so the move is repeated until the hover shows.
void ClickButton(const Box& button) {
    const POINT centre = button.Centre();
    for (int attempt = 0; attempt < 10; ++attempt) {
        MoveTo({centre.x + attempt % 2, centre.y});
        if (WaitUntil([&] { return ShowsHover(systest::CaptureScreen(), button); }, 300)) {
            if (attempt > 0) std::printf("the button noticed the pointer after %d moves\n", attempt + 1);
            break;
        }
    }
    EXPECT_TRUE(ShowsHover(systest::CaptureScreen(), button)) << "the button never showed the pointer over it";
    systest::ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

// Pixels of the indicator's selected picture: its blue fill.
int BlueFillPixels(const Screenshot& shot, const Box& indicator) {
    int count = 0;
    for (int y = indicator.top; y < indicator.Bottom(); ++y) {
        for (int x = indicator.left; x < indicator.Right(); ++x) {
            const std::uint32_t p = shot.At(x, y);
            if (Blue(p) >= Red(p) + 100 && Blue(p) >= Green(p) + 60) ++count;
        }
    }
    return count;
}

// Pixels darker than any band colour behind a label there: its black text.
int TextPixels(const Screenshot& shot, const Box& area) {
    int count = 0;
    for (int y = area.top; y < area.Bottom(); ++y) {
        for (int x = area.left; x < area.Right(); ++x) {
            const std::uint32_t p = shot.At(x, y);
            if (std::max({Red(p), Green(p), Blue(p)}) < 40) ++count;
        }
    }
    return count;
}

std::vector<std::uint32_t> Pixels(const Screenshot& shot, const Box& area) {
    std::vector<std::uint32_t> pixels;
    for (int y = area.top; y < area.Bottom(); ++y) {
        for (int x = area.left; x < area.Right(); ++x) pixels.push_back(shot.At(x, y));
    }
    return pixels;
}

// The list of the repeat box, read from the other process.
std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring item(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
        items.push_back(item);
    }
    return items;
}

// --- The fixture -------------------------------------------------------------

class SettingsDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Screen pixels and window rectangles in real pixels at any DPI.
        SetProcessDPIAware();
    }

    void SetUp() override {
        // Short: the chosen file's path must fit the two lines of lbl_Fname.
        folder_ = std::make_unique<systest::TestFolder>(L"dlg");
        folder_->CopyProgram(L"モザイカ図.scr");
        folder_->CopyProgram(L"モザイカ図.dll");
        // The dialog opens out of the pointer's position: keep it away from every control.
        MoveTo(kRestingPoint);
    }

    // Starts モザイカ図.scr with the arguments and waits for the dialog to be on
    // screen and its painting done.
    Dialog Open(const wchar_t* arguments = L"/c") {
        saver_ = Process::Start(folder_->Saver(), arguments);
        EXPECT_TRUE(saver_.Started()) << "CreateProcess failed: " << GetLastError();
        HWND window = systest::WaitForWindow(nullptr, kDialogTitle, kTimeoutMs);
        EXPECT_NE(window, nullptr) << "no window titled <モザイカ図>";
        if (!window) return {};
        WaitUntil([window] { return IsWindowVisible(window) != FALSE; }, kTimeoutMs);
        std::printf("dialog visible %lu ms after the program started\n", saver_.Age());
        const Dialog dialog(window);
        WaitUntilStill(dialog.Client());
        return dialog;
    }

    // Waits until two looks at the area, a little apart, show the same pixels.
    static void WaitUntilStill(const Box& area) {
        std::vector<std::uint32_t> last;
        WaitUntil(
            [&] {
                Sleep(60);
                std::vector<std::uint32_t> now = Pixels(systest::CaptureScreen(), area);
                const bool still = now == last;
                last = std::move(now);
                return still;
            },
            kTimeoutMs);
    }

    // Expects the program to end (with exit code 0) and its dialog to be gone.
    void ExpectEnds(const char* how) {
        DWORD exitCode = 1234;
        const DWORD start = GetTickCount();
        ASSERT_TRUE(saver_.WaitForExit(kTimeoutMs, &exitCode)) << how << ": the program did not end";
        std::printf("%s: the program ended %lu ms later\n", how, GetTickCount() - start);
        EXPECT_EQ(exitCode, 0u) << how;
        EXPECT_EQ(FindWindowW(nullptr, kDialogTitle), nullptr) << how;
    }

    static constexpr POINT kRestingPoint{4, 4};

    std::unique_ptr<systest::TestFolder> folder_;
    Process saver_;
};

// --- Layout and painting --------------------------------------------------------

// What both DPIs check: the window's place and size, the child windows where
// the layout puts them, the bands, and the buttons at rest.
void CheckLayoutAndPainting(const Dialog& dialog, const std::string& screenshotName) {
    HWND window = dialog.Hwnd();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.Dpi(), ExpectedDpi()) << "the display does not run at the DPI the test asked for";
    std::printf("display DPI %d\n", dialog.Dpi());

    // Client area 7185 x 3780 twips.
    RECT client{};
    GetClientRect(window, &client);
    std::printf("client area %ld x %ld pixels\n", client.right, client.bottom);
    EXPECT_NEAR(client.right, 7185.0 * dialog.Dpi() / 1440, 0.5 + 1e-9);
    EXPECT_NEAR(client.bottom, 3780.0 * dialog.Dpi() / 1440, 0.5 + 1e-9);
    if (dialog.Dpi() == 96) {
        EXPECT_EQ(client.right, 479);
        EXPECT_EQ(client.bottom, 252);
    }

    // Centred across, at a third of the free height.
    const RECT rect = WindowRect(window);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::printf("window at %ld, %ld, %d x %d on a %d x %d screen\n", rect.left, rect.top, width, height, screenWidth,
                screenHeight);
    EXPECT_NEAR(rect.left, (screenWidth - width) / 2.0, 1.0);
    EXPECT_NEAR(rect.top, (screenHeight - height) / 3.0, 1.0);

    // The panel, the three buttons, the browse button and the repeat box stand
    // where the layout puts them.
    ASSERT_NE(dialog.PanelWindow(), nullptr) << "no panel at 180, 240 twips";
    const auto expectAt = [](HWND control, const Box& box, const char* name) {
        ASSERT_NE(control, nullptr) << "no " << name << " where the layout puts it";
        const RECT r = WindowRect(control);
        EXPECT_EQ(r.right - r.left, box.width) << name;
        EXPECT_EQ(r.bottom - r.top, box.height) << name;
    };
    expectAt(dialog.PanelWindow(), dialog.Panel(), "Pic_C");
    expectAt(dialog.ButtonWindow(dialog.CmdEtc()), dialog.CmdEtc(), "Cmd_Etc");
    expectAt(dialog.ButtonWindow(dialog.CmdSet()), dialog.CmdSet(), "Cmd_Set");
    expectAt(dialog.ButtonWindow(dialog.CmdCan()), dialog.CmdCan(), "Cmd_Can");
    expectAt(dialog.BrowseButton(), dialog.CmdBgm(), "Cmd_BGM");
    HWND combo = dialog.RepeatBox();
    ASSERT_NE(combo, nullptr) << "no combo box in the panel";
    const RECT comboRect = WindowRect(combo);
    const Box repeat = dialog.Repeat();
    std::printf("repeat box at %ld, %ld, %ld x %ld (layout %d, %d, %d x %d)\n", comboRect.left, comboRect.top,
                comboRect.right - comboRect.left, comboRect.bottom - comboRect.top, repeat.left, repeat.top,
                repeat.width, repeat.height);
    EXPECT_EQ(comboRect.left, repeat.left);
    EXPECT_EQ(comboRect.top, repeat.top);
    EXPECT_EQ(comboRect.right - comboRect.left, repeat.width);

    const Screenshot shot = systest::CaptureScreen();
    std::printf("screenshot: %s\n", systest::SaveScreenshot(shot, screenshotName).c_str());

    // The dialog's bands: dark navy at the top and bottom rows, pale lavender
    // in the middle, read in the strip left of the panel.
    const Box all = dialog.Client();
    const int stripX = all.left + dialog.Px(90);
    const int middle = all.top + all.height / 2;
    const int quarter = all.top + all.height / 4;
    std::printf("dialog rows: top %s, quarter %s, middle %s, bottom %s\n", Hex(shot.At(stripX, all.top)).c_str(),
                Hex(shot.At(stripX, quarter)).c_str(), Hex(shot.At(stripX, middle)).c_str(),
                Hex(shot.At(stripX, all.Bottom() - 1)).c_str());
    EXPECT_EQ(Colour{shot.At(stripX, all.top)}, Colour{Rgb(0, 0, 30)});
    EXPECT_EQ(Colour{shot.At(all.Right() - 1, all.top)}, Colour{Rgb(0, 0, 30)});
    EXPECT_TRUE(Near(shot.At(stripX, all.Bottom() - 1), Rgb(0, 0, 30), 3)) << Hex(shot.At(stripX, all.Bottom() - 1));
    EXPECT_TRUE(Near(shot.At(stripX, middle), Rgb(220, 220, 250), 1)) << Hex(shot.At(stripX, middle));
    // A sine band, not a straight ramp: a quarter down, |sin(pi/4)| x 220.
    EXPECT_TRUE(Near(shot.At(stripX, quarter), Rgb(156, 156, 186), 4)) << Hex(shot.At(stripX, quarter));
    // The bands run across the whole width.
    EXPECT_EQ(Colour{shot.At(all.Right() - 1, middle)}, Colour{shot.At(stripX, middle)});

    // The panel's bands: near black at its first and last rows, near white in
    // the middle, read right of every label and control.
    const Box panel = dialog.Panel();
    const int panelX = panel.left + dialog.Px(6600);
    const int panelMiddle = panel.top + panel.height / 2;
    std::printf("panel rows: first %s, quarter %s, middle %s, last %s\n", Hex(shot.At(panelX, panel.top)).c_str(),
                Hex(shot.At(panelX, panel.top + panel.height / 4)).c_str(), Hex(shot.At(panelX, panelMiddle)).c_str(),
                Hex(shot.At(panelX, panel.Bottom() - 1)).c_str());
    EXPECT_EQ(Colour{shot.At(panelX, panel.top)}, Colour{Rgb(30, 30, 30)});
    EXPECT_EQ(Colour{shot.At(panelX, panel.Bottom() - 1)}, Colour{Rgb(30, 30, 30)});
    EXPECT_TRUE(Near(shot.At(panelX, panelMiddle), Rgb(250, 250, 250), 1)) << Hex(shot.At(panelX, panelMiddle));
    EXPECT_TRUE(Near(shot.At(panelX, panel.top + panel.height / 4), Rgb(186, 186, 186), 4));
    // The panel's bands are its own: just outside it, the dialog's colour.
    EXPECT_NE(Colour{shot.At(panelX, panel.top - 1)}, Colour{shot.At(panelX, panel.top)});

    // No source chosen: indicator 0 selected, the others not.
    EXPECT_GE(BlueFillPixels(shot, dialog.Indicator(0)), 30);
    EXPECT_EQ(BlueFillPixels(shot, dialog.Indicator(1)), 0);
    EXPECT_EQ(BlueFillPixels(shot, dialog.Indicator(2)), 0);
    // Every label shows text (black glyphs over the bands).
    for (int i = 0; i < 3; ++i) EXPECT_GT(TextPixels(shot, dialog.SourceLabel(i)), 10) << "label " << i;

    // The information line: white text that stays in its label, clear of the
    // button beside it.
    const Box info = dialog.InDialog(180, 2940, 2475, 195);
    const Box gap{info.Right(), info.top - 2, dialog.CmdEtc().left - info.Right(), info.height + 4};
    int rightmostWhite = -1;
    for (int y = gap.top; y < gap.Bottom(); ++y) {
        for (int x = info.left; x < gap.Right(); ++x) {
            if (shot.At(x, y) == 0xFFFFFF) rightmostWhite = std::max(rightmostWhite, x - info.left);
        }
    }
    std::printf("information line: white text up to pixel %d of its %d\n", rightmostWhite, info.width);
    EXPECT_GE(rightmostWhite, 0) << "no white text on the information line";
    EXPECT_LT(rightmostWhite, info.width) << "the information line runs past its label towards その他の作品";

    // The buttons at rest: Normal, whose dark blue outline lies one pixel in
    // from the edge; "..." greyed; その他の作品, first to take the focus, Selected.
    if (dialog.Dpi() == 96) {
        ExpectLook(shot, dialog.CmdEtc(), kSelected);
        for (const Box& button : {dialog.CmdSet(), dialog.CmdCan()}) ExpectLook(shot, button, kNormal);
        ExpectLook(shot, dialog.CmdBgm(), kDisable);
    } else {
        // Stretched frames: the outline is still there, a little further in.
        for (const Box& button : {dialog.CmdEtc(), dialog.CmdSet(), dialog.CmdCan()}) {
            bool outline = false;
            for (int y = 0; y < dialog.Px(60); ++y) {
                outline = outline || shot.At(button.left + button.width / 2, button.top + y) == 0x003C74;
            }
            EXPECT_TRUE(outline) << "no 003C74 outline in the top rows";
        }
    }
}

TEST_F(SettingsDialog, OpensCentredAtAThirdOfTheFreeHeightWithItsLayoutAndPaintedBands) {
    const Dialog dialog = Open();
    CheckLayoutAndPainting(dialog, "settings-dialog-96dpi");
    EXPECT_FALSE(IsWindowEnabled(dialog.RepeatBox()));
    EXPECT_FALSE(IsWindowEnabled(dialog.BrowseButton()));
    PostMessageW(dialog.Hwnd(), WM_CLOSE, 0, 0);
    ExpectEnds("WM_CLOSE");
}

// Runs only in the world started at 144 dpi (see CMakeLists.txt).
class SettingsDialogAt144Dpi : public SettingsDialog {};

TEST_F(SettingsDialogAt144Dpi, ScalesItsLayoutAndPaintingWithTheDisplayDpi) {
    ASSERT_EQ(ExpectedDpi(), 144) << "run this case with MOSAIKA_DPI=144";
    const Dialog dialog = Open();
    CheckLayoutAndPainting(dialog, "settings-dialog-144dpi");

    // The presses land where the scaled layout says: "音楽CD" by its label.
    ClickAt(dialog.SourceLabel(1).Centre());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog.RepeatBox()) != FALSE; }, 3000));
    WaitUntilStill(dialog.Panel());
    EXPECT_GE(BlueFillPixels(systest::CaptureScreen(), dialog.Indicator(1)), 30);
    ClickButton(dialog.CmdCan());
    ExpectEnds("ｷｬﾝｾﾙ");
    EXPECT_FALSE(systest::Exists(folder_->Ini()));
}

// --- Buttons ---------------------------------------------------------------------

TEST_F(SettingsDialog, ButtonsShowHoverAndPressedLooksAndClickOnReleaseOverThem) {
    // fake-browser/xdg-open, first on the Unix PATH, records the address.
    const std::wstring log = BrowserLog();
    if (!log.empty()) DeleteFileW(log.c_str());
    // The CD source: the repeat box takes the focus, so every button starts unfocused.
    const std::string ini = IniBytes(1, 0, L"");
    ASSERT_TRUE(systest::WriteBytes(folder_->Ini(), ini));
    const Dialog dialog = Open();
    ASSERT_NE(dialog.Hwnd(), nullptr);
    ASSERT_EQ(dialog.Dpi(), 96) << "the skin rows are exact at 96 dpi";
    const Box etc = dialog.CmdEtc();
    const Box cancel = dialog.CmdCan();
    const auto gradientTop = [](const Screenshot& s, const Box& b) { return s.At(b.left + 6, b.top + 5); };
    const auto gradientBottom = [](const Screenshot& s, const Box& b) { return s.At(b.left + 6, b.Bottom() - 6); };

    // At rest: Normal, light at the top.
    Screenshot shot = systest::CaptureScreen();
    ExpectLook(shot, etc, kNormal);
    EXPECT_GT(Green(gradientTop(shot, etc)), Green(gradientBottom(shot, etc)));

    // Hover: the orange band, and the gradient turned round (darker at the top);
    // over the caption text as over the rest of the face.
    MoveTo(etc.At(8, etc.height / 2));
    ASSERT_TRUE(WaitForLook(etc, kHighLight, "pointer over その他の作品"));
    shot = systest::CaptureScreen();
    EXPECT_LT(Green(gradientTop(shot, etc)), Green(gradientBottom(shot, etc)));
    MoveTo(etc.Centre());
    Sleep(300);  // a few ticks of the leave timer
    ExpectLook(systest::CaptureScreen(), etc, kHighLight);

    // The pointer leaves: the leave timer drops the look within about a tick.
    const DWORD left = GetTickCount();
    MoveTo(kRestingPoint);
    EXPECT_TRUE(WaitForLook(etc, kNormal, "pointer left"));
    std::printf("hover look dropped %lu ms after the pointer left (timer tick 100 ms)\n", GetTickCount() - left);

    // Back over it, the left button held: Pressed, sunk by one pixel.
    MoveTo(etc.Centre());
    ASSERT_TRUE(WaitForLook(etc, kHighLight, "pointer back over その他の作品"));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitForLook(etc, kPressed, "left button held"));

    // The release raises Click: the home page opens, and the dialog stays.
    SendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitForLook(etc, kHighLight, "left button released"));
    if (log.empty()) {
        ADD_FAILURE() << "MOSAIKA_BROWSER_LOG names no file: the address cannot be checked";
    } else {
        std::string received;
        DWORD elapsed = 0;
        const bool opened = WaitUntil(
            [&] {
                received = systest::ReadBytes(log);
                return !received.empty();
            },
            kTimeoutMs, &elapsed);
        std::printf("browser launcher called %lu ms after the click: %s", elapsed, received.c_str());
        EXPECT_TRUE(opened) << "xdg-open never ran";
        EXPECT_EQ(received, "[" MOSAIKA_HOME_PAGE "]\n");
        DeleteFileW(log.c_str());
    }
    Sleep(300);
    EXPECT_TRUE(saver_.Running());
    EXPECT_EQ(FindWindowW(nullptr, kDialogTitle), dialog.Hwnd());

    // その他の作品 keeps the focus the click gave it: Selected once the pointer
    // has gone, Normal once ｷｬﾝｾﾙ takes the focus.
    MoveTo(cancel.Centre());
    ASSERT_TRUE(WaitForLook(cancel, kHighLight, "pointer over ｷｬﾝｾﾙ"));
    EXPECT_TRUE(WaitForLook(etc, kSelected, "その他の作品 after the pointer moved on"));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitForLook(cancel, kPressed, "left button held on ｷｬﾝｾﾙ"));
    EXPECT_TRUE(WaitForLook(etc, kNormal, "その他の作品 after ｷｬﾝｾﾙ took the focus"));

    // Pressing ｷｬﾝｾﾙ, dragging off and releasing outside: no Click once a tick
    // has passed; the face ends focused (Selected).
    MoveTo(kRestingPoint);
    EXPECT_TRUE(WaitForLook(cancel, kSelected, "dragged off ｷｬﾝｾﾙ"));
    SendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(300);
    EXPECT_TRUE(saver_.Running()) << "a release after dragging off cancelled the dialog";
    ExpectLook(systest::CaptureScreen(), cancel, kSelected);

    // A plain click on ｷｬﾝｾﾙ closes the dialog and writes nothing.
    ClickButton(cancel);
    ExpectEnds("ｷｬﾝｾﾙ");
    EXPECT_EQ(systest::ReadBytes(folder_->Ini()), ini);
}

// --- The music source ------------------------------------------------------------

TEST_F(SettingsDialog, PressingASourceLabelOrIndicatorWithAnyButtonSelectsItAndItsControls) {
    const Dialog dialog = Open();
    ASSERT_NE(dialog.Hwnd(), nullptr);
    HWND combo = dialog.RepeatBox();
    HWND browse = dialog.BrowseButton();
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(browse, nullptr);

    struct Step {
        const char* what;
        Box target;
        DWORD down, up;
        int selected;
        bool repeatEnabled, browseEnabled;
    };
    const Step steps[] = {
        {"left press on the label 音楽CD", dialog.SourceLabel(1), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1, true,
         false},
        {"right press on the label MP3、WAV", dialog.SourceLabel(2), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 2,
         false, true},
        {"left press on the indicator of 無し", dialog.Indicator(0), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, false,
         false},
        {"left press on the indicator of 音楽CD", dialog.Indicator(1), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1, true,
         false},
        {"middle press on the indicator of MP3、WAV", dialog.Indicator(2), MOUSEEVENTF_MIDDLEDOWN,
         MOUSEEVENTF_MIDDLEUP, 2, false, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        ClickAt(step.target.Centre(), step.down, step.up);
        DWORD elapsed = 0;
        const bool selected = WaitUntil(
            [&] {
                const Screenshot shot = systest::CaptureScreen();
                for (int i = 0; i < 3; ++i) {
                    const bool blue = BlueFillPixels(shot, dialog.Indicator(i)) >= 30;
                    if (blue != (i == step.selected)) return false;
                }
                return (IsWindowEnabled(combo) != FALSE) == step.repeatEnabled &&
                       (IsWindowEnabled(browse) != FALSE) == step.browseEnabled;
            },
            3000, &elapsed);
        std::printf("%s: source %d shown %lu ms later\n", step.what, step.selected, elapsed);
        EXPECT_TRUE(selected);
        EXPECT_EQ(IsWindowEnabled(combo) != FALSE, step.repeatEnabled);
        EXPECT_EQ(IsWindowEnabled(browse) != FALSE, step.browseEnabled);
        MoveTo(kRestingPoint);
        WaitUntilStill(dialog.Panel());
        ExpectLook(systest::CaptureScreen(), dialog.CmdBgm(), step.browseEnabled ? kNormal : kDisable);
    }
    ClickButton(dialog.CmdCan());
    ExpectEnds("ｷｬﾝｾﾙ");
    EXPECT_FALSE(systest::Exists(folder_->Ini()));
}

TEST_F(SettingsDialog, LoadsTheCdSourceAndItsRepeatTrackFromTheIniFile) {
    const std::string ini = IniBytes(1, 5, L"");
    ASSERT_TRUE(systest::WriteBytes(folder_->Ini(), ini));
    const Dialog dialog = Open();
    ASSERT_NE(dialog.Hwnd(), nullptr);
    HWND combo = dialog.RepeatBox();
    ASSERT_NE(combo, nullptr);

    const Screenshot shot = systest::CaptureScreen();
    EXPECT_EQ(BlueFillPixels(shot, dialog.Indicator(0)), 0);
    EXPECT_GE(BlueFillPixels(shot, dialog.Indicator(1)), 30);
    EXPECT_EQ(BlueFillPixels(shot, dialog.Indicator(2)), 0);
    EXPECT_TRUE(IsWindowEnabled(combo));
    EXPECT_FALSE(IsWindowEnabled(dialog.BrowseButton()));
    ExpectLook(shot, dialog.CmdBgm(), kDisable);
    EXPECT_EQ(WindowText(combo), L"5");

    // The list: the empty entry, then 1 to 30.
    std::vector<std::wstring> expected{L""};
    for (int track = 1; track <= 30; ++track) expected.push_back(std::to_wstring(track));
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 31);
    EXPECT_EQ(ComboItems(combo), expected);

    // Changes made and then cancelled with the close box reach no file.
    ClickAt(dialog.SourceLabel(2).Centre(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog.BrowseButton()) != FALSE; }, 3000));
    POINT closeBox{};
    const RECT rect = WindowRect(dialog.Hwnd());
    for (int x = rect.right - 1; x > rect.right - 80 && !closeBox.x; --x) {
        for (int y = rect.top; y < rect.top + 40; ++y) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutW(dialog.Hwnd(), WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 1000, &hit);
            if (hit == HTCLOSE) {
                closeBox = {x - 3, y + 3};
                break;
            }
        }
    }
    ASSERT_NE(closeBox.x, 0) << "no close box on the caption";
    ClickAt(closeBox);
    ExpectEnds("the close box");
    EXPECT_EQ(systest::ReadBytes(folder_->Ini()), ini);
}

TEST_F(SettingsDialog, TheCloseCommandAndACloseRequestWriteNothing) {
    const std::string ini = IniBytes(2, 7, L"C:\\音楽\\曲.mp3");
    for (const bool systemCommand : {true, false}) {
        const char* how = systemCommand ? "SC_CLOSE" : "WM_CLOSE";
        SCOPED_TRACE(how);
        ASSERT_TRUE(systest::WriteBytes(folder_->Ini(), ini));
        const Dialog dialog = Open();
        ASSERT_NE(dialog.Hwnd(), nullptr);
        ClickAt(dialog.SourceLabel(1).Centre());
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog.RepeatBox()) != FALSE; }, 3000));
        if (systemCommand) {
            PostMessageW(dialog.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        } else {
            PostMessageW(dialog.Hwnd(), WM_CLOSE, 0, 0);
        }
        ExpectEnds(how);
        EXPECT_EQ(systest::ReadBytes(folder_->Ini()), ini);
    }
}

// --- The file chooser and saving -----------------------------------------------------

TEST_F(SettingsDialog, ChosenFileShowsAtOnceAndSaveWritesTheThreeKeysThatTheNextRunPlays) {
    const std::wstring first = folder_->File(L"最初の曲.mp3");
    const std::wstring tune = folder_->File(L"曲 tone.wav");
    ASSERT_TRUE(systest::WriteBytes(first, "not played"));
    ASSERT_TRUE(systest::WriteBytes(tune, ToneWave()));
    const Dialog dialog = Open();
    ASSERT_NE(dialog.Hwnd(), nullptr);

    // The file source, then "..." opens the chooser.
    ClickAt(dialog.SourceLabel(2).Centre(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(dialog.BrowseButton()) != FALSE; }, 3000));
    const Box fname = dialog.Fname();
    EXPECT_EQ(TextPixels(systest::CaptureScreen(), fname), 0) << "lbl_Fname shows text before a file was chosen";

    const auto choose = [&](const std::wstring* path) {
        ClickButton(dialog.CmdBgm());
        DWORD elapsed = 0;
        HWND chooser = nullptr;
        WaitUntil([&] { return (chooser = FindWindowW(L"#32770", kChooserTitle)) != nullptr; }, kTimeoutMs, &elapsed);
        std::printf("file chooser ﾌｧｲﾙを開く found %lu ms after the click\n", elapsed);
        if (!chooser) {
            std::printf("screenshot: %s\n", systest::SaveScreenshot(systest::CaptureScreen(), "no-chooser").c_str());
            return false;
        }
        if (path) {
            SetWindowTextOf(GetDlgItem(chooser, 1148), *path);
            PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
        } else {
            PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDCANCEL)));
        }
        return WaitUntil([&] { return !IsWindow(chooser); }, kTimeoutMs);
    };

    // A chosen file shows in lbl_Fname at once.
    ASSERT_TRUE(choose(&first)) << "the file chooser did not open or close";
    MoveTo(kRestingPoint);
    EXPECT_TRUE(WaitUntil([&] { return TextPixels(systest::CaptureScreen(), fname) > 20; }, 3000))
        << "the chosen path does not show";
    WaitUntilStill(dialog.Panel());
    const std::vector<std::uint32_t> showingFirst = Pixels(systest::CaptureScreen(), fname);

    // A second choice replaces it; cancelling the chooser after that changes nothing.
    ASSERT_TRUE(choose(&tune));
    MoveTo(kRestingPoint);
    EXPECT_TRUE(WaitUntil([&] { return Pixels(systest::CaptureScreen(), fname) != showingFirst; }, 3000));
    WaitUntilStill(dialog.Panel());
    const std::vector<std::uint32_t> showingTune = Pixels(systest::CaptureScreen(), fname);
    ASSERT_TRUE(choose(nullptr));
    MoveTo(kRestingPoint);
    WaitUntilStill(dialog.Panel());
    EXPECT_TRUE(Pixels(systest::CaptureScreen(), fname) == showingTune) << "cancelling changed lbl_Fname";
    EXPECT_FALSE(systest::Exists(folder_->Ini())) << "choosing a file wrote the ini file";

    // 設定 writes the three keys in order, then closes.
    ClickButton(dialog.CmdSet());
    ExpectEnds("設定");
    EXPECT_TRUE(SavedAs(systest::ReadBytes(folder_->Ini()), 2, 0, tune));

    // The next saver run plays the saved WAV file.
    const long long sinkBefore = systest::AudioSinkSize();
    Process run = Process::Start(folder_->Saver(), L"/s");
    ASSERT_TRUE(run.Started());
    HWND kanvas = systest::WaitForWindow(nullptr, L"Mosaika_Kanvas", kTimeoutMs);
    EXPECT_NE(kanvas, nullptr) << "the saver run did not start the renderer";
    long long previous = -1;
    DWORD elapsed = 0;
    const bool playing = WaitUntil(
        [&] {
            Sleep(100);
            const long long now = systest::AudioSinkSize();
            const bool grew = previous >= 0 && now > previous && now != sinkBefore;
            previous = now;
            return grew;
        },
        kTimeoutMs, &elapsed);
    std::printf("audio sink growing %lu ms after the saver run started (%lld bytes)\n", elapsed, previous);
    EXPECT_TRUE(playing) << "the saved WAV file does not play";
    if (kanvas) PostMessageW(kanvas, WM_CLOSE, 0, 0);
    EXPECT_TRUE(run.WaitForExit(kTimeoutMs)) << "the saver run did not end with its renderer";
}

TEST_F(SettingsDialog, RepeatTextThatIsNoNumberIsSavedAsZero) {
    struct Case {
        const wchar_t* typed;
        int saved;
    };
    for (const Case& c : {Case{L"abc", 0}, Case{L"", 0}, Case{L" 2.5 ", 2}, Case{L"12", 12}}) {
        SCOPED_TRACE(testing::Message() << "typed \"" << std::string(c.typed, c.typed + wcslen(c.typed)) << "\"");
        ASSERT_TRUE(systest::WriteBytes(folder_->Ini(), IniBytes(1, 5, L"")));
        const Dialog dialog = Open();
        ASSERT_NE(dialog.Hwnd(), nullptr);
        HWND combo = dialog.RepeatBox();
        HWND edit = dialog.RepeatEdit();
        ASSERT_NE(edit, nullptr);

        // Into the text field, clear it, type.
        const Box repeat = dialog.Repeat();
        ClickAt(repeat.At(repeat.height / 2, repeat.height / 2));
        systest::PressKey(VK_END);
        for (int i = 0; i < 4; ++i) systest::PressKey(VK_BACK);
        TypeText(c.typed);
        WaitUntil([&] { return WindowText(combo) == c.typed; }, 3000);
        // All of it, also what is wider than the field.
        EXPECT_EQ(WindowText(combo), c.typed);

        ClickButton(dialog.CmdSet());
        ExpectEnds("設定");
        EXPECT_TRUE(SavedAs(systest::ReadBytes(folder_->Ini()), 1, c.saved, L""));
    }
}

// --- Program starts around the dialog ---------------------------------------------------

TEST_F(SettingsDialog, EveryOtherStartWhileItIsOpenEndsAtOnceAndStartsNothing) {
    const Dialog dialog = Open();
    ASSERT_NE(dialog.Hwnd(), nullptr);
    HWND host = CreateWindowExW(0, L"STATIC", L"preview host", WS_POPUP, 0, 0, 152, 112, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    const std::wstring preview = L"/p " + std::to_wstring(reinterpret_cast<INT_PTR>(host));
    for (const std::wstring& arguments : {std::wstring(L"/s"), std::wstring(L"/c"), preview, std::wstring(L"")}) {
        SCOPED_TRACE(testing::Message() << "arguments \"" << std::string(arguments.begin(), arguments.end()) << "\"");
        const Process second = Process::Start(folder_->Saver(), arguments);
        ASSERT_TRUE(second.Started());
        DWORD exitCode = 1234;
        EXPECT_TRUE(second.WaitForExit(kTimeoutMs, &exitCode)) << "the second start did not end";
        std::printf("second start %ls ended after %lu ms with code %lu\n", arguments.c_str(), second.Age(), exitCode);
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(CountTopLevelWindows(kDialogTitle), 1);
        EXPECT_EQ(FindWindowW(nullptr, L"Mosaika_Main"), nullptr);
        EXPECT_EQ(FindWindowW(nullptr, L"Mosaika_Kanvas"), nullptr);
        EXPECT_EQ(GetWindow(host, GW_CHILD), nullptr);
        EXPECT_EQ(systest::WaitForMessageBox(kProgramTitle, 0), nullptr);
    }
    DestroyWindow(host);
    EXPECT_TRUE(saver_.Running());
    PostMessageW(dialog.Hwnd(), WM_CLOSE, 0, 0);
    ExpectEnds("WM_CLOSE");
    EXPECT_FALSE(systest::Exists(folder_->Ini()));
}

TEST_F(SettingsDialog, WithoutTheRendererFileShowsTheMessageAndNeverTheDialog) {
    DeleteFileW(folder_->File(L"モザイカ図.dll").c_str());
    saver_ = Process::Start(folder_->Saver(), L"/c");
    ASSERT_TRUE(saver_.Started());
    HWND box = systest::WaitForMessageBox(kProgramTitle, kTimeoutMs);
    ASSERT_NE(box, nullptr) << "no message box";
    std::printf("message box %lu ms after the start\n", saver_.Age());
    EXPECT_EQ(systest::MessageBoxText(box), L"モザイカ図.dllが同じﾌｫﾙﾀﾞに見つかりません！");
    EXPECT_EQ(FindWindowW(nullptr, kDialogTitle), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    bool dialogSeen = false;
    WaitUntil(
        [&] {
            dialogSeen = dialogSeen || FindWindowW(nullptr, kDialogTitle) != nullptr;
            return !saver_.Running();
        },
        kTimeoutMs);
    EXPECT_FALSE(dialogSeen) << "the dialog opened after the message";
    ExpectEnds("OK on the message");
    EXPECT_FALSE(systest::Exists(folder_->Ini()));
}

}  // namespace
