// The settings dialog "<モザイカ図>" of モザイカ図.scr /c as a user sees and uses
// it with the real mouse and keyboard: its place, size and painting at the
// display's DPI, its owner-drawn buttons at rest, under the pointer and
// pressed, the music source, the repeat box, the file chooser, the home-page
// button, the keyboard focus, and the ini file it writes exactly or leaves alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "SaverSystemTest.h"
#include "SkinColours.h"
#include "TwipsToPixels.h"

#ifndef MOSAIKA_HOME_PAGE
#define MOSAIKA_HOME_PAGE "https://example.com/"
#endif

namespace {

using namespace systest;
using Names = std::vector<std::string>;

// A box of the dialog: twips from the top-left corner of its client area.
struct Twips {
    double left, top, width, height;
};


// The layout in twips. The panel Pic_C holds the source rows: the indicators
// Img_BGM and labels lbl_BGM of 0 none, 1 music CD, 2 MP3/WAV file.
constexpr Twips kClient{0, 0, 7185, 3780};
constexpr Twips kPanel{180, 240, 6795, 2535};
constexpr Twips kInfoLine{180, 2940, 2475, 195};
constexpr Twips kFname{1200, 1980, 5355, 435};
constexpr double kRowTops[] = {1380, 1080, 1680};
constexpr double kLabelWidths[] = {345, 645, 900};
Twips Indicator(int source) { return {480, kRowTops[source], 195, 195}; }
Twips SourceLabel(int source) { return {720, kRowTops[source], kLabelWidths[source], 195}; }

// The focusable controls in tab order, found as a screen reader finds them:
// the buttons by their captions.
struct Control {
    const char* name;
    const wchar_t* caption;
    Twips box;
};
constexpr Control kControls[] = {{"BGM_Repeat", nullptr, {1560, 1020, 615, 300}},
                                  {"Cmd_Etc", L"その他の作品", {2880, 3000, 1875, 375}},
                                  {"Cmd_Set", L"設定", {4800, 3000, 1095, 375}},
                                  {"Cmd_Can", L"ｷｬﾝｾﾙ", {5940, 3000, 1035, 375}},
                                  {"Cmd_BGM", L"...", {720, 1980, 435, 315}}};
enum { kRepeat, kEtc, kSet, kCan, kBgm };

// A skin's rings at 96 dpi, outer edge inwards: the top rows 0..3, then the
// bottom rows from the last one up.
struct Look {
    const char* name;
    std::array<std::uint32_t, 8> rows;
    constexpr Look(const char* lookName, const mosaika::SkinRings& r)
        : name(lookName), rows{r.top[0], r.top[1], r.top[2], r.top[3], r.bottom[0], r.bottom[1], r.bottom[2], r.bottom[3]} {}
};
constexpr Look kNormal{"Normal", mosaika::kNormalRings};
constexpr Look kHighLight{"HighLight", mosaika::kHighLightRings};
constexpr Look kPressed{"Pressed", mosaika::kPressedRings};
constexpr Look kSelected{"Selected", mosaika::kSelectedRings};
constexpr Look kDisable{"Disable", mosaika::kDisableRings};

constexpr POINT kRest{4, 4};  // away from every control

int Channel(std::uint32_t rgb, int shift) { return static_cast<int>(rgb >> shift & 0xFF); }
bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (const int shift : {0, 8, 16}) {
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
    }
    return true;
}
std::string Hex(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", rgb);
    return text;
}
// The indicator's selected picture is filled blue; a label's text is black.
bool IsBlue(std::uint32_t p) { return Channel(p, 0) >= Channel(p, 16) + 100 && Channel(p, 0) >= Channel(p, 8) + 60; }
bool IsBlack(std::uint32_t p) { return std::max({Channel(p, 0), Channel(p, 8), Channel(p, 16)}) < 40; }

std::array<std::uint32_t, 8> FaceRows(const Screenshot& shot, const RECT& b) {
    const int x = (b.left + b.right) / 2;
    return {shot.At(x, b.top), shot.At(x, b.top + 1), shot.At(x, b.top + 2), shot.At(x, b.top + 3),
            shot.At(x, b.bottom - 1), shot.At(x, b.bottom - 2), shot.At(x, b.bottom - 3), shot.At(x, b.bottom - 4)};
}

// Waits until the button shows the look.
testing::AssertionResult Shows(const RECT& button, const Look& look) {
    std::array<std::uint32_t, 8> seen{};
    if (WaitUntil([&] { return (seen = FaceRows(CaptureScreen(), button)) == look.rows; }, 5000, 20)) {
        return testing::AssertionSuccess();
    }
    std::string rows;
    for (const std::uint32_t p : seen) rows.append(" ").append(Hex(p));
    return testing::AssertionFailure() << "no " << look.name << " look; rows" << rows;
}

// The hover looks' orange band in the top rows, at any DPI.
bool ShowsHover(const RECT& b) {
    return CaptureScreen().Count({Centre(b).x, b.top, Centre(b).x + 1, b.top + (b.bottom - b.top) / 4},
                                 [](std::uint32_t p) { return p == 0xFDD889 || p == 0xFFF0CF; }) > 0;
}

// A click as a user makes it: the button clicks on a release only once it
// has seen the pointer come, so the pointer comes from outside, after a hover
// look left from before (its leave timer late) has gone. Under Wine the first
// move after a modal window closed can arrive after a press sent right behind
// it, so the move is repeated until the hover shows.
void ClickButton(const RECT& button) {
    MoveMouseTo(kRest.x, kRest.y);
    EXPECT_TRUE(WaitUntil([&] { return !ShowsHover(button); }, 5000)) << "the hover look stayed";
    const POINT centre = Centre(button);
    for (int attempt = 0; attempt < 10; ++attempt) {
        MoveMouseTo(centre.x + attempt % 2, centre.y);
        if (WaitUntil([&] { return ShowsHover(button); }, 300)) break;
    }
    EXPECT_TRUE(ShowsHover(button)) << "the button never showed the pointer over it";
    ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

// The open dialog: its controls, and where its layout lies on the screen at
// the display's DPI, each edge rounded to the nearest pixel.
struct Dialog {
    HWND window = nullptr;
    int dpi = 96;
    POINT origin{};  // of its client area
    HWND controls[5] = {};
    HWND panel = nullptr;

    int Px(double twips) const { return forms::TwipsToPixels(twips, dpi); }
    RECT Box(const Twips& b) const {
        return {origin.x + Px(b.left), origin.y + Px(b.top), origin.x + Px(b.left + b.width),
                origin.y + Px(b.top + b.height)};
    }
    RECT Box(int control) const { return Box(kControls[control].box); }
    HWND Combo() const { return controls[kRepeat]; }
    bool Enabled(int control) const { return IsWindowEnabled(controls[control]) != FALSE; }

    // Which control has the focus in the dialog's thread (the combo box for its edit field).
    std::string Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        for (int i = 0; i < 5; ++i) {
            if (info.hwndFocus && (info.hwndFocus == controls[i] || IsChild(controls[i], info.hwndFocus))) {
                return kControls[i].name;
            }
        }
        return "none";
    }
    // Waits until the focus is somewhere other than `than`; returns where.
    std::string FocusAfter(const std::string& than) const {
        std::string now;
        WaitUntil([&] { return (now = Focus()) != than; }, 3000);
        return now;
    }
    // Waits until lbl_Fname shows the caption as the dialog paints it: its font,
    // black, wrapped at its width, over the panel's bands (read beside it).
    bool FileLabelShows(const std::wstring& caption, DWORD timeoutMs = kWindowTimeoutMs) const {
        const RECT box = Box(kFname);
        const win32::UniqueFont font(  // outlives the bitmap it is selected into
            CreateFontW(-std::lround(9.75 * dpi / 72.0), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"ＭＳ Ｐゴシック"));
        return WaitUntil([&] {
            const Screenshot shot = CaptureScreen();
            return shot.In(box) == Drawn(box.right - box.left, box.bottom - box.top, [&](HDC dc) {
                for (RECT row{0, 0, box.right - box.left, 1}; row.top < box.bottom - box.top; OffsetRect(&row, 0, 1)) {
                    const std::uint32_t rgb = shot.At(Box(kPanel).left + Px(6600), box.top + row.top);
                    SetDCBrushColor(dc, RGB(rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF));
                    FillRect(dc, &row, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
                }
                SelectObject(dc, font.get());
                SetBkMode(dc, TRANSPARENT);
                RECT bounds{0, 0, box.right - box.left, box.bottom - box.top};
                DrawTextW(dc, caption.c_str(), -1, &bounds, DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL);
            }).pixels;
        }, timeoutMs);
    }

    // Waits until the indicators show that source alone as selected, and its controls are enabled.
    testing::AssertionResult ShowsSource(int source) const {
        const bool shown = WaitUntil([&] {
            const Screenshot shot = CaptureScreen();
            for (int i = 0; i < 3; ++i) {
                const int blue = shot.Count(Box(Indicator(i)), IsBlue);
                if (i == source ? blue < 30 : blue != 0) return false;
            }
            return Enabled(kRepeat) == (source == 1) && Enabled(kBgm) == (source == 2);
        });
        if (shown) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "source " << source << " not shown";
    }
};

class SettingsDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetProcessDPIAware(); }  // real pixels at any DPI

    // Writes the ini file, starts the program with /c and waits until its
    // dialog is shown and still.
    Dialog Open(const std::string& ini) {
        EXPECT_TRUE(WriteBytes(folder_.Ini(), ini));
        MoveMouseTo(kRest.x, kRest.y);
        saver_ = folder_.StartSaver(L"/c");
        Dialog d;
        d.window = WaitForWindow(nullptr, kSettingsDialogTitle);
        std::vector<std::uint32_t> last{1};
        if (!d.window || !WaitUntil([&] {
                Sleep(60);
                RECT rect{};
                GetWindowRect(d.window, &rect);
                std::vector<std::uint32_t> now = CaptureScreen().In(rect);
                now.insert(now.end(), {std::uint32_t(rect.left), std::uint32_t(rect.top)});
                return IsWindowVisible(d.window) && std::exchange(last, now) == now;
            })) {
            ADD_FAILURE() << "no settings dialog on the screen";
            return d;
        }
        std::printf("dialog shown and still %lu ms after the start\n", saver_.Age());
        const win32::WindowDc screen(nullptr);
        d.dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);  // real pixels once SetProcessDPIAware ran
        ClientToScreen(d.window, &d.origin);
        for (HWND child = GetWindow(d.window, GW_CHILD); child && !d.Combo(); child = GetWindow(child, GW_HWNDNEXT)) {
            d.controls[kRepeat] = FindWindowExW(child, nullptr, L"ComboBox", nullptr);
            d.panel = child;
        }
        for (int i = kEtc; i <= kBgm; ++i) {
            d.controls[i] = FindWindowExW(i == kBgm ? d.panel : d.window, nullptr, nullptr, kControls[i].caption);
            EXPECT_NE(d.controls[i], nullptr) << "no " << kControls[i].name << " with its caption as its text";
        }
        EXPECT_NE(d.Combo(), nullptr) << "no repeat box";
        return d;
    }

    // Expects the program to end with exit code 0 and its dialog gone.
    void ExpectEnds(const char* how) {
        ASSERT_EQ(saver_.ExitCode(kExitTimeoutMs), 0u) << how << " (259: the dialog stayed)";
        EXPECT_EQ(FindWindowW(nullptr, kSettingsDialogTitle), nullptr) << how;
    }

    // Tab goes round the controls from the first, each button showing its
    // focused look; Shift+Tab goes back round.
    void ExpectTabCycle(const Dialog& d, Names cycle) {
        cycle.push_back(cycle.front());
        for (const bool back : {false, true}) {
            Names seen{d.Focus()};
            while (seen.size() < cycle.size()) {
                back ? PressKeyWith(VK_SHIFT, VK_TAB) : PressKey(VK_TAB);
                seen.push_back(d.FocusAfter(seen.back()));
                for (int i = kEtc; i <= kBgm; ++i) {
                    const RECT box = d.Box(i);
                    EXPECT_TRUE(seen.back() != kControls[i].name || WaitUntil([&] {
                        return FaceRows(CaptureScreen(), box)[2] == kSelected.rows[2];
                    }, 3000)) << seen.back() << " has the focus but not its focused look";
                }
            }
            EXPECT_EQ(seen, cycle);
            std::reverse(cycle.begin(), cycle.end());
        }
    }

    SaverFolder folder_{L"dlg"};  // short: a chosen file's path fits the two lines of lbl_Fname
    Process saver_;
};

// Runs in the world at 96 dpi and again alone in one at 144 dpi (see
// CMakeLists.txt); the skins' rows are exact at 96 dpi.
TEST_F(SettingsDialog, OpensLaidOutAndPaintedAndAnswersThePointerAndTheSourcePresses) {
    const std::string ini = MusicSettingsIni(1, 5, L"");  // the CD source: the repeat box has the focus
    const Dialog d = Open(ini);
    ASSERT_TRUE(d.Combo() && d.controls[kBgm]);
    const int dpi = d.dpi;
    const char* dpiText = std::getenv("MOSAIKA_DPI");
    EXPECT_EQ(dpi, dpiText ? std::atoi(dpiText) : 96) << "the display does not run at the DPI the test asked for";

    // Client area 7185 x 3780 twips, centred across at a third of the free height.
    RECT client{}, rect{};
    GetClientRect(d.window, &client);
    GetWindowRect(d.window, &rect);
    EXPECT_EQ(client.right, d.Px(7185));
    EXPECT_EQ(client.bottom, d.Px(3780));
    EXPECT_NEAR(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2.0, 1.0);
    EXPECT_NEAR(rect.top, (GetSystemMetrics(SM_CYSCREEN) - (rect.bottom - rect.top)) / 3.0, 1.0);
    std::printf("%d dpi: window at %ld, %ld, client area %ld x %ld\n", dpi, rect.left, rect.top, client.right,
                client.bottom);
    // Every control where the layout puts it; the repeat box as high as its font makes it.
    for (int i = 0; i <= 5; ++i) {
        const RECT want = i < 5 ? d.Box(i) : d.Box(kPanel);
        RECT got{};
        GetWindowRect(i < 5 ? d.controls[i] : d.panel, &got);
        EXPECT_TRUE(got.left == want.left && got.top == want.top && got.right == want.right &&
                    (i == kRepeat || got.bottom == want.bottom))
            << (i < 5 ? kControls[i].name : "Pic_C") << " at " << got.left << ", " << got.top << " - " << got.right
            << ", " << got.bottom;
    }
    // A screen reader names the repeat box by the static text before it.
    EXPECT_EQ(WindowText(GetWindow(d.Combo(), GW_HWNDPREV)), L"曲目をﾘﾋﾟｰﾄ");
    // The repeat box: the track from the ini file; the list an empty entry, then 1 to 30.
    EXPECT_EQ(WindowText(d.Combo()), L"5");
    std::wstring items, expectedItems;
    for (int i = 0; i < 31; ++i) expectedItems += (i ? std::to_wstring(i) : L"") + L",";
    for (LRESULT i = 0; i < SendMessageW(d.Combo(), CB_GETCOUNT, 0, 0); ++i) {
        wchar_t item[16] = {};
        if (SendMessageW(d.Combo(), CB_GETLBTEXTLEN, i, 0) < 16) SendMessageW(d.Combo(), CB_GETLBTEXT, i, LPARAM(item));
        items += std::wstring(item) + L",";
    }
    EXPECT_EQ(items, expectedItems);

    // The bands, read where no control stands: the dialog's dark navy at its
    // top and bottom rows and pale lavender in the middle, along a sine
    // (a quarter down |sin(pi/4)| x 220), across the whole width; the panel's
    // own, near black to near white.
    EXPECT_TRUE(d.ShowsSource(1));
    const Screenshot shot = CaptureScreen();
    std::printf("screenshot: %s\n", SaveScreenshot(shot, "settings-dialog-" + std::to_string(dpi) + "dpi").c_str());
    const RECT all = d.Box(kClient), panel = d.Box(kPanel);
    const int x = all.left + d.Px(90), panelX = panel.left + d.Px(6600);
    const int middle = (all.top + all.bottom) / 2, panelMiddle = (panel.top + panel.bottom) / 2;
    const struct {
        int x, y;
        std::uint32_t rgb;
        int tolerance;
    } probes[] = {{x, all.top, 0x00001E, 0}, {all.right - 1, all.top, 0x00001E, 0}, {x, all.bottom - 1, 0x00001E, 3},
                  {x, middle, 0xDCDCFA, 1}, {all.right - 1, middle, 0xDCDCFA, 1},
                  {x, all.top + (all.bottom - all.top) / 4, 0x9C9CBA, 4},
                  {panelX, panel.top, 0x1E1E1E, 0}, {panelX, panel.bottom - 1, 0x1E1E1E, 0},
                  {panelX, panelMiddle, 0xFAFAFA, 1}, {panelX, panel.top + (panel.bottom - panel.top) / 4, 0xBABABA, 4}};
    for (const auto& p : probes) {
        EXPECT_TRUE(Near(shot.At(p.x, p.y), p.rgb, p.tolerance))
            << Hex(shot.At(p.x, p.y)) << " at " << p.x << ", " << p.y << " instead of " << Hex(p.rgb);
    }
    EXPECT_NE(shot.At(panelX, panel.top - 1), shot.At(panelX, panel.top)) << "the panel's bands are not its own";
    for (int i = 0; i < 3; ++i) EXPECT_GT(shot.Count(d.Box(SourceLabel(i)), IsBlack), 10) << "no text on label " << i;
    // The information line: white text that stays in its label, clear of その他の作品.
    const RECT info = d.Box(kInfoLine);
    int rightmostWhite = -1;
    for (int y = info.top - 2; y < info.bottom + 2; ++y) {
        for (int px = info.left; px < d.Box(kEtc).left; ++px) {
            if (shot.At(px, y) == 0xFFFFFF) rightmostWhite = std::max(rightmostWhite, px);
        }
    }
    EXPECT_GE(rightmostWhite, info.left) << "no white text on the information line";
    EXPECT_LT(rightmostWhite, info.right) << "the information line runs past its label";

    const RECT etc = d.Box(kEtc), cancel = d.Box(kCan);
    if (dpi == 96) {
        // At rest Normal, lighter at the top; "..." greyed.
        for (const int i : {kEtc, kSet, kCan}) EXPECT_TRUE(Shows(d.Box(i), kNormal)) << kControls[i].name;
        EXPECT_TRUE(Shows(d.Box(kBgm), kDisable));
        const auto gradient = [](const Screenshot& s, const RECT& b) {
            return Channel(s.At(b.left + 6, b.top + 5), 8) - Channel(s.At(b.left + 6, b.bottom - 6), 8);
        };
        EXPECT_GT(gradient(shot, etc), 0);
        const std::wstring log = WinePathOf(L"MOSAIKA_BROWSER_LOG");  // fake-browser/xdg-open writes it
        ASSERT_FALSE(log.empty()) << "MOSAIKA_BROWSER_LOG names no file";
        DeleteFileW(log.c_str());

        // The pointer over その他の作品, at its side or its caption: HighLight with
        // the gradient turned round, kept over ticks of the leave timer,
        // dropped once the pointer has gone. The left button held: Pressed;
        // released over it: Click, the home page opens. The click left it
        // focused: Selected once the pointer has gone, Normal once ｷｬﾝｾﾙ takes
        // the focus. ｷｬﾝｾﾙ dragged off and released outside: no Click, focused.
        constexpr POINT kStay{-1, -1};
        const POINT side{etc.left + 8, Centre(etc).y};
        const struct {
            POINT to;
            DWORD button;
            const RECT& face;
            const Look& look;
        } steps[] = {{side, 0, etc, kHighLight}, {Centre(etc), 0, etc, kHighLight}, {kRest, 0, etc, kNormal},
                     {Centre(etc), 0, etc, kHighLight}, {kStay, MOUSEEVENTF_LEFTDOWN, etc, kPressed},
                     {kStay, MOUSEEVENTF_LEFTUP, etc, kHighLight}, {Centre(cancel), 0, cancel, kHighLight},
                     {kStay, 0, etc, kSelected}, {kStay, MOUSEEVENTF_LEFTDOWN, cancel, kPressed},
                     {kStay, 0, etc, kNormal}, {kRest, 0, cancel, kSelected},
                     {kStay, MOUSEEVENTF_LEFTUP, cancel, kSelected}};
        for (const auto& step : steps) {
            if (step.to.x >= 0) MoveMouseTo(step.to.x, step.to.y);
            if (step.button) SendMouse(step.button);
            // A look that must stay is watched over a while; one that must come is waited for.
            const auto* before = &step == steps ? nullptr : &step - 1;
            if (before && &before->face == &step.face && &before->look == &step.look) {
                EXPECT_TRUE(HoldsFor([&] { return FaceRows(CaptureScreen(), step.face) == step.look.rows; }, 300))
                    << "step " << &step - steps << " left the " << step.look.name << " look";
            }
            EXPECT_TRUE(Shows(step.face, step.look)) << "step " << &step - steps;
            if (&step.look == &kHighLight) {
                EXPECT_LT(gradient(CaptureScreen(), step.face), 0) << "step " << &step - steps;
            }
        }
        EXPECT_TRUE(WaitUntil([&] { return !ReadBytes(log).empty(); })) << "xdg-open never ran";
        EXPECT_EQ(ReadBytes(log), "[" MOSAIKA_HOME_PAGE "]\n");
        EXPECT_TRUE(saver_.Running() && IsWindowVisible(d.window)) << "a click on その他の作品 or off ｷｬﾝｾﾙ closed it";
    } else {
        // Stretched frames keep their dark blue outline, a little further in.
        for (const int i : {kEtc, kSet, kCan}) {
            const RECT b = d.Box(i);
            const auto outline = [](std::uint32_t p) { return p == 0x003C74; };
            EXPECT_GT(shot.Count({Centre(b).x, b.top, Centre(b).x + 1, b.top + d.Px(60)}, outline), 0)
                << "no outline on " << kControls[i].name;
        }
    }

    // A press with any mouse button on a source's label or indicator selects
    // it, enables its control and greys the others.
    const struct {
        Twips target;
        DWORD down, up;
        int source;
    } presses[] = {{SourceLabel(2), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 2},
                   {Indicator(0), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0},
                   {SourceLabel(1), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1},
                   {Indicator(2), MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 2},
                   {Indicator(1), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1}};
    for (const auto& press : presses) {
        ClickAt(Centre(d.Box(press.target)), press.down, press.up);
        MoveMouseTo(kRest.x, kRest.y);
        EXPECT_TRUE(d.ShowsSource(press.source));
        if (dpi == 96) { EXPECT_TRUE(Shows(d.Box(kBgm), press.source == 2 ? kNormal : kDisable)); }
    }

    // ｷｬﾝｾﾙ closes the dialog and writes nothing.
    ClickButton(cancel);
    ExpectEnds("ｷｬﾝｾﾙ");
    EXPECT_EQ(ReadBytes(folder_.Ini()), ini);
}

TEST_F(SettingsDialog, KeyboardFocusFollowsTheEnabledControlsAndEscOrTheCloseBoxCancel) {
    const std::string ini = MusicSettingsIni(1, 0, L"");
    Dialog d = Open(ini);
    ASSERT_TRUE(d.Combo() && d.controls[kBgm]);

    // The focus starts on the first enabled control; Tab visits the enabled ones.
    EXPECT_EQ(d.FocusAfter("none"), "BGM_Repeat");
    ExpectTabCycle(d, {"BGM_Repeat", "Cmd_Etc", "Cmd_Set", "Cmd_Can"});
    // 無し disables the focused repeat box: the focus moves on to その他の作品.
    ClickAt(Centre(d.Box(SourceLabel(0))));
    EXPECT_EQ(d.FocusAfter("BGM_Repeat"), "Cmd_Etc");
    ExpectTabCycle(d, {"Cmd_Etc", "Cmd_Set", "Cmd_Can"});
    ClickAt(Centre(d.Box(SourceLabel(2))));
    ASSERT_TRUE(d.ShowsSource(2));
    ExpectTabCycle(d, {"Cmd_Etc", "Cmd_Set", "Cmd_Can", "Cmd_BGM"});
    // "..." focused, then 音楽CD disables it: on to the repeat box.
    PressKeyWith(VK_SHIFT, VK_TAB);
    ASSERT_EQ(d.FocusAfter("Cmd_Etc"), "Cmd_BGM");
    ClickAt(Centre(d.Box(SourceLabel(1))));
    EXPECT_EQ(d.FocusAfter("Cmd_BGM"), "BGM_Repeat");

    // Esc on the open list closes the list and keeps the dialog.
    PressKey(VK_F4);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(d.Combo(), CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000))
        << "F4 did not open the list";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(d.Combo(), CB_GETDROPPEDSTATE, 0, 0) == 0; }, 3000));
    // Enter and Space on the focused 設定 do not click it.
    PressKey(VK_TAB);
    ASSERT_EQ(d.FocusAfter("BGM_Repeat"), "Cmd_Etc");
    PressKey(VK_TAB);
    ASSERT_EQ(d.FocusAfter("Cmd_Etc"), "Cmd_Set");
    PressKey(VK_RETURN);
    PressKey(VK_SPACE);
    ASSERT_TRUE(HoldsFor([&] { return saver_.Running(); }, 500)) << "Esc on the list or a key on 設定 closed the dialog";
    // Esc is ｷｬﾝｾﾙ: nothing written.
    PressKey(VK_ESCAPE);
    ExpectEnds("Esc");
    EXPECT_EQ(ReadBytes(folder_.Ini()), ini);

    // The caption's close box cancels too, the choices made before it unsaved.
    d = Open(ini);
    ClickAt(Centre(d.Box(SourceLabel(2))), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(d.ShowsSource(2));
    RECT rect{};
    GetWindowRect(d.window, &rect);
    POINT closeBox{};
    for (int x = rect.right - 1; x > rect.right - 80 && !closeBox.x; --x) {
        for (int y = rect.top; y < rect.top + 40 && !closeBox.x; ++y) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutW(d.window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 1000, &hit);
            if (hit == HTCLOSE) closeBox = {x - 3, y + 3};
        }
    }
    ASSERT_NE(closeBox.x, 0) << "no close box on the caption";
    ClickAt(closeBox);
    ExpectEnds("the close box");
    EXPECT_EQ(ReadBytes(folder_.Ini()), ini);
}

// The ini file as a Japanese system left it, naming a file beside the program:
// shown; beside the open dialog a second start and a preview end at once; 設定
// writes the same bytes. Then a file from a folder Shift-JIS cannot spell,
// chosen in the file chooser: the label shows its long name, 設定 stores the
// short path, and a saver run plays it. The repeat box's text is saved as a
// whole number once a failed save was told. Run in every world (CMakeLists.txt).
TEST_F(SettingsDialog, JapaneseIniIsShownAndSavedAsItCameAndAFileChosenAnywherePlays) {
    const std::wstring first = folder_.File(L"最初の曲.wav"), tune = folder_.File(L"音楽 한글 café\\曲 ♫.wav");
    ASSERT_TRUE(CreateDirectoryW(folder_.File(L"音楽 한글 café").c_str(), nullptr) && WriteBytes(first, "x") &&
                WriteBytes(tune, SineWave(400)));
    const std::string ini = MusicSettingsIni(2, 3, first);
    Dialog d = Open(ini);
    ASSERT_TRUE(d.Combo() && d.controls[kBgm]);
    EXPECT_EQ(d.FocusAfter("none"), "Cmd_Etc");
    EXPECT_TRUE(d.ShowsSource(2));
    EXPECT_EQ(WindowText(d.Combo()), L"3");
    EXPECT_TRUE(d.FileLabelShows(first)) << Cp932(first);
    HostWindow host(200, 150);
    for (const std::wstring& arguments :
         std::vector<std::wstring>{L"/s", L"", L"/c", L"/a 1234", L"/p " + host.HandleText()}) {
        EXPECT_EQ(folder_.StartSaver(arguments).ExitCode(kExitTimeoutMs), 0u)
            << Cp932(arguments) << " beside the dialog (259: it did not end)";
    }
    EXPECT_EQ(CountWindows(kSettingsDialogTitle) + CountWindows(kRendererWindowTitle), 1);
    ClickButton(d.Box(kSet));
    ExpectEnds("設定");
    EXPECT_EQ(ReadBytes(folder_.Ini()), ini);

    // "..." opens the chooser. A name Shift-JIS cannot spell that has no
    // short form (no such file) is refused with a message, and the choice
    // stays; the chosen file shows in lbl_Fname by its long name; a cancelled
    // chooser changes nothing.
    d = Open(ini);
    const std::wstring nowhere = folder_.File(L"音楽 한글 café\\無い ♫.wav");
    for (const std::wstring* path : {&nowhere, &tune, static_cast<const std::wstring*>(nullptr)}) {
        ClickButton(d.Box(kBgm));
        HWND chooser = WaitForWindow(L"#32770", L"ﾌｧｲﾙを開く");
        ASSERT_NE(chooser, nullptr) << "no file chooser titled ﾌｧｲﾙを開く";
        if (path) SetDlgItemTextW(chooser, 1148, path->c_str());
        const int button = path ? IDOK : IDCANCEL;
        PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(GetDlgItem(chooser, button)));
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));
        if (path == &nowhere) {
            const std::wstring text = AnswerMessageBox(saver_.Id());
            EXPECT_EQ(text.rfind(L"このファイルの場所は保存できません。\n" + nowhere + L"\n", 0), 0u) << Cp932(text);
        }
        MoveMouseTo(kRest.x, kRest.y);
        EXPECT_TRUE(d.FileLabelShows(path == &nowhere ? first : tune)) << "lbl_Fname after " << (path ? "choosing" : "cancelling");
    }
    EXPECT_FALSE(WaitUntil([&] { return !d.FileLabelShows(tune, 0); }, 1000)) << "lbl_Fname after cancelling";
    EXPECT_EQ(ReadBytes(folder_.Ini()), ini) << "choosing a file wrote the ini file";

    // The CD source, and text typed into the repeat box (all of it kept).
    ClickAt(Centre(d.Box(SourceLabel(1))));
    ASSERT_TRUE(d.ShowsSource(1));
    const RECT repeat = d.Box(kRepeat);
    ClickAt({repeat.left + 10, Centre(repeat).y});
    PressKey(VK_END);
    for (int i = 0; i < 4; ++i) PressKey(VK_BACK);
    TypeText(L" 2.5 ");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(d.Combo()) == L" 2.5 "; }, 3000)) << Cp932(WindowText(d.Combo()));

    // 設定 while the file cannot be written (held open without write sharing;
    // Wine as root ignores the read-only attribute): the user is told which
    // file, the dialog stays, the file stays as it was.
    win32::UniqueFile held(
        CreateFileW(folder_.Ini().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    ClickButton(d.Box(kSet));
    const std::wstring text = AnswerMessageBox(saver_.Id()), lead = L"設定を保存できませんでした。\n";
    EXPECT_EQ(text.substr(0, lead.size()), lead) << Cp932(text);
    EXPECT_TRUE(SamePath(text.substr(std::min(lead.size(), text.size())), folder_.Ini())) << Cp932(text);
    EXPECT_TRUE(HoldsFor([&] { return saver_.Running() && IsWindowVisible(d.window); }, 500))
        << "the dialog closed after a failed save";
    EXPECT_EQ(ReadBytes(folder_.Ini()), ini);

    // Once the file is free, 設定 writes the three keys in Shift-JIS, in
    // order, the typed text as a whole number, and closes; the run plays the file.
    held.reset();
    ClickAt(Centre(d.Box(SourceLabel(2))));
    ASSERT_TRUE(d.ShowsSource(2));
    ClickButton(d.Box(kSet));
    ExpectEnds("設定");
    wchar_t shortTune[MAX_PATH] = {};
    ASSERT_LT(GetShortPathNameW(tune.c_str(), shortTune, MAX_PATH), DWORD{MAX_PATH});
    EXPECT_EQ(ReadBytes(folder_.Ini()), MusicSettingsIni(2, 2, shortTune)) << Cp932(shortTune);
    ExpectSaverRunHears(folder_, {1000, 0, true, false});
}

}  // namespace
