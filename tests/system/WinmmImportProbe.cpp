// The control case of the DLL-planting test: a program that imports winmm the
// usual way, as the programs did before, and so takes a winmm.dll lying
// beside it when the load order prefers a DLL in the program's folder.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <mmsystem.h>

int main() { return timeGetTime() == 0xFFFFFFFFu ? 1 : 0; }
