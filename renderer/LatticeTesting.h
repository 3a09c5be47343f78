// Helpers the lattice and shading tests share: lattices, the band check and frames.
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

inline bool SameLattice(const FeatureLattice& a, const FeatureLattice& b) {
    return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

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
    int outside = 0;
    const auto in = [](std::int32_t v, int band) { return 1024 * band <= v && v <= 1024 * (band + 1); };
    for (std::size_t i = 0; i < lattice.size(); ++i) {
        const FeaturePoint& p = lattice[i];
        const int j = static_cast<int>(i / 4 % 64), k = static_cast<int>(i / 256), l = static_cast<int>(i % 4);
        outside += in(p.x, j) && in(p.y, k) && in(p.z, l) ? 0 : 1;
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
