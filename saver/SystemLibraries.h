// The system libraries the screen saver program needs beyond the known
// ones: winmm (music), msimg32 (the buttons' gradient) and uxtheme (loaded
// early, see SystemLibraries.cpp). They are not on
// the system's list of known DLLs, so a static import would take a file of
// that name lying beside the program (a download folder) before the system's
// own. They are loaded at start from the system folder alone, and the five
// functions the program calls are reached through one table.
//
// The functions below carry the system's names and forward through that
// table; a call whose function could not be loaded fails as the system call
// would (no device, no sound, nothing drawn). Callers include this header in
// place of <mmsystem.h>.
#pragma once

#include "win32/Win32.h"

namespace mosaika {

// Loads winmm.dll, msimg32.dll and uxtheme.dll from the system folder, once;
// later calls do nothing. Calls below that come first load them themselves.
void LoadSystemLibraries();

// winmm, in UTF-16: command strings and file names reach the devices as
// they are, whatever the system's code page.
DWORD mciSendStringW(LPCWSTR command, LPWSTR reply, UINT replySize, HWND callback);
BOOL mciGetErrorStringW(DWORD error, LPWSTR text, UINT textSize);
UINT waveOutGetNumDevs();
BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags);

// msimg32. The mesh is taken by its own type, so a call with a GRADIENT_RECT
// picks this function over the import that <windows.h> declares.
BOOL GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, GRADIENT_RECT* mesh, ULONG meshCount,
                  ULONG mode);

}  // namespace mosaika
