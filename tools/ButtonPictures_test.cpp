// The skins' corners. The committed bitmaps are compared with the tool's
// pictures by assets_up_to_date, and the dialog's test finds the ring colours
// on the screen; neither notices a corner blend that strays outside the
// colours it mixes, once the bitmaps are made again with it.
#include "ButtonPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "SkinColours.h"

namespace mosaika {
namespace {

TEST(SkinPicture, EveryCornerPixelBlendsOnlyTheBackgroundAndItsLooksRingColours) {
    const struct {
        Skin look;
        const SkinRings& rings;
    } looks[] = {{Skin::HighLight, kHighLightRings}, {Skin::Selected, kSelectedRings},
                 {Skin::Pressed, kPressedRings}, {Skin::Disable, kDisableRings}};
    for (const auto& [look, rings] : looks) {
        std::vector<std::uint32_t> mixed{kSkinBackground};
        for (std::size_t k = 0; k < kSkinLayers; ++k) {
            mixed.insert(mixed.end(), {rings.top[k], rings.bottom[k], rings.left[k].top, rings.left[k].bottom,
                                       rings.right[k].top, rings.right[k].bottom});
        }
        const std::vector<std::uint8_t> rgb = SkinPicture(look);
        for (const int shift : {16, 8, 0}) {
            const auto channel = [shift](std::uint32_t colour) { return colour >> shift & 0xFFu; };
            const auto [low, high] = std::minmax_element(mixed.begin(), mixed.end(),
                                                         [&](auto a, auto b) { return channel(a) < channel(b); });
            for (const int y : {0, 1, 2, 3, 21, 22, 23, 24}) {
                for (const int x : {0, 1, 2, 3, 60, 61, 62, 63}) {
                    const std::uint32_t value = rgb[static_cast<std::size_t>((y * kSkinPictureWidth + x) * 3 + 2 - shift / 8)];
                    EXPECT_TRUE(value >= channel(*low) && value <= channel(*high)) << SkinName(look) << " " << x << ", " << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace mosaika
