#include "SaverSystemTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

namespace systest {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        // Wakes early for anything sent to this thread.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

bool WaitForExitPumping(HANDLE process, DWORD timeoutMs, DWORD* exitCode) {
    if (!process) return false;
    const bool ended =
        PumpUntil([process] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, timeoutMs);
    if (ended && exitCode) GetExitCodeProcess(process, exitCode);
    return ended;
}

OtherProcess::OtherProcess(DWORD processId)
    : process_(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE,
                           processId)) {}

OtherProcess::OtherProcess(OtherProcess&& other) noexcept : process_(std::exchange(other.process_, nullptr)) {}

OtherProcess& OtherProcess::operator=(OtherProcess&& other) noexcept {
    std::swap(process_, other.process_);
    return *this;
}

OtherProcess::~OtherProcess() {
    if (!process_) return;
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

OtherProcess OtherProcess::OfWindow(HWND window) {
    DWORD processId = 0;
    if (window) GetWindowThreadProcessId(window, &processId);
    return processId ? OtherProcess(processId) : OtherProcess();
}

bool OtherProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool OtherProcess::WaitForExit(DWORD milliseconds, DWORD* exitCode) const {
    if (!process_ || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_, exitCode);
    return true;
}

std::wstring OtherProcess::ImagePath() const {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!process_ || !QueryFullProcessImageNameW(process_, 0, path, &size)) return {};
    return std::wstring(path, size);
}

void EndRun(const Process& saver, HWND rendererWindow, const OtherProcess& renderer, RendererEnd how) {
    if (how == RendererEnd::EscapeKey) {
        SleepMs(300);  // the renderer's window takes the keyboard once it is up
        PressKey(VK_ESCAPE);
    } else {
        PostMessageW(rendererWindow, WM_CLOSE, 0, 0);
    }
    DWORD exitCode = 1234;
    ASSERT_TRUE(renderer.WaitForExit(kExitTimeoutMs, &exitCode)) << "the renderer did not end";
    const DWORD rendererEnd = GetTickCount();
    EXPECT_EQ(exitCode, 0u) << "renderer";
    exitCode = 1234;
    ASSERT_TRUE(saver.WaitForExit(kExitTimeoutMs, &exitCode)) << "the saver outlived its renderer";
    std::printf("  the saver ended %lu ms after the renderer\n", GetTickCount() - rendererEnd);
    EXPECT_EQ(exitCode, 0u) << "saver";
    EXPECT_EQ(FindWindowW(nullptr, kSaverWindowTitle), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, kRendererWindowTitle), nullptr);
}

SaverFolder::SaverFolder(const std::wstring& name, bool withRenderer) : TestFolder(name) {
    CopyProgram(kSaverFileName);
    if (withRenderer) CopyProgram(kRendererFileName);
}

Process SaverFolder::StartSaver(const std::wstring& arguments) const { return Process::Start(Saver(), arguments); }

void SaverFolder::UseProbeAsRenderer(const wchar_t* probe) const {
    CopyFileW(ProbePath(probe).c_str(), Renderer().c_str(), FALSE);
}

std::wstring ProbePath(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return (std::filesystem::path(std::wstring(self, length)).parent_path() / name).wstring();
}

std::wstring RanMarker(const std::wstring& program) { return program + L".ran"; }

DWORD RanMarkerProcessId(const std::wstring& program) {
    const std::string text = ReadBytes(RanMarker(program));
    return text.empty() ? 0 : static_cast<DWORD>(std::stoul(text));
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (BelongsTo(window, search.processId) && std::wstring(title) == search.title) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

constexpr wchar_t kHostClass[] = L"SaverTestHost";

void RegisterHostClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = kHostClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

HWND FindWindowOfProcess(DWORD processId, const wchar_t* title) {
    WindowSearch search{processId, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool BelongsTo(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return window && owner == processId;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

HWND MessageBoxOf(DWORD processId) {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", kMessageCaption)) != nullptr) {
        if (BelongsTo(box, processId)) return box;
    }
    return nullptr;
}

HostWindow::HostWindow(int clientWidth, int clientHeight) {
    RegisterHostClass();
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    window_ = CreateWindowExW(0, kHostClass, L"Saver test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow() { Destroy(); }

std::wstring HostWindow::HandleText() const {
    return std::to_wstring(static_cast<long long>(reinterpret_cast<INT_PTR>(window_)));
}

void HostWindow::Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

MarkerWindow::MarkerWindow(const wchar_t* title)
    : window_(CreateWindowExW(0, L"STATIC", title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {}

MarkerWindow::~MarkerWindow() {
    if (window_) DestroyWindow(window_);
}

std::string MusicSettingsIni(int bgmMode, int bgmRepeat, const std::wstring& bgmFile) {
    const auto number = [](int value) { return (value >= 0 ? L" " : L"") + std::to_wstring(value); };
    return Cp932(L"[Section]\r\n"
                 L"BGM区分=" + number(bgmMode) + L"\r\n"
                 L"BGMﾘﾋﾟｰﾄ=" + number(bgmRepeat) + L"\r\n"
                 L"BGMﾌｧｲﾙ=" + bgmFile + L"\r\n");
}

std::string SineWave(DWORD milliseconds, DWORD sampleRate) {
    const DWORD samples = sampleRate * milliseconds / 1000;
    const DWORD dataBytes = samples * 2;
    std::string wave;
    const auto put32 = [&wave](DWORD value) {
        for (int shift = 0; shift < 32; shift += 8) wave += static_cast<char>((value >> shift) & 0xFF);
    };
    const auto put16 = [&wave](unsigned value) {
        wave += static_cast<char>(value & 0xFF);
        wave += static_cast<char>((value >> 8) & 0xFF);
    };
    wave += "RIFF";
    put32(36 + dataBytes);
    wave += "WAVEfmt ";
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(sampleRate);
    put32(sampleRate * 2);
    put16(2);
    put16(16);
    wave += "data";
    put32(dataBytes);
    const double step = 2 * 3.14159265358979 * 440 / sampleRate;
    for (DWORD i = 0; i < samples; ++i) {
        const auto sample = static_cast<short>(std::lround(16000 * std::sin(step * i)));
        put16(static_cast<unsigned short>(sample));
    }
    return wave;
}

AudioSinkEar::AudioSinkEar() : offset_(AudioSinkSize()) {}

Heard AudioSinkEar::Listen() {
    const long long size = AudioSinkSize();
    if (size < offset_) offset_ = 0;  // the device was opened again: the file starts afresh
    Heard heard;
    HANDLE file = CreateFileW(AudioSinkPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return heard;
    LARGE_INTEGER from{};
    from.QuadPart = offset_;
    SetFilePointerEx(file, from, nullptr, FILE_BEGIN);
    std::vector<unsigned char> buffer(1 << 16);
    long long left = size - offset_;
    while (left > 0) {
        DWORD read = 0;
        const auto want = static_cast<DWORD>(std::min<long long>(left, static_cast<long long>(buffer.size())));
        if (!ReadFile(file, buffer.data(), want, &read, nullptr) || read == 0) break;
        heard.bytes += read;
        for (DWORD i = 0; i < read; ++i) heard.soundBytes += buffer[i] != 0;
        left -= read;
    }
    CloseHandle(file);
    offset_ += heard.bytes;
    return heard;
}

}  // namespace systest
