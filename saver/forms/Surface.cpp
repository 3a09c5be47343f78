#include "Surface.h"

namespace forms {

void Surface::Resize(int width, int height) {
    if (bitmap_ && width == width_ && height == height_) return;
    if (width <= 0 || height <= 0) return;
    const win32::WindowDc screen(nullptr);
    if (!dc_) dc_.reset(CreateCompatibleDC(screen.get()));
    win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!dc_ || !bitmap) return;
    if (firstSelection_) {
        SelectObject(dc_.get(), bitmap.get());
    } else {
        firstSelection_.emplace(dc_.get(), bitmap.get());
    }
    bitmap_ = std::move(bitmap);  // the old bitmap is no longer selected: safe to delete
    width_ = width;
    height_ = height;
}

void Surface::Clear(COLORREF colour) {
    if (!bitmap_) return;
    win32::UniqueBrush brush(CreateSolidBrush(colour));
    RECT all{0, 0, width_, height_};
    FillRect(dc_.get(), &all, brush.get());
}

void Surface::HorizontalLine(int y, COLORREF colour) {
    if (!bitmap_) return;
    win32::UniqueBrush brush(CreateSolidBrush(colour));
    RECT row{0, y, width_, y + 1};
    FillRect(dc_.get(), &row, brush.get());
}

void Surface::ShowOn(HDC dc) const {
    if (bitmap_) BitBlt(dc, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

}  // namespace forms
