// The renderer's windows on the monitors beside the primary one. The main
// window "Mosaika_Kanvas" covers the primary monitor; every other monitor the
// system reports gets a borderless popup of its own that shows the same frame
// stretched over that monitor. They are titled and registered differently, so
// a search for "Mosaika_Kanvas" finds the main window alone, and they never
// take activation, so the keyboard stays with the main window. Esc or a close
// request at any of them is handed to the main window. With one monitor there
// is no such window and nothing to do per frame. The windows are opened anew
// on WM_DISPLAYCHANGE, so they follow monitors added, removed or moved.
#pragma once

#include <cstdint>
#include <vector>

#include "Palette.h"
#include "win32/UniqueHandle.h"
#include "win32/Win32.h"

namespace mosaika::gdi8 {

// What every window of the renderer shows: the current frame through the
// colour table of its header.
struct FrameView {
    const std::uint8_t* pixels = nullptr;
    const FrameHeader* header = nullptr;
    int width = 0;
    int height = 0;
};

// Stretches the frame over the window's client area, then validates it.
// Nothing is painted while there is no frame.
void PaintFrame(HWND window, HDC dc, const FrameView& view);

class MonitorWindows {
public:
    inline static constexpr const char* kClassName = "Mosaika_Kanvas_Monitor";

    MonitorWindows() = default;
    MonitorWindows(const MonitorWindows&) = delete;
    MonitorWindows& operator=(const MonitorWindows&) = delete;
    ~MonitorWindows();

    // One window per monitor other than the primary, as the system reports
    // them now; any earlier ones are destroyed first. Close requests go to main.
    void Open(HWND main);
    // Paints the view on every monitor window.
    void Present(const FrameView& view);
    // Handles the messages waiting for the monitor windows.
    void PumpMessages();
    void DestroyAll();
    std::size_t Count() const { return windows_.size(); }

private:
    // A window with its own DC (CS_OWNDC), released before the window goes.
    struct MonitorWindow {
        win32::UniqueWindow window;
        win32::WindowDc dc;
    };

    // Reaches this object through the window's user data.
    static LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HDC DcOf(HWND window) const;

    HWND main_ = nullptr;
    FrameView view_{};
    std::vector<MonitorWindow> windows_;
};

}  // namespace mosaika::gdi8
