#include "WindowlessControl.h"

#include "Twips.h"

namespace forms {

void WindowlessControl::MoveTwips(double left, double top, double width, double height) {
    const RECT rect = TwipsRect(left, top, width, height);
    Move(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

}  // namespace forms
