// The system's screen-saver flag from a fresh process (Wine caches system
// parameters per process, so the test's own process would never see another
// program change it): "get" exits 1 when on, 0 when off; "on"/"off" set it.
// "acp" exits with the process's ANSI code page, which its manifest may choose.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string command = argv[1];
    BOOL active = FALSE;
    if (command == "acp") return static_cast<int>(GetACP());
    if (command != "get") return SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, command == "on", nullptr, 0) ? 0 : 2;
    SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    return active ? 1 : 0;
}
