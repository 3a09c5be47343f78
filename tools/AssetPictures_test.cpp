// The preview still and the icon: drawn by the real core, in the palette, the
// preview with its black columns.
#include "AssetPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>

#include "Palette.h"

namespace mosaika {
namespace {

std::set<std::tuple<int, int, int>> PaletteColours() {
    std::set<std::tuple<int, int, int>> colours;
    for (const PaletteEntry& entry : BuildPaletteTable()) colours.insert({entry.red, entry.green, entry.blue});
    return colours;
}

const std::uint8_t* RgbAt(const std::vector<std::uint8_t>& rgb, int width, int col, int row) {
    return rgb.data() + (static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(col)) * 3;
}

TEST(RenderShades, WidthIsNotTiedToTheDisplaysMultipleOfFour) {
    // 152 is a multiple of 4, 150 is not: a row is exactly width shades either way,
    // and a narrower frame is the left part of a wider one.
    const auto wide = RenderShades(kPreviewSeed, kPreviewMilliseconds, kPreviewWidth, kPreviewHeight);
    const auto narrow = RenderShades(kPreviewSeed, kPreviewMilliseconds, 150, kPreviewHeight);
    ASSERT_EQ(wide.size(), std::size_t{kPreviewWidth} * kPreviewHeight);
    ASSERT_EQ(narrow.size(), std::size_t{150} * kPreviewHeight);
    for (int row = 0; row < kPreviewHeight; ++row) {
        EXPECT_TRUE(std::equal(narrow.begin() + row * 150, narrow.begin() + (row + 1) * 150,
                               wide.begin() + row * kPreviewWidth))
            << "row " << row;
    }
}

TEST(ShadesToRgb, LooksUpEachShadeInThePalette) {
    const auto rgb = ShadesToRgb({0, 30, 255});
    EXPECT_EQ(rgb, (std::vector<std::uint8_t>{255, 255, 191, 225, 225, 1, 0, 0, 126}));
}

TEST(ReduceShades, EachBlockBecomesItsMeanWithHalvesRoundedUp) {
    const struct {
        std::vector<std::uint8_t> shades;
        int width, height, factor;
        std::vector<std::uint8_t> expected;
    } rows[] = {
        {{0, 1, 2, 3}, 2, 2, 2, {2}},                  // 1.5 rounds up
        {{0, 1, 1, 2}, 2, 2, 2, {1}},                  // exact
        {{0, 0, 0, 1}, 2, 2, 2, {0}},                  // 0.25 rounds down
        {{255, 255, 255, 255}, 2, 2, 2, {255}},        // no overflow at the top
        {{10, 20, 30, 40, 50, 60}, 3, 2, 1, {10, 20, 30, 40, 50, 60}},
        // 4 x 2 in two 2 x 2 blocks: the left block is 0,1,4,5, the right 2,3,6,7.
        {{0, 1, 2, 3, 4, 5, 6, 7}, 4, 2, 2, {3, 5}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ReduceShades(row.shades, row.width, row.height, row.factor), row.expected)
            << row.width << "x" << row.height << " by " << row.factor;
    }
}

TEST(PreviewPicture, BlackColumnsAtBothEdgesAndThePatternBetween) {
    const auto rgb = PreviewPicture(kPreviewSeed, kPreviewMilliseconds);
    ASSERT_EQ(rgb.size(), std::size_t{kPreviewWidth} * kPreviewHeight * 3);
    const auto palette = PaletteColours();  // has no black: blue is never 0
    const auto shades = RenderShades(kPreviewSeed, kPreviewMilliseconds, kPreviewWidth, kPreviewHeight);
    const auto inPalette = ShadesToRgb(shades);
    for (int row = 0; row < kPreviewHeight; ++row) {
        for (int col = 0; col < kPreviewWidth; ++col) {
            const std::uint8_t* pixel = RgbAt(rgb, kPreviewWidth, col, row);
            const bool black = col < 2 || col == kPreviewWidth - 1;
            if (black) {
                EXPECT_TRUE(pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0) << col << "," << row;
            } else {
                EXPECT_TRUE(std::equal(pixel, pixel + 3, RgbAt(inPalette, kPreviewWidth, col, row)))
                    << col << "," << row;
                EXPECT_TRUE(palette.count({pixel[0], pixel[1], pixel[2]})) << col << "," << row;
            }
        }
    }
}

TEST(PreviewPicture, ShowsBordersAndDeepInteriors) {
    // A still worth showing: pale cell borders and dark cell interiors both appear.
    const auto shades = RenderShades(kPreviewSeed, kPreviewMilliseconds, kPreviewWidth, kPreviewHeight);
    const auto [lowest, highest] = std::minmax_element(shades.begin(), shades.end());
    EXPECT_LT(*lowest, 16);
    EXPECT_GT(*highest, 200);
}

TEST(IconPicture, OpaquePaletteColoursInBlueGreenRedAlphaOrder) {
    const auto bgra = IconPicture(kIconSeed, kIconMilliseconds);
    ASSERT_EQ(bgra.size(), std::size_t{kIconSize} * kIconSize * 4);
    const auto palette = PaletteColours();
    std::set<int> shades;
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
        EXPECT_TRUE(palette.count({bgra[i + 2], bgra[i + 1], bgra[i]})) << i / 4;
        EXPECT_EQ(bgra[i + 3], 255) << i / 4;
        shades.insert(bgra[i + 2]);
    }
    EXPECT_GT(shades.size(), 32u) << "the icon should show the shading, not a flat colour";
}

TEST(EncodePpm, BinaryHeaderThenTheRowsAsGiven) {
    const std::vector<std::uint8_t> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    const auto ppm = EncodePpm(rgb, 3, 2);
    const std::string header = "P6\n3 2\n255\n";
    ASSERT_EQ(ppm.size(), header.size() + rgb.size());
    EXPECT_EQ(std::string(ppm.begin(), ppm.begin() + static_cast<std::ptrdiff_t>(header.size())), header);
    EXPECT_TRUE(std::equal(rgb.begin(), rgb.end(), ppm.begin() + static_cast<std::ptrdiff_t>(header.size())));
}

}  // namespace
}  // namespace mosaika
