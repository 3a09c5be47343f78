// Mosaika_R: the "Preview Window" that shows a still of the pattern inside the
// host's small preview area. Black background, the picture Img_Prev at its
// top-left corner, unscaled; nothing in it changes while it is shown.
#pragma once

#include <string>

#include "Form.h"
#include "Image.h"

namespace mosaika {

class Mosaika_R final : public forms::Form {
public:
    Mosaika_R();

    forms::Image Img_Prev;
};

// The preview mode of the start-up: embeds the program-wide preview window
// into the host window whose handle the command line carries, sized to it,
// and shows it.
void SetUpPreview(const std::string& commandLine);

}  // namespace mosaika
