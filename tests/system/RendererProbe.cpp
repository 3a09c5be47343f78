// A stand-in for the renderer that leaves a trace: it writes its process id
// into its own path plus ".ran". Then it ends with exit code 0, unless a file
// "renderer-delay-ms.txt" lies beside it: then it waits that many ms, shows a
// window titled and registered "Mosaika_Kanvas" and ends with exit code 0 on
// Esc or a close request, as the renderer does.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>
#include <fstream>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE || (message == WM_KEYDOWN && wParam == VK_ESCAPE)) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    wchar_t path[MAX_PATH];
    const std::filesystem::path self(std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH)));
    std::ofstream(std::filesystem::path(self) += L".ran") << GetCurrentProcessId();
    DWORD delayMs = 0;
    if (!(std::ifstream(self.parent_path() / L"renderer-delay-ms.txt") >> delayMs)) return 0;
    Sleep(delayMs);

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"Mosaika_Kanvas";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"Mosaika_Kanvas", L"Mosaika_Kanvas", WS_POPUP | WS_VISIBLE, 0, 0, 320, 200,
                                  nullptr, nullptr, instance, nullptr);
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
