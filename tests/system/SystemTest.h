// What a system test needs to act as the screen-saver host and as a user:
// start the real programs, find their windows by title, press keys and move
// the mouse as real input, read screen pixels, and clean up what it started.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace systest {

// The programs as the tests see them: file names, window titles, and the
// generous waits of a program under Wine (its first window comes after 0.2
// to 0.5 s).
inline constexpr const wchar_t* kSaverFileName = L"モザイカ図.scr";
inline constexpr const wchar_t* kRendererFileName = L"モザイカ図.dll";
inline constexpr const wchar_t* kRendererWindowTitle = L"Mosaika_Kanvas";
inline constexpr const wchar_t* kSettingsDialogTitle = L"<モザイカ図>";
inline constexpr DWORD kWindowTimeoutMs = 10000;
inline constexpr DWORD kExitTimeoutMs = 10000;

// The folder that holds both programs: bin beside this test's own folder.
std::wstring ProgramFolder();
std::wstring RendererPath();

// A process handle of the test's own: the process is ended by force when the
// owner goes and it still runs, so a failing test leaves nothing behind.
class OwnedProcess {
public:
    HANDLE Handle() const { return process_.get(); }
    bool Running() const;
    // Waits for the end; the exit code, or nothing when it did not end in time.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr) const;

protected:
    struct Ender {
        void operator()(HANDLE process) const;
    };
    struct Closer {
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };
    std::unique_ptr<void, Ender> process_;
};

// A program this test started.
class Process : public OwnedProcess {
public:
    // Starts the program by its exact path, the quoted path plus arguments as its command line.
    static Process Start(const std::wstring& path, const std::wstring& arguments = L"");
    // Starts the program by its exact path with exactly this command line.
    static Process StartWithCommandLine(const std::wstring& path, std::wstring commandLine, DWORD flags = 0);
    // Created with its first thread suspended: nothing of it runs before Resume.
    static Process StartSuspended(const std::wstring& path, const std::wstring& arguments);
    void Resume();

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    // Milliseconds since Start.
    DWORD Age() const { return GetTickCount() - startTick_; }

private:
    std::unique_ptr<void, Closer> suspendedThread_;
    DWORD id_ = 0;
    DWORD startTick_ = 0;
};

// Polls FindWindowW every few milliseconds; nullptr when not found in time.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs);
// How many top-level windows (shown or hidden) carry that title now.
int CountWindows(const wchar_t* title);
// True once FindWindowW no longer finds it.
bool WaitForNoWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs);

// Polls the condition every pollMs until it holds; false when it did not in time.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWindowTimeoutMs, DWORD pollMs = 5);

// Real input through SendInput: reaches whatever window has the focus.
void PressKey(WORD virtualKey);
void MoveMouseTo(int x, int y);
void ClickMouse(DWORD downFlag, DWORD upFlag);
// One mouse button event alone (MOUSEEVENTF_LEFTDOWN: the button held).
void SendMouseButton(DWORD flag);
// Moves there, then presses and releases a mouse button.
void ClickAt(POINT at, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP);
// A key pressed while a modifier (VK_SHIFT, VK_MENU) is held.
void PressKeyWith(WORD modifier, WORD virtualKey);
// Characters typed as the keyboard sends them (as Unicode key events).
void TypeText(const std::wstring& text);
POINT Centre(const RECT& box);
// A window's text, also of another process's control (WM_GETTEXT).
std::wstring WindowText(HWND window);
// The display's DPI as this process reads it (real pixels once SetProcessDPIAware ran).
int ScreenDpi();

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // The pixels of an area row by row, and how many of them pass a test.
    std::vector<std::uint32_t> In(const RECT& area) const;
    int Count(const RECT& area, const std::function<bool(std::uint32_t)>& test) const;
};

// The primary screen, or an area of the virtual screen (any monitor), as the
// display shows it, read back from the screen DC.
Screenshot CaptureScreen();
Screenshot CaptureArea(const RECT& area);
// Writes the screenshot as a PNG under screenshots/ in the test's folder and returns the path.
std::string SaveScreenshot(const Screenshot& shot, const std::string& name);

// The flag as a fresh process reads it (see ScreenSaverFlagProbe.cpp).
bool ScreenSaverActive();
void SetScreenSaverActive(bool active);

void SleepMs(DWORD milliseconds);

// A folder of its own for one test, with copies of the programs under test;
// removed with everything in it at the end. Its path has blanks and Japanese
// characters, as a user's folder may.
class TestFolder {
public:
    explicit TestFolder(const std::wstring& name);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    void CopyProgram(const std::wstring& name) const;  // from ProgramFolder()
    std::wstring Saver() const { return File(L"モザイカ図.scr"); }
    std::wstring Ini() const { return File(L"モザイカ図.ini"); }

private:
    std::wstring path_;
};

// Text in code page 932, the programs' ANSI code page here.
std::string Cp932(const std::wstring& text);

std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool Exists(const std::wstring& path);

// The text of a message box (its static text, id 0xFFFF).
std::wstring MessageBoxText(HWND box);

// The Unix path in the variable as Wine names it (drive Z:); empty when unset.
std::wstring WinePathOf(const wchar_t* variable);
// The Windows path of the file the ALSA default device writes into, and its size now.
std::wstring AudioSinkPath();
long long AudioSinkSize();

// The renderer's window once it is shown and has the keyboard: FindWindowW
// sees a window from its creation on, before it is shown. nullptr when not in
// time, which allows for two program starts (the saver's, then the renderer's).
HWND WaitForRendererWindow(DWORD timeoutMs = 2 * kWindowTimeoutMs);

}  // namespace systest
