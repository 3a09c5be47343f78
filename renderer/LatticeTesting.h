// Helpers the lattice, shading and frame-loop tests share: lattices and frames.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
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
