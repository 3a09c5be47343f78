// The renderer's owner of one window and of the device context GetDC gave for
// it: the context is released before the window is destroyed, on every path.
#pragma once

#include <utility>

#include "Win32.h"

namespace mosaika::gdi8 {

class OwnedWindow {
public:
    OwnedWindow() = default;
    explicit OwnedWindow(HWND window) : window_(window) {}
    OwnedWindow(OwnedWindow&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    OwnedWindow& operator=(OwnedWindow&& other) noexcept {
        if (this != &other) {
            Reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;
    ~OwnedWindow() { Reset(); }

    HWND Handle() const { return window_; }
    HDC Dc() const { return dc_; }
    // The window's own context (its class has CS_OWNDC), kept until Reset.
    void FetchDc() { dc_ = GetDC(window_); }

    // ReleaseDC, then DestroyWindow.
    void Reset() {
        if (dc_) ReleaseDC(window_, std::exchange(dc_, nullptr));
        if (window_) DestroyWindow(std::exchange(window_, nullptr));
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

}  // namespace mosaika::gdi8
