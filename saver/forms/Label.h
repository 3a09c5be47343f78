// Windowless text: caption, font, text colour, transparent background,
// alignment, and a greyed look when disabled. Drawn by its container.
#pragma once

#include <memory>
#include <string>

#include "Font.h"
#include "WindowlessControl.h"

namespace forms {

class Label final : public WindowlessControl {
public:
    enum class Alignment { Left, Centre };

    std::wstring caption;
    std::shared_ptr<Font> font;
    COLORREF foreColour = RGB(0, 0, 0);
    Alignment alignment = Alignment::Left;
    bool enabled = true;

    void Paint(HDC dc) override;
};

}  // namespace forms
