#include "ReferenceRenderer.h"

#include <cmath>
#include <cstddef>

namespace mosaika {

namespace {

// Nearest integer, halves to the even one, whatever the floating-point
// environment's rounding mode. The subtraction is exact for the values here.
double RoundHalfEven(double value) {
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction > 0.5) return down + 1.0;
    if (fraction < 0.5) return down;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

std::uint8_t ReferenceShadePixel(const FeatureLattice& lattice, int zs, int col, int row, CellVisitor* visitor) {
    const auto px = static_cast<std::int32_t>(RoundHalfEven((col / 50.0 + 3.0) * 1024.0));
    const auto py = static_cast<std::int32_t>(RoundHalfEven((row / 50.0 + 3.0) * 1024.0));
    const std::int32_t cx = px / 1024;
    const std::int32_t cy = py / 1024;

    std::int32_t d1 = 100000;
    std::int32_t d2 = 100000;
    for (std::int32_t k = cy - 1; k <= cy + 1; ++k) {
        for (std::int32_t j = cx - 1; j <= cx + 1; ++j) {
            for (std::int32_t l = 0; l <= 2; ++l) {
                if (visitor != nullptr) visitor->VisitPoint(j, k, l);
                const FeaturePoint& p = lattice[static_cast<std::size_t>(((k * 64) + j) * 4 + l)];
                const std::int32_t d =
                    ((px - p.x) * (px - p.x) + (py - p.y) * (py - p.y) + (zs - p.z) * (zs - p.z)) / 1024;
                if (d < d1) {
                    d2 = d1;
                    d1 = d;
                } else if (d < d2) {
                    d2 = d;
                }
            }
        }
    }

    const double q = static_cast<double>(d2 - d1) / 1024.0;
    double s = std::sqrt(q);
    s = s <= 1.0 ? s : 1.0;
    return static_cast<std::uint8_t>(RoundHalfEven(s * 255.0));
}

}  // namespace

void ReferenceShadeSlice(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height,
                         CellVisitor* visitor) {
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            frame[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(col)] =
                ReferenceShadePixel(lattice, zs, col, row, visitor);
        }
    }
}

}  // namespace mosaika
