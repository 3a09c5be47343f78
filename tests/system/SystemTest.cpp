#include "SystemTest.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <utility>

#include "Png.h"

namespace systest {

namespace {

// The folder of this test program.
std::filesystem::path TestProgramFolder() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(std::wstring(self, length)).parent_path();
}

}  // namespace

std::wstring ProgramFolder() { return (TestProgramFolder().parent_path() / L"bin").wstring(); }

std::wstring RendererPath() { return ProgramFolder() + L"\\モザイカ図.dll"; }

void OwnedProcess::Ender::operator()(HANDLE process) const {
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
}

bool OwnedProcess::Running() const { return process_ && WaitForSingleObject(Handle(), 0) == WAIT_TIMEOUT; }

bool OwnedProcess::WaitForExit(DWORD milliseconds, DWORD* exitCode) const {
    if (!process_ || WaitForSingleObject(Handle(), milliseconds) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(Handle(), exitCode);
    return true;
}

Process Process::Start(const std::wstring& path, const std::wstring& arguments) {
    return StartWithCommandLine(path, L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments));
}

Process Process::StartSuspended(const std::wstring& path, const std::wstring& arguments) {
    return StartWithCommandLine(path, L"\"" + path + L"\" " + arguments, CREATE_SUSPENDED);
}

void Process::Resume() {
    if (!suspendedThread_) return;
    ResumeThread(suspendedThread_.get());
    suspendedThread_.reset();
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
    process.suspendedThread_.reset(info.hThread);
    if (!(flags & CREATE_SUSPENDED)) process.suspendedThread_.reset();
    process.process_.reset(info.hProcess);
    process.id_ = info.dwProcessId;
    return process;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowW(className, title)) != nullptr; }, timeoutMs);
    return window;
}

int CountWindows(const wchar_t* title) {
    int count = 0;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, title)) != nullptr;) ++count;
    return count;
}

bool WaitForNoWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
    return WaitUntil([&] { return FindWindowW(className, title) == nullptr; }, timeoutMs);
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

void SendKey(WORD virtualKey, DWORD flags, WORD scan) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki = {virtualKey, scan, flags, 0, 0};
    SendInput(1, &input, sizeof input);
}

void SendKey(WORD virtualKey, DWORD flags) {
    SendKey(virtualKey, flags, static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)));
}

void SendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi = {x, y, 0, flags, 0, 0};
    SendInput(1, &input, sizeof input);
}

}  // namespace

void PressKey(WORD virtualKey) {
    SendKey(virtualKey, 0);
    Sleep(20);
    SendKey(virtualKey, KEYEVENTF_KEYUP);
}

void MoveMouseTo(int x, int y) {
    // Absolute coordinates run from 0 to 65535 over the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, MulDiv(x, 65535, width - 1), MulDiv(y, 65535, height - 1));
}

void ClickMouse(DWORD downFlag, DWORD upFlag) {
    SendMouse(downFlag);
    Sleep(20);
    SendMouse(upFlag);
}

void SendMouseButton(DWORD flag) { SendMouse(flag); }

void ClickAt(POINT at, DWORD downFlag, DWORD upFlag) {
    MoveMouseTo(at.x, at.y);
    Sleep(30);
    ClickMouse(downFlag, upFlag);
}

void PressKeyWith(WORD modifier, WORD virtualKey) {
    SendKey(modifier, 0);
    PressKey(virtualKey);
    SendKey(modifier, KEYEVENTF_KEYUP);
}

void TypeText(const std::wstring& text) {
    for (const wchar_t c : text) {
        SendKey(0, KEYEVENTF_UNICODE, c);
        SendKey(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, c);
        Sleep(10);
    }
}

POINT Centre(const RECT& box) { return {(box.left + box.right) / 2, (box.top + box.bottom) / 2}; }

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
    return text;
}

int ScreenDpi() {
    const std::unique_ptr<HDC__, void (*)(HDC)> screen(GetDC(nullptr), [](HDC dc) { ReleaseDC(nullptr, dc); });
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

std::vector<std::uint32_t> Screenshot::In(const RECT& area) const {
    std::vector<std::uint32_t> found;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) found.push_back(At(x, y));
    }
    return found;
}

int Screenshot::Count(const RECT& area, const std::function<bool(std::uint32_t)>& test) const {
    int count = 0;
    for (const std::uint32_t pixel : In(area)) count += test(pixel) ? 1 : 0;
    return count;
}

Screenshot CaptureScreen() { return CaptureArea({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}); }

Screenshot CaptureArea(const RECT& area) {
    Screenshot shot{area.right - area.left, area.bottom - area.top, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, shot.width, -shot.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top row first
    const std::unique_ptr<HDC__, void (*)(HDC)> screen(GetDC(nullptr), [](HDC dc) { ReleaseDC(nullptr, dc); });
    const std::unique_ptr<HDC__, decltype(&DeleteDC)> memory(CreateCompatibleDC(screen.get()), &DeleteDC);
    void* bits = nullptr;
    const std::unique_ptr<HBITMAP__, void (*)(HBITMAP)> bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0), [](HBITMAP b) { DeleteObject(b); });
    const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    shot.pixels.assign(source, source + static_cast<std::size_t>(shot.width) * shot.height);
    for (std::uint32_t& pixel : shot.pixels) pixel &= 0xFFFFFF;
    SelectObject(memory.get(), old);
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
    const Process process = Process::Start((TestProgramFolder() / L"ScreenSaverFlagProbe.exe").wstring(), argument);
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
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    return static_cast<bool>(file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush());
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring MessageBoxText(HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

std::wstring WinePathOf(const wchar_t* variable) {
    wchar_t unixPath[1024] = {};
    if (GetEnvironmentVariableW(variable, unixPath, 1024) == 0) return {};
    std::wstring path = L"Z:" + std::wstring(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// The wrapper names the sink by its Unix path.
std::wstring AudioSinkPath() { return WinePathOf(L"MOSAIKA_AUDIO_SINK"); }

long long AudioSinkSize() {
    std::error_code error;
    const auto size = std::filesystem::file_size(AudioSinkPath(), error);
    return error ? 0 : static_cast<long long>(size);
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
