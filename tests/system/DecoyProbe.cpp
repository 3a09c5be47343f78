// A program that only leaves a trace: run under any name, it writes a marker
// file beside itself (its own path followed by ".ran", holding its process
// id) and ends at once with exit code 0. The saver tests plant it where a
// careless program start would find it, or put it in the renderer's place.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring marker = std::wstring(self, length) + L".ran";
    const std::string id = std::to_string(GetCurrentProcessId());
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, id.data(), static_cast<DWORD>(id.size()), &written, nullptr);
        CloseHandle(file);
    }
    return 0;
}
