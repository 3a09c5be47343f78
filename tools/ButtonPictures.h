// The pictures of the settings dialog's controls, drawn from their colour
// tables (the rings in SkinColours.h): the button's six 64 x 25 skins and the
// two 12 x 12 indicator boxes of the music-source selector.
//
// A skin is a button outline. Its outer 4-pixel ring is the frame the button
// copies: on every side four colours from the edge inwards, the left and
// right sides as vertical ramps from row 5 to row 19 (rows 4 and 20 keep the
// ramp's end colours). The 4 x 4 corners are cut round: each corner pixel
// blends the background outside the button with the ring colours by one
// table of weights, the same for every look and every corner (mirrored);
// the button sunk by one pixel (Pressed) uses it one pixel further in.
// Normal's corners are the hand-drawn block the others are modelled on. The
// inside, which the button never copies, is one plain colour.
#pragma once

#include <cstdint>
#include <vector>

#include "Skin.h"  // the six looks and their names, as the button loads them

namespace mosaika {

constexpr int kSkinPictureWidth = 64;
constexpr int kSkinPictureHeight = 25;
constexpr int kIndicatorPictureSize = 12;

// The colour outside the button that the corners blend into (the classic
// dialog face colour, ECE9D8).
constexpr std::uint32_t kSkinBackground = 0xECE9D8;

// RGB bytes, top row first.
std::vector<std::uint8_t> SkinPicture(Skin look);

// An empty square box with a light interior and a thin grey edge; selected,
// the same box filled with blue inside a one-pixel light margin.
constexpr std::uint32_t kIndicatorEdge = 0x808080;
constexpr std::uint32_t kIndicatorInterior = 0xF8F8F8;
constexpr std::uint32_t kIndicatorFill = 0x2458C8;
std::vector<std::uint8_t> IndicatorBoxPicture(bool selected);

}  // namespace mosaika
