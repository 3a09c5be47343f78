// The face of the button Command as numbers: where the eight pieces of the
// skin's 4-pixel frame go for a control of a given size, where the caption
// sits, the two colours of the gradient behind them, and the conversion of
// twips to the pixels the drawing calls take.
//
// All frame positions and sizes are twips. The frame values are signed
// 16-bit integers kept between drawings: a value that does not fit keeps
// the previous drawing's, and the other values are still updated.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "TwipsToPixels.h"

namespace mosaika {

constexpr int kCornerTwips = 60;         // 4 pixels of the skin
constexpr int kSkinWidthTwips = 960;     // 64 pixels
constexpr int kSkinHeightTwips = 375;    // 25 pixels
constexpr int kSkinDpi = 96;             // the skins' own resolution: 15 twips per pixel

struct TwipsRect {
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// One piece of the frame, copied from the skin onto the face. A piece that
// is not stretched has the source's size (its destination size is set to
// it); a stretched piece is scaled to the destination size.
struct FacePiece {
    TwipsRect destination;
    TwipsRect source;
    bool stretched = false;
    friend bool operator==(const FacePiece&, const FacePiece&) = default;
};

class FaceGeometry {
public:
    // Recomputes the frame for a client area of width x height twips:
    // middle width W - 120, middle height H - 120, right edge W - 60 and
    // bottom edge H - 60, each rounded (halves to even) into 16 bits.
    void Update(double widthTwips, double heightTwips);

    // The eight pieces in drawing order: top-left corner, top edge,
    // top-right corner, right edge, bottom-right corner, bottom edge,
    // bottom-left corner, left edge. The inside of the skin is never copied.
    std::array<FacePiece, 8> Pieces() const;

private:
    std::int16_t middleWidth_ = 0;
    std::int16_t middleHeight_ = 0;
    std::int16_t right_ = 0;
    std::int16_t bottom_ = 0;
};

// The caption label spans the full width and sits 10 twips above the
// vertical middle: top = (H - labelHeight - 20) / 2.
struct CaptionPlacement {
    double left = 0, top = 0, width = 0;
};
CaptionPlacement PlaceCaption(double widthTwips, double heightTwips, double labelHeightTwips);

// Twips to pixels at dpi dots per inch by the window toolkit's rule, so the
// face lines up with its window. A rectangle converts its two edges, not its
// size, so edges that meet in twips meet in pixels wherever the pixel grid
// falls. (A corner piece reaches 1 twip past the start of its edge piece; at
// some DPIs that is one pixel of overlap, never a gap.)
using forms::TwipsToPixels;
PixelRect TwipsToPixels(const TwipsRect& rect, int dpiX, int dpiY);

// The skin rectangle of a piece in the skin's own pixels.
inline PixelRect SkinPixels(const TwipsRect& source) { return TwipsToPixels(source, kSkinDpi, kSkinDpi); }

// One colour of the gradient, each channel 16 bits with the 8-bit value in
// the high byte, as GradientFill takes it.
struct GradientColour {
    std::uint16_t red = 0, green = 0, blue = 0;
    friend bool operator==(const GradientColour&, const GradientColour&) = default;
};

// The two colours as the control writes them: white above, a pale
// lavender grey (198, 197, 215) below.
inline constexpr std::string_view kGradientTopText = "&HFFFFFF";
inline constexpr std::string_view kGradientBottomText = "&HC6C5D7";

// "&H" and one to six hexadecimal digits, read as RRGGBB with leading zeros
// supplied (so "&HFF" is blue, not red). Anything else gives nothing.
std::optional<GradientColour> GradientColourFromText(std::string_view text);

// A vertex of the fill, laid out like the platform's: position in pixels,
// 16-bit channels, alpha 0.
struct GradientVertex {
    std::int32_t x = 0, y = 0;
    std::uint16_t red = 0, green = 0, blue = 0, alpha = 0;
    friend bool operator==(const GradientVertex&, const GradientVertex&) = default;
};

// Vertex 0 at (0, 0), vertex 1 at (width - 1, height - 1) of the client area
// in pixels, filled top to bottom (one rectangle, vertical mode): white at
// the top and the grey at the bottom, the other way round when reversed.
// The fill leaves out the last column and row, which lie under the frame.
std::array<GradientVertex, 2> GradientVertices(bool reversed, int clientWidthPixels, int clientHeightPixels);

}  // namespace mosaika
