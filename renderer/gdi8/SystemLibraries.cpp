#include "SystemLibraries.h"

namespace mosaika::gdi8 {

namespace {

struct SystemTable {
    DWORD(WINAPI* timeGetTime)() = nullptr;
};

SystemTable LoadTable() {
    // The system folder only; the library stays loaded for the life of the process.
    SystemTable table;
    if (HMODULE winmm = LoadLibraryExW(L"winmm.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        table.timeGetTime =
            reinterpret_cast<DWORD(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(winmm, "timeGetTime")));
    }
    return table;
}

const SystemTable& Table() {
    static const SystemTable table = LoadTable();
    return table;
}

}  // namespace

void LoadSystemLibraries() { Table(); }

DWORD timeGetTime() {
    const auto function = Table().timeGetTime;
    return function ? function() : GetTickCount();
}

}  // namespace mosaika::gdi8
