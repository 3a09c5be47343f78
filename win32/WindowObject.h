// A window reaches the object it was created for through its own user data
// (GWLP_USERDATA), never through a static: the object is CreateWindowEx's
// last argument, stored at WM_NCCREATE, the first message that carries it.
#pragma once

#include "win32/Win32.h"

namespace win32 {

// For a window procedure: the window's object, null before WM_NCCREATE and
// once the user data is cleared.
template <typename Object>
Object* WindowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // lpCreateParams leads both CREATESTRUCTA and CREATESTRUCTW.
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace win32
