// A small writer of Windows icon files (.ico): one image per file, 32 bits per
// pixel (blue, green, red, alpha) with the 1-bit AND mask older readers need.
#pragma once

#include <cstdint>
#include <vector>

#include "BitmapInfoHeader.h"

namespace mosaika {

constexpr std::size_t kIcoHeaderSize = 6;
constexpr std::size_t kIcoEntrySize = 16;
constexpr std::size_t kIcoInfoHeaderSize = kBitmapInfoHeaderSize;

// Encodes width x height BGRA pixels (top row first) as an icon file. A pixel
// with alpha 0 is also marked transparent in the AND mask. Sides run from 1 to
// 256; anything else, or a pixel count that does not match, gives no bytes.
std::vector<std::uint8_t> EncodeIco(const std::vector<std::uint8_t>& bgra, int width, int height);

}  // namespace mosaika
