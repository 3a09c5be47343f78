// The preview still and the icon, drawn by the real core in the palette, and
// the committed preview's encoding. (assets_up_to_date compares every
// committed asset byte for byte with a fresh one, which also proves the PPM the JPEG is made from.)
#include "AssetPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "Palette.h"

namespace mosaika {
namespace {

TEST(ReduceShades, EachBlockBecomesItsMeanWithHalvesRoundedUp) {
    const struct {
        std::vector<std::uint8_t> shades;
        int width, height, factor;
        std::vector<std::uint8_t> expected;
    } rows[] = {
        {{0, 1, 2, 3}, 2, 2, 2, {2}}, {{0, 1, 1, 2}, 2, 2, 2, {1}}, {{0, 0, 0, 1}, 2, 2, 2, {0}},
        {{255, 255, 255, 255}, 2, 2, 2, {255}}, {{10, 20, 30, 40, 50, 60}, 3, 2, 1, {10, 20, 30, 40, 50, 60}},
        {{0, 1, 2, 3, 4, 5, 6, 7}, 4, 2, 2, {3, 5}},  // blocks 0,1,4,5 and 2,3,6,7
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ReduceShades(row.shades, row.width, row.height, row.factor), row.expected) << row.width;
    }
}

TEST(AssetPictures, PreviewIsInThePaletteBetweenBlackEdgeColumnsAndTheIconIsOpaque) {
    EXPECT_EQ(PixelsToRgb(std::vector<std::uint8_t>{0, 30, 255}, BuildPaletteTable()),
              (std::vector<std::uint8_t>{255, 255, 191, 225, 225, 1, 0, 0, 126}));
    std::set<std::tuple<int, int, int>> palette;  // has no black: blue is never 0
    for (const PaletteEntry& entry : BuildPaletteTable()) palette.insert({entry.red, entry.green, entry.blue});

    // Every pixel is a palette colour but the black edge columns.
    const auto rgb = PreviewPicture(kPreviewSeed, kPreviewMilliseconds);
    ASSERT_EQ(rgb.size(), std::size_t{kPreviewWidth} * kPreviewHeight * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3) {
        const std::size_t col = i / 3 % kPreviewWidth;
        const bool edge = col < 2 || col == kPreviewWidth - 1;
        ASSERT_TRUE(edge ? (rgb[i] | rgb[i + 1] | rgb[i + 2]) == 0 : palette.contains({rgb[i], rgb[i + 1], rgb[i + 2]}))
            << col << "," << i / 3 / kPreviewWidth;
    }
    // A still worth showing: pale cell borders and dark cell interiors both appear.
    const auto wide = RenderShades(kPreviewSeed, kPreviewMilliseconds, kPreviewWidth, kPreviewHeight);
    EXPECT_TRUE(*std::min_element(wide.begin(), wide.end()) < 16 && *std::max_element(wide.begin(), wide.end()) > 200);
    const auto bgra = IconPicture(kIconSeed, kIconMilliseconds);
    std::set<int> reds;
    for (std::size_t i = 0; i < bgra.size(); i += 4) {
        ASSERT_TRUE(palette.contains({bgra[i + 2], bgra[i + 1], bgra[i]}) && bgra[i + 3] == 255) << i / 4;
        reds.insert(bgra[i + 2]);
    }
    EXPECT_GT(reds.size(), 32u) << "the icon should show the shading, not a flat colour";
}

TEST(CommittedPreview, IsABaselineEightBitJpeg) {
    // Windows' picture loader takes baseline JPEG only; Wine's takes more, so the system tests cannot tell.
    std::ifstream in(std::string(MOSAIKA_RESOURCES_DIR) + "/preview.jpg", std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_TRUE(file.size() > 18000 && file.size() < 20500) << file.size();  // far from the chosen quality: outside
    // The first start-of-frame marker (C0..CF but C4, C8, CC) past the start-of-image marker.
    std::size_t at = 2;
    while (at + 4 < file.size() && file[at] == 0xFF &&
           !(file[at + 1] >= 0xC0 && file[at + 1] <= 0xCF && file[at + 1] % 4 != 0) && file[at + 1] != 0xC0) {
        at += 2 + (std::size_t{file[at + 2]} << 8 | file[at + 3]);
    }
    ASSERT_LT(at + 17, file.size());
    // Baseline, 8-bit samples, three components none of them subsampled.
    EXPECT_EQ((std::vector{file[at + 1], file[at + 4], file[at + 9], file[at + 11], file[at + 14], file[at + 17]}),
              (std::vector<std::uint8_t>{0xC0, 8, 3, 0x11, 0x11, 0x11}));
}

}  // namespace
}  // namespace mosaika
