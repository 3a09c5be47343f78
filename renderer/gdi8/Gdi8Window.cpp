#include "Gdi8Window.h"

#include <cstring>

#include "FrameLoop.h"
#include "win32/WindowObject.h"

namespace mosaika::gdi8 {

namespace {

struct ZoomCommand {
    UINT id;
    const char* text;
};
constexpr ZoomCommand kZoomCommands[] = {
    {0x401, "Zoom 1 x 1"},
    {0x402, "Zoom 2 x 2"},
    {0x404, "Zoom 4 x 4"},
};
constexpr WPARAM kZoomCommandBase = 0x400;

// GUID_CONSOLE_DISPLAY_STATE: its data is 0 (display off), 1 (on) or 2 (dimmed).
constexpr GUID kConsoleDisplayState{0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr DWORD kDisplayOff = 0;

// Halving that rounds toward minus infinity, so a window larger than the
// screen sticks out by the same amount on both sides.
int HalfDown(int value) { return value >> 1; }

}  // namespace

bool Gdi8Window::CreateRendererWindow(const char* name, int width, int height) {
    ShowCursor(FALSE);  // hidden for the rest of the run

    WNDCLASSA windowClass{};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = RendererWindowProc;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = name;
    if (!RegisterClassA(&windowClass)) return false;

    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    zoomFrameSize_ = {frame.right - frame.left, frame.bottom - frame.top};
    frameWidth_ = width;
    frameHeight_ = height;

    // Sized like a maximized window plus one caption height; with no frame or
    // caption all of it is client area.
    window_.reset(CreateWindowExA(0, name, kRendererWindowName, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                  GetSystemMetrics(SM_CXMAXIMIZED),
                                  GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION), nullptr, nullptr,
                                  nullptr, this));
    const HWND window = window_.get();
    // Without a window there is nothing to render into: end as for a failed registration.
    if (!window) return false;
    ShowWindow(window, SW_SHOWNORMAL);
    dc_ = win32::WindowDc(window);

    frameHeader_ = std::make_unique<FrameHeader>(MakeFrameHeader(width, height));

    const HMENU systemMenu = GetSystemMenu(window, FALSE);
    for (const ZoomCommand& command : kZoomCommands) AppendMenuA(systemMenu, MF_STRING, command.id, command.text);

    // Off while the renderer runs; not written to the user profile.
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);

    monitors_.Open(window);
    // Without the notification the renderer simply draws on while the display is off.
    displayNotification_.reset(RegisterPowerSettingNotification(window, &kConsoleDisplayState,
                                                                DEVICE_NOTIFY_WINDOW_HANDLE));
    return true;
}

bool Gdi8Window::LoadColourTable(const PaletteTable& entries) {
    SetColourTable(*frameHeader_, entries);
    return true;
}

bool Gdi8Window::PresentFrame(const std::uint8_t* frame) {
    currentFrame_ = frame;
    InvalidateRect(window_.get(), nullptr, TRUE);
    SendMessageA(window_.get(), WM_PAINT, 0, 0);  // painted now, synchronously
    monitors_.Present(View());
    PumpMessages();
    WaitWhileDisplayOff();
    if (monitorsChanged_) {
        monitorsChanged_ = false;
        monitors_.Open(window_.get());
    }
    Sleep(0);
    return true;
}

void Gdi8Window::DestroyRendererWindow() {
    currentFrame_ = nullptr;
    dc_ = {};  // ReleaseDC, then DestroyWindow
    window_.reset();
    monitors_.DestroyAll();
    displayNotification_.reset();
    // On again at close, whatever it was before the renderer started.
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
}

void Gdi8Window::Paint() { PaintFrame(window_.get(), dc_.get(), View()); }

// Only the messages already waiting for the renderer's own windows.
void Gdi8Window::PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, window_.get(), 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    monitors_.PumpMessages();
}

void Gdi8Window::OnPowerSettingChange(const POWERBROADCAST_SETTING* setting) {
    if (!setting || !IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) || setting->DataLength < sizeof(DWORD)) {
        return;
    }
    DWORD state = 0;
    std::memcpy(&state, setting->Data, sizeof state);
    const bool off = state == kDisplayOff;  // dimmed counts as visible
    if (off == displayOff_) return;
    displayOff_ = off;
    // A notification sent from another thread is handled inside the wait
    // without ending it; a posted message of our own ends it.
    if (!off) PostMessageA(window_.get(), WM_NULL, 0, 0);
}

// No frame while nobody can see it: the thread sleeps until a message comes,
// handles it (a close ends the process from there), and looks again.
void Gdi8Window::WaitWhileDisplayOff() {
    while (displayOff_) {
        WaitMessage();
        PumpMessages();
    }
}

void Gdi8Window::Zoom(WPARAM command) {
    const int n = static_cast<int>(command & 7);
    const int width = n * zoomFrameSize_.cx;
    const int height = n * zoomFrameSize_.cy;
    const int x = HalfDown(GetSystemMetrics(SM_CXSCREEN) - width);
    const int y = HalfDown(GetSystemMetrics(SM_CYSCREEN) - height);
    SetWindowPos(window_.get(), nullptr, x, y, width, height, SWP_NOZORDER);
}

LRESULT CALLBACK Gdi8Window::RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Gdi8Window* self = win32::WindowObject<Gdi8Window>(window, message, lParam);
    switch (message) {
    case WM_PAINT:
        if (self) self->Paint();
        return 0;
    case WM_ERASEBKGND:
        return 0;  // the frame covers everything; never erase
    case WM_CLOSE:
        if (self) self->DestroyRendererWindow();
        ExitProcess(0);
    case WM_KEYDOWN:
        if ((wParam & 0xFF) == VK_ESCAPE) SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_POWERBROADCAST:
        if (wParam != PBT_POWERSETTINGCHANGE) return DefWindowProcA(window, message, wParam, lParam);
        if (self) self->OnPowerSettingChange(reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
        return TRUE;
    case WM_DISPLAYCHANGE:
        // Monitors added, removed or moved: the monitor windows follow at the next frame.
        if (self) self->monitorsChanged_ = true;
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_SYSCOMMAND:
        if ((wParam & ~WPARAM{0xF}) == kZoomCommandBase) {
            if (self) self->Zoom(wParam);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace mosaika::gdi8
