// The ring colours of the button's looks at 96 dpi, as 0xRRGGBB: the tool
// that draws the skins draws from these tables, and the settings dialog's
// test finds them on the screen. Platform-free.
#pragma once

#include <array>
#include <cstdint>

namespace mosaika {

constexpr int kSkinLayers = 4;  // the ring is four pixels wide

// A side's colour at one ring layer: constant, or a ramp down the side.
struct SkinRamp {
    std::uint32_t top;
    std::uint32_t bottom;
    constexpr SkinRamp(std::uint32_t colour) : top(colour), bottom(colour) {}  // a constant side
    constexpr SkinRamp(std::uint32_t from, std::uint32_t to) : top(from), bottom(to) {}
};

// Each side from the outer edge inwards.
struct SkinRings {
    std::array<std::uint32_t, kSkinLayers> top, bottom;  // rows 0..3 and 24..21
    std::array<SkinRamp, kSkinLayers> left, right;       // columns 0..3 and 63..60
    int outline;                                         // the layer of the dark outline
};

constexpr SkinRings kNormalRings{{0xDCD6C2, 0x003C74, 0xF3F3EE, 0xF3F3EE},
                                 {0xFAFAF6, 0x003C74, 0xD6D0C5, 0xE2DFD6},
                                 {{0xE2DECB, 0x003C74, {0xFAFAFA, 0xF0F0EB}, {0xFAFAF9, 0xF0F0EA}}},
                                 {{0xF0EEE0, 0x003C74, {0xF0EEEA, 0xE4E2D9}, {0xF5F4F2, 0xEAE8E1}}},
                                 1};
// HighLight and HighLightSelect look alike.
constexpr SkinRings kHighLightRings{{0xDCD6C2, 0x003C74, 0xFFF0CF, 0xFDD889},
                                    {0xFAFAF6, 0x003C74, 0xE59700, 0xF8B330},
                                    {{0xE2DECB, 0x003C74, {0xFEDD95, 0xF9B83B}, {0xFCD279, 0xF9B73B}}},
                                    {{0xF0EEE0, 0x003C74, {0xFEDD95, 0xF9B73A}, {0xFCD279, 0xF8B73B}}},
                                    1};
constexpr SkinRings kSelectedRings{{0xDCD6C2, 0x003C74, 0xCEE7FF, 0xCEE7FF},
                                   {0xFAFAF6, 0x003C74, 0x6982EE, 0x6982EE},
                                   {{0xE2DECB, 0x003C74, {0xB4CDF3, 0x8EAFE6}, {0xB4CDF3, 0x8EAFE6}}},
                                   {{0xF0EEE0, 0x003C74, {0xB5CEF3, 0x8DAFE5}, {0xB4CEF3, 0x8EAFE6}}},
                                   1};
// Sunk by one pixel: the outline one layer further in.
constexpr SkinRings kPressedRings{{0xECE9D8, 0xDCD6C2, 0x003C74, 0xD1CCC1},
                                  {0xECE9D8, 0xFAFAF6, 0x003C74, 0xF2F1EE},
                                  {{0xECE9D8, 0xE2DECB, 0x003C74, {0xD8D4CB, 0xDAD8CF}}},
                                  {{0xECE9D8, 0xF0EEE0, 0x003C74, {0xE5E4DD, 0xE6E5DF}}},
                                  2};
constexpr SkinRings kDisableRings{{0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
                                  {0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA},
                                  {{0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA}},
                                  {{0xECE9D8, 0xC9C7BA, 0xF5F4EA, 0xF5F4EA}},
                                  1};

}  // namespace mosaika
