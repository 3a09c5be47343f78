#include "ReferenceRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace mosaika {

namespace {

// Nearest integer, halves to the even one, whatever the rounding mode.
double RoundHalfEven(double value) {
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction != 0.5) return fraction > 0.5 ? down + 1.0 : down;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

std::uint8_t ReferenceShadePixel(const FeatureLattice& lattice, int zs, int col, int row) {
    const auto px = static_cast<std::int32_t>(RoundHalfEven((col / 50.0 + 3.0) * 1024.0));
    const auto py = static_cast<std::int32_t>(RoundHalfEven((row / 50.0 + 3.0) * 1024.0));
    std::int32_t d1 = 100000;
    std::int32_t d2 = 100000;
    // The 3 x 3 cells around the pixel's own, layers 0 to 2.
    for (std::int32_t k = py / 1024 - 1; k <= py / 1024 + 1; ++k) {
        for (std::int32_t j = px / 1024 - 1; j <= px / 1024 + 1; ++j) {
            for (std::int32_t l = 0; l <= 2; ++l) {
                const FeaturePoint& p = lattice[PointIndex(j, k, l)];
                const std::int32_t d =
                    ((px - p.x) * (px - p.x) + (py - p.y) * (py - p.y) + (zs - p.z) * (zs - p.z)) / 1024;
                d2 = std::min(d2, std::max(d, d1));
                d1 = std::min(d1, d);
            }
        }
    }
    const double s = std::min(std::sqrt(static_cast<double>(d2 - d1) / 1024.0), 1.0);
    return static_cast<std::uint8_t>(RoundHalfEven(s * 255.0));
}

}  // namespace

void ReferenceShadeSlice(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height) {
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            frame[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(col)] =
                ReferenceShadePixel(lattice, zs, col, row);
        }
    }
}

}  // namespace mosaika
