#include "MonitorWindows.h"

#include <string>

#include "FrameLoop.h"
#include "win32/WindowObject.h"

namespace mosaika::gdi8 {

namespace {

BOOL CALLBACK AddSecondaryMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY)) {
        reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
    }
    return TRUE;
}

std::vector<RECT> SecondaryMonitors() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddSecondaryMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

// Registered at the first opening; a reopening after a display change finds it there.
bool RegisterMonitorClass(WNDPROC procedure) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = procedure;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW, as the main window
    windowClass.lpszClassName = MonitorWindows::kClassName;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

void PaintFrame(HWND window, HDC dc, const FrameView& view) {
    if (!view.pixels) return;
    RECT client;
    GetClientRect(window, &client);
    StretchDIBits(dc, 0, 0, client.right - client.left, client.bottom - client.top, 0, 0, view.width, view.height,
                  view.pixels, reinterpret_cast<const BITMAPINFO*>(view.header->bytes.data()), DIB_RGB_COLORS,
                  SRCCOPY);
    ValidateRect(window, nullptr);
}

MonitorWindows::~MonitorWindows() { DestroyAll(); }

void MonitorWindows::Open(HWND main) {
    DestroyAll();
    const std::vector<RECT> monitors = SecondaryMonitors();
    if (monitors.empty() || !RegisterMonitorClass(MonitorWindowProc)) return;
    main_ = main;
    for (const RECT& area : monitors) {
        // Never the main window's title: the screen saver program finds that one alone.
        const std::string title = kRendererWindowName + std::string(" monitor ") + std::to_string(windows_.size() + 2);
        // A tool window that never activates: no taskbar button, no focus.
        HWND window = CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kClassName, title.c_str(),
                                      WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, area.left, area.top,
                                      area.right - area.left, area.bottom - area.top, nullptr, nullptr, nullptr,
                                      this);
        if (!window) continue;
        windows_.push_back({win32::UniqueWindow(window), {}});
        ShowWindow(window, SW_SHOWNOACTIVATE);
        windows_.back().dc = win32::WindowDc(window);
    }
}

void MonitorWindows::Present(const FrameView& view) {
    view_ = view;
    for (const MonitorWindow& monitor : windows_) PaintFrame(monitor.window.get(), monitor.dc.get(), view_);
}

void MonitorWindows::PumpMessages() {
    MSG message;
    // By index: a handler may have reopened the windows meanwhile.
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        while (i < windows_.size() && PeekMessageA(&message, windows_[i].window.get(), 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void MonitorWindows::DestroyAll() { windows_.clear(); }

HDC MonitorWindows::DcOf(HWND window) const {
    for (const MonitorWindow& monitor : windows_) {
        if (monitor.window.get() == window) return monitor.dc.get();
    }
    return nullptr;
}

LRESULT CALLBACK MonitorWindows::MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MonitorWindows* self = win32::WindowObject<MonitorWindows>(window, message, lParam);
    switch (message) {
    case WM_PAINT:
        if (self && self->DcOf(window)) PaintFrame(window, self->DcOf(window), self->view_);
        ValidateRect(window, nullptr);  // also before the first frame, so WM_PAINT does not come back
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // a click on another monitor leaves the keyboard with the main window
    case WM_CLOSE:
        // Ends the program exactly as a close at the main window does.
        if (self && self->main_) SendMessageA(self->main_, WM_CLOSE, 0, 0);
        return 0;
    case WM_KEYDOWN:
        if ((wParam & 0xFF) == VK_ESCAPE) SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace mosaika::gdi8
