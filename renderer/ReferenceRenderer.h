// The yardstick shading of one slice: every pixel on its own, straight from
// the formulas, with nothing precomputed and no shortcut. The shading paths
// are compared with it byte for byte, and the benchmark measures them against it,
// on the scenes drawn from fixed clock readings.
#pragma once

#include <cstdint>

#include "Lattice.h"

namespace mosaika {

// Shades width x height pixels of the slice at depth zs into frame, top row first.
void ReferenceShadeSlice(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height);

// The scene BuildLattice draws from the given counter reading, then shifted.
inline Scene SeededScene(std::uint32_t seed, int shifts = 0) {
    FixedClock clock;
    clock.counter = seed;
    Scene scene;
    BuildLattice(scene, clock);
    for (int i = 0; i < shifts; ++i) ShiftLayers(scene);
    return scene;
}

}  // namespace mosaika
