// winmm, the one system library the renderer needs beyond the known ones.
// It is not on the system's list of known DLLs, so a static import would take
// a winmm.dll lying beside the program (a download folder) before the
// system's own. It is loaded at start from the system folder alone and its
// one function is reached through a table.
#pragma once

#include "win32/Win32.h"

namespace mosaika::gdi8 {

// Loads winmm.dll from the system folder, once; later calls do nothing.
void LoadSystemLibraries();

// winmm's timeGetTime through the table. Without winmm the animation runs on
// GetTickCount: the same milliseconds since system start, in coarser steps,
// so the pattern still moves at its speed rather than standing still.
DWORD timeGetTime();

}  // namespace mosaika::gdi8
