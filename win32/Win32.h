// The one way this project's Windows code includes <windows.h>: lower case,
// as MinGW's headers on Linux are case-sensitive. Its settings
// (WIN32_LEAN_AND_MEAN, NOMINMAX, STRICT, Windows 7 as the target) are the
// compile definitions of the mosaika_win32 target, so every file sees the
// same declarations.
#pragma once

#include <windows.h>
