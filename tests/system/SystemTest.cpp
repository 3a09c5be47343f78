#include "SystemTest.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "Png.h"

namespace systest {

std::wstring TestFile(const std::wstring& name) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return (std::filesystem::path(std::wstring(self, length)).parent_path() / name).wstring();
}

std::wstring ProgramFolder() { return std::filesystem::path(TestFile(L"..\\bin")).lexically_normal().wstring(); }

void Process::EndedProcessTraits::Close(HANDLE process) {
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
}

Process::Process(DWORD processId)
    : process_(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, processId)) {}

Process Process::OfWindow(HWND window) {
    DWORD processId = 0;
    if (window) GetWindowThreadProcessId(window, &processId);
    return processId ? Process(processId) : Process();
}

Process Process::Start(const std::wstring& path, const std::wstring& arguments) {
    return StartWithCommandLine(path, L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments));
}

Process Process::StartWithCommandLine(const std::wstring& path, std::wstring commandLine, DWORD flags) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Process process;
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup,
                       &info)) {
        process.process_.reset(info.hProcess);
        process.suspendedThread_.reset(info.hThread);
        if (!(flags & CREATE_SUSPENDED)) process.suspendedThread_.reset();
    }
    return process;
}

void Process::Resume() {
    if (suspendedThread_) ResumeThread(suspendedThread_.get());
    suspendedThread_.reset();
    startTick_ = GetTickCount();
}

bool Process::WaitForExit(DWORD milliseconds, DWORD* exitCode) const {
    if (!process_ || !WaitUntil([this] { return !Running(); }, milliseconds)) return false;
    if (exitCode) GetExitCodeProcess(Handle(), exitCode);
    return true;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
    for (const DWORD start = GetTickCount();;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, pollMs, QS_ALLINPUT);  // wakes early for anything sent here
    }
}

HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs) {
    HWND window = nullptr;
    return WaitUntil([&] { return (window = find()) != nullptr; }, timeoutMs) ? window : nullptr;
}

HWND WaitForRendererWindow(DWORD timeoutMs) {
    return WaitForWindow([] {
        HWND window = FindWindowW(kRendererWindowTitle, kRendererWindowTitle);
        return window && IsWindowVisible(window) && GetForegroundWindow() == window ? window : nullptr;
    }, timeoutMs);
}

int CountWindows(const wchar_t* title) {
    int count = 0;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, nullptr, title)) != nullptr;) ++count;
    return count;
}

namespace {

// A virtual key with its scan code, or a character (KEYEVENTF_UNICODE).
void SendKey(WORD virtualKey, DWORD flags, wchar_t character = 0) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    const WORD scan = character ? character : static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki = {virtualKey, scan, flags, 0, 0};
    SendInput(1, &input, sizeof input);
}

void SendMouse(DWORD flags, LONG x, LONG y) {
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

void MoveMouseTo(int x, int y) {
    // Absolute coordinates run from 0 to 65535 over the primary screen.
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1),
              MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1));
}

void SendMouse(DWORD flags) { SendMouse(flags, 0, 0); }

void ClickMouse(DWORD downFlag, DWORD upFlag) {
    SendMouse(downFlag);
    Sleep(20);
    SendMouse(upFlag);
}

void ClickAt(POINT at, DWORD downFlag, DWORD upFlag) {
    MoveMouseTo(at.x, at.y);
    Sleep(30);
    ClickMouse(downFlag, upFlag);
}

POINT Centre(const RECT& box) { return {(box.left + box.right) / 2, (box.top + box.bottom) / 2}; }

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &ignored);
    return text;
}

std::vector<std::uint32_t> Screenshot::In(const RECT& area) const {
    std::vector<std::uint32_t> found;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) found.push_back(At(x, y));
    }
    return found;
}

int Screenshot::Count(const RECT& area, const std::function<bool(std::uint32_t)>& test) const {
    const std::vector<std::uint32_t> in = In(area);
    return static_cast<int>(std::count_if(in.begin(), in.end(), test));
}

Screenshot CaptureScreen(RECT area) {
    if (IsRectEmpty(&area)) area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const win32::WindowDc screen(nullptr);
    return Drawn(area.right - area.left, area.bottom - area.top, [&](HDC dc) {
        BitBlt(dc, 0, 0, area.right - area.left, area.bottom - area.top, screen.get(), area.left, area.top, SRCCOPY);
    });
}

Screenshot Drawn(int width, int height, const std::function<void(HDC)>& draw) {
    Screenshot shot{width, height, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // top row first
    const win32::UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    const win32::UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win32::SelectedObject selected(memory.get(), bitmap.get());
    draw(memory.get());
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    shot.pixels.assign(source, source + static_cast<std::size_t>(width) * height);
    for (std::uint32_t& pixel : shot.pixels) pixel &= 0xFFFFFF;
    return shot;
}

std::string SaveScreenshot(const Screenshot& shot, const std::string& name) {
    std::filesystem::create_directories("screenshots");
    const std::string path = "screenshots/" + name + ".png";
    std::vector<std::uint8_t> rgb;
    for (const std::uint32_t pixel : shot.pixels) {
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                               static_cast<std::uint8_t>(pixel)});
    }
    mosaika::WritePng(path, rgb, shot.width, shot.height);
    return path;
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

std::wstring WinePathOf(const wchar_t* variable) {
    wchar_t unixPath[1024] = {};
    if (GetEnvironmentVariableW(variable, unixPath, 1024) == 0) return {};
    std::wstring path = L"Z:" + std::wstring(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::wstring Language() {
    wchar_t language[16] = {};
    return GetEnvironmentVariableW(L"MOSAIKA_LANGUAGE", language, 16) ? language : L"ja";
}

}  // namespace systest
