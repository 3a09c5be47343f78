// Helpers the lattice and shading tests share: seeded scenes, the band check
// and frame comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Lattice.h"
#include "ReferenceRenderer.h"

namespace mosaika {

using Frame = std::vector<std::uint8_t>;

inline std::size_t PixelCount(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

inline testing::AssertionResult SameFrame(const Frame& a, const Frame& b, int width) {
    if (a.size() != b.size()) return testing::AssertionFailure() << a.size() << " bytes vs " << b.size();
    std::size_t differing = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        if (differing++ == 0) first = i;
    }
    if (differing == 0) return testing::AssertionSuccess();
    const auto w = static_cast<std::size_t>(width);
    return testing::AssertionFailure() << differing << " pixels differ, first at col " << first % w << " row "
                                       << first / w << ": " << int{a[first]} << " vs " << int{b[first]};
}

// The lattice BuildLattice draws from the given counter reading, then shifted.
inline Scene SeededScene(std::uint32_t seed, int shifts = 0) {
    FixedClock clock;
    clock.counter = seed;
    Scene scene;
    BuildLattice(scene, clock);
    for (int i = 0; i < shifts; ++i) ShiftLayers(scene);
    return scene;
}

// How many points lie outside their cell and layer band (bounds included).
inline int PointsOutsideBands(const FeatureLattice& lattice) {
    int outside = 0;
    for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
            for (int l = 0; l < 4; ++l) {
                const FeaturePoint& p = lattice[PointIndex(j, k, l)];
                const bool inside = 1024 * j <= p.x && p.x <= 1024 * (j + 1) && 1024 * k <= p.y &&
                                    p.y <= 1024 * (k + 1) && 1024 * l <= p.z && p.z <= 1024 * (l + 1);
                outside += inside ? 0 : 1;
            }
        }
    }
    return outside;
}

inline Frame ReferenceFrame(const FeatureLattice& lattice, int zs, int width, int height) {
    Frame frame(PixelCount(width, height));
    ReferenceShadeSlice(lattice, zs, frame.data(), width, height);
    return frame;
}

}  // namespace mosaika
