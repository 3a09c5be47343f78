#include "Picture.h"

#include <algorithm>
#include <cstring>

#include <objbase.h>
#include <olectl.h>

namespace forms {

namespace {

// An HGLOBAL copy of the resource bytes, as a stream the picture loader reads.
win32::ComPtr<IStream> ResourceStream(int id, DWORD& size) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!info) return {};
    HGLOBAL resource = LoadResource(module, info);
    const void* bytes = resource ? LockResource(resource) : nullptr;
    size = SizeofResource(module, info);
    if (!bytes || size == 0) return {};
    win32::UniqueGlobalMemory copy(GlobalAlloc(GMEM_MOVEABLE, size));
    void* target = copy ? GlobalLock(copy.get()) : nullptr;
    if (!target) return {};
    std::memcpy(target, bytes, size);
    GlobalUnlock(copy.get());
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy.get(), TRUE, &stream))) return {};
    copy.release();  // the stream frees it
    return win32::ComPtr<IStream>(stream);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

Picture Picture::FromResource(int id) {
    Picture result;
    DWORD size = 0;
    const win32::ComPtr<IStream> stream = ResourceStream(id, size);
    if (!stream) return result;
    void* loaded = nullptr;
    const HRESULT hr = OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture, &loaded);
    if (FAILED(hr) || !loaded) return result;
    result.decoded_.reset(static_cast<IPicture*>(loaded));
    if (HBITMAP bitmap = result.Bitmap()) result.size_ = BitmapSize(bitmap);
    return result;
}

Picture Picture::FromBitmapResource(int id) {
    Picture result;
    result.loaded_.reset(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (result.loaded_) result.size_ = BitmapSize(result.loaded_.get());
    return result;
}

HBITMAP Picture::Bitmap() const {
    if (loaded_ || !decoded_) return loaded_.get();
    OLE_HANDLE handle = 0;
    short type = 0;
    if (FAILED(decoded_.get()->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(decoded_.get()->get_Handle(&handle))) {
        return nullptr;
    }
    return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
}

void Picture::Draw(HDC dc, int x, int y, int width, int height) const {
    HBITMAP bitmap = Bitmap();
    if (!bitmap) return;
    win32::UniqueMemoryDc memory(CreateCompatibleDC(dc));
    win32::SelectedObject selected(memory.get(), bitmap);
    BitBlt(dc, x, y, std::min<int>(width, size_.cx), std::min<int>(height, size_.cy), memory.get(), 0, 0, SRCCOPY);
}

void Picture::DrawStretched(HDC dc, int x, int y, int width, int height) const {
    HBITMAP bitmap = Bitmap();
    if (!bitmap) return;
    win32::UniqueMemoryDc memory(CreateCompatibleDC(dc));
    win32::SelectedObject selected(memory.get(), bitmap);
    // Whole source pixels per target pixel: edges stay crisp rather than blurred.
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, width, height, memory.get(), 0, 0, size_.cx, size_.cy, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

}  // namespace forms
