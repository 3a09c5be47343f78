#include "Palette.h"

#include <algorithm>
#include <cmath>

namespace mosaika {

PaletteTable BuildPaletteTable() {
    PaletteTable table{};
    for (int i = 0; i < 256; ++i) {
        // No index falls on a tie, so the rounding mode does not matter here.
        const int r = static_cast<int>(std::nearbyint(std::sqrt(i / 255.0) * 191.0));
        table[static_cast<std::size_t>(i)] = PaletteEntry{
            .blue = static_cast<std::uint8_t>((r + 191) % 256),
            .green = static_cast<std::uint8_t>(255 - i),
            .red = static_cast<std::uint8_t>(255 - i),
            .reserved = static_cast<std::uint8_t>(i),
        };
    }
    return table;
}

FrameHeader MakeFrameHeader(int width, int height) {
    FrameHeader header;
    std::uint8_t* b = header.bytes.data();
    const auto info = BitmapInfoHeader({.width = width, .height = -height, .bitCount = 8, .coloursUsed = 256});
    std::copy(info.begin(), info.end(), b);
    for (int i = 0; i < 256; ++i) {
        std::uint8_t* entry = b + kInfoHeaderSize + 4 * i;
        entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
        entry[3] = 0;
    }
    return header;
}

void SetColourTable(FrameHeader& header, const PaletteTable& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::uint8_t* entry = header.bytes.data() + kInfoHeaderSize + 4 * i;
        entry[0] = entries[i].blue;
        entry[1] = entries[i].green;
        entry[2] = entries[i].red;
        entry[3] = entries[i].reserved;
    }
}

PaletteTable ColourTableOf(const FrameHeader& header) {
    PaletteTable entries{};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint8_t* entry = header.bytes.data() + kInfoHeaderSize + 4 * i;
        entries[i] = {.blue = entry[0], .green = entry[1], .red = entry[2], .reserved = entry[3]};
    }
    return entries;
}

std::vector<std::uint8_t> PixelsToRgb(std::span<const std::uint8_t> pixels, const PaletteTable& colours) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (const std::uint8_t pixel : pixels) {
        const PaletteEntry& entry = colours[pixel];
        rgb.insert(rgb.end(), {entry.red, entry.green, entry.blue});
    }
    return rgb;
}

}  // namespace mosaika
