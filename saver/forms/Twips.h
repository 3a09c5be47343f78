// Twips (1/1440 inch) and pixels at the display's real DPI, so windows laid
// out in twips keep their proportions and stay sharp at 120 and 144 dpi.
#pragma once

#include "win32/Win32.h"

namespace forms {

// Dots per inch of the display, read once: the program is aware of the
// system DPI, which stays the same while it runs.
int DpiX();
int DpiY();

// Twips to whole pixels, rounded to the nearest pixel.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(int pixels);
double PixelsToTwipsY(int pixels);

// A rectangle given in twips, as pixels.
RECT TwipsRect(double left, double top, double width, double height);

}  // namespace forms
