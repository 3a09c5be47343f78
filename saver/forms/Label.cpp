#include "Label.h"

namespace forms {

void Label::Paint(HDC dc) {
    RECT bounds = Bounds();
    const int savedDc = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    if (font) SelectObject(dc, font->Handle());
    UINT format = DT_NOPREFIX | DT_WORDBREAK | (alignment == Alignment::Centre ? DT_CENTER : DT_LEFT);
    if (enabled) {
        SetTextColor(dc, foreColour);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &bounds, format);
    } else {
        // The platform's disabled text: a light copy one pixel down and right under grey text.
        RECT shadow = bounds;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &shadow, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &bounds, format);
    }
    RestoreDC(dc, savedDc);
}

void Shape::Paint(HDC dc) {
    const RECT bounds = Bounds();
    UniqueBrush brush(CreateSolidBrush(borderColour));
    FrameRect(dc, &bounds, brush.get());
}

}  // namespace forms
