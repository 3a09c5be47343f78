#include "Mosaika_B.h"

#include <array>
#include <memory>

#include "Application.h"
#include "CommandLine.h"
#include "Mosaika_P.h"
#include "Mosaika_R.h"
#include "Mosaika_S.h"
#include "Text.h"
#include "UniqueHandle.h"
#include "WinMciPort.h"
#include "Win32.h"

namespace mosaika {

using forms::FromAnsi;
using forms::ToAnsi;
using forms::ToUtf8;

Mosaika_BGM& Music() {
    static WinMciPort port;
    static Mosaika_BGM music(port);
    return music;
}

std::wstring SettingsFile() { return forms::ProgramFolder() + L"\\モザイカ図.ini"; }

std::wstring RendererFile() { return forms::ProgramFolder() + L"\\モザイカ図.dll"; }

bool FileExists(const std::wstring& path) {
    std::wstring file = path;
    if (!file.empty() && file.back() == L'\\') file.pop_back();
    // Opened for sequential reading and closed at once; a folder fails to open.
    forms::UniqueKernelHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    const bool opened = handle.get() != INVALID_HANDLE_VALUE;
    if (!opened) handle.release();  // INVALID_HANDLE_VALUE is not ours to close
    SetLastError(0);
    return opened;
}

std::string ReadIniValue(const std::string& section, const std::string& key, const std::wstring& file) {
    std::array<char, 256> buffer{};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), static_cast<DWORD>(buffer.size()),
                             ToAnsi(file).c_str());
    return buffer.data();
}

bool WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                   const std::wstring& file) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), ToAnsi(file).c_str()) != FALSE;
}

std::string WinSettingsPort::ReadIniValue(const std::string& section, const std::string& key,
                                          const std::string& file) {
    return mosaika::ReadIniValue(section, key, FromAnsi(file));
}

void WinSettingsPort::WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                                    const std::string& file) {
    if (!mosaika::WriteIniValue(section, key, value, FromAnsi(file))) allWritten_ = false;
}

bool WinSettingsPort::CanOpenForReading(const std::string& path) { return FileExists(FromAnsi(path)); }

void LoadSettings() {
    WinSettingsPort port;
    mosaika::LoadSettings(Music().settings, port, ToAnsi(SettingsFile()));
}

namespace {

constexpr const char* kSaverMarker = "Mosaika_Main";
// "<モザイカ図>" in code page 932, as FindWindowA takes it.
constexpr const char* kSettingsMarker = "<\x83\x82\x83\x55\x83\x43\x83\x4A\x90\x7D>";

// Held by the one start that runs the saver or shows the settings dialog,
// in the user's session, until the process ends.
constexpr const wchar_t* kSingleRunMutex = L"Local\\Mosaika_SingleRun";

// Program-wide windows: created by StartUp, alive until the process ends.
std::unique_ptr<Mosaika_R> previewWindow;
std::unique_ptr<Mosaika_S> saverWindow;

HWND WindowFromHandleValue(std::int32_t value) {
    // Window handles carry 32 significant bits and widen with their sign.
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
}

// Closes the mutex (and so lets it go) only when the process ends.
forms::UniqueKernelHandle singleRun;

// Two starts at the same moment both pass the marker-window test before
// either has made its window; the mutex lets only one of them on. A mutex
// left by a copy that ended without letting go (WAIT_ABANDONED) is ours now.
// A mutex that cannot be made at all is a failed step, skipped like any other.
bool OwnSingleRun() {
    singleRun.reset(CreateMutexW(nullptr, FALSE, kSingleRunMutex));
    if (!singleRun) return true;
    const DWORD wait = WaitForSingleObject(singleRun.get(), 0);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

void ShowSettingsDialog() {
    Mosaika_P dialog(Music());
    dialog.ShowModal();
}

}  // namespace

void SetUpPreview(const std::string& commandLine) {
    HWND host = WindowFromHandleValue(HostWindowHandle(commandLine));
    RECT hostRect{};
    if (!GetWindowRect(host, &hostRect)) hostRect = {};
    const int width = hostRect.right - hostRect.left;
    const int height = hostRect.bottom - hostRect.top;

    previewWindow = std::make_unique<Mosaika_R>();
    previewWindow->Load();
    HWND preview = previewWindow->Hwnd();
    SetWindowLongA(preview, GWL_STYLE, GetWindowLongA(preview, GWL_STYLE) | WS_CHILD);
    SetParent(preview, host);
    MoveWindow(preview, 0, 0, width, height, TRUE);
    previewWindow->Img_Prev.SetSize(width, height);
    previewWindow->Img_Prev.Move(0, 0, width, height);
    previewWindow->Show();
}

void StartUp() {
    // 1. A saver run or a settings dialog already on screen: end without a word.
    const bool saverRunning = FindWindowA(nullptr, kSaverMarker) != nullptr;
    const bool settingsOpen = FindWindowA(nullptr, kSettingsMarker) != nullptr;
    if (saverRunning || settingsOpen) forms::EndProgram();

    // 2-4. The mode letter; a preview reads no settings and starts nothing.
    const std::string commandLine = ToUtf8(forms::CommandLineText());
    const ModeAction action = ModeActionFor(commandLine);
    if (action == ModeAction::Preview) {
        SetUpPreview(commandLine);
        return;
    }

    // Only one start runs the saver or shows the dialog; every other start
    // of those modes ends as silently as one that found a marker window.
    const bool runsOrShows = action == ModeAction::Settings || action == ModeAction::SaverCursorHidden ||
                             action == ModeAction::SaverCursorVisible;
    if (runsOrShows && !OwnSingleRun()) forms::EndProgram();

    // 5-6. Settings first, then the renderer file: every other mode needs it.
    LoadSettings();
    if (!FileExists(RendererFile())) {
        forms::ShowMessage(L"モザイカ図.dllが同じﾌｫﾙﾀﾞに見つかりません！");
        forms::EndProgram();
    }

    // 7-8. The settings dialog, or a silent end for every other letter.
    if (action == ModeAction::Settings) {
        ShowSettingsDialog();
        forms::EndProgram();
    }
    if (action == ModeAction::EndSilently) forms::EndProgram();

    // 9-10. The saver run: cursor hidden for "S" only; the window stays hidden.
    const bool hideCursor = action == ModeAction::SaverCursorHidden;
    if (hideCursor) ShowCursor(FALSE);
    saverWindow = std::make_unique<Mosaika_S>(Music(), hideCursor);
    saverWindow->Load();
}

}  // namespace mosaika
