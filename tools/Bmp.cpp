#include "Bmp.h"

#include "BitmapInfoHeader.h"
#include "LittleEndian.h"

namespace mosaika {

std::vector<std::uint8_t> EncodeBmp24(const std::vector<std::uint8_t>& rgb, int width, int height) {
    if (width < 1 || width > 32767 || height < 1 || height > 32767) return {};
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    if (rgb.size() != std::size_t{w} * h * 3) return {};

    const std::uint32_t stride = (w * 3 + 3) / 4 * 4;
    const std::uint32_t imageBytes = stride * h;
    const auto offset = static_cast<std::uint32_t>(kBmpFileHeaderSize + kBmpInfoHeaderSize);

    std::vector<std::uint8_t> out;
    out.reserve(offset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageBytes);
    Put32(out, 0);  // reserved
    Put32(out, offset);

    // Height positive: bottom row first; no colour table.
    const auto info = BitmapInfoHeader({.width = width, .height = height, .bitCount = 24, .imageSize = imageBytes,
                                        .pixelsPerMetre = kBmpPixelsPerMetre});
    out.insert(out.end(), info.begin(), info.end());

    for (std::uint32_t row = h; row-- > 0;) {
        const std::uint8_t* line = rgb.data() + std::size_t{row} * w * 3;
        for (std::uint32_t col = 0; col < w; ++col) {
            out.push_back(line[3 * col + 2]);
            out.push_back(line[3 * col + 1]);
            out.push_back(line[3 * col]);
        }
        out.insert(out.end(), stride - w * 3, 0);
    }
    return out;
}

}  // namespace mosaika
