// What a system test needs to act as the screen-saver host and as a user:
// start the real programs, find their windows by title, press keys and move
// the mouse as real input, read screen pixels, and clean up what it started.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win32/Text.h"
#include "win32/UniqueHandle.h"
#include "win32/Win32.h"

namespace systest {

// The programs as the tests see them, and the generous waits of a program
// under Wine (its first window comes after 0.2 to 0.5 s).
inline constexpr const wchar_t* kSaverFileName = L"モザイカ図.scr";
inline constexpr const wchar_t* kRendererFileName = L"モザイカ図.dll";
inline constexpr const wchar_t* kRendererWindowTitle = L"Mosaika_Kanvas";
inline constexpr const wchar_t* kSettingsDialogTitle = L"<モザイカ図>";
inline constexpr DWORD kWindowTimeoutMs = 10000;
inline constexpr DWORD kExitTimeoutMs = 10000;

// A file beside this test program (the probes, tone.mp3); the programs under test lie in ../bin.
std::wstring TestFile(const std::wstring& name);
std::wstring ProgramFolder();

// A process this test started or opened: ended by force when the object goes
// and it still runs, so a failing test leaves nothing behind.
class Process {
public:
    Process() = default;
    explicit Process(DWORD processId);  // opened: the renderer the saver started, a probe
    static Process OfWindow(HWND window);
    // Started by its exact path, the quoted path plus arguments as its command line.
    static Process Start(const std::wstring& path, const std::wstring& arguments = L"");
    // CREATE_SUSPENDED: nothing of it runs before Resume.
    static Process StartWithCommandLine(const std::wstring& path, std::wstring commandLine, DWORD flags = 0);
    void Resume();

    HANDLE Handle() const { return process_.get(); }
    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return GetProcessId(Handle()); }
    DWORD Age() const { return GetTickCount() - startTick_; }  // ms since its start
    bool Running() const { return process_ && WaitForSingleObject(Handle(), 0) == WAIT_TIMEOUT; }
    // Waits for the end, handling this thread's messages meanwhile; false when it did not end in time.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr) const;
    // The exit code once it has ended; STILL_ACTIVE (259) when it did not end in time.
    DWORD ExitCode(DWORD milliseconds) const {
        DWORD exitCode = STILL_ACTIVE;
        return WaitForExit(milliseconds, &exitCode) ? exitCode : STILL_ACTIVE;
    }

private:
    // Ended by force if it still runs, then closed.
    struct EndedProcessTraits : win32::KernelHandleTraits {
        static void Close(HANDLE process);
    };
    win32::UniqueHandle<EndedProcessTraits> process_;
    win32::UniqueKernelHandle suspendedThread_;
    DWORD startTick_ = GetTickCount();
};

// Polls the condition until it holds, handling the messages sent or posted to
// this thread meanwhile (a window of this thread that hosts another program's
// window must answer, or that program stalls). False when it did not in time.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWindowTimeoutMs, DWORD pollMs = 5);
// For what must not happen: the condition looked at continuously over the
// whole period (a look after a sleep misses a state that came and went).
inline bool HoldsFor(const std::function<bool()>& condition, DWORD periodMs) {
    return !WaitUntil([&] { return !condition(); }, periodMs);
}
// The window the search finds, waited for; nullptr when it found none in time.
HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs = kWindowTimeoutMs);
inline HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs = kWindowTimeoutMs) {
    return WaitForWindow([=] { return FindWindowW(className, title); }, timeoutMs);
}
// The renderer's window once it is shown and has the keyboard (FindWindowW sees
// it before it is shown); the default allows for the saver's start and then the renderer's.
HWND WaitForRendererWindow(DWORD timeoutMs = 2 * kWindowTimeoutMs);
// Top-level windows (shown or hidden) with that title now.
int CountWindows(const wchar_t* title);

// Real input through SendInput: reaches whatever window has the focus.
void PressKey(WORD virtualKey);
void PressKeyWith(WORD modifier, WORD virtualKey);  // VK_SHIFT, VK_MENU held
void TypeText(const std::wstring& text);            // as Unicode key events
void MoveMouseTo(int x, int y);
void SendMouse(DWORD flags);  // one button event alone
void ClickMouse(DWORD downFlag, DWORD upFlag);
void ClickAt(POINT at, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP);
POINT Centre(const RECT& box);
// A window's text, also of another process's control (WM_GETTEXT).
std::wstring WindowText(HWND window);

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::vector<std::uint32_t> In(const RECT& area) const;
    int Count(const RECT& area, const std::function<bool(std::uint32_t)>& test) const;
};

// An area of the virtual screen (any monitor), by default the primary screen,
// as the display shows it, read back from the screen DC.
Screenshot CaptureScreen(RECT area = {});
// What the drawing leaves on a bitmap of that size, compatible with the screen.
Screenshot Drawn(int width, int height, const std::function<void(HDC)>& draw);
// Writes a PNG under screenshots/ in the test's folder and returns its path.
std::string SaveScreenshot(const Screenshot& shot, const std::string& name);

// Text in Shift-JIS (code page 932 named, whatever the world's), no best fit:
// a character it lacks becomes "?".
inline std::string Cp932(const std::wstring& text) { return win32::Narrow(win32::kShiftJis, text); }
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool Exists(const std::wstring& path);

// The Unix path in the variable as Wine names it (drive Z:); empty when unset.
std::wstring WinePathOf(const wchar_t* variable);

// The world's language as wine-run.sh set it (MOSAIKA_LANGUAGE: ja, en, zh, ko, utf8).
std::wstring Language();

}  // namespace systest
