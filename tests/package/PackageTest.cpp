#include "PackageTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "SaverSystemTest.h"

namespace pkgtest {

namespace {

std::wstring OwnFolder() {
    wchar_t self[MAX_PATH];
    const std::wstring program(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return std::filesystem::path(program).parent_path().wstring();
}

}  // namespace

std::wstring PackagePath(const wchar_t* fileName) { return OwnFolder() + L"\\packages\\" + fileName; }
std::wstring UnpackedZipFolder() { return OwnFolder() + L"\\" + MOSAIKA_UNPACKED_ZIP_FOLDER; }
std::wstring PackagedProgram(const std::wstring& name) { return PackagePath(L"built\\") + name; }

std::vector<std::wstring> FilesUnder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        files.push_back(std::filesystem::relative(it->path(), folder).wstring());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void ExpectSaverRun(const std::wstring& saverPath, const std::wstring& commandLine,
                    const std::wstring& rendererFolder) {
    const Process saver = Process::StartWithCommandLine(saverPath, commandLine);
    ASSERT_TRUE(saver.Started()) << "could not start " << ToUtf8(commandLine);
    HWND kanvas = WaitForWindow(kRendererWindowTitle, kRendererWindowTitle, kWindowTimeoutMs);
    ASSERT_NE(kanvas, nullptr) << "no renderer window";
    const Process renderer = Process::OfWindow(kanvas);
    wchar_t image[MAX_PATH * 2];
    DWORD size = MAX_PATH * 2;
    const std::wstring imagePath(image, QueryFullProcessImageNameW(renderer.Handle(), 0, image, &size) ? size : 0);
    EXPECT_TRUE(SamePath(imagePath, rendererFolder + L"\\" + kRendererFileName)) << ToUtf8(imagePath);
    EndRun(saver, kanvas, renderer, RendererEnd::CloseRequest);
}

void ExpectSettingsSavedBeside(const std::wstring& saverPath) {
    const std::wstring ini = std::filesystem::path(saverPath).parent_path().wstring() + L"\\" + kSettingsFileName;
    const Process saver = Process::Start(saverPath, L"/c");
    ASSERT_TRUE(saver.Started());
    // 設定 is a child window of the dialog titled with its caption; shown at its final place.
    HWND dialog = nullptr;
    RECT button{};
    ASSERT_TRUE(WaitUntil([&] {
        dialog = FindWindowW(nullptr, kSettingsDialogTitle);
        HWND save = dialog ? FindWindowExW(dialog, nullptr, nullptr, L"設定") : nullptr;
        return save && IsWindowVisible(dialog) && IsWindowVisible(save) && GetWindowRect(save, &button) &&
               button.right - button.left > 10;
    })) << "no settings dialog with its 設定 button";
    const POINT centre = Centre(button);
    SetForegroundWindow(dialog);
    // The pointer comes over the button, then presses it; a press that comes
    // before the button has seen the pointer is repeated until the program ends.
    DWORD exitCode = 1234;
    const bool ended = WaitUntil([&] {
        MoveMouseTo(centre.x + 1, centre.y);
        MoveMouseTo(centre.x, centre.y);
        Sleep(100);
        ClickMouse(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        return saver.WaitForExit(500, &exitCode);
    }, kExitTimeoutMs);
    ASSERT_TRUE(ended) << "pressing 設定 did not close the dialog and end the program";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(ReadBytes(ini).empty()) << "no settings file beside the program: " << ToUtf8(ini);
}

}  // namespace pkgtest
