#include "Mosaika_S.h"

#include "Application.h"
#include "SettingsStore.h"

namespace mosaika {

namespace {

// How long a live renderer process may take to open its window the first time.
constexpr DWORD kRendererStartGraceMs = 10000;

}  // namespace

Mosaika_S::Mosaika_S(Mosaika_BGM& music, bool cursorHidden)
    : Form(L"Mosaika_Main", WS_OVERLAPPEDWINDOW),
      Timer1(*this, 1000, false, [this] { music_.KeepMp3Playing(); }),
      Timer2(*this, 200, false,
             [this] {
                 music_.PollCdAudio();
                 Timer2.SetEnabled(music_.CdPollingActive());
             }),
      Timer3(*this, 50, true, [this] { PollRenderer(); }),
      music_(music),
      cursorHidden_(cursorHidden) {}

void Mosaika_S::Form_Load() {
    // Music first, then the renderer.
    const SessionTimer timer = music_.StartSession();
    if (timer == SessionTimer::Timer1) Timer1.SetEnabled(true);
    if (timer == SessionTimer::Timer2) Timer2.SetEnabled(true);  // the first poll starts the CD
    StartRenderer();
}

void Mosaika_S::StartRenderer() {
    // Started by its exact path as the application name, with the quoted path
    // as the whole command line: a folder with blanks cannot start another program.
    const std::wstring path = RendererFile();
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    rendererStartTick_ = GetTickCount();
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        const win32::UniqueKernelHandle thread(process.hThread);  // never used
        renderer_.reset(process.hProcess);
    }
}

bool Mosaika_S::StillWaitingForRenderer() const {
    // Until its window has been seen once, a renderer that is alive gets time
    // to open it; a process that has ended, or never started, gets none.
    if (rendererWindowSeen_ || !renderer_) return false;
    if (WaitForSingleObject(renderer_.get(), 0) != WAIT_TIMEOUT) return false;
    return GetTickCount() - rendererStartTick_ < kRendererStartGraceMs;
}

void Mosaika_S::PollRenderer() {
    if (FindWindowW(nullptr, L"Mosaika_Kanvas")) {
        rendererWindowSeen_ = true;
        return;
    }
    if (StillWaitingForRenderer()) return;
    Timer3.SetEnabled(false);
    Unload();
}

void Mosaika_S::Form_QueryUnload(bool& /*cancel*/, forms::UnloadMode /*mode*/) {
    // The CD timer goes before its device closes; Timer1 is left as it is.
    Timer2.SetEnabled(false);
    music_.StopSession();
    if (cursorHidden_) ShowCursor(TRUE);
    forms::EndProgram();
}

}  // namespace mosaika
