// The palette's colours and the bytes of the frame header.
#include "Palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace mosaika {
namespace {

TEST(BuildPaletteTable, TellingRows) {
    const PaletteTable table = BuildPaletteTable();
    const struct {
        int index, blue, green, red, reserved;
    } rows[] = {
        {0, 191, 255, 255, 0},   {1, 203, 254, 254, 1},     {10, 229, 245, 245, 10},
        {29, 255, 226, 226, 29}, {30, 1, 225, 225, 30},     {64, 31, 191, 191, 64},
        {128, 70, 127, 127, 128}, {192, 101, 63, 63, 192},  {254, 126, 1, 1, 254},
        {255, 126, 0, 0, 255},
    };
    for (const auto& row : rows) {
        const PaletteEntry& entry = table[static_cast<std::size_t>(row.index)];
        EXPECT_EQ(entry.blue, row.blue) << row.index;
        EXPECT_EQ(entry.green, row.green) << row.index;
        EXPECT_EQ(entry.red, row.red) << row.index;
        EXPECT_EQ(entry.reserved, row.reserved) << row.index;
    }
}

// r = Round(sqrt(i / 255) x 191) in integers: the r with
// (2r - 1)^2 x 255 < 4 x 191^2 x i < (2r + 1)^2 x 255 (no index falls on a half).
int ExactRamp(int i) {
    const std::int64_t target = std::int64_t{4} * 191 * 191 * i;
    std::int64_t r = 0;
    while ((2 * r + 1) * (2 * r + 1) * 255 < target) ++r;
    return static_cast<int>(r);
}

TEST(BuildPaletteTable, EveryEntryFollowsTheRamp) {
    const PaletteTable table = BuildPaletteTable();
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& entry = table[static_cast<std::size_t>(i)];
        EXPECT_EQ(entry.blue, (ExactRamp(i) + 191) % 256) << i;
        EXPECT_NE(entry.blue, 0) << i;
        EXPECT_EQ(entry.green, 255 - i) << i;
        EXPECT_EQ(entry.red, 255 - i) << i;
        EXPECT_EQ(entry.reserved, i) << i;
    }
}

TEST(FrameHeader, DescribesATopDownEightBitFrame) {
    static_assert(sizeof(FrameHeader) == 1064);
    static_assert(alignof(FrameHeader) >= 4);
    const FrameHeader header = MakeFrameHeader(320, 200);
    const std::vector<std::uint8_t> info = {
        40, 0, 0, 0,           // biSize
        0x40, 0x01, 0, 0,      // biWidth 320
        0x38, 0xFF, 0xFF, 0xFF,  // biHeight -200: rows from the top down
        1, 0,                  // biPlanes
        8, 0,                  // biBitCount
        0, 0, 0, 0,            // biCompression BI_RGB
        0, 0, 0, 0,            // biSizeImage
        0, 0, 0, 0,            // biXPelsPerMeter
        0, 0, 0, 0,            // biYPelsPerMeter
        0, 1, 0, 0,            // biClrUsed 256
        0, 0, 0, 0,            // biClrImportant
    };
    EXPECT_EQ(std::vector<std::uint8_t>(header.bytes.begin(), header.bytes.begin() + 40), info);
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint8_t* entry = header.bytes.data() + 40 + 4 * i;
        const auto grey = static_cast<std::uint8_t>(i);
        EXPECT_EQ(std::vector<std::uint8_t>(entry, entry + 4), std::vector<std::uint8_t>({grey, grey, grey, 0}))
            << "grey entry " << i;
    }

    const FrameHeader large = MakeFrameHeader(640, 480);
    EXPECT_EQ(std::vector<std::uint8_t>(large.bytes.begin() + 4, large.bytes.begin() + 12),
              std::vector<std::uint8_t>({0x80, 0x02, 0, 0, 0x20, 0xFE, 0xFF, 0xFF}));
}

TEST(FrameHeader, TakesThePaletteInBlueGreenRedReservedOrder) {
    FrameHeader header = MakeFrameHeader(320, 200);
    const FrameHeader fresh = header;
    const PaletteTable table = BuildPaletteTable();
    SetColourTable(header, table);

    EXPECT_TRUE(std::equal(header.bytes.begin(), header.bytes.begin() + 40, fresh.bytes.begin()))
        << "the info header is left as it was";
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint8_t* entry = header.bytes.data() + 40 + 4 * i;
        EXPECT_EQ(entry[0], table[i].blue) << i;
        EXPECT_EQ(entry[1], table[i].green) << i;
        EXPECT_EQ(entry[2], table[i].red) << i;
        EXPECT_EQ(entry[3], table[i].reserved) << i;
    }
}

}  // namespace
}  // namespace mosaika
