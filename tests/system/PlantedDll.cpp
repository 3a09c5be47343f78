// A DLL that a download folder might hold beside the programs under a system
// library's name. It only notes its own loading: it appends a line with the
// loading program's file name to "<its own path>.loaded" (UTF-16), marked
// "before" when the program has not yet loaded winmm (both programs load it in
// their first step, so such a load comes from the system's start-up code) and
// "after" otherwise. It exports timeGetTime so that a program importing winmm
// the usual way starts with it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) DWORD WINAPI timeGetTime() { return 0; }

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH] = {}, program[MAX_PATH] = {};
    const std::wstring log = std::wstring(path, GetModuleFileNameW(self, path, MAX_PATH)) + L".loaded";
    const std::wstring name(program, GetModuleFileNameW(nullptr, program, MAX_PATH));
    const HMODULE winmm = GetModuleHandleW(L"winmm.dll");
    const std::wstring line =
        name.substr(name.find_last_of(L'\\') + 1) + (winmm == self || !winmm ? L" before\n" : L" after\n");
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return TRUE;
}
