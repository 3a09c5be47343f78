#include "ButtonPictures.h"

#include <algorithm>
#include <array>

#include "SkinColours.h"

namespace mosaika {

namespace {

constexpr int kRing = kSkinLayers;  // ring width in pixels
constexpr int kRampTop = 5;         // side ramps run from this row...
constexpr int kRampBottom = 19;     // ...to this one

const SkinRings& RingsOf(Skin look) {
    switch (look) {
        case Skin::Normal: return kNormalRings;
        case Skin::HighLight:
        case Skin::HighLightSelect: return kHighLightRings;
        case Skin::Pressed: return kPressedRings;
        case Skin::Selected: return kSelectedRings;
        case Skin::Disable: return kDisableRings;
    }
    return kNormalRings;
}

// Normal's top-left corner as drawn by hand; its mirror images are the
// other three corners of Normal.
constexpr std::uint32_t kNormalCorner[kRing][kRing] = {
    {0xE9E7D5, 0xE4DFCE, 0xE1DDCA, 0xE0DCC9},
    {0xE4DFCE, 0xE6E1D0, 0x7A95A8, 0x255783},
    {0xE2DECB, 0x7A95A8, 0x557DA2, 0xC0CFDD},
    {0xE2DECB, 0x255783, 0xBFCEDC, 0xFEFEFE},
};

// Weights in sixteenths of the background and ring layers 0..3 for corner
// pixel [i][j], i rows from the horizontal edge, j columns from the vertical
// edge, for a look whose outline is layer 1. Fitted to Normal's corner: the
// outside fades in over the first row and the outline bends round through
// the diagonal.
constexpr std::uint8_t kCornerWeights[kRing][kRing][1 + kSkinLayers] = {
    {{13, 3, 0, 0, 0}, {8, 8, 0, 0, 0}, {6, 10, 0, 0, 0}, {5, 11, 0, 0, 0}},
    {{2, 14, 0, 0, 0}, {8, 8, 0, 0, 0}, {6, 0, 8, 2, 0}, {0, 3, 13, 0, 0}},
    {{0, 16, 0, 0, 0}, {6, 0, 8, 2, 0}, {0, 2, 10, 4, 0}, {0, 0, 3, 0, 13}},
    {{0, 16, 0, 0, 0}, {0, 3, 13, 0, 0}, {0, 0, 4, 12, 0}, {0, 0, 0, 0, 16}},
};

std::uint32_t Channel(std::uint32_t colour, int shift) { return colour >> shift & 0xFFu; }

std::uint32_t RampAt(const SkinRamp& ramp, int row) {
    const int y = std::clamp(row, kRampTop, kRampBottom);
    const auto down = static_cast<std::uint32_t>(y - kRampTop);
    const auto up = static_cast<std::uint32_t>(kRampBottom - y);
    constexpr std::uint32_t span = kRampBottom - kRampTop;
    std::uint32_t colour = 0;
    for (const int shift : {16, 8, 0}) {
        const std::uint32_t value = (Channel(ramp.top, shift) * up + Channel(ramp.bottom, shift) * down + span / 2) / span;
        colour |= value << shift;
    }
    return colour;
}

std::uint32_t Average(std::uint32_t a, std::uint32_t b) {
    std::uint32_t colour = 0;
    for (const int shift : {16, 8, 0}) colour |= ((Channel(a, shift) + Channel(b, shift) + 1) / 2) << shift;
    return colour;
}

struct Corner {
    bool top;   // at the top edge (else the bottom)
    bool left;  // at the left edge (else the right)
};

// The colour of ring layer k at corner pixel [i][j]: the horizontal side's
// above the diagonal, the vertical side's (at its near end) below it, both
// averaged on it.
std::uint32_t LayerColour(const SkinRings& rings, Corner corner, int layer, int i, int j) {
    const auto k = static_cast<std::size_t>(std::clamp(layer, 0, kSkinLayers - 1));
    const std::uint32_t horizontal = corner.top ? rings.top[k] : rings.bottom[k];
    const SkinRamp& side = corner.left ? rings.left[k] : rings.right[k];
    const std::uint32_t vertical = RampAt(side, corner.top ? kRampTop : kRampBottom);
    if (i < j) return horizontal;
    if (j < i) return vertical;
    return Average(horizontal, vertical);
}

std::uint32_t CornerPixel(Skin look, Corner corner, int i, int j) {
    if (look == Skin::Normal) return kNormalCorner[i][j];
    const SkinRings& rings = RingsOf(look);
    const int sunk = rings.outline - 1;  // rings outside the outline's corner shape
    if (std::min(i, j) < sunk) return LayerColour(rings, corner, std::min(i, j), i, j);
    const std::uint8_t* weights = kCornerWeights[i - sunk][j - sunk];
    std::uint32_t sums[3] = {8, 8, 8};  // rounding of the sixteenths
    for (int l = 0; l <= kSkinLayers; ++l) {
        const std::uint32_t colour =
            l == 0 ? (sunk == 0 ? kSkinBackground : LayerColour(rings, corner, sunk - 1, i, j))
                   : LayerColour(rings, corner, l - 1 + sunk, i, j);
        for (int c = 0; c < 3; ++c) sums[c] += weights[l] * Channel(colour, 16 - 8 * c);
    }
    return (sums[0] / 16) << 16 | (sums[1] / 16) << 8 | sums[2] / 16;
}

std::uint32_t SkinPixel(Skin look, int x, int y) {
    const SkinRings& rings = RingsOf(look);
    const int fromLeft = x;
    const int fromRight = kSkinPictureWidth - 1 - x;
    const int fromTop = y;
    const int fromBottom = kSkinPictureHeight - 1 - y;
    const bool side = fromLeft < kRing || fromRight < kRing;
    const bool edge = fromTop < kRing || fromBottom < kRing;
    if (side && edge) {
        const Corner corner{fromTop < kRing, fromLeft < kRing};
        return CornerPixel(look, corner, corner.top ? fromTop : fromBottom, corner.left ? fromLeft : fromRight);
    }
    if (fromTop < kRing) return rings.top[static_cast<std::size_t>(fromTop)];
    if (fromBottom < kRing) return rings.bottom[static_cast<std::size_t>(fromBottom)];
    if (fromLeft < kRing) return RampAt(rings.left[static_cast<std::size_t>(fromLeft)], y);
    if (fromRight < kRing) return RampAt(rings.right[static_cast<std::size_t>(fromRight)], y);
    return rings.top[kSkinLayers - 1];  // the inside, never copied
}

void PutRgb(std::vector<std::uint8_t>& out, std::uint32_t colour) {
    out.push_back(static_cast<std::uint8_t>(colour >> 16));
    out.push_back(static_cast<std::uint8_t>(colour >> 8));
    out.push_back(static_cast<std::uint8_t>(colour));
}

}  // namespace

std::vector<std::uint8_t> SkinPicture(Skin look) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(kSkinPictureWidth * kSkinPictureHeight * 3);
    for (int y = 0; y < kSkinPictureHeight; ++y) {
        for (int x = 0; x < kSkinPictureWidth; ++x) PutRgb(rgb, SkinPixel(look, x, y));
    }
    return rgb;
}

std::vector<std::uint8_t> IndicatorBoxPicture(bool selected) {
    constexpr int last = kIndicatorPictureSize - 1;
    std::vector<std::uint8_t> rgb;
    rgb.reserve(kIndicatorPictureSize * kIndicatorPictureSize * 3);
    for (int y = 0; y <= last; ++y) {
        for (int x = 0; x <= last; ++x) {
            const int inset = std::min({x, y, last - x, last - y});  // 0 on the edge
            std::uint32_t colour = kIndicatorInterior;
            if (inset == 0) {
                colour = kIndicatorEdge;
            } else if (selected && inset >= 2) {
                colour = kIndicatorFill;
            }
            PutRgb(rgb, colour);
        }
    }
    return rgb;
}

}  // namespace mosaika
