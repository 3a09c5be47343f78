// One owner type for every Win32 resource: the handle is released exactly once,
// when its owner goes, on every path. Each kind of handle names its empty
// value and how it is released; the scoped helpers below cover the pairs
// that need more than the handle (GetDC, BeginPaint, SelectObject).
#pragma once

#include <utility>

#include "win32/Win32.h"

namespace win32 {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle handle = Traits::Invalid()) {
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

// A handle whose empty value is null, released by one system function.
template <typename H, auto release>
struct NullEmptyTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { release(handle); }
};

using KernelHandleTraits = NullEmptyTraits<HANDLE, &CloseHandle>;

// CreateFileW's failure is INVALID_HANDLE_VALUE, not null: its result goes
// straight into the owner.
struct FileTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

// One reference to a COM object, given back when its owner goes.
template <typename Interface>
struct ComTraits {
    using Handle = Interface*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { handle->Release(); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueModule = UniqueHandle<NullEmptyTraits<HMODULE, &FreeLibrary>>;
using UniqueWindow = UniqueHandle<NullEmptyTraits<HWND, &DestroyWindow>>;
using UniqueBitmap = UniqueHandle<NullEmptyTraits<HBITMAP, &DeleteObject>>;
using UniqueBrush = UniqueHandle<NullEmptyTraits<HBRUSH, &DeleteObject>>;
using UniqueFont = UniqueHandle<NullEmptyTraits<HFONT, &DeleteObject>>;
using UniqueMemoryDc = UniqueHandle<NullEmptyTraits<HDC, &DeleteDC>>;
using UniqueGlobalMemory = UniqueHandle<NullEmptyTraits<HGLOBAL, &GlobalFree>>;
using UniquePowerNotification = UniqueHandle<NullEmptyTraits<HPOWERNOTIFY, &UnregisterPowerSettingNotification>>;
template <typename Interface>
using ComPtr = UniqueHandle<ComTraits<Interface>>;

// A device context from GetDC, released to its window (the screen's for none).
class WindowDc {
public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(WindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    // The context held before goes with other.
    WindowDc& operator=(WindowDc&& other) noexcept {
        std::swap(window_, other.window_);
        std::swap(dc_, other.dc_);
        return *this;
    }
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// BeginPaint/EndPaint as one scope.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// SelectObject for one scope; the previous object is selected again at the end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace win32
