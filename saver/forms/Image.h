// A windowless picture control: draws its picture at its top-left corner,
// unscaled, cut to its own rectangle. It may show its own picture or one held
// by another control.
#pragma once

#include "Picture.h"
#include "Twips.h"
#include "WindowlessControl.h"

namespace forms {

class Image final : public WindowlessControl {
public:
    Image() = default;
    explicit Image(Picture picture) : own_(std::move(picture)), shown_(&own_) {}

    // Shows a picture owned elsewhere (which must outlive this control).
    void SetPicture(const Picture& picture) { shown_ = &picture; }

    // A picture drawn for 96 dpi keeps its size in inches on a finer display
    // (the preview's picture does not: it fills the host's pixels).
    bool scaleWithDpi = false;

    void Paint(HDC dc) override {
        const RECT bounds = Bounds();
        const Picture& picture = Content();
        if (scaleWithDpi && DpiX() != 96) {
            picture.DrawStretched(dc, bounds.left, bounds.top, MulDiv(picture.Size().cx, DpiX(), 96),
                                  MulDiv(picture.Size().cy, DpiY(), 96));
            return;
        }
        picture.Draw(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    }

private:
    const Picture& Content() const { return shown_ ? *shown_ : own_; }

    Picture own_;
    const Picture* shown_ = nullptr;
};

}  // namespace forms
