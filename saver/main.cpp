// The screen saver program モザイカ図.scr. No start-up window: StartUp decides
// what to show, and the program lives as long as the window of its mode.
#include "win32/Win32.h"
#include <objbase.h>

#include "Application.h"
#include "Mosaika_B.h"
#include "SystemLibraries.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Libraries loaded from here on (winmm, msimg32, and those the system
    // loads for windows and OLE) come from the system folder only, never from
    // the program's folder (which may be a download folder).
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    mosaika::LoadSystemLibraries();
    // The preview picture is decoded by OLE.
    const HRESULT com = CoInitialize(nullptr);
    mosaika::StartUp();
    const int result = forms::RunMessageLoop();
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}
