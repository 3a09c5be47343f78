#include "Ico.h"

#include "BitmapInfoHeader.h"
#include "LittleEndian.h"

namespace mosaika {

std::vector<std::uint8_t> EncodeIco(const std::vector<std::uint8_t>& bgra, int width, int height) {
    if (width < 1 || width > 256 || height < 1 || height > 256) return {};
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    if (bgra.size() != std::size_t{w} * h * 4) return {};

    const std::uint32_t maskStride = (w + 31) / 32 * 4;  // mask rows are padded to 32 bits
    const std::uint32_t imageBytes = w * h * 4 + maskStride * h;
    const auto imageOffset = static_cast<std::uint32_t>(kIcoHeaderSize + kIcoEntrySize);

    std::vector<std::uint8_t> out;
    out.reserve(imageOffset + kIcoInfoHeaderSize + imageBytes);
    Put16(out, 0);  // reserved
    Put16(out, 1);  // type: icon
    Put16(out, 1);  // images

    out.push_back(static_cast<std::uint8_t>(w & 0xFFu));  // 256 is written as 0
    out.push_back(static_cast<std::uint8_t>(h & 0xFFu));
    out.push_back(0);  // no colour table
    out.push_back(0);  // reserved
    Put16(out, 1);     // planes
    Put16(out, 32);    // bits per pixel
    Put32(out, static_cast<std::uint32_t>(kIcoInfoHeaderSize) + imageBytes);
    Put32(out, imageOffset);

    // The image is a DIB whose height counts the colour rows and the mask rows.
    const auto info = BitmapInfoHeader({.width = width, .height = 2 * height, .bitCount = 32, .imageSize = imageBytes});
    out.insert(out.end(), info.begin(), info.end());

    // Both the colours and the mask are stored bottom row first.
    for (std::uint32_t row = h; row-- > 0;) {
        const auto* line = bgra.data() + std::size_t{row} * w * 4;
        out.insert(out.end(), line, line + std::size_t{w} * 4);
    }
    for (std::uint32_t row = h; row-- > 0;) {
        std::vector<std::uint8_t> maskRow(maskStride, 0);
        for (std::uint32_t col = 0; col < w; ++col) {
            if (bgra[(std::size_t{row} * w + col) * 4 + 3] == 0) {
                maskRow[col / 8] = static_cast<std::uint8_t>(maskRow[col / 8] | (0x80u >> (col % 8)));
            }
        }
        out.insert(out.end(), maskRow.begin(), maskRow.end());
    }
    return out;
}

}  // namespace mosaika
