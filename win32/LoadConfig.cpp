// The load-configuration directory of each program (モザイカ図.scr and
// モザイカ図.dll compile it in alike). Its DependentLoadFlags tell Windows 10
// 1607 and later to resolve the program's static imports from the system
// folder only, never from the program's folder. LLD fills the image's
// directory entry from this symbol; GNU ld does not, which is why both
// programs link with LLD when the build finds it.
#include "win32/Win32.h"

#include <cstddef>

// MinGW-w64's headers still call DependentLoadFlags Reserved1.
static_assert(offsetof(IMAGE_LOAD_CONFIG_DIRECTORY64, Reserved1) == 78);

namespace {

constexpr IMAGE_LOAD_CONFIG_DIRECTORY64 SystemFolderOnly() {
    IMAGE_LOAD_CONFIG_DIRECTORY64 directory{};
    directory.Size = sizeof directory;
    directory.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return directory;
}

} // namespace

extern "C" constinit const IMAGE_LOAD_CONFIG_DIRECTORY64 _load_config_used = SystemFolderOnly();
