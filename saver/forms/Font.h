// A font as the program's windows describe it (face, points, weight, style,
// character set), created at the display's DPI.
#pragma once

#include <memory>
#include <string>

#include "UniqueHandle.h"

namespace forms {

struct FontSpec {
    std::wstring face = L"ＭＳ Ｐゴシック";
    double points = 9.75;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    BYTE charset = SHIFTJIS_CHARSET;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

class Font {
public:
    explicit Font(const FontSpec& description);
    static std::shared_ptr<Font> Create(const FontSpec& description) { return std::make_shared<Font>(description); }
    HFONT Handle() const { return handle_.get(); }
    const FontSpec& Description() const { return description_; }

private:
    FontSpec description_;
    UniqueFont handle_;
};

}  // namespace forms
