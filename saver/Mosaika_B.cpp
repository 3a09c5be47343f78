#include "Mosaika_B.h"

#include <memory>

#include "Application.h"
#include "CommandLine.h"
#include "Mosaika_P.h"
#include "Mosaika_R.h"
#include "Mosaika_S.h"
#include "SettingsStore.h"
#include "win32/Text.h"
#include "win32/UniqueHandle.h"
#include "WinMciPort.h"
#include "win32/Win32.h"

namespace mosaika {

using win32::ToUtf8;

namespace {

// Searched by their UTF-16 titles, so they match on a system of any code page.
constexpr const wchar_t* kSaverMarker = L"Mosaika_Main";
constexpr const wchar_t* kSettingsMarker = L"<モザイカ図>";

// Held by the one start that runs the saver or shows the settings dialog,
// in the user's session, until the process ends.
constexpr const wchar_t* kSingleRunMutex = L"Local\\Mosaika_SingleRun";

// The program-wide music module, whose settings StartUp loads.
Mosaika_BGM& Music() {
    static WinMciPort port;
    static Mosaika_BGM music(port);
    return music;
}

// The saver run's window: created by StartUp, alive until the process ends.
std::unique_ptr<Mosaika_S> saverWindow;

// Closes the mutex (and so lets it go) only when the process ends.
win32::UniqueKernelHandle singleRun;

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
    Mosaika_P dialog(Music().settings);
    dialog.ShowModal();
}

}  // namespace

void StartUp() {
    // A saver run or a settings dialog already on screen: end without a word.
    const bool saverRunning = FindWindowW(nullptr, kSaverMarker) != nullptr;
    const bool settingsOpen = FindWindowW(nullptr, kSettingsMarker) != nullptr;
    if (saverRunning || settingsOpen) forms::EndProgram();

    // The mode letter decides the rest; a preview reads no settings and starts nothing.
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

    // Settings first, then the renderer file: every other mode needs it.
    LoadSettings(Music().settings);
    if (!RendererFileExists()) {
        forms::ShowMessage(L"モザイカ図.dllが同じﾌｫﾙﾀﾞに見つかりません！");
        forms::EndProgram();
    }

    // The settings dialog, or a silent end for every letter that is no saver run.
    if (action == ModeAction::Settings) {
        ShowSettingsDialog();
        forms::EndProgram();
    }
    if (action == ModeAction::EndSilently) forms::EndProgram();

    // The saver run: cursor hidden for "S" only; the window stays hidden.
    const bool hideCursor = action == ModeAction::SaverCursorHidden;
    if (hideCursor) ShowCursor(FALSE);
    saverWindow = std::make_unique<Mosaika_S>(Music(), hideCursor);
    saverWindow->Load();
}

}  // namespace mosaika
