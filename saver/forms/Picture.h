// A picture decoded by the platform (OLE picture loading), never by a decoder
// of our own, kept as a bitmap and drawn unscaled.
#pragma once

#include "Win32.h"

struct IPicture;

namespace forms {

class Picture {
public:
    Picture() = default;
    // Decodes the RCDATA resource `id` of this program (a JPEG, GIF or BMP).
    static Picture FromResource(int id);
    // The BITMAP resource `id` of this program, as stored.
    static Picture FromBitmapResource(int id);
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;
    ~Picture();

    explicit operator bool() const { return bitmap_ != nullptr; }
    SIZE Size() const { return size_; }
    HBITMAP Bitmap() const { return bitmap_; }
    // Draws the picture at (x, y) at its own size, cut to width x height.
    void Draw(HDC dc, int x, int y, int width, int height) const;
    // Draws the whole picture stretched to width x height.
    void DrawStretched(HDC dc, int x, int y, int width, int height) const;

private:
    IPicture* picture_ = nullptr;  // owns the bitmap below when the picture was decoded
    HBITMAP bitmap_ = nullptr;
    bool ownsBitmap_ = false;      // a bitmap loaded directly
    SIZE size_{};
};

}  // namespace forms
