// The settings dialog "<モザイカ図>" of モザイカ図.scr /c used from the keyboard
// with real keys: where the focus is when it opens, the Tab and Shift+Tab
// order through the enabled controls, the focus when its control is disabled,
// Esc as ｷｬﾝｾﾙ, and keys on a button that must not click it. Also what a
// screen reader reads: each button's window text and the repeat box's label.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "SaverSystemTest.h"

namespace {

using systest::Process;
using Names = std::vector<std::string>;

void Key(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void PressShiftTab() {
    Key(VK_SHIFT, false);
    systest::PressKey(VK_TAB);
    Key(VK_SHIFT, true);
}

// The open dialog and its focusable controls, each found as a screen reader
// finds it: the buttons by their window text.
class KeyboardDialog {
public:
    explicit KeyboardDialog(HWND window) : window_(window) {
        for (HWND child = GetWindow(window, GW_CHILD); child && !combo_; child = GetWindow(child, GW_HWNDNEXT)) {
            combo_ = FindWindowExW(child, nullptr, L"ComboBox", nullptr);
            if (combo_) panel_ = child;
        }
        controls_ = {{"BGM_Repeat", combo_},
                     {"Cmd_Etc", FindWindowExW(window, nullptr, nullptr, L"その他の作品")},
                     {"Cmd_Set", FindWindowExW(window, nullptr, nullptr, L"設定")},
                     {"Cmd_Can", FindWindowExW(window, nullptr, nullptr, L"ｷｬﾝｾﾙ")},
                     {"Cmd_BGM", FindWindowExW(panel_, nullptr, nullptr, L"...")}};
    }

    bool Complete() const {
        for (const auto& [name, window] : controls_) {
            if (!window) ADD_FAILURE() << "no window of " << name << " with its caption as its text";
        }
        return combo_ && controls_[1].second && controls_[2].second && controls_[3].second && controls_[4].second;
    }
    HWND Combo() const { return combo_; }
    HWND Window(const std::string& name) const {
        for (const auto& [each, window] : controls_) {
            if (each == name) return window;
        }
        return nullptr;
    }

    // The control that has the focus in the dialog's thread: the combo box
    // for its edit field, "none" when nothing has it.
    std::string Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
        for (const auto& [name, window] : controls_) {
            if (info.hwndFocus && (info.hwndFocus == window || IsChild(window, info.hwndFocus))) return name;
        }
        return info.hwndFocus == window_ ? "the dialog" : "none";
    }
    // Waits until the focus is somewhere other than `than`; returns where.
    std::string FocusChangedFrom(const std::string& than) const {
        std::string now;
        systest::PumpUntil([&] { return (now = Focus()) != than; }, 3000);
        return now;
    }
    // Where the focus settles when the dialog opens: on a control, unless it never gets there.
    std::string FirstFocus() const {
        std::string now;
        systest::PumpUntil([&] { return (now = Focus()) != "none" && now != "the dialog"; }, 3000);
        return now;
    }

    // A press on a source label (0 無し, 1 音楽CD) in the panel, laid out in twips.
    void PressSourceLabel(int index) const {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        POINT at{MulDiv(540 + 150, dpi, 1440), MulDiv(index == 0 ? 1140 + 97 : 840 + 97, dpi, 1440)};
        ClientToScreen(panel_, &at);
        systest::MoveMouseTo(at.x, at.y);
        Sleep(30);
        systest::ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        systest::MoveMouseTo(4, 4);
    }

private:
    HWND window_;
    HWND combo_ = nullptr;
    HWND panel_ = nullptr;
    std::vector<std::pair<std::string, HWND>> controls_;
};

// The inner band of a button's top rows at its middle: CEE7FF in the focused
// (Selected) look, F3F3EE at rest.
bool ShowsFocusLook(HWND button) {
    RECT rect{};
    GetWindowRect(button, &rect);
    const systest::Screenshot shot = systest::CaptureScreen();
    return shot.At((rect.left + rect.right) / 2, rect.top + 2) == 0xCEE7FF;
}

class SettingsDialogKeyboard : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetProcessDPIAware(); }
    void SetUp() override { systest::MoveMouseTo(4, 4); }  // away from every control

    // The ini file with the source set; the file source keeps a file that exists.
    std::string IniWithSource(int bgmMode) const {
        return systest::MusicSettingsIni(bgmMode, 0, bgmMode == 2 ? folder_.File(L"曲.wav") : L"");
    }

    KeyboardDialog Open(int bgmMode) {
        EXPECT_TRUE(systest::WriteBytes(folder_.File(L"曲.wav"), systest::SineWave(100)));
        EXPECT_TRUE(systest::WriteBytes(folder_.Ini(), IniWithSource(bgmMode)));
        saver_ = folder_.StartSaver(L"/c");
        HWND window = systest::WaitForWindow(nullptr, systest::kSettingsDialogTitle, systest::kWindowTimeoutMs);
        EXPECT_NE(window, nullptr) << "no settings dialog";
        systest::PumpUntil([&] { return window && IsWindowVisible(window); }, systest::kWindowTimeoutMs);
        return KeyboardDialog(window);
    }

    // Esc ends the program (exit code 0) and leaves the ini file as it was.
    void ExpectEscapeCancels(int bgmMode) {
        systest::PressKey(VK_ESCAPE);
        DWORD exitCode = 1234;
        ASSERT_TRUE(systest::WaitForExitPumping(saver_.Handle(), systest::kExitTimeoutMs, &exitCode))
            << "Esc did not close the dialog";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(systest::ReadBytes(folder_.Ini()), IniWithSource(bgmMode)) << "Esc wrote the ini file";
    }

    systest::SaverFolder folder_{L"dlg keys"};
    Process saver_;
};

std::string Joined(const Names& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : " -> ") + name;
    return text;
}

TEST_F(SettingsDialogKeyboard, FocusStartsOnTheFirstEnabledControlAndTabVisitsTheEnabledOnesInOrder) {
    struct Case {
        int bgmMode;
        Names cycle;  // from the first focus, Tab by Tab
    };
    const Case cases[] = {
        {0, {"Cmd_Etc", "Cmd_Set", "Cmd_Can"}},
        {1, {"BGM_Repeat", "Cmd_Etc", "Cmd_Set", "Cmd_Can"}},
        {2, {"Cmd_Etc", "Cmd_Set", "Cmd_Can", "Cmd_BGM"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "source " << c.bgmMode);
        const KeyboardDialog dialog = Open(c.bgmMode);
        ASSERT_TRUE(dialog.Complete());
        Names forward{dialog.FirstFocus()};
        EXPECT_EQ(forward.front(), c.cycle.front()) << "the focus when the dialog opens";
        for (std::size_t i = 0; i < c.cycle.size(); ++i) {
            systest::PressKey(VK_TAB);
            forward.push_back(dialog.FocusChangedFrom(forward.back()));
            HWND focused = dialog.Window(forward.back());
            if (focused && focused != dialog.Combo()) {
                EXPECT_TRUE(systest::PumpUntil([&] { return ShowsFocusLook(focused); }, 3000))
                    << forward.back() << " has the focus but not its focused look";
            }
        }
        Names backward{forward.back()};
        for (std::size_t i = 0; i < c.cycle.size(); ++i) {
            PressShiftTab();
            backward.push_back(dialog.FocusChangedFrom(backward.back()));
        }
        std::printf("source %d: Tab %s; Shift+Tab %s\n", c.bgmMode, Joined(forward).c_str(), Joined(backward).c_str());
        Names expectedForward = c.cycle;
        expectedForward.push_back(c.cycle.front());
        Names expectedBackward{c.cycle.front()};
        expectedBackward.insert(expectedBackward.end(), c.cycle.rbegin(), c.cycle.rend());
        EXPECT_EQ(forward, expectedForward);
        EXPECT_EQ(backward, expectedBackward);

        // Enter and Space on the focused 設定 do not click it: nothing is written.
        while (dialog.Focus() != "Cmd_Set" && forward.size() < 20) {
            systest::PressKey(VK_TAB);
            forward.push_back(dialog.FocusChangedFrom(forward.back()));
        }
        ASSERT_EQ(dialog.Focus(), "Cmd_Set");
        systest::PressKey(VK_RETURN);
        systest::PressKey(VK_SPACE);
        Sleep(300);
        EXPECT_TRUE(saver_.Running()) << "a key on 設定 closed the dialog";
        EXPECT_EQ(systest::ReadBytes(folder_.Ini()), IniWithSource(c.bgmMode)) << "a key on 設定 saved";
        ExpectEscapeCancels(c.bgmMode);
    }
}

TEST_F(SettingsDialogKeyboard, FocusMovesOnFromADisabledControlAndEscFirstClosesAnOpenList) {
    const KeyboardDialog dialog = Open(2);
    ASSERT_TRUE(dialog.Complete());

    // A screen reader names the repeat box by the static text just before it.
    HWND label = GetWindow(dialog.Combo(), GW_HWNDPREV);
    wchar_t className[16] = {}, text[32] = {};
    GetClassNameW(label, className, 16);
    GetWindowTextW(label, text, 32);
    EXPECT_EQ(std::wstring(className), L"Static");
    EXPECT_EQ(std::wstring(text), L"曲目をﾘﾋﾟｰﾄ");

    // "..." focused (Shift+Tab from the first), then 音楽CD disables it: the
    // focus goes on to the repeat box; 無し disables that: on to その他の作品.
    EXPECT_EQ(dialog.FirstFocus(), "Cmd_Etc");
    PressShiftTab();
    ASSERT_EQ(dialog.FocusChangedFrom("Cmd_Etc"), "Cmd_BGM");
    dialog.PressSourceLabel(1);
    EXPECT_EQ(dialog.FocusChangedFrom("Cmd_BGM"), "BGM_Repeat");

    // Esc on the open list closes the list and keeps the dialog.
    systest::PressKey(VK_F4);
    EXPECT_TRUE(systest::PumpUntil([&] { return SendMessageW(dialog.Combo(), CB_GETDROPPEDSTATE, 0, 0) != 0; }, 3000))
        << "F4 did not open the list";
    systest::PressKey(VK_ESCAPE);
    EXPECT_TRUE(systest::PumpUntil([&] { return SendMessageW(dialog.Combo(), CB_GETDROPPEDSTATE, 0, 0) == 0; }, 3000));
    Sleep(300);
    ASSERT_TRUE(saver_.Running()) << "Esc on the open list closed the dialog";

    dialog.PressSourceLabel(0);
    const std::string after = dialog.FocusChangedFrom("BGM_Repeat");
    std::printf("focus after its control was disabled: Cmd_BGM -> BGM_Repeat -> %s\n", after.c_str());
    EXPECT_EQ(after, "Cmd_Etc");
    ExpectEscapeCancels(2);
}

}  // namespace
