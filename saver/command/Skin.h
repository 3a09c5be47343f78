// The six looks of the button Command. Each names a 64 x 25-pixel skin image
// whose outer 4-pixel ring becomes the frame of the face; the files and
// resources carry these names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace mosaika {

enum class Skin : std::uint8_t { Normal, HighLight, HighLightSelect, Pressed, Selected, Disable };

inline constexpr std::array<Skin, 6> kAllSkins = {Skin::Normal,  Skin::HighLight, Skin::HighLightSelect,
                                                  Skin::Pressed, Skin::Selected,  Skin::Disable};

constexpr std::string_view SkinName(Skin skin) {
    switch (skin) {
        case Skin::Normal: return "Normal";
        case Skin::HighLight: return "HighLight";
        case Skin::HighLightSelect: return "HighLightSelect";
        case Skin::Pressed: return "Pressed";
        case Skin::Selected: return "Selected";
        case Skin::Disable: return "Disable";
    }
    return {};
}

}  // namespace mosaika
