#include "Font.h"

#include <cmath>

#include "Twips.h"

namespace forms {

Font::Font(const FontDescription& description) : description_(description) {
    // A negative height asks for the character height, as point sizes mean.
    const int height = -static_cast<int>(std::lround(description.points * DpiY() / 72.0));
    handle_.reset(CreateFontW(height, 0, 0, 0, description.weight, description.italic, description.underline,
                              description.strikethrough, description.charset, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              description.face.c_str()));
}

}  // namespace forms
