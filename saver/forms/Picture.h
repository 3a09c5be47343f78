// A picture decoded by the platform (OLE picture loading), never by a decoder
// of our own, kept as a bitmap and drawn unscaled.
#pragma once

#include "win32/UniqueHandle.h"
#include "win32/Win32.h"

#include <ocidl.h>  // IPicture, released by the owner below

namespace forms {

class Picture {
public:
    Picture() = default;
    // Decodes the RCDATA resource `id` of this program (a JPEG, GIF or BMP).
    static Picture FromResource(int id);
    // The BITMAP resource `id` of this program, as stored.
    static Picture FromBitmapResource(int id);

    explicit operator bool() const { return Bitmap() != nullptr; }
    SIZE Size() const { return size_; }
    HBITMAP Bitmap() const;
    // Draws the picture at (x, y) at its own size, cut to width x height.
    void Draw(HDC dc, int x, int y, int width, int height) const;
    // Draws the whole picture stretched to width x height.
    void DrawStretched(HDC dc, int x, int y, int width, int height) const;

private:
    win32::ComPtr<IPicture> decoded_;  // a decoded picture owns its bitmap
    win32::UniqueBitmap loaded_;       // a bitmap loaded directly
    SIZE size_{};
};

}  // namespace forms
