// Helpers the lattice, shading and frame-loop tests share: lattices, the band check and frames.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Lattice.h"
#include "ReferenceRenderer.h"

namespace mosaika {

using Frame = std::vector<std::uint8_t>;

// A lattice with point(j, k, l) at every cell column j, cell row k and layer l, drawn in that order.
template <typename PointOf>
FeatureLattice Fill(PointOf point) {
    FeatureLattice lattice{};
    for (int j = 0; j < 64; ++j) {
        for (int k = 0; k < 64; ++k) {
            for (int l = 0; l < 4; ++l) lattice[PointIndex(j, k, l)] = point(j, k, l);
        }
    }
    return lattice;
}

inline bool SameLattice(const FeatureLattice& a, const FeatureLattice& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Round((i / 50 + 3) x 1024), the coordinate of pixel column or row i: the remainder is never half of 25.
inline std::int32_t PixelAt(int i) { return (76800 + 512 * i + 12) / 25; }

// The scene BuildLattice draws from the given counter reading, then shifted.
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
    const auto in = [](std::int32_t v, int band) { return 1024 * band <= v && v <= 1024 * (band + 1); };
    int outside = 0;
    for (int i = 0; i < static_cast<int>(lattice.size()); ++i) {
        const FeaturePoint& p = lattice[static_cast<std::size_t>(i)];
        outside += in(p.x, i / 4 % 64) && in(p.y, i / 256) && in(p.z, i % 4) ? 0 : 1;
    }
    return outside;
}

inline Frame ReferenceFrame(const FeatureLattice& lattice, int zs, int width, int height) {
    Frame frame(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    ReferenceShadeSlice(lattice, zs, frame.data(), width, height);
    return frame;
}

inline testing::AssertionResult SameFrame(const Frame& a, const Frame& b, int width) {
    if (a.size() != b.size()) return testing::AssertionFailure() << a.size() << " bytes vs " << b.size();
    const auto first = static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin()).first - a.begin());
    if (first == a.size()) return testing::AssertionSuccess();
    const auto w = static_cast<std::size_t>(width);
    return testing::AssertionFailure() << "first difference at col " << first % w << " row " << first / w << ": "
                                       << int{a[first]} << " vs " << int{b[first]};
}

}  // namespace mosaika
