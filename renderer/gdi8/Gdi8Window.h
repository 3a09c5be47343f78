// gdi8: the renderer's only contact with the Windows user interface. One popup
// window covering the screen, frames stretched to it with StretchDIBits through
// an 8-bit colour table, the pointer hidden, the system's own screen saver off
// while the window exists, three zoom commands in the system menu, and the
// process ended on Esc or on any close request.
#pragma once

#include "RendererWindow.h"
#include "Win32.h"

namespace mosaika::gdi8 {

class Gdi8Window final : public RendererWindow {
public:
    Gdi8Window();
    Gdi8Window(const Gdi8Window&) = delete;
    Gdi8Window& operator=(const Gdi8Window&) = delete;

    bool CreateRendererWindow(const char* name, int width, int height) override;
    bool LoadColourTable(const PaletteTable& entries) override;
    bool PresentFrame(const std::uint8_t* frame) override;
    void DestroyRendererWindow() override;

private:
    static LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Zoom(WPARAM command);

    // Program-wide window state; the window procedure reaches it through this.
    static Gdi8Window* instance_;

    HWND window_ = nullptr;
    HDC deviceContext_ = nullptr;  // the class's own DC (CS_OWNDC), held until teardown
    FrameHeader* frameHeader_ = nullptr;  // allocated at creation, lives until the process ends
    const std::uint8_t* currentFrame_ = nullptr;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    SIZE zoomFrameSize_{};
};

}  // namespace mosaika::gdi8
