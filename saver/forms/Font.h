// A font of the platform made from its FontSpec at the display's DPI.
#pragma once

#include <memory>

#include "FontSpec.h"
#include "UniqueHandle.h"

namespace forms {

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
