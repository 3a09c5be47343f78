// The one rule by which twips (1/1440 inch) become pixels: the window toolkit
// places its windows by it, the button draws its face by it, and the tests
// that measure the dialog on the screen expect it. Platform-free.
#pragma once

#include <cmath>

namespace forms {

// The nearest pixel at dpi dots per inch, halves away from zero.
inline int TwipsToPixels(double twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

}  // namespace forms
