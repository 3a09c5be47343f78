// A windowless picture control: draws its picture at its top-left corner,
// unscaled, cut to its own rectangle. It may show its own picture or one held
// by another control.
#pragma once

#include "Form.h"
#include "Picture.h"

namespace forms {

class Image final : public WindowlessControl {
public:
    Image() = default;
    explicit Image(Picture picture) : own_(std::move(picture)), shown_(&own_) {}

    // Shows a picture owned elsewhere (which must outlive this control).
    void SetPicture(const Picture& picture) { shown_ = &picture; }
    const Picture& Content() const { return shown_ ? *shown_ : own_; }

    void Paint(HDC dc) override {
        const RECT bounds = Bounds();
        Content().Draw(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    }

private:
    Picture own_;
    const Picture* shown_ = nullptr;
};

}  // namespace forms
