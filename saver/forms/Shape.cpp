#include "Shape.h"

#include "win32/UniqueHandle.h"

namespace forms {

void Shape::Paint(HDC dc) {
    const RECT bounds = Bounds();
    win32::UniqueBrush brush(CreateSolidBrush(borderColour));
    FrameRect(dc, &bounds, brush.get());
}

}  // namespace forms
