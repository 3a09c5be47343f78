// A small writer of Windows bitmap files (.bmp): 24 bits per pixel,
// uncompressed, rows stored bottom first and padded to four bytes, the way
// the platform's picture loaders take them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "BitmapInfoHeader.h"

namespace mosaika {

constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::size_t kBmpInfoHeaderSize = kBitmapInfoHeaderSize;
// 96 dots per inch, so a picture's size in twips is 15 per pixel.
constexpr std::uint32_t kBmpPixelsPerMetre = 3780;

// Encodes width x height RGB pixels (top row first). Sides run from 1 to
// 32767; anything else, or a pixel count that does not match, gives no bytes.
std::vector<std::uint8_t> EncodeBmp24(const std::vector<std::uint8_t>& rgb, int width, int height);

}  // namespace mosaika
