// The 40-byte BITMAPINFOHEADER as little-endian bytes, written without
// windows.h: the renderer's frame header and the bitmap and icon files the
// asset tools write all start their pictures with it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace mosaika {

constexpr std::size_t kBitmapInfoHeaderSize = 40;

// The fields that differ between pictures; planes is always 1, compression
// BI_RGB, and every colour counts as important.
struct BitmapInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top down
    std::uint16_t bitCount = 0;
    std::uint32_t imageSize = 0;  // may be 0 for BI_RGB
    std::int32_t pixelsPerMetre = 0;
    std::uint32_t coloursUsed = 0;
};

constexpr std::array<std::uint8_t, kBitmapInfoHeaderSize> BitmapInfoHeader(const BitmapInfo& info) {
    std::array<std::uint8_t, kBitmapInfoHeaderSize> bytes{};
    const auto put = [&bytes](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> 8 * i);
    };
    put(0, kBitmapInfoHeaderSize, 4);
    put(4, static_cast<std::uint32_t>(info.width), 4);
    put(8, static_cast<std::uint32_t>(info.height), 4);
    put(12, 1, 2);  // planes
    put(14, info.bitCount, 2);
    put(16, 0, 4);  // BI_RGB
    put(20, info.imageSize, 4);
    put(24, static_cast<std::uint32_t>(info.pixelsPerMetre), 4);
    put(28, static_cast<std::uint32_t>(info.pixelsPerMetre), 4);
    put(32, info.coloursUsed, 4);
    put(36, 0, 4);  // colours important: all
    return bytes;
}

}  // namespace mosaika
