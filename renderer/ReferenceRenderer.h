// The yardstick shading of one slice: every pixel on its own, straight from
// the formulas, with nothing precomputed and no shortcut. The shading paths
// are compared with it byte for byte, and the benchmark measures them against it.
#pragma once

#include <cstdint>

#include "Lattice.h"

namespace mosaika {

// Shades width x height pixels of the slice at depth zs into frame, top row first.
void ReferenceShadeSlice(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height);

}  // namespace mosaika
