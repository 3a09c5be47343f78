// The icon writer: directory, DIB header, bottom-up colour rows and the AND
// mask with its 32-bit row padding, byte for byte on tiny icons.
#include "Ico.h"

#include <gtest/gtest.h>

#include <vector>

namespace mosaika {
namespace {

TEST(EncodeIco, TinyIconsByteForByteAndNothingForBadSizes) {
    // Top row: transparent, opaque; bottom row: opaque, transparent.
    const std::vector<std::uint8_t> bgra = {1, 2, 3, 0, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 0};
    const std::vector<std::uint8_t> expected = {
        0, 0, 1, 0, 1, 0,                     // reserved, icon, one image
        2, 2, 0, 0, 1, 0, 32, 0,              // 2 x 2, no colour table, 1 plane, 32 bits
        64, 0, 0, 0, 22, 0, 0, 0,             // 40 + 16 colour bytes + 2 mask rows of 4; after the directory
        40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0,  // header size, width, height of colours and mask
        1, 0, 32, 0, 0, 0, 0, 0, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        7, 8, 9, 255, 10, 11, 12, 0, 1, 2, 3, 0, 4, 5, 6, 255,  // bottom row first
        0x40, 0, 0, 0, 0x80, 0, 0, 0,         // mask rows: the transparent pixels' bits
    };
    EXPECT_EQ(EncodeIco(bgra, 2, 2), expected);
    // A mask row spanning bytes; 256 x 256 has the width and height 0 in the directory, and 32-byte mask rows.
    std::vector<std::uint8_t> row(10 * 4, 255);
    for (const int col : {0, 7, 8, 9}) row[static_cast<std::size_t>(col) * 4 + 3] = 0;
    const auto ico = EncodeIco(row, 10, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(ico.end() - 4, ico.end()), (std::vector<std::uint8_t>{0x81, 0xC0, 0, 0}));
    const auto large = EncodeIco(std::vector<std::uint8_t>(256 * 256 * 4, 255), 256, 256);
    EXPECT_EQ(large.size(), 22u + 40u + 256u * 256u * 4u + 32u * 256u);
    EXPECT_EQ(large[6] | large[7], 0);
    // Nothing for what an icon cannot hold: no pixels, too wide, too few pixels, too many.
    const struct {
        std::size_t pixels;
        int width, height;
    } bad[] = {{0, 0, 0}, {1, 1, 0}, {257, 257, 1}, {4, 2, 3}, {4, 1, 2}};
    for (const auto& b : bad) {
        EXPECT_TRUE(EncodeIco(std::vector<std::uint8_t>(4 * b.pixels, 255), b.width, b.height).empty()) << b.width;
    }
}

}  // namespace
}  // namespace mosaika
