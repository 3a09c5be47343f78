// The ways this build can shade a slice, and the choice among them.
//
// Every path produces the same bytes as every other: a portable one in plain
// integers, and on x86-64 one each for SSE2, AVX2 and AVX-512. ShadeSlice
// (Lattice.h) uses the fastest the processor offers, picked once on first use;
// tests and the benchmark name a path explicitly.
#pragma once

#include <cstdint>
#include <span>

#include "Lattice.h"

namespace mosaika {

enum class ShadePath {
    kScalar,  // integers only, any processor
    kSse2,    // 4 lanes, every x86-64 processor
    kAvx2,    // 8 lanes with fused multiply-add
    kAvx512,  // 16 lanes
};

// "scalar", "sse2", "avx2", "avx512".
const char* ShadePathName(ShadePath path);

// The paths this build has and this processor runs, slowest first.
std::span<const ShadePath> SupportedPaths();

// The last of SupportedPaths(): what ShadeSlice uses.
ShadePath ChosenPath();

// ShadeSlice by the given path, which must be one of SupportedPaths().
void ShadeSliceWith(ShadePath path, const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width,
                    int height);

}  // namespace mosaika
