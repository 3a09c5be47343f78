#include "Palette.h"

#include <cmath>

namespace mosaika {

namespace {

void Put16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    Put16(at, static_cast<std::uint16_t>(value));
    Put16(at + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

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
    Put32(b + 0, kInfoHeaderSize);
    Put32(b + 4, static_cast<std::uint32_t>(width));
    Put32(b + 8, static_cast<std::uint32_t>(-height));  // negative: rows stored top down
    Put16(b + 12, 1);    // planes
    Put16(b + 14, 8);    // bits per pixel
    Put32(b + 16, 0);    // BI_RGB
    Put32(b + 20, 0);    // image size, may be 0 for BI_RGB
    Put32(b + 24, 0);
    Put32(b + 28, 0);
    Put32(b + 32, 256);  // colours used
    Put32(b + 36, 0);
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

}  // namespace mosaika
