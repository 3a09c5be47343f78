// The screen saver program モザイカ図.scr. No start-up window: StartUp decides
// what to show, and the program lives as long as the window of its mode.
#include "Win32.h"
#include <objbase.h>

#include "Application.h"
#include "Mosaika_B.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The preview picture is decoded by OLE.
    const HRESULT com = CoInitialize(nullptr);
    mosaika::StartUp();
    const int result = forms::RunMessageLoop();
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}
