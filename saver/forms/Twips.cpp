#include "Twips.h"

#include "TwipsToPixels.h"
#include "win32/UniqueHandle.h"

namespace forms {

namespace {

int ScreenCaps(int index) {
    const win32::WindowDc screen(nullptr);
    const int value = GetDeviceCaps(screen.get(), index);
    return value > 0 ? value : 96;
}

}  // namespace

int DpiX() {
    static const int dpi = ScreenCaps(LOGPIXELSX);
    return dpi;
}

int DpiY() {
    static const int dpi = ScreenCaps(LOGPIXELSY);
    return dpi;
}

int TwipsToPixelsX(double twips) { return TwipsToPixels(twips, DpiX()); }
int TwipsToPixelsY(double twips) { return TwipsToPixels(twips, DpiY()); }
double PixelsToTwipsX(int pixels) { return pixels * 1440.0 / DpiX(); }
double PixelsToTwipsY(int pixels) { return pixels * 1440.0 / DpiY(); }

RECT TwipsRect(double left, double top, double width, double height) {
    const int x = TwipsToPixelsX(left);
    const int y = TwipsToPixelsY(top);
    // Both edges are rounded, so neighbouring controls meet without gaps.
    return {x, y, TwipsToPixelsX(left + width), TwipsToPixelsY(top + height)};
}

}  // namespace forms
