// The renderer program モザイカ図.dll: a Windows GUI program despite its name.
// It takes no arguments, keeps no files, and always exits with code 0.
#include "FrameLoop.h"
#include "Gdi8Window.h"
#include "SystemLibraries.h"
#include "WinClock.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Libraries loaded from here on come from the system folder only, never
    // from the program's folder (which may be a download folder).
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    mosaika::gdi8::LoadSystemLibraries();
    // Program-wide state with static storage: nothing is allocated per frame.
    static mosaika::RendererProgram program;
    static mosaika::gdi8::Gdi8Window window;
    static mosaika::gdi8::WinClock clock;
    return mosaika::RunRenderer(program, window, clock);
}
