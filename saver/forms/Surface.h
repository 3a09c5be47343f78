// A retained drawing surface: an off-screen image of a window's client area
// that drawing goes into and that the window shows whenever it is repainted.
#pragma once

#include <optional>

#include "win32/UniqueHandle.h"
#include "win32/Win32.h"

namespace forms {

class Surface {
public:
    // Makes the image width x height pixels (kept when the size is unchanged).
    void Resize(int width, int height);
    explicit operator bool() const { return static_cast<bool>(bitmap_); }
    HDC Dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Clear(COLORREF colour);
    // A one-pixel horizontal line across the whole width at pixel row y.
    void HorizontalLine(int y, COLORREF colour);
    // Copies the image to (0, 0) of dc.
    void ShowOn(HDC dc) const;

private:
    // Released bottom up: the DC's first bitmap is selected back, then the
    // image, no longer selected, is deleted, then the DC.
    win32::UniqueMemoryDc dc_;
    win32::UniqueBitmap bitmap_;
    std::optional<win32::SelectedObject> firstSelection_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace forms
