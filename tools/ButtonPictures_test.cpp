// The skins and indicator boxes the tool draws: the ring colours, the hand-drawn
// corner of Normal and the boxes' three colours. (assets_up_to_date proves the
// committed bitmaps are these pictures.)
#include "ButtonPictures.h"

#include <gtest/gtest.h>

#include <vector>

namespace mosaika {
namespace {

// A picture's pixel as 0xRRGGBB; rows top first, three bytes each pixel.
std::uint32_t At(const std::vector<std::uint8_t>& rgb, int width, int x, int y) {
    const auto i = static_cast<std::size_t>(y * width + x) * 3;
    return std::uint32_t{rgb[i]} << 16 | std::uint32_t{rgb[i + 1]} << 8 | rgb[i + 2];
}

TEST(SkinPicture, RingColoursFromTheEdgeInwardsAndTheHandDrawnNormalCorner) {
    // Edges at the middle column, sides at the ends of their ramps (rows 5 and 19)
    // and beyond (4 and 20), and the middle of a ramp; Pressed one pixel further in.
    using L = Skin;
    const struct {
        Skin look;
        int x, y;
        std::uint32_t colour;
    } rows[] = {
        {L::Normal, 32, 0, 0xDCD6C2},    {L::Normal, 1, 10, 0x003C74},    {L::Normal, 32, 1, 0x003C74},
        {L::Normal, 62, 12, 0x003C74},   {L::Normal, 32, 23, 0x003C74},   {L::Normal, 32, 22, 0xD6D0C5},
        {L::Normal, 32, 21, 0xE2DFD6},   {L::Normal, 32, 24, 0xFAFAF6},   {L::Normal, 2, 5, 0xFAFAFA},
        {L::Normal, 2, 19, 0xF0F0EB},    {L::Normal, 2, 4, 0xFAFAFA},     {L::Normal, 2, 20, 0xF0F0EB},
        {L::Normal, 2, 12, 0xF5F5F3},    {L::Normal, 63, 12, 0xF0EEE0},   {L::Normal, 60, 5, 0xF5F4F2},
        {L::Normal, 60, 19, 0xEAE8E1},   {L::HighLight, 32, 3, 0xFDD889}, {L::HighLight, 32, 22, 0xE59700},
        {L::HighLight, 61, 5, 0xFEDD95}, {L::HighLight, 61, 19, 0xF9B73A}, {L::Selected, 3, 19, 0x8EAFE6},
        {L::Selected, 61, 5, 0xB5CEF3},  {L::Selected, 32, 2, 0xCEE7FF},  {L::Selected, 0, 12, 0xE2DECB},
        {L::Pressed, 32, 0, 0xECE9D8},   {L::Pressed, 32, 1, 0xDCD6C2},   {L::Pressed, 32, 2, 0x003C74},
        {L::Pressed, 32, 22, 0x003C74},  {L::Pressed, 2, 12, 0x003C74},   {L::Pressed, 61, 12, 0x003C74},
        {L::Pressed, 3, 5, 0xD8D4CB},    {L::Pressed, 60, 19, 0xE6E5DF},  {L::Disable, 32, 1, 0xC9C7BA},
        {L::Disable, 1, 12, 0xC9C7BA},   {L::Disable, 62, 12, 0xC9C7BA},  {L::Disable, 32, 23, 0xC9C7BA},
        {L::Disable, 3, 12, 0xF5F4EA},   {L::Disable, 63, 12, 0xECE9D8},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(At(SkinPicture(row.look), 64, row.x, row.y), row.colour) << SkinName(row.look) << " " << row.x
                                                                           << ", " << row.y;
    }
    EXPECT_EQ(SkinPicture(L::HighLight), SkinPicture(L::HighLightSelect));
    const std::uint32_t block[4][4] = {{0xE9E7D5, 0xE4DFCE, 0xE1DDCA, 0xE0DCC9},
                                       {0xE4DFCE, 0xE6E1D0, 0x7A95A8, 0x255783},
                                       {0xE2DECB, 0x7A95A8, 0x557DA2, 0xC0CFDD},
                                       {0xE2DECB, 0x255783, 0xBFCEDC, 0xFEFEFE}};
    const std::vector<std::uint8_t> normal = SkinPicture(L::Normal);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ((std::vector{At(normal, 64, j, i), At(normal, 64, 63 - j, i), At(normal, 64, j, 24 - i),
                                   At(normal, 64, 63 - j, 24 - i)}),
                      std::vector<std::uint32_t>(4, block[i][j]))
                << "row " << i << " column " << j << " of each corner";
        }
    }
}

TEST(IndicatorBoxPicture, GreyEdgeRoundALightInsideFilledBlueWhenSelected) {
    const std::vector<std::uint8_t> unselected = IndicatorBoxPicture(false), selected = IndicatorBoxPicture(true);
    ASSERT_EQ(unselected.size() + selected.size(), 2u * 12u * 12u * 3u);
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
