#include "Label.h"

namespace forms {

void Label::Paint(HDC dc) {
    RECT bounds = Bounds();
    const int savedDc = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    if (font) SelectObject(dc, font->Handle());
    // A label one line high keeps its text on that line (running past its edge
    // rather than losing characters); a taller one wraps, long paths included.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const bool multiLine = bounds.bottom - bounds.top >= 2 * metrics.tmHeight;
    UINT format = DT_NOPREFIX | (alignment == Alignment::Centre ? DT_CENTER : DT_LEFT) |
                  (multiLine ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE | DT_NOCLIP);
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

}  // namespace forms
