#include "ReferenceRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace mosaika {

void ReferenceShadeSlice(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height) {
    // Round is to the nearest, halves to even: the default rounding mode.
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const auto px = static_cast<std::int32_t>(std::nearbyint((col / 50.0 + 3.0) * 1024.0));
            const auto py = static_cast<std::int32_t>(std::nearbyint((row / 50.0 + 3.0) * 1024.0));
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
            frame[static_cast<std::size_t>(row * width + col)] = static_cast<std::uint8_t>(std::nearbyint(s * 255.0));
        }
    }
}

}  // namespace mosaika
