// The settings dialog's panel Pic_C: a child container on a light grey
// background whose owner paints its bands whenever it is resized.
#pragma once

#include <functional>

#include "Form.h"

namespace mosaika {

class Panel final : public forms::Form {
public:
    Panel();
    std::function<void()> onResize;

protected:
    void Form_Resize() override {
        if (onResize) onResize();
    }
};

}  // namespace mosaika
