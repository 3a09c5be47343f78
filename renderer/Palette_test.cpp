// The palette's colours and the bytes of the frame header.
#include "Palette.h"

#include <gtest/gtest.h>

#include <vector>

namespace mosaika {
namespace {

TEST(FrameHeader, DescribesATopDownEightBitFrameAndTakesThePaletteBlueRampingBySquareRoot) {
    static_assert(sizeof(FrameHeader) == 1064 && alignof(FrameHeader) >= 4);
    // blue = (Round(sqrt(i / 255) x 191) + 191) mod 256: the least r with
    // 4 x 191^2 x i < (2r + 1)^2 x 255 (no index falls on a half).
    const auto ramp = [](int i) {
        std::int64_t r = 0;
        while ((2 * r + 1) * (2 * r + 1) * 255 < std::int64_t{4} * 191 * 191 * i) ++r;
        return static_cast<std::uint8_t>((r + 191) % 256);
    };
    EXPECT_EQ((std::vector{ramp(0), ramp(1), ramp(29), ramp(30), ramp(255)}),
              (std::vector<std::uint8_t>{191, 203, 255, 1, 126}));
    const auto bytes = [](const FrameHeader& header, std::size_t from, std::size_t count) {
        const auto at = header.bytes.begin() + static_cast<std::ptrdiff_t>(from);
        return std::vector<std::uint8_t>(at, at + static_cast<std::ptrdiff_t>(count));
    };
    FrameHeader header = MakeFrameHeader(320, 200);
    const std::vector<std::uint8_t> info = {
        40, 0, 0, 0, 0x40, 0x01, 0, 0, 0x38, 0xFF, 0xFF, 0xFF,  // size, width 320, height -200: top down
        1, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0,                     // 1 plane, 8 bits, BI_RGB, no image size
        0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0,         // no resolution, 256 colours used
    };
    EXPECT_EQ(bytes(header, 0, 40), info);
    for (std::uint8_t i = 0; i < 255; ++i) {
        EXPECT_EQ(bytes(header, 40 + 4 * i, 4), (std::vector<std::uint8_t>{i, i, i, 0}));  // grey until it is set
    }
    SetColourTable(header, BuildPaletteTable());
    EXPECT_EQ(bytes(header, 0, 40), info);
    for (int i = 0; i < 256; ++i) {  // blue, green, red, reserved
        const auto fall = static_cast<std::uint8_t>(255 - i), index = static_cast<std::uint8_t>(i);
        EXPECT_EQ(bytes(header, 40 + 4 * std::size_t{index}, 4), (std::vector{ramp(i), fall, fall, index})) << i;
    }
    const std::vector<std::uint8_t> size640x480 = {0x80, 0x02, 0, 0, 0x20, 0xFE, 0xFF, 0xFF};
    EXPECT_EQ(bytes(MakeFrameHeader(640, 480), 4, 8), size640x480);
}

}  // namespace
}  // namespace mosaika
