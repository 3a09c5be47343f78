// The face's frame pieces in pixels at the usual and the larger DPIs, the
// 16-bit geometry with its kept values, the caption's place and the gradient.
#include "ButtonFace.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace mosaika {
namespace {

FaceGeometry GeometryFor(double width, double height) {
    FaceGeometry geometry;
    geometry.Update(width, height);
    return geometry;
}

// The middles: the stretched top edge's width and right edge's height.
std::pair<int, int> Middles(const FaceGeometry& g) {
    return {g.Pieces()[1].destination.width, g.Pieces()[3].destination.height};
}

TEST(ButtonFace, SmallButtonFramesA21By13InsideAt96DpiCornersUnstretched) {
    // 435 x 315 twips is 29 x 21 pixels; top-left, top, top-right, right, bottom-right, bottom, bottom-left, left.
    const struct {
        PixelRect destination, source;
    } expected[8] = {
        {{0, 0, 4, 4}, {0, 0, 4, 4}},      {{4, 0, 21, 4}, {4, 0, 56, 4}},   {{25, 0, 4, 4}, {60, 0, 4, 4}},
        {{25, 4, 4, 13}, {60, 4, 4, 17}},  {{25, 17, 4, 4}, {60, 21, 4, 4}}, {{4, 17, 21, 4}, {4, 21, 56, 4}},
        {{0, 17, 4, 4}, {0, 21, 4, 4}},    {{0, 4, 4, 13}, {0, 4, 4, 17}},
    };
    const auto pieces = GeometryFor(435, 315).Pieces();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(TwipsToPixels(pieces[i].destination, 96, 96), expected[i].destination) << i;
        EXPECT_EQ(SkinPixels(pieces[i].source), expected[i].source) << i;
        EXPECT_EQ(pieces[i].stretched, i % 2 == 1) << i;
    }
}

TEST(ButtonFace, PiecesCoverTheFrameWithoutGapsAtAnyDpi) {
    // Along each side the pieces follow each other from edge to edge. A corner
    // reaches 1 twip past its edge piece's start, which at some DPIs rounds to
    // one pixel of overlap, never a gap; at the usual DPIs they meet exactly.
    for (const auto& [width, height] : {std::pair{1755, 420}, {435, 315}, {1035, 375}, {1875, 375}, {437, 311}}) {
        for (int dpi = 72; dpi <= 240; ++dpi) {
            SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height) + " at " + std::to_string(dpi));
            const auto pieces = GeometryFor(width, height).Pieces();
            PixelRect px[8];
            for (int i = 0; i < 8; ++i) px[i] = TwipsToPixels(pieces[i].destination, dpi, dpi);
            const int overlap = dpi == 96 || dpi == 120 || dpi == 144 ? 0 : 1;
            const auto follows = [overlap](int previousEnd, int start) {
                EXPECT_TRUE(start <= previousEnd && previousEnd - start <= overlap) << previousEnd << " then " << start;
            };
            for (const auto& [a, b, c] : {std::array{0, 1, 2}, std::array{6, 5, 4}}) {
                EXPECT_EQ(px[a].left, 0);
                follows(px[a].left + px[a].width, px[b].left);
                follows(px[b].left + px[b].width, px[c].left);
                EXPECT_EQ(px[c].left + px[c].width, TwipsToPixels(width, dpi));
            }
            for (const auto& [a, b, c] : {std::array{0, 7, 6}, std::array{2, 3, 4}}) {
                EXPECT_EQ(px[a].top, 0);
                follows(px[a].top + px[a].height, px[b].top);
                follows(px[b].top + px[b].height, px[c].top);
                EXPECT_EQ(px[c].top + px[c].height, TwipsToPixels(height, dpi));
            }
        }
    }
}

TEST(ButtonFace, TwipsToPixelsRoundsHalvesAwayFromZeroLikeTheWindowToolkit) {
    for (const auto& [twips, dpi, pixels] : {std::tuple{1.0, 144, 0}, {60.0, 120, 5}, {22.5, 96, 2}, {-7.5, 96, -1}}) {
        EXPECT_EQ(TwipsToPixels(twips, dpi), pixels) << twips << " at " << dpi;
    }
}

TEST(ButtonFace, GeometryRoundsToEvenAndKeepsValuesThatDoNotFit) {
    FaceGeometry geometry = GeometryFor(120.5, 121.5);  // middles 0.5 and 1.5
    EXPECT_EQ(Middles(geometry), (std::pair{0, 2}));
    geometry = GeometryFor(1755, 420);
    geometry.Update(40000, 375);  // the width no longer fits 16 bits; the height still updates
    EXPECT_EQ(Middles(geometry), (std::pair{1635, 255}));
    EXPECT_EQ(geometry.Pieces()[2].destination.left, 1695) << "the right edge of the last drawing";
    EXPECT_EQ(geometry.Pieces()[4].destination.top, 315);
    geometry.Update(32887, 32888);  // middle 32767 fits, the right edge 32827 does not
    EXPECT_EQ(Middles(geometry), (std::pair{32767, 255}));
    EXPECT_EQ(geometry.Pieces()[2].destination.left, 1695);
}

TEST(ButtonFace, CaptionSitsTenTwipsAboveTheMiddleAcrossTheFullWidth) {
    EXPECT_EQ(PlaceCaption(435, 315, 195).top, 50);
    const CaptionPlacement caption = PlaceCaption(1755, 420, 195);
    EXPECT_EQ((std::vector{caption.left, caption.top, caption.width}), (std::vector{0.0, 102.5, 1755.0}));
}

TEST(ButtonFace, GradientColoursFromTheirTextsAndVerticesSwapWhenReversed) {
    const struct {
        std::string text;
        std::optional<GradientColour> colour;
    } rows[] = {
        {"&HC6C5D7", GradientColour{0xC600, 0xC500, 0xD700}}, {"&h00ff80", GradientColour{0x0000, 0xFF00, 0x8000}},
        {"&HFF", GradientColour{0, 0, 0xFF00}},               {"&H", std::nullopt},
        {"FFFFFF", std::nullopt},                             {"&H1000000", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(GradientColourFromText(row.text), row.colour) << row.text;

    const GradientVertex white0{0, 0, 0xFF00, 0xFF00, 0xFF00, 0}, grey1{28, 20, 0xC600, 0xC500, 0xD700, 0};
    const GradientVertex grey0{0, 0, 0xC600, 0xC500, 0xD700, 0}, white1{28, 20, 0xFF00, 0xFF00, 0xFF00, 0};
    EXPECT_EQ(GradientVertices(false, 29, 21), (std::array{white0, grey1}));
    EXPECT_EQ(GradientVertices(true, 29, 21), (std::array{grey0, white1}));
}

}  // namespace
}  // namespace mosaika
