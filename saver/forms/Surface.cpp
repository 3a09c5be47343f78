#include "Surface.h"

namespace forms {

void Surface::Resize(int width, int height) {
    if (bitmap_ && width == width_ && height == height_) return;
    if (width <= 0 || height <= 0) return;
    HDC screen = GetDC(nullptr);
    if (!dc_) {
        dc_.reset(CreateCompatibleDC(screen));
        originalBitmap_ = nullptr;
    }
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    if (!bitmap) return;
    HGDIOBJ previous = SelectObject(dc_.get(), bitmap.get());
    if (!originalBitmap_) originalBitmap_ = previous;
    bitmap_ = std::move(bitmap);  // the old bitmap is no longer selected: safe to delete
    width_ = width;
    height_ = height;
}

void Surface::Clear(COLORREF colour) {
    if (!bitmap_) return;
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT all{0, 0, width_, height_};
    FillRect(dc_.get(), &all, brush.get());
}

void Surface::HorizontalLine(int y, COLORREF colour) {
    if (!bitmap_) return;
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT row{0, y, width_, y + 1};
    FillRect(dc_.get(), &row, brush.get());
}

void Surface::ShowOn(HDC dc) const {
    if (bitmap_) BitBlt(dc, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

}  // namespace forms
