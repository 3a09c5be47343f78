// The yardstick shading of one slice: every pixel is computed on its own,
// straight from the formulas, with nothing precomputed and no shortcut. Faster
// shadings (the production one, vectorised ones) are compared against it byte
// for byte, and the benchmark measures them against it.
#pragma once

#include <cstdint>

#include "Lattice.h"

namespace mosaika {

// Told of every lattice point the reference search reads, in the order read.
class CellVisitor {
public:
    virtual ~CellVisitor() = default;
    // Cell column j, cell row k, layer l.
    virtual void VisitPoint(int j, int k, int l) = 0;
};

// Shades width x height pixels of the slice at depth zs into frame, top row
// first, exactly as ShadeSlice must. The visitor, when given, sees each read.
void ReferenceShadeSlice(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height,
                         CellVisitor* visitor = nullptr);

}  // namespace mosaika
