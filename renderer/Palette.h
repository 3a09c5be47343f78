// The renderer's 8-bit frame format: the frame buffer, the 256-entry palette
// in RGBQUAD byte order (blue, green, red, reserved) and the 1064-byte header
// (BITMAPINFOHEADER plus colour table) with which a frame is handed to the display.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "BitmapInfoHeader.h"

namespace mosaika {

constexpr int kMaxFrameWidth = 640;
constexpr int kMaxFrameHeight = 480;
constexpr std::size_t kFrameBufferSize = std::size_t{kMaxFrameWidth} * kMaxFrameHeight;

using FrameBuffer = std::array<std::uint8_t, kFrameBufferSize>;

struct PaletteEntry {
    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint8_t reserved;
};
static_assert(sizeof(PaletteEntry) == 4);

using PaletteTable = std::array<PaletteEntry, 256>;

constexpr std::size_t kInfoHeaderSize = kBitmapInfoHeaderSize;
constexpr std::size_t kFrameHeaderSize = kInfoHeaderSize + 256 * 4;

// The header's bytes, little-endian, ready to be read as a BITMAPINFO.
// The array is 4-byte aligned so the display code may read its fields in place.
struct alignas(4) FrameHeader {
    std::array<std::uint8_t, kFrameHeaderSize> bytes{};
};

PaletteTable BuildPaletteTable();

// Info header for a top-down width x height 8-bit frame, colour table a grey ramp.
FrameHeader MakeFrameHeader(int width, int height);

// Copies the 256 entries into the header's colour table, entry i to entry i.
void SetColourTable(FrameHeader& header, const PaletteTable& entries);

// The header's colour table, entry i from entry i.
PaletteTable ColourTableOf(const FrameHeader& header);

// RGB bytes (red, green, blue per pixel) of 8-bit pixels seen through the colours.
std::vector<std::uint8_t> PixelsToRgb(std::span<const std::uint8_t> pixels, const PaletteTable& colours);

}  // namespace mosaika
