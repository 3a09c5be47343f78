// What the system tests of the screen saver program モザイカ図.scr share: its
// window titles, a folder holding copies of the programs, the processes the
// saver starts by itself, a host window for previews, the ini file as the
// settings dialog writes it, and an ear on the audio sink.
#pragma once

#include <string>

#include "SystemTest.h"

namespace systest {

inline constexpr const wchar_t* kSaverWindowTitle = L"Mosaika_Main";
inline constexpr const wchar_t* kPreviewWindowTitle = L"Preview Window";
inline constexpr const wchar_t* kMessageCaption = L"モザイカ図";

// How a test ends the renderer: Esc as a user, or a close request from this process.
enum class RendererEnd { EscapeKey, CloseRequest };

// Expects the run and its renderer still running (so they ran all along), ends
// the renderer and waits for it and then the saver to end, expecting exit code
// 0 from each and no window of either left (gtest assertions).
void EndRun(const Process& saver, HWND rendererWindow, const Process& renderer, RendererEnd how);

// A folder of its own for one test, removed with everything in it at the end,
// laid out as the installer lays out the programs ("…\Programs\モザイカ図"),
// holding a copy of the saver and, unless told otherwise, of the renderer. Its
// path has blanks and Japanese characters, as a user's folder may.
class SaverFolder {
public:
    explicit SaverFolder(const std::wstring& name, bool withRenderer = true);
    ~SaverFolder();
    SaverFolder(const SaverFolder&) = delete;
    SaverFolder& operator=(const SaverFolder&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::wstring Saver() const { return File(kSaverFileName); }
    std::wstring Renderer() const { return File(kRendererFileName); }
    std::wstring Ini() const { return File(L"モザイカ図.ini"); }
    Process StartSaver(const std::wstring& arguments = L"") const { return Process::Start(Saver(), arguments); }
    // RendererProbe.exe in the renderer's place.
    void UseProbeAsRenderer() const;
    // A copy of the program under its own name; in the UTF-8 world its
    // manifest asks for code page 65001 (the saver's copy is made so too).
    std::wstring Install(const std::wstring& program) const;

private:
    std::wstring root_, path_;
};

// The file a probe writes beside itself when it runs: its path plus ".ran".
inline std::wstring RanMarker(const std::wstring& program) { return program + L".ran"; }

bool BelongsTo(HWND window, DWORD processId);
// The top-level window of that title (and class) that belongs to the process; nullptr when none.
HWND FindWindowOfProcess(DWORD processId, const wchar_t* title, const wchar_t* className = nullptr);
inline HWND MessageBoxOf(DWORD processId) { return FindWindowOfProcess(processId, kMessageCaption, L"#32770"); }
std::wstring MessageBoxText(HWND box);  // its static text, id 0xFFFF
// Waits for the process's message box, answers OK and waits until it has
// gone; its text, or "no message box" when none came.
std::wstring AnswerMessageBox(DWORD processId);
// Whether two Windows paths name the same file: letter case aside, in any of their long or short forms.
bool SamePath(const std::wstring& a, const std::wstring& b);

// A visible top-level window of this thread with a client area of the given
// size, to host previews; destroyed with the object unless destroyed before.
class HostWindow {
public:
    HostWindow(int clientWidth, int clientHeight);
    HWND Get() const { return window_.get(); }
    // The handle as the screen-saver host writes it on a command line.
    std::wstring HandleText() const { return std::to_wstring(reinterpret_cast<INT_PTR>(Get())); }
    void Destroy() { window_.reset(); }

private:
    win32::UniqueWindow window_;
};

// The ini file as the settings dialog writes it: section "Section" and the
// keys BGM区分, BGMﾘﾋﾟｰﾄ, BGMﾌｧｲﾙ in Shift-JIS, CRLF line ends, numbers with
// their leading blank as Windows keeps it (Wine's profile writer drops it).
std::string MusicSettingsIni(int bgmMode, int bgmRepeat, const std::wstring& bgmFile, bool blank = true);

// A 16-bit mono PCM WAV file of a 440 Hz sine at 22050 Hz.
std::string SineWave(DWORD milliseconds);

// What the audio sink received between two looks: the file the wrapper points
// the sound device at. Silence (also an open MP3 device while stopped) reaches
// it as zero bytes, so the bytes that are not zero are the sound that was heard.
struct Heard {
    long long bytes = 0;
    long long soundBytes = 0;
};

class AudioSinkEar {
public:
    AudioSinkEar();
    // What arrived since the last look. The sink file starts afresh whenever
    // a program opens the audio device; then all of it is new.
    Heard Listen();

private:
    long long offset_ = 0;
};

// What a saver run with the folder's ini file lets the audio sink hear while
// it runs, listened to every 100 ms: sound (1 KiB of non-zero bytes in one
// look) or none, sound again this long after the first (0: not asked), or no
// byte at all. The run goes on whatever the music, and leaves the ini file.
struct Hearing {
    DWORD listenMs, againAfterMs;
    bool sound, sinkUntouched;
};
void ExpectSaverRunHears(const SaverFolder& folder, const Hearing& hearing);

}  // namespace systest
