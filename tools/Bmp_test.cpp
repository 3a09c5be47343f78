// The bitmap writer: headers, bottom-up rows in blue-green-red order and the
// four-byte row padding, byte for byte on a tiny picture.
#include "Bmp.h"

#include <gtest/gtest.h>

#include <vector>

namespace mosaika {
namespace {

TEST(EncodeBmp24, TwoByTwoPictureByteForByteAndNothingForBadSizes) {
    const std::vector<std::uint8_t> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // top row, then bottom row
    const std::vector<std::uint8_t> expected = {
        'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file size 54 + 2 rows of 8, pixels at 54
        40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,             // header size, width, height (bottom up)
        1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0,            // 1 plane, 24 bits, BI_RGB, 16 pixel bytes
        0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0, 0,              // 3780 pixels per metre each way
        0, 0, 0, 0, 0, 0, 0, 0,                          // no colour table
        9, 8, 7, 12, 11, 10, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0,  // bottom row first, each padded to 8 bytes
    };
    EXPECT_EQ(EncodeBmp24(rgb, 2, 2), expected);
    EXPECT_EQ(EncodeBmp24(std::vector<std::uint8_t>(9, 0), 3, 1).size(), 54u + 12u);
    EXPECT_TRUE(EncodeBmp24({1, 2, 3}, 0, 1).empty());
    EXPECT_TRUE(EncodeBmp24({1, 2, 3}, 1, 2).empty());
}

}  // namespace
}  // namespace mosaika
