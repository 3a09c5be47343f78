#include "ButtonFace.h"

#include "Numbers.h"

namespace mosaika {

namespace {

// Round into 16 bits; a value out of range leaves target as it was.
void StoreRounded16(double value, std::int16_t& target) {
    if (const std::optional<std::int16_t> rounded = RoundToInt16(value)) target = *rounded;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::uint16_t HighByte(std::uint32_t value) { return static_cast<std::uint16_t>((value & 0xFFu) << 8); }

}  // namespace

void FaceGeometry::Update(double widthTwips, double heightTwips) {
    StoreRounded16(widthTwips - 2 * kCornerTwips, middleWidth_);
    StoreRounded16(heightTwips - 2 * kCornerTwips, middleHeight_);
    StoreRounded16(widthTwips - kCornerTwips, right_);
    StoreRounded16(heightTwips - kCornerTwips, bottom_);
}

std::array<FacePiece, 8> FaceGeometry::Pieces() const {
    constexpr int c = kCornerTwips;
    constexpr int sourceRight = kSkinWidthTwips - c;    // 900
    constexpr int sourceBottom = kSkinHeightTwips - c;  // 315
    constexpr int sourceMiddleWidth = kSkinWidthTwips - 2 * c;    // 840
    constexpr int sourceMiddleHeight = kSkinHeightTwips - 2 * c;  // 255
    const int w = middleWidth_;
    const int h = middleHeight_;
    const int right = right_;
    const int bottom = bottom_;
    // The 1-twip offsets fall on pixel 0 of the face and of the skin.
    return {{
        {{1, 1, c, c}, {0, 0, c, c}, false},
        {{c, 1, w, c}, {c, 1, sourceMiddleWidth, c}, true},
        {{right, 1, c, c}, {sourceRight, 1, c, c}, false},
        {{right, c, c, h}, {sourceRight, c, c, sourceMiddleHeight}, true},
        {{right, bottom, c, c}, {sourceRight, sourceBottom, c, c}, false},
        {{c, bottom, w, c}, {c, sourceBottom, sourceMiddleWidth, c}, true},
        {{1, bottom, c, c}, {0, sourceBottom, c, c}, false},
        {{1, c, c, h}, {1, c, c, sourceMiddleHeight}, true},
    }};
}

CaptionPlacement PlaceCaption(double widthTwips, double heightTwips, double labelHeightTwips) {
    return {0.0, (heightTwips - labelHeightTwips - 20.0) / 2.0, widthTwips};
}

PixelRect TwipsToPixels(const TwipsRect& rect, int dpiX, int dpiY) {
    const int left = TwipsToPixels(rect.left, dpiX);
    const int top = TwipsToPixels(rect.top, dpiY);
    const int right = TwipsToPixels(static_cast<double>(rect.left) + rect.width, dpiX);
    const int bottom = TwipsToPixels(static_cast<double>(rect.top) + rect.height, dpiY);
    return {left, top, right - left, bottom - top};
}

std::optional<GradientColour> GradientColourFromText(std::string_view text) {
    if (text.size() < 3 || text.size() > 8 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h')) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text.substr(2)) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return GradientColour{HighByte(value >> 16), HighByte(value >> 8), HighByte(value)};
}

std::array<GradientVertex, 2> GradientVertices(bool reversed, int clientWidthPixels, int clientHeightPixels) {
    // Both texts are fixed and well formed.
    const GradientColour light = *GradientColourFromText(kGradientTopText);
    const GradientColour grey = *GradientColourFromText(kGradientBottomText);
    const GradientColour& top = reversed ? grey : light;
    const GradientColour& bottom = reversed ? light : grey;
    return {{
        {0, 0, top.red, top.green, top.blue, 0},
        {clientWidthPixels - 1, clientHeightPixels - 1, bottom.red, bottom.green, bottom.blue, 0},
    }};
}

}  // namespace mosaika
