#include "SystemTest.h"

#include <filesystem>
#include <utility>

#include "Png.h"

namespace systest {

std::wstring ProgramFolder() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::filesystem::path folder = std::filesystem::path(std::wstring(self, length)).parent_path();
    return (folder.parent_path() / L"bin").wstring();
}

std::wstring RendererPath() { return ProgramFolder() + L"\\モザイカ図.dll"; }

Process::Process(Process&& other) noexcept
    : process_(other.process_), suspendedThread_(other.suspendedThread_), id_(other.id_),
      startTick_(other.startTick_) {
    other.process_ = nullptr;
    other.suspendedThread_ = nullptr;
}

Process& Process::operator=(Process&& other) noexcept {
    std::swap(process_, other.process_);
    std::swap(suspendedThread_, other.suspendedThread_);
    std::swap(id_, other.id_);
    std::swap(startTick_, other.startTick_);
    return *this;
}

Process::~Process() {
    if (suspendedThread_) CloseHandle(suspendedThread_);
    if (!process_) return;
    if (Running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

Process Process::Start(const std::wstring& path, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    return StartWithCommandLine(path, std::move(commandLine));
}

Process Process::StartSuspended(const std::wstring& path, const std::wstring& arguments) {
    return StartWithCommandLine(path, L"\"" + path + L"\" " + arguments, CREATE_SUSPENDED);
}

void Process::Resume() {
    if (!suspendedThread_) return;
    ResumeThread(suspendedThread_);
    CloseHandle(std::exchange(suspendedThread_, nullptr));
    startTick_ = GetTickCount();
}

Process Process::StartWithCommandLine(const std::wstring& path, std::wstring commandLine, DWORD flags) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Process process;
    process.startTick_ = GetTickCount();
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                        &info)) {
        return process;
    }
    if (flags & CREATE_SUSPENDED) {
        process.suspendedThread_ = info.hThread;
    } else {
        CloseHandle(info.hThread);
    }
    process.process_ = info.hProcess;
    process.id_ = info.dwProcessId;
    return process;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(DWORD milliseconds, DWORD* exitCode) const {
    if (!process_ || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_, exitCode);
    return true;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindWindowW(className, title)) return window;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(5);
    }
}

int CountWindows(const wchar_t* title) {
    int count = 0;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, title)) != nullptr;) ++count;
    return count;
}

bool WaitForNoWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (FindWindowW(className, title)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(5);
    }
    return true;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(pollMs);
    }
    return true;
}

namespace {

void Send(INPUT input) { SendInput(1, &input, sizeof input); }

INPUT KeyInput(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

INPUT MouseInput(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

void PressKey(WORD virtualKey) {
    Send(KeyInput(virtualKey, 0));
    Sleep(20);
    Send(KeyInput(virtualKey, KEYEVENTF_KEYUP));
}

void MoveMouseTo(int x, int y) {
    // Absolute coordinates run from 0 to 65535 over the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    Send(MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, MulDiv(x, 65535, width - 1),
                    MulDiv(y, 65535, height - 1)));
}

void ClickMouse(DWORD downFlag, DWORD upFlag) {
    Send(MouseInput(downFlag));
    Sleep(20);
    Send(MouseInput(upFlag));
}

Screenshot CaptureScreen() { return CaptureArea({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}); }

Screenshot CaptureArea(const RECT& area) {
    Screenshot shot;
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    shot.pixels.resize(static_cast<std::size_t>(shot.width) * shot.height);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < shot.pixels.size(); ++i) shot.pixels[i] = source[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

std::string SaveScreenshot(const Screenshot& shot, const std::string& name) {
    std::filesystem::create_directories("screenshots");
    const std::string path = "screenshots/" + name + ".png";
    std::vector<std::uint8_t> rgb;
    rgb.reserve(shot.pixels.size() * 3);
    for (const std::uint32_t pixel : shot.pixels) {
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                               static_cast<std::uint8_t>(pixel)});
    }
    mosaika::WritePng(path, rgb, shot.width, shot.height);
    return path;
}

namespace {

DWORD RunFlagProbe(const wchar_t* argument) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    const auto probe = std::filesystem::path(std::wstring(self, length)).parent_path() / L"ScreenSaverFlagProbe.exe";
    const Process process = Process::Start(probe.wstring(), argument);
    DWORD exitCode = 2;
    process.WaitForExit(10000, &exitCode);
    return exitCode;
}

}  // namespace

bool ScreenSaverActive() { return RunFlagProbe(L"get") == 1; }

void SetScreenSaverActive(bool active) { RunFlagProbe(active ? L"on" : L"off"); }

void SleepMs(DWORD milliseconds) { Sleep(milliseconds); }

TestFolder::TestFolder(const std::wstring& name) {
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    path_ = std::wstring(current) + L"\\test folders\\" + name + L" 図";
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directories(path_);
}

TestFolder::~TestFolder() {
    // A program that has just ended may still hold its file for a moment.
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
        if (!error) return;
        Sleep(100);
    }
}

void TestFolder::CopyProgram(const std::wstring& name) const {
    CopyFileW((ProgramFolder() + L"\\" + name).c_str(), File(name).c_str(), FALSE);
}

std::string Cp932(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string ReadBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

HWND WaitForMessageBox(const wchar_t* caption, DWORD timeoutMs) {
    return WaitForWindow(L"#32770", caption, timeoutMs);
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

std::wstring AudioSinkPath() {
    // The wrapper names the sink by its Unix path; Wine maps / to drive Z:.
    wchar_t unixPath[1024] = {};
    GetEnvironmentVariableW(L"MOSAIKA_AUDIO_SINK", unixPath, 1024);
    std::wstring path = L"Z:" + std::wstring(unixPath);
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

long long AudioSinkSize() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(AudioSinkPath().c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

HWND WaitForRendererWindow(DWORD timeoutMs) {
    HWND window = nullptr;
    const bool up = WaitUntil([&window] {
        window = FindWindowW(kRendererWindowTitle, kRendererWindowTitle);
        return window && IsWindowVisible(window) && GetForegroundWindow() == window;
    }, timeoutMs);
    return up ? window : nullptr;
}

}  // namespace systest
