#include "AssetPictures.h"

#include <cassert>
#include <cstdio>
#include <memory>
#include <string>

#include "Lattice.h"
#include "Palette.h"

namespace mosaika {

namespace {

std::size_t PixelCount(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

}  // namespace

std::vector<std::uint8_t> RenderShades(std::int64_t seed, std::uint32_t milliseconds, int width, int height) {
    assert(width > 0 && width <= kMaxFrameWidth && "ShadeSlice keeps at most 640 column coordinates");
    assert(height > 0 && height <= kMaxFrameHeight && "taller frames leave the lattice");
    FixedClock clock;
    clock.counter = seed;
    clock.milliseconds = milliseconds;
    auto scene = std::make_unique<Scene>();  // the lattice is too large for the stack
    BuildLattice(*scene, clock);
    std::vector<std::uint8_t> shades(PixelCount(width, height));
    RenderFrame(*scene, clock, shades.data(), width, height);
    return shades;
}

std::vector<std::uint8_t> ReduceShades(const std::vector<std::uint8_t>& shades, int width, int height, int factor) {
    assert(factor > 0 && width % factor == 0 && height % factor == 0 && "blocks must tile the frame");
    assert(shades.size() == PixelCount(width, height));
    const int outWidth = width / factor;
    const int outHeight = height / factor;
    const int blockSize = factor * factor;
    std::vector<std::uint8_t> out;
    out.reserve(PixelCount(outWidth, outHeight));
    for (int row = 0; row < outHeight; ++row) {
        for (int col = 0; col < outWidth; ++col) {
            int sum = 0;
            for (int y = row * factor; y < (row + 1) * factor; ++y) {
                for (int x = col * factor; x < (col + 1) * factor; ++x) {
                    sum += shades[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                  static_cast<std::size_t>(x)];
                }
            }
            out.push_back(static_cast<std::uint8_t>((2 * sum + blockSize) / (2 * blockSize)));
        }
    }
    return out;
}

std::vector<std::uint8_t> PreviewPicture(std::int64_t seed, std::uint32_t milliseconds) {
    std::vector<std::uint8_t> rgb = PixelsToRgb(RenderShades(seed, milliseconds, kPreviewWidth, kPreviewHeight), BuildPaletteTable());
    for (int row = 0; row < kPreviewHeight; ++row) {
        for (const int col : {0, 1, kPreviewWidth - 1}) {
            const std::size_t at = (static_cast<std::size_t>(row) * kPreviewWidth + static_cast<std::size_t>(col)) * 3;
            rgb[at] = rgb[at + 1] = rgb[at + 2] = 0;
        }
    }
    return rgb;
}

std::vector<std::uint8_t> IconPicture(std::int64_t seed, std::uint32_t milliseconds) {
    constexpr int kFrameSide = kIconSize * kIconReduction;
    const std::vector<std::uint8_t> shades =
        ReduceShades(RenderShades(seed, milliseconds, kFrameSide, kFrameSide), kFrameSide, kFrameSide, kIconReduction);
    const std::vector<std::uint8_t> rgb = PixelsToRgb(shades, BuildPaletteTable());
    std::vector<std::uint8_t> bgra;
    bgra.reserve(shades.size() * 4);
    for (std::size_t i = 0; i < shades.size(); ++i) {
        bgra.insert(bgra.end(), {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i], 255});
    }
    return bgra;
}

std::vector<std::uint8_t> EncodePpm(const std::vector<std::uint8_t>& rgb, int width, int height) {
    assert(rgb.size() == PixelCount(width, height) * 3);
    const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<std::uint8_t> file(header.begin(), header.end());
    file.insert(file.end(), rgb.begin(), rgb.end());
    return file;
}

bool WriteAsset(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const bool toStdout = path == "-";
    std::FILE* file = toStdout ? stdout : std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = (toStdout ? std::fflush(file) : std::fclose(file)) == 0 && ok;
    return ok;
}

}  // namespace mosaika
