// Reads or sets the system's screen-saver flag from a fresh process:
//   ScreenSaverFlagProbe get     exit code 1 when on, 0 when off
//   ScreenSaverFlagProbe on|off  sets it (not written to the profile)
// Wine caches system parameters per process, so a test process that has read
// the flag once would never see another program change it; a fresh probe does.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    if (std::strcmp(argv[1], "get") == 0) {
        BOOL active = FALSE;
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        return active ? 1 : 0;
    }
    const BOOL on = std::strcmp(argv[1], "on") == 0;
    SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, on, nullptr, 0);
    return 0;
}
