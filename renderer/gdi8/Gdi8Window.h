// gdi8: the renderer's only contact with the Windows user interface. One popup
// window covering the primary screen, frames stretched to it with StretchDIBits
// through an 8-bit colour table, the pointer hidden, the system's own screen
// saver off while the window exists, three zoom commands in the system menu,
// and the process ended on Esc or on any close request. Every other monitor
// shows the same frame in a window of its own (MonitorWindows). While the
// system reports the display off, no frame is drawn: PresentFrame sleeps in
// the message wait until the display is back.
#pragma once

#include <memory>

#include "MonitorWindows.h"
#include "RendererWindow.h"
#include "win32/UniqueHandle.h"
#include "win32/Win32.h"

namespace mosaika::gdi8 {

class Gdi8Window final : public RendererWindow {
public:
    Gdi8Window() = default;
    Gdi8Window(const Gdi8Window&) = delete;
    Gdi8Window& operator=(const Gdi8Window&) = delete;

    bool CreateRendererWindow(const char* name, int width, int height) override;
    bool LoadColourTable(const PaletteTable& entries) override;
    bool PresentFrame(const std::uint8_t* frame) override;
    void DestroyRendererWindow() override;

private:
    static LRESULT CALLBACK RendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    FrameView View() const { return {currentFrame_, frameHeader_.get(), frameWidth_, frameHeight_}; }
    void Paint();
    void Zoom(WPARAM command);
    void PumpMessages();
    void OnPowerSettingChange(const POWERBROADCAST_SETTING* setting);
    void WaitWhileDisplayOff();

    // The window procedure reaches this object through the window's user data.
    win32::UniqueWindow window_;
    win32::WindowDc dc_;  // the class's own DC (CS_OWNDC), held until teardown, released before the window goes
    std::unique_ptr<FrameHeader> frameHeader_;  // made at creation, lives until the process ends
    const std::uint8_t* currentFrame_ = nullptr;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
    SIZE zoomFrameSize_{};
    MonitorWindows monitors_;
    bool monitorsChanged_ = false;
    win32::UniquePowerNotification displayNotification_;
    bool displayOff_ = false;
};

}  // namespace mosaika::gdi8
