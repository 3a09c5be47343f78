// Something a form draws itself, above its background: no window of its
// own. The form hit-tests it for mouse presses.
#pragma once

#include <functional>

#include "MouseButton.h"
#include "win32/Win32.h"

namespace forms {

class WindowlessControl {
public:
    virtual ~WindowlessControl() = default;
    virtual void Paint(HDC dc) = 0;

    // Positions and sizes in pixels of the containing form, or in twips.
    void Move(int left, int top, int width, int height) { bounds_ = {left, top, left + width, top + height}; }
    void MoveTwips(double left, double top, double width, double height);
    void SetSize(int width, int height) { Move(bounds_.left, bounds_.top, width, height); }
    RECT Bounds() const { return bounds_; }

    // Raised when a mouse button is pressed over the control.
    std::function<void(MouseButton)> MouseDown;

private:
    RECT bounds_{};
};

}  // namespace forms
