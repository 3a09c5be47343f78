#include "SystemLibraries.h"

#include "win32/SystemFunction.h"

namespace mosaika::gdi8 {

namespace {

struct SystemTable {
    win32::SystemFunction<DWORD()> timeGetTime{L"winmm.dll", "timeGetTime"};
};

const SystemTable& Table() {
    static const SystemTable table;
    return table;
}

}  // namespace

void LoadSystemLibraries() { Table(); }

DWORD timeGetTime() {
    const auto& function = Table().timeGetTime;
    return function ? function() : GetTickCount();
}

}  // namespace mosaika::gdi8
