// A windowless rectangle outline, one pixel wide, drawn by its container.
#pragma once

#include "WindowlessControl.h"

namespace forms {

class Shape final : public WindowlessControl {
public:
    COLORREF borderColour = RGB(0, 0, 0);
    void Paint(HDC dc) override;
};

}  // namespace forms
