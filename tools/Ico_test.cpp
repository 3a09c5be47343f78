// The icon writer: directory, DIB header, bottom-up colour rows and the AND
// mask with its 32-bit row padding, checked byte by byte on tiny icons.
#include "Ico.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace mosaika {
namespace {

std::uint32_t Read16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8;
}

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return Read16(b, at) | Read16(b, at + 2) << 16;
}

// width x height pixels, each blue = col, green = row, red = 0x80, alpha = 255.
std::vector<std::uint8_t> Gradient(int width, int height) {
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    for (std::size_t i = 0; i < bgra.size() / 4; ++i) {
        bgra[4 * i] = static_cast<std::uint8_t>(i % static_cast<std::size_t>(width));
        bgra[4 * i + 1] = static_cast<std::uint8_t>(i / static_cast<std::size_t>(width));
        bgra[4 * i + 2] = 0x80;
        bgra[4 * i + 3] = 255;
    }
    return bgra;
}

TEST(EncodeIco, TwoByTwoIconByteForByte) {
    // Top row: transparent, opaque; bottom row: opaque, transparent.
    const std::vector<std::uint8_t> bgra = {
        1, 2, 3, 0,    4, 5, 6, 255,
        7, 8, 9, 255,  10, 11, 12, 0,
    };
    const std::vector<std::uint8_t> expected = {
        0, 0, 1, 0, 1, 0,                  // reserved, icon, one image
        2, 2, 0, 0, 1, 0, 32, 0,           // 2 x 2, no colour table, 1 plane, 32 bits
        64, 0, 0, 0,                       // 40 + 16 colour bytes + 2 mask rows of 4 bytes
        22, 0, 0, 0,                       // the image follows the directory
        40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0,  // header size, width, height of colours and mask
        1, 0, 32, 0, 0, 0, 0, 0, 24, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        7, 8, 9, 255, 10, 11, 12, 0,       // bottom row first
        1, 2, 3, 0, 4, 5, 6, 255,
        0x40, 0, 0, 0,                     // bottom row: second pixel transparent
        0x80, 0, 0, 0,                     // top row: first pixel transparent
    };
    EXPECT_EQ(EncodeIco(bgra, 2, 2), expected);
}

TEST(EncodeIco, SizesAndOffsetsAddUp) {
    const struct {
        int width, height;
        std::uint8_t entryWidth, entryHeight;
        std::uint32_t maskStride;
    } rows[] = {
        {1, 1, 1, 1, 4}, {32, 32, 32, 32, 4}, {33, 8, 33, 8, 8}, {48, 16, 48, 16, 8}, {256, 256, 0, 0, 32},
    };
    for (const auto& row : rows) {
        const auto ico = EncodeIco(Gradient(row.width, row.height), row.width, row.height);
        const auto w = static_cast<std::uint32_t>(row.width);
        const auto h = static_cast<std::uint32_t>(row.height);
        const std::uint32_t imageBytes = w * h * 4 + row.maskStride * h;
        ASSERT_EQ(ico.size(), 22 + 40 + std::size_t{imageBytes}) << row.width << "x" << row.height;
        EXPECT_EQ(ico[6], row.entryWidth);
        EXPECT_EQ(ico[7], row.entryHeight);
        EXPECT_EQ(Read32(ico, 14), 40 + imageBytes);
        EXPECT_EQ(Read32(ico, 18), 22u);
        EXPECT_EQ(Read32(ico, 22 + 4), w);
        EXPECT_EQ(Read32(ico, 22 + 8), 2 * h);
        EXPECT_EQ(Read32(ico, 22 + 20), imageBytes);
    }
}

TEST(EncodeIco, MaskBitsFollowTransparentPixelsAcrossBytes) {
    const int width = 10;
    std::vector<std::uint8_t> bgra = Gradient(width, 1);
    for (const int col : {0, 7, 8, 9}) bgra[static_cast<std::size_t>(col) * 4 + 3] = 0;
    const auto ico = EncodeIco(bgra, width, 1);
    const std::size_t mask = 22 + 40 + width * 4;
    EXPECT_EQ(std::vector<std::uint8_t>(ico.begin() + static_cast<std::ptrdiff_t>(mask), ico.end()),
              (std::vector<std::uint8_t>{0x81, 0xC0, 0, 0}));
}

TEST(EncodeIco, RefusesWhatAnIconCannotHold) {
    EXPECT_TRUE(EncodeIco({}, 0, 0).empty());
    EXPECT_TRUE(EncodeIco(Gradient(1, 1), 1, 0).empty());
    EXPECT_TRUE(EncodeIco(std::vector<std::uint8_t>(257 * 4), 257, 1).empty());
    EXPECT_TRUE(EncodeIco(Gradient(2, 2), 2, 3).empty());  // too few pixels
    EXPECT_TRUE(EncodeIco(Gradient(2, 2), 1, 2).empty());  // too many
}

}  // namespace
}  // namespace mosaika
