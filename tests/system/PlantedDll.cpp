// A DLL that a download folder might hold beside the programs under a system
// library's name. It does nothing but note its own loading: it appends the
// loading program's file name to "<its own path>.loaded", marked "before"
// when the program has not yet loaded winmm (both programs load it in their
// first step, so such a load comes from the system's own start-up code) and
// "after" otherwise. It exports
// timeGetTime so that a program importing winmm the usual way starts with it.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

extern "C" __declspec(dllexport) DWORD WINAPI timeGetTime() { return 0; }

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    lstrcpyW(path + length, L".loaded");
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    const wchar_t* name = program;
    for (const wchar_t* c = program; *c; ++c) {
        if (*c == L'\\') name = c + 1;
    }
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    DWORD written = 0;
    WriteFile(file, name, static_cast<DWORD>(lstrlenW(name) * sizeof(wchar_t)), &written, nullptr);
    const wchar_t* when = GetModuleHandleW(L"winmm.dll") == self || !GetModuleHandleW(L"winmm.dll") ? L" before\n"
                                                                                                    : L" after\n";
    WriteFile(file, when, static_cast<DWORD>(lstrlenW(when) * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return TRUE;
}
