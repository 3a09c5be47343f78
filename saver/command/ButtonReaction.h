// What the button's window has to do after an event or a property operation:
// draw the face with a skin, enable or grey the caption, raise Click.
#pragma once

#include <optional>

#include "Skin.h"

namespace mosaika {

struct ButtonReaction {
    std::optional<Skin> draw;            // draw the whole face with this skin
    bool gradientReversed = false;       // with draw: darker colour at the top
    std::optional<bool> captionEnabled;  // enable (true) or grey (false) the caption
    bool click = false;                  // raise Click, after drawing

    friend bool operator==(const ButtonReaction&, const ButtonReaction&) = default;
};

}  // namespace mosaika
