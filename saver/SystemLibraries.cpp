#include "SystemLibraries.h"

#include "win32/SystemFunction.h"

namespace mosaika {

namespace {

// The functions as the system declares them in <mmsystem.h> and <wingdi.h>,
// in the order the libraries are loaded: winmm, msimg32, then uxtheme.
struct SystemTable {
    win32::SystemFunction<DWORD(LPCWSTR, LPWSTR, UINT, HWND)> mciSendStringW{L"winmm.dll", "mciSendStringW"};
    win32::SystemFunction<BOOL(DWORD, LPWSTR, UINT)> mciGetErrorStringW{L"winmm.dll", "mciGetErrorStringW"};
    win32::SystemFunction<UINT()> waveOutGetNumDevs{L"winmm.dll", "waveOutGetNumDevs"};
    win32::SystemFunction<BOOL(LPCWSTR, HMODULE, DWORD)> PlaySoundW{L"winmm.dll", "PlaySoundW"};
    win32::SystemFunction<BOOL(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG)> GradientFill{L"msimg32.dll",
                                                                                         "GradientFill"};
    // The common controls load uxtheme by name when the first window is made,
    // and Wine resolves that load along the process's own search path, the
    // program's folder first. With the system's copy already loaded, that
    // load finds it and looks no further.
    HMODULE uxtheme = win32::LoadSystemLibrary(L"uxtheme.dll");
};

// MCIERR_CANNOT_LOAD_DRIVER (MCIERR_BASE + 10): what an MCI call answers
// when winmm itself could not be loaded.
constexpr DWORD kNoMciDriver = 256 + 10;

const SystemTable& Table() {
    static const SystemTable table;
    return table;
}

}  // namespace

void LoadSystemLibraries() { Table(); }

DWORD mciSendStringW(LPCWSTR command, LPWSTR reply, UINT replySize, HWND callback) {
    const auto& function = Table().mciSendStringW;
    return function ? function(command, reply, replySize, callback) : kNoMciDriver;
}

BOOL mciGetErrorStringW(DWORD error, LPWSTR text, UINT textSize) {
    const auto& function = Table().mciGetErrorStringW;
    return function ? function(error, text, textSize) : FALSE;
}

UINT waveOutGetNumDevs() {
    const auto& function = Table().waveOutGetNumDevs;
    return function ? function() : 0;
}

BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags) {
    const auto& function = Table().PlaySoundW;
    return function ? function(sound, module, flags) : FALSE;
}

BOOL GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, GRADIENT_RECT* mesh, ULONG meshCount,
                  ULONG mode) {
    const auto& function = Table().GradientFill;
    return function ? function(dc, vertices, vertexCount, mesh, meshCount, mode) : FALSE;
}

}  // namespace mosaika
