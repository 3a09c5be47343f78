// The settings dialog's save button when the ini file cannot be written: the
// user is told which file could not be saved, the dialog stays open with the
// choices made, and the file stays as it was. Once the file can be written
// again, the same button saves and closes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "SaverSystemTest.h"

namespace {

using namespace systest;

// Held open for reading without write sharing, every write open of the file
// fails (Wine as root ignores the read-only attribute, not a sharing conflict).
HANDLE HoldFile(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

// A point of the dialog given in twips from its client area's top-left corner.
POINT DialogPoint(HWND dialog, int xTwips, int yTwips) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    POINT point{MulDiv(xTwips, dpi, 1440), MulDiv(yTwips, dpi, 1440)};
    ClientToScreen(dialog, &point);
    return point;
}

// The buttons click on a release over them once they have seen the pointer come.
void ClickSaveButton(HWND dialog) {
    const POINT centre = DialogPoint(dialog, 4800 + 1095 / 2, 3000 + 375 / 2);  // Cmd_Set
    MoveMouseTo(centre.x - 2, centre.y);
    SleepMs(300);
    MoveMouseTo(centre.x, centre.y);
    SleepMs(300);
    ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

std::wstring IniValue(const std::wstring& ini, const wchar_t* key) {
    wchar_t value[64] = {};
    GetPrivateProfileStringW(L"Section", key, L"", value, 64, ini.c_str());
    return value;
}

TEST(FailedSave, IsToldKeepsTheDialogAndTheFileThenSavesOnceTheFileIsFree) {
    SetProcessDPIAware();
    const SaverFolder folder(L"failed save");
    const std::string before = MusicSettingsIni(1, 3, L"");
    ASSERT_TRUE(WriteBytes(folder.Ini(), before));
    MoveMouseTo(4, 4);
    Process saver = folder.StartSaver(L"/c");
    HWND dialog = WaitForWindow(nullptr, kSettingsDialogTitle, kWindowTimeoutMs);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(dialog) != FALSE; }, kWindowTimeoutMs));
    SleepMs(500);  // the opening animation and the first painting

    // The user picks "無し" (lbl_BGM(0) in the panel at 180, 240), then saves.
    const POINT none = DialogPoint(dialog, 180 + 540 + 100, 240 + 1140 + 97);
    MoveMouseTo(none.x, none.y);
    ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    std::unique_ptr<void, decltype(&CloseHandle)> held(HoldFile(folder.Ini()), &CloseHandle);
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    ClickSaveButton(dialog);

    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = MessageBoxOf(saver.Id())) != nullptr; }, kWindowTimeoutMs))
        << "no message after a save that could not be written";
    const std::wstring text = MessageBoxText(box);
    const std::wstring lead = L"設定を保存できませんでした。\n";
    EXPECT_EQ(text.substr(0, lead.size()), lead);
    EXPECT_TRUE(SamePath(text.substr(std::min(lead.size(), text.size())), folder.Ini())) << Cp932(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return MessageBoxOf(saver.Id()) == nullptr; }, kWindowTimeoutMs));
    SleepMs(300);
    EXPECT_TRUE(saver.Running() && IsWindowVisible(dialog)) << "the dialog closed after a failed save";
    EXPECT_EQ(ReadBytes(folder.Ini()), before) << "the ini file changed";

    // The file is free again: the same button saves the choice and closes.
    held.reset();
    ClickSaveButton(dialog);
    DWORD exitCode = 1234;
    ASSERT_TRUE(saver.WaitForExit(kExitTimeoutMs, &exitCode)) << "the dialog stayed after a good save";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(MessageBoxOf(saver.Id()), nullptr);
    EXPECT_EQ(IniValue(folder.Ini(), L"BGM区分"), L"0");
    EXPECT_EQ(IniValue(folder.Ini(), L"BGMﾘﾋﾟｰﾄ"), L"3");
}

}  // namespace
