#include "SaverSystemTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

OtherProcess::OtherProcess(DWORD processId) {
    process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, processId));
}

OtherProcess OtherProcess::OfWindow(HWND window) {
    DWORD processId = 0;
    if (window) GetWindowThreadProcessId(window, &processId);
    return processId ? OtherProcess(processId) : OtherProcess();
}

std::wstring OtherProcess::ImagePath() const {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    if (!process_ || !QueryFullProcessImageNameW(Handle(), 0, path, &size)) return {};
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
    HWND window = nullptr;
    do window = FindWindowExW(nullptr, window, nullptr, title);
    while (window && !BelongsTo(window, processId));
    return window;
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

DialogLayout::DialogLayout(HWND dialog) : dpi_(ScreenDpi()) { ClientToScreen(dialog, &origin_); }

RECT DialogLayout::OnScreen(const Twips& box) const {
    return {origin_.x + Px(box.left), origin_.y + Px(box.top), origin_.x + Px(box.left + box.width),
            origin_.y + Px(box.top + box.height)};
}

std::string SineWave(DWORD milliseconds, DWORD sampleRate) {
    const DWORD samples = sampleRate * milliseconds / 1000;
    std::string wave;
    const auto put = [&wave](DWORD value, int bytes) {
        for (int i = 0; i < bytes; ++i) wave += static_cast<char>(value >> (8 * i) & 0xFF);
    };
    // RIFF header, then the format: PCM, mono, 16 bits, 2 bytes a sample.
    wave += "RIFF";
    put(36 + samples * 2, 4);
    wave += "WAVEfmt ";
    for (const auto& [value, bytes] : {std::pair{16ul, 4}, {1ul, 2}, {1ul, 2}, {sampleRate, 4}, {sampleRate * 2, 4},
                                      {2ul, 2}, {16ul, 2}}) {
        put(value, bytes);
    }
    wave += "data";
    put(samples * 2, 4);
    const double step = 2 * 3.14159265358979 * 440 / sampleRate;
    for (DWORD i = 0; i < samples; ++i) put(static_cast<std::uint16_t>(std::lround(16000 * std::sin(step * i))), 2);
    return wave;
}

AudioSinkEar::AudioSinkEar() : offset_(AudioSinkSize()) {}

Heard AudioSinkEar::Listen() {
    const long long size = AudioSinkSize();
    if (size < offset_) offset_ = 0;  // the device was opened again: the file starts afresh
    std::ifstream file(std::filesystem::path(AudioSinkPath()), std::ios::binary);
    std::string bytes(static_cast<std::size_t>(std::max(size - offset_, 0LL)), '\0');
    file.seekg(offset_).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Heard heard;
    heard.bytes = file ? static_cast<long long>(bytes.size()) : file.gcount();
    heard.soundBytes = std::count_if(bytes.begin(), bytes.begin() + heard.bytes, [](char c) { return c != 0; });
    offset_ += heard.bytes;
    return heard;
}

}  // namespace systest
