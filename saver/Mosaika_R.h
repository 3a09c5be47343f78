// Mosaika_R: the "Preview Window" that shows a still of the pattern inside the
// host's small preview area. Black background, the picture Img_Prev at its
// top-left corner, unscaled; nothing in it changes while it is shown.
#pragma once

#include "Form.h"
#include "Image.h"

namespace mosaika {

class Mosaika_R final : public forms::Form {
public:
    Mosaika_R();

    forms::Image Img_Prev;
};

}  // namespace mosaika
