#include "Picture.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include "UniqueHandle.h"

namespace forms {

namespace {

// An HGLOBAL copy of the resource bytes, as a stream the picture loader reads.
IStream* ResourceStream(int id, DWORD& size) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!info) return nullptr;
    HGLOBAL resource = LoadResource(module, info);
    const void* bytes = resource ? LockResource(resource) : nullptr;
    size = SizeofResource(module, info);
    if (!bytes || size == 0) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!copy) return nullptr;
    std::memcpy(GlobalLock(copy), bytes, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return nullptr;
    }
    return stream;
}

}  // namespace

Picture Picture::FromResource(int id) {
    Picture result;
    DWORD size = 0;
    IStream* stream = ResourceStream(id, size);
    if (!stream) return result;
    void* loaded = nullptr;
    const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, &loaded);
    stream->Release();
    if (FAILED(hr) || !loaded) return result;
    result.picture_ = static_cast<IPicture*>(loaded);
    OLE_HANDLE handle = 0;
    short type = 0;
    if (SUCCEEDED(result.picture_->get_Type(&type)) && type == PICTYPE_BITMAP &&
        SUCCEEDED(result.picture_->get_Handle(&handle))) {
        result.bitmap_ = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
        BITMAP info{};
        GetObjectW(result.bitmap_, sizeof info, &info);
        result.size_ = {info.bmWidth, info.bmHeight};
    }
    return result;
}

Picture Picture::FromBitmapResource(int id) {
    Picture result;
    result.bitmap_ = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!result.bitmap_) return result;
    result.ownsBitmap_ = true;
    BITMAP info{};
    GetObjectW(result.bitmap_, sizeof info, &info);
    result.size_ = {info.bmWidth, info.bmHeight};
    return result;
}

Picture::Picture(Picture&& other) noexcept
    : picture_(std::exchange(other.picture_, nullptr)),
      bitmap_(std::exchange(other.bitmap_, nullptr)),
      ownsBitmap_(std::exchange(other.ownsBitmap_, false)),
      size_(other.size_) {}

Picture& Picture::operator=(Picture&& other) noexcept {
    std::swap(picture_, other.picture_);
    std::swap(bitmap_, other.bitmap_);
    std::swap(ownsBitmap_, other.ownsBitmap_);
    std::swap(size_, other.size_);
    return *this;
}

Picture::~Picture() {
    if (picture_) picture_->Release();
    if (ownsBitmap_) DeleteObject(bitmap_);
}

void Picture::Draw(HDC dc, int x, int y, int width, int height) const {
    if (!bitmap_) return;
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    SelectedObject selected(memory.get(), bitmap_);
    BitBlt(dc, x, y, std::min<int>(width, size_.cx), std::min<int>(height, size_.cy), memory.get(), 0, 0, SRCCOPY);
}

}  // namespace forms

namespace forms {

void Picture::DrawStretched(HDC dc, int x, int y, int width, int height) const {
    if (!bitmap_) return;
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    SelectedObject selected(memory.get(), bitmap_);
    // Whole source pixels per target pixel: edges stay crisp rather than blurred.
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, width, height, memory.get(), 0, 0, size_.cx, size_.cy, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

}  // namespace forms
