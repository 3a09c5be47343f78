#include "SystemLibraries.h"

namespace mosaika {

namespace {

// The functions as the system declares them in <mmsystem.h> and <wingdi.h>.
struct SystemTable {
    DWORD(WINAPI* mciSendStringW)(LPCWSTR, LPWSTR, UINT, HWND) = nullptr;
    BOOL(WINAPI* mciGetErrorStringW)(DWORD, LPWSTR, UINT) = nullptr;
    UINT(WINAPI* waveOutGetNumDevs)() = nullptr;
    BOOL(WINAPI* PlaySoundW)(LPCWSTR, HMODULE, DWORD) = nullptr;
    BOOL(WINAPI* GradientFill)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG) = nullptr;
};

// MCIERR_CANNOT_LOAD_DRIVER (MCIERR_BASE + 10): what an MCI call answers
// when winmm itself could not be loaded.
constexpr DWORD kNoMciDriver = 256 + 10;

template <typename Function>
void Resolve(HMODULE library, const char* name, Function& slot) {
    if (library) slot = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

SystemTable LoadTable() {
    // The system folder only: never the program's folder or the current one.
    // The libraries stay loaded for the life of the process.
    HMODULE winmm = LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    HMODULE msimg32 = LoadLibraryExW(L"msimg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The common controls load uxtheme by name when the first window is made,
    // and Wine resolves that load along the process's own search path, the
    // program's folder first. With the system's copy already loaded, that
    // load finds it and looks no further.
    LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    SystemTable table;
    Resolve(winmm, "mciSendStringW", table.mciSendStringW);
    Resolve(winmm, "mciGetErrorStringW", table.mciGetErrorStringW);
    Resolve(winmm, "waveOutGetNumDevs", table.waveOutGetNumDevs);
    Resolve(winmm, "PlaySoundW", table.PlaySoundW);
    Resolve(msimg32, "GradientFill", table.GradientFill);
    return table;
}

const SystemTable& Table() {
    static const SystemTable table = LoadTable();
    return table;
}

}  // namespace

void LoadSystemLibraries() { Table(); }

DWORD mciSendStringW(LPCWSTR command, LPWSTR reply, UINT replySize, HWND callback) {
    const auto function = Table().mciSendStringW;
    return function ? function(command, reply, replySize, callback) : kNoMciDriver;
}

BOOL mciGetErrorStringW(DWORD error, LPWSTR text, UINT textSize) {
    const auto function = Table().mciGetErrorStringW;
    return function ? function(error, text, textSize) : FALSE;
}

UINT waveOutGetNumDevs() {
    const auto function = Table().waveOutGetNumDevs;
    return function ? function() : 0;
}

BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags) {
    const auto function = Table().PlaySoundW;
    return function ? function(sound, module, flags) : FALSE;
}

BOOL GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, GRADIENT_RECT* mesh, ULONG meshCount,
                  ULONG mode) {
    const auto function = Table().GradientFill;
    return function ? function(dc, vertices, vertexCount, mesh, meshCount, mode) : FALSE;
}

}  // namespace mosaika
