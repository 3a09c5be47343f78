// A font as the program's windows describe it: face, points, weight, style and
// character set. Platform-free, so the button's stored properties hold it too;
// the defaults are the dialog's font, "ＭＳ Ｐゴシック" 9.75 pt, Shift-JIS.
#pragma once

#include <cstdint>
#include <string>

namespace forms {

struct FontDescription {
    std::wstring face = L"ＭＳ Ｐゴシック";
    double points = 9.75;
    int weight = 400;  // FW_NORMAL
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::uint8_t charset = 128;  // SHIFTJIS_CHARSET
    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

}  // namespace forms
