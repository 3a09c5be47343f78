// The skins and indicator boxes the tool draws: round corners on every look,
// the outline one pixel further in when pressed, and the boxes' three colours.
// (assets_up_to_date proves the committed bitmaps are these pictures.)
#include "ButtonPictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace mosaika {
namespace {

// A picture's pixel as 0xRRGGBB; rows top first, three bytes each pixel.
std::uint32_t At(const std::vector<std::uint8_t>& rgb, int width, int x, int y) {
    const auto i = static_cast<std::size_t>(y * width + x) * 3;
    return std::uint32_t{rgb[i]} << 16 | std::uint32_t{rgb[i + 1]} << 8 | rgb[i + 2];
}

int Distance(std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (const int shift : {16, 8, 0}) {
        sum += std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF));
    }
    return sum;
}

TEST(SkinPicture, EveryCornerIsCutRoundAndThePressedOutlineSitsOneFurtherIn) {
    // Where the outlines of two sides would cross there is no outline: it bends
    // through the diagonal one pixel further in and the pixels beside it, all
    // nearer the outline's colour than the crossing pixel.
    for (const SkinLook look : {SkinLook::Normal, SkinLook::HighLight, SkinLook::HighLightSelect, SkinLook::Pressed,
                                SkinLook::Selected, SkinLook::Disable}) {
        const std::vector<std::uint8_t> skin = SkinPicture(look);
        ASSERT_EQ(skin.size(), std::size_t{kSkinPictureWidth} * kSkinPictureHeight * 3);
        const int o = look == SkinLook::Pressed ? 2 : 1;  // the outline's layer
        EXPECT_EQ(At(skin, 64, 32, o), At(skin, 64, o, 12)) << "the same outline on top and left";
        EXPECT_NE(At(skin, 64, 32, o - 1), At(skin, 64, 32, o)) << "nothing of the outline outside it";
        for (const bool top : {true, false}) {
            for (const bool left : {true, false}) {
                SCOPED_TRACE(std::string(SkinLookName(look)) + (top ? " top" : " bottom") + (left ? "left" : "right"));
                // i rows from the horizontal edge, j columns from the vertical edge.
                const auto at = [&](int i, int j) { return At(skin, 64, left ? j : 63 - j, top ? i : 24 - i); };
                const std::uint32_t outline = at(o, 4);
                EXPECT_EQ(outline, At(skin, 64, 32, top ? o : 24 - o)) << "the side's outline reaches the corner";
                EXPECT_NE(at(o, o), outline);
                for (const auto& [i, j] : {std::pair{o + 1, o + 1}, std::pair{o, 3}, std::pair{3, o}}) {
                    EXPECT_LT(Distance(at(i, j), outline), Distance(at(o, o), outline)) << i << ", " << j;
                }
            }
        }
    }
    EXPECT_EQ(SkinPicture(SkinLook::HighLight), SkinPicture(SkinLook::HighLightSelect));
}

TEST(IndicatorBoxPicture, GreyEdgeRoundALightInsideFilledBlueWhenSelected) {
    const std::vector<std::uint8_t> unselected = IndicatorBoxPicture(false), selected = IndicatorBoxPicture(true);
    ASSERT_EQ(unselected.size(), 12u * 12u * 3u);
    ASSERT_EQ(selected.size(), 12u * 12u * 3u);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool edge = x == 0 || y == 0 || x == 11 || y == 11;
            const bool fill = x >= 2 && y >= 2 && x <= 9 && y <= 9;
            EXPECT_EQ(At(unselected, 12, x, y), edge ? kIndicatorEdge : kIndicatorInterior) << x << ", " << y;
            EXPECT_EQ(At(selected, 12, x, y), edge ? kIndicatorEdge : fill ? kIndicatorFill : kIndicatorInterior);
        }
    }
}

}  // namespace
}  // namespace mosaika
