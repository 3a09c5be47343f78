#include "Font.h"

#include <cmath>

#include "Twips.h"

namespace forms {

Font::Font(const FontSpec& spec) : spec_(spec) {
    // A negative height asks for the character height, as point sizes mean.
    const int height = -static_cast<int>(std::lround(spec.points * DpiY() / 72.0));
    handle_.reset(CreateFontW(height, 0, 0, 0, spec.weight, spec.italic, spec.underline, spec.strikethrough,
                              spec.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, spec.face.c_str()));
}

}  // namespace forms
