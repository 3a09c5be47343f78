#include "Shape.h"

#include "UniqueHandle.h"

namespace forms {

void Shape::Paint(HDC dc) {
    const RECT bounds = Bounds();
    UniqueBrush brush(CreateSolidBrush(borderColour));
    FrameRect(dc, &bounds, brush.get());
}

}  // namespace forms
