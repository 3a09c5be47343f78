// The committed skins and indicator boxes, read back from their bitmap
// files: they are what the tools draw today, and their pixels carry the ring
// colours, the hand-drawn corner of Normal and round corners on every look.
#include "ButtonPictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Bmp.h"

namespace mosaika {
namespace {

std::vector<std::uint8_t> ReadSourceFile(const std::string& path) {
    std::ifstream in(std::string(MOSAIKA_SOURCE_DIR) + "/" + path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes; i-- > 0;) value = value << 8 | b[at + static_cast<std::size_t>(i)];
    return value;
}

// A 24-bit bottom-up bitmap file as 0xRRGGBB pixels, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

std::optional<Picture> DecodeBmp24(const std::vector<std::uint8_t>& file) {
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || Le(file, 14, 4) != 40 || Le(file, 28, 2) != 24 ||
        Le(file, 30, 4) != 0) {
        return std::nullopt;
    }
    Picture picture;
    picture.width = static_cast<int>(Le(file, 18, 4));
    picture.height = static_cast<int>(Le(file, 22, 4));
    const std::size_t offset = Le(file, 10, 4);
    const std::size_t stride = (static_cast<std::size_t>(picture.width) * 3 + 3) / 4 * 4;
    if (picture.width <= 0 || picture.height <= 0 ||
        file.size() != offset + stride * static_cast<std::size_t>(picture.height)) {
        return std::nullopt;
    }
    for (int y = 0; y < picture.height; ++y) {
        const std::size_t line = offset + stride * static_cast<std::size_t>(picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t at = line + static_cast<std::size_t>(x) * 3;
            picture.pixels.push_back(std::uint32_t{file[at + 2]} << 16 | std::uint32_t{file[at + 1]} << 8 | file[at]);
        }
    }
    return picture;
}

const SkinLook kLooks[] = {SkinLook::Normal,  SkinLook::HighLight, SkinLook::HighLightSelect,
                           SkinLook::Pressed, SkinLook::Selected,  SkinLook::Disable};

std::string SkinPath(SkinLook look) { return "saver/command/skins/" + std::string(SkinLookName(look)) + ".bmp"; }

Picture Skin(SkinLook look) {
    const std::optional<Picture> picture = DecodeBmp24(ReadSourceFile(SkinPath(look)));
    EXPECT_TRUE(picture.has_value()) << SkinPath(look) << " is missing or not a 24-bit bitmap";
    return picture.value_or(Picture{kSkinPictureWidth, kSkinPictureHeight,
                                    std::vector<std::uint32_t>(kSkinPictureWidth * kSkinPictureHeight)});
}

TEST(CommittedSkins, AreWhatTheToolDrawsNow) {
    for (const SkinLook look : kLooks) {
        EXPECT_EQ(ReadSourceFile(SkinPath(look)),
                  EncodeBmp24(SkinPicture(look), kSkinPictureWidth, kSkinPictureHeight))
            << SkinPath(look) << ": run tools/regenerate-assets.sh";
        const Picture skin = Skin(look);
        EXPECT_EQ(skin.width, 64);
        EXPECT_EQ(skin.height, 25);
    }
    EXPECT_EQ(ReadSourceFile(SkinPath(SkinLook::HighLight)), ReadSourceFile(SkinPath(SkinLook::HighLightSelect)));
}

TEST(CommittedSkins, RingColoursFromTheEdgeInwards) {
    // (x, y) spots on the four sides: edges at the middle column, sides at the
    // ends of their ramps (rows 5 and 19), the row beyond each end (4 and 20)
    // and the middle of a ramp.
    const struct {
        SkinLook look;
        int x, y;
        std::uint32_t colour;
    } rows[] = {
        {SkinLook::Normal, 32, 0, 0xDCD6C2},   {SkinLook::Normal, 1, 10, 0x003C74},
        {SkinLook::Normal, 32, 1, 0x003C74},   {SkinLook::Normal, 62, 12, 0x003C74},
        {SkinLook::Normal, 32, 23, 0x003C74},  {SkinLook::Normal, 32, 22, 0xD6D0C5},
        {SkinLook::Normal, 32, 21, 0xE2DFD6},  {SkinLook::Normal, 32, 24, 0xFAFAF6},
        {SkinLook::Normal, 2, 5, 0xFAFAFA},    {SkinLook::Normal, 2, 19, 0xF0F0EB},
        {SkinLook::Normal, 2, 4, 0xFAFAFA},    {SkinLook::Normal, 2, 20, 0xF0F0EB},
        {SkinLook::Normal, 2, 12, 0xF5F5F3},   {SkinLook::Normal, 63, 12, 0xF0EEE0},
        {SkinLook::Normal, 60, 5, 0xF5F4F2},   {SkinLook::Normal, 60, 19, 0xEAE8E1},
        {SkinLook::HighLight, 32, 3, 0xFDD889}, {SkinLook::HighLight, 32, 22, 0xE59700},
        {SkinLook::HighLight, 61, 5, 0xFEDD95}, {SkinLook::HighLight, 61, 19, 0xF9B73A},
        {SkinLook::Selected, 3, 19, 0x8EAFE6},  {SkinLook::Selected, 61, 5, 0xB5CEF3},
        {SkinLook::Selected, 32, 2, 0xCEE7FF},  {SkinLook::Selected, 0, 12, 0xE2DECB},
        // Pressed: the outline one pixel further in on all four sides.
        {SkinLook::Pressed, 32, 0, 0xECE9D8},   {SkinLook::Pressed, 32, 1, 0xDCD6C2},
        {SkinLook::Pressed, 32, 2, 0x003C74},   {SkinLook::Pressed, 32, 22, 0x003C74},
        {SkinLook::Pressed, 2, 12, 0x003C74},   {SkinLook::Pressed, 61, 12, 0x003C74},
        {SkinLook::Pressed, 3, 5, 0xD8D4CB},    {SkinLook::Pressed, 60, 19, 0xE6E5DF},
        {SkinLook::Disable, 32, 1, 0xC9C7BA},   {SkinLook::Disable, 1, 12, 0xC9C7BA},
        {SkinLook::Disable, 62, 12, 0xC9C7BA},  {SkinLook::Disable, 32, 23, 0xC9C7BA},
        {SkinLook::Disable, 3, 12, 0xF5F4EA},   {SkinLook::Disable, 63, 12, 0xECE9D8},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Skin(row.look).At(row.x, row.y), row.colour)
            << SkinLookName(row.look) << " (" << row.x << ", " << row.y << ")";
    }
}

TEST(CommittedSkins, NormalCornersAreTheHandDrawnBlockMirrored) {
    const std::uint32_t block[4][4] = {
        {0xE9E7D5, 0xE4DFCE, 0xE1DDCA, 0xE0DCC9},
        {0xE4DFCE, 0xE6E1D0, 0x7A95A8, 0x255783},
        {0xE2DECB, 0x7A95A8, 0x557DA2, 0xC0CFDD},
        {0xE2DECB, 0x255783, 0xBFCEDC, 0xFEFEFE},
    };
    const Picture normal = Skin(SkinLook::Normal);
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(normal.At(j, i), block[i][j]) << "top-left row " << i << " column " << j;
            EXPECT_EQ(normal.At(63 - j, i), block[i][j]) << "top-right";
            EXPECT_EQ(normal.At(j, 24 - i), block[i][j]) << "bottom-left";
            EXPECT_EQ(normal.At(63 - j, 24 - i), block[i][j]) << "bottom-right";
        }
    }
}

int Brightness(std::uint32_t colour) {
    return static_cast<int>((colour >> 16 & 0xFF) + (colour >> 8 & 0xFF) + (colour & 0xFF));
}

int Distance(std::uint32_t a, std::uint32_t b) {
    int sum = 0;
    for (const int shift : {16, 8, 0}) {
        sum += std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF));
    }
    return sum;
}

TEST(CommittedSkins, EveryCornerIsCutRound) {
    // The outline does not run into the corner point: where the outlines of
    // two sides would cross it is not outline, and it bends through the
    // diagonal one pixel further in and through the pixels beside it, all
    // nearer the outline's colour than that crossing pixel.
    for (const SkinLook look : kLooks) {
        const Picture skin = Skin(look);
        const int o = look == SkinLook::Pressed ? 2 : 1;  // the outline's layer
        for (const bool top : {true, false}) {
            for (const bool left : {true, false}) {
                SCOPED_TRACE(std::string(SkinLookName(look)) + (top ? " top" : " bottom") +
                             (left ? "-left" : "-right"));
                // i rows from the horizontal edge, j columns from the vertical edge.
                const auto at = [&](int i, int j) { return skin.At(left ? j : 63 - j, top ? i : 24 - i); };
                const std::uint32_t outline = at(o, 4);
                EXPECT_EQ(outline, skin.At(32, top ? o : 24 - o)) << "the side's outline reaches the corner";
                EXPECT_NE(at(o, o), outline);
                for (const auto& [i, j] : {std::pair{o + 1, o + 1}, std::pair{o, 3}, std::pair{3, o}}) {
                    EXPECT_LT(Distance(at(i, j), outline), Distance(at(o, o), outline)) << i << ", " << j;
                }
            }
        }
    }
}

TEST(CommittedIndicators, EmptyAndFilledBoxes) {
    const std::optional<Picture> unselected =
        DecodeBmp24(ReadSourceFile("saver/settings/pictures/Unselected.bmp"));
    const std::optional<Picture> selected = DecodeBmp24(ReadSourceFile("saver/settings/pictures/Selected.bmp"));
    ASSERT_TRUE(unselected && selected);
    EXPECT_EQ(ReadSourceFile("saver/settings/pictures/Unselected.bmp"),
              EncodeBmp24(IndicatorBoxPicture(false), kIndicatorPictureSize, kIndicatorPictureSize));
    EXPECT_EQ(ReadSourceFile("saver/settings/pictures/Selected.bmp"),
              EncodeBmp24(IndicatorBoxPicture(true), kIndicatorPictureSize, kIndicatorPictureSize));
    ASSERT_EQ(unselected->width, 12);
    ASSERT_EQ(unselected->height, 12);
    ASSERT_EQ(selected->width, 12);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool edge = x == 0 || y == 0 || x == 11 || y == 11;
            const bool fill = x >= 2 && y >= 2 && x <= 9 && y <= 9;
            SCOPED_TRACE(std::to_string(x) + ", " + std::to_string(y));
            EXPECT_EQ(unselected->At(x, y), edge ? kIndicatorEdge : kIndicatorInterior);
            EXPECT_EQ(selected->At(x, y), edge ? kIndicatorEdge : fill ? kIndicatorFill : kIndicatorInterior);
        }
    }
    // A thin grey edge round a light inside; the fill is blue.
    EXPECT_GT(Brightness(kIndicatorInterior), Brightness(kIndicatorEdge));
    EXPECT_GT(kIndicatorFill & 0xFF, (kIndicatorFill >> 16 & 0xFF) + 64);
}

}  // namespace
}  // namespace mosaika
