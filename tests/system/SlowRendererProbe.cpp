// A stand-in for the renderer that is slow to show itself. It writes a marker
// file beside itself (its own path followed by ".ran", holding its process
// id), waits, then opens a small visible window titled and registered as
// "Mosaika_Kanvas", and ends with exit code 0 on Esc or a close request, as
// the renderer does. The wait is 1500 ms, or the number of milliseconds in a
// file "renderer-delay-ms.txt" beside it.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::wstring Beside(const std::wstring& self, const wchar_t* name) {
    return self.substr(0, self.find_last_of(L'\\') + 1) + name;
}

DWORD DelayMs(const std::wstring& self) {
    HANDLE file = CreateFileW(Beside(self, L"renderer-delay-ms.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1500;
    char text[32] = {};
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    return static_cast<DWORD>(std::strtoul(text, nullptr, 10));
}

void WriteMarker(const std::wstring& self) {
    const std::string id = std::to_string(GetCurrentProcessId());
    HANDLE file = CreateFileW((self + L".ran").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, id.data(), static_cast<DWORD>(id.size()), &written, nullptr);
    CloseHandle(file);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH];
    const std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    WriteMarker(self);
    Sleep(DelayMs(self));

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = L"Mosaika_Kanvas";
    if (!RegisterClassW(&windowClass)) return 0;
    HWND window = CreateWindowExW(0, L"Mosaika_Kanvas", L"Mosaika_Kanvas", WS_POPUP | WS_VISIBLE, 0, 0, 320, 200,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 0;
    SetForegroundWindow(window);
    SetFocus(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
