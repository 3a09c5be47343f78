// What the system tests of the screen saver program モザイカ図.scr share: its
// window titles and its one message, a folder holding copies of the programs,
// waits that keep this thread's own windows answering, the processes the saver
// starts by itself, the probe programs, the ini file as the settings dialog
// writes it, and an ear on the audio sink.
#pragma once

#include <cmath>
#include <functional>
#include <string>

#include "SystemTest.h"

namespace systest {

inline constexpr const wchar_t* kSaverWindowTitle = L"Mosaika_Main";
inline constexpr const wchar_t* kPreviewWindowTitle = L"Preview Window";
inline constexpr const wchar_t* kMessageCaption = L"モザイカ図";
inline constexpr const wchar_t* kMissingRendererText = L"モザイカ図.dllが同じﾌｫﾙﾀﾞに見つかりません！";

// Waits until done() holds, handling the messages sent or posted to this
// thread meanwhile (a window of this thread that hosts another program's
// window must answer, or that program stalls). False on timeout.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Waits for the process to end while handling this thread's messages.
bool WaitForExitPumping(HANDLE process, DWORD timeoutMs, DWORD* exitCode = nullptr);

// A process this test did not start (the renderer the saver started, a probe):
// opened by its id, ended by force on destruction if still running.
class OtherProcess : public OwnedProcess {
public:
    OtherProcess() = default;
    explicit OtherProcess(DWORD processId);

    static OtherProcess OfWindow(HWND window);

    bool Opened() const { return process_ != nullptr; }
    // The full Windows path of its program file.
    std::wstring ImagePath() const;
};

// How a test ends the renderer: Esc as a user, or a close request from this process.
enum class RendererEnd { EscapeKey, CloseRequest };

// Ends the renderer and waits for it and then the saver to end, expecting exit
// code 0 from each and no window of either left; prints how long the saver
// outlived the renderer. Uses gtest assertions.
void EndRun(const Process& saver, HWND rendererWindow, const OtherProcess& renderer, RendererEnd how);

// A test folder holding a copy of the screen saver program and, unless told
// otherwise, of the renderer program.
class SaverFolder : public TestFolder {
public:
    explicit SaverFolder(const std::wstring& name, bool withRenderer = true);
    std::wstring Renderer() const { return File(kRendererFileName); }
    // Starts the copy of the saver with the given command-line arguments.
    Process StartSaver(const std::wstring& arguments = L"") const;
    // Puts a probe program (see ProbePath) in the renderer's place.
    void UseProbeAsRenderer(const wchar_t* probe) const;
};

// The probe programs built beside this test (RendererProbe.exe and the like).
std::wstring ProbePath(const wchar_t* name);
// The file a probe writes beside itself when it runs: its path plus ".ran".
std::wstring RanMarker(const std::wstring& program);
// The process id a probe wrote into its marker; 0 when there is none.
DWORD RanMarkerProcessId(const std::wstring& program);

// The window of that title that belongs to the process; nullptr when none.
HWND FindWindowOfProcess(DWORD processId, const wchar_t* title);
// Whether the window belongs to the process.
bool BelongsTo(HWND window, DWORD processId);

// Whether two Windows paths name the same file (letter case aside).
bool SamePath(const std::wstring& a, const std::wstring& b);

// The message box of that process showing our caption; nullptr when none.
HWND MessageBoxOf(DWORD processId);

// A visible top-level window of this thread with a client area of the given
// size, to host previews; destroyed with the object unless destroyed before.
class HostWindow {
public:
    HostWindow(int clientWidth, int clientHeight);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Get() const { return window_; }
    // The handle as the screen-saver host writes it on a command line.
    std::wstring HandleText() const;
    void Destroy();

private:
    HWND window_ = nullptr;
};

// A hidden top-level window of this process with the given title, as a
// running copy of the saver shows one.
class MarkerWindow {
public:
    explicit MarkerWindow(const wchar_t* title);
    ~MarkerWindow();
    MarkerWindow(const MarkerWindow&) = delete;
    MarkerWindow& operator=(const MarkerWindow&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_ = nullptr;
};

// The ini file as the settings dialog writes it: section "Section" and the
// keys BGM区分, BGMﾘﾋﾟｰﾄ, BGMﾌｧｲﾙ in Shift-JIS, numbers with their leading
// blank, CRLF line ends.
std::string MusicSettingsIni(int bgmMode, int bgmRepeat, const std::wstring& bgmFile);

// A box of the settings dialog: twips from the top-left corner of its client area.
struct Twips {
    double left, top, width, height;
};

// Where the settings dialog's layout lies on the screen at the display's DPI,
// each edge rounded to the nearest pixel.
class DialogLayout {
public:
    explicit DialogLayout(HWND dialog = nullptr);
    int Dpi() const { return dpi_; }
    int Px(double twips) const { return static_cast<int>(std::lround(twips * dpi_ / 1440.0)); }
    RECT OnScreen(const Twips& box) const;

private:
    int dpi_;
    POINT origin_{};
};

// A 16-bit mono PCM WAV file holding a 440 Hz sine of the given length.
std::string SineWave(DWORD milliseconds, DWORD sampleRate = 22050);

// What the audio sink received between two looks. Silence reaches it as zero
// bytes, so the bytes that are not zero are the sound that was heard.
struct Heard {
    long long bytes = 0;
    long long soundBytes = 0;
};

class AudioSinkEar {
public:
    AudioSinkEar();
    // What arrived since the last look (or since construction). The sink file
    // starts afresh whenever a program opens the audio device; then all of it is new.
    Heard Listen();

private:
    long long offset_ = 0;
};

}  // namespace systest
