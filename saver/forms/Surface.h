// A retained drawing surface: an off-screen image of a window's client area
// that drawing goes into and that the window shows whenever it is repainted.
#pragma once

#include "UniqueHandle.h"
#include "Win32.h"

namespace forms {

class Surface {
public:
    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    // The image is selected out of its DC before either is freed.
    ~Surface() {
        if (dc_ && originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
    }

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
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace forms
