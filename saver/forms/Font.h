// A font of the platform made from its FontDescription at the display's DPI.
#pragma once

#include <memory>

#include "FontDescription.h"
#include "win32/UniqueHandle.h"

namespace forms {

class Font {
public:
    explicit Font(const FontDescription& description);
    static std::shared_ptr<Font> Create(const FontDescription& description) { return std::make_shared<Font>(description); }
    HFONT Handle() const { return handle_.get(); }
    const FontDescription& Description() const { return description_; }

private:
    FontDescription description_;
    win32::UniqueFont handle_;
};

}  // namespace forms
