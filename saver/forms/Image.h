// A windowless picture control: draws its picture at its top-left corner,
// unscaled, cut to its own rectangle.
#pragma once

#include "Form.h"
#include "Picture.h"

namespace forms {

class Image final : public WindowlessControl {
public:
    explicit Image(Picture picture) : picture_(std::move(picture)) {}

    // Positions and sizes are in pixels of the containing form.
    void Move(int left, int top, int width, int height) { bounds_ = {left, top, left + width, top + height}; }
    void SetSize(int width, int height) { Move(bounds_.left, bounds_.top, width, height); }
    RECT Bounds() const { return bounds_; }
    const Picture& Content() const { return picture_; }

    void Paint(HDC dc) override {
        picture_.Draw(dc, bounds_.left, bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top);
    }

private:
    Picture picture_;
    RECT bounds_{};
};

}  // namespace forms
