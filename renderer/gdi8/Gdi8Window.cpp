#include "Gdi8Window.h"

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

// Halving that rounds toward minus infinity, so a window larger than the
// screen sticks out by the same amount on both sides.
int HalfDown(int value) { return value >> 1; }

}  // namespace

Gdi8Window* Gdi8Window::instance_ = nullptr;

Gdi8Window::Gdi8Window() { instance_ = this; }

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
    window_ = CreateWindowExA(0, name, "Mosaika_Kanvas", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                              GetSystemMetrics(SM_CXMAXIMIZED),
                              GetSystemMetrics(SM_CYMAXIMIZED) + GetSystemMetrics(SM_CYCAPTION), nullptr,
                              nullptr, nullptr, nullptr);
    // Without a window there is nothing to render into: end as for a failed registration.
    if (!window_) return false;
    ShowWindow(window_, SW_SHOWNORMAL);
    deviceContext_ = GetDC(window_);

    frameHeader_ = new FrameHeader(MakeFrameHeader(width, height));

    const HMENU systemMenu = GetSystemMenu(window_, FALSE);
    for (const ZoomCommand& command : kZoomCommands) AppendMenuA(systemMenu, MF_STRING, command.id, command.text);

    // Off while the renderer runs; not written to the user profile.
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
    return true;
}

bool Gdi8Window::LoadColourTable(const PaletteTable& entries) {
    SetColourTable(*frameHeader_, entries);
    return true;
}

bool Gdi8Window::PresentFrame(const std::uint8_t* frame) {
    currentFrame_ = frame;
    InvalidateRect(window_, nullptr, TRUE);
    SendMessageA(window_, WM_PAINT, 0, 0);  // painted now, synchronously
    MSG message;
    while (PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    Sleep(0);
    return true;
}

void Gdi8Window::DestroyRendererWindow() {
    currentFrame_ = nullptr;
    ReleaseDC(window_, deviceContext_);
    DestroyWindow(window_);
    // On again at close, whatever it was before the renderer started.
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, 0);
}

void Gdi8Window::Paint() {
    if (!currentFrame_) return;
    RECT client;
    GetClientRect(window_, &client);
    StretchDIBits(deviceContext_, 0, 0, client.right - client.left, client.bottom - client.top, 0, 0, frameWidth_,
                  frameHeight_, currentFrame_, reinterpret_cast<const BITMAPINFO*>(frameHeader_->bytes.data()),
                  DIB_RGB_COLORS, SRCCOPY);
    ValidateRect(window_, nullptr);
}

void Gdi8Window::Zoom(WPARAM command) {
    const int n = static_cast<int>(command & 7);
    const int width = n * zoomFrameSize_.cx;
    const int height = n * zoomFrameSize_.cy;
    const int x = HalfDown(GetSystemMetrics(SM_CXSCREEN) - width);
    const int y = HalfDown(GetSystemMetrics(SM_CYSCREEN) - height);
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER);
}

LRESULT CALLBACK Gdi8Window::RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Gdi8Window* self = instance_;
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
