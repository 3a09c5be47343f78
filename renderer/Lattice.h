// The feature-point lattice, its random source and the shading of one frame.
//
// A slice at depth zs travels upward through a 64 x 64 x 4 lattice of jittered
// points (1024 fixed-point units per cell); every pixel is shaded by how much
// farther its second-nearest point is than its nearest: 0 on a cell border,
// 255 deep inside a cell. Plain integer and double arithmetic, no platform;
// the shading itself has faster paths of its own (ShadeSlice.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "Clock.h"

namespace mosaika {

constexpr int kCellUnits = 1024;
constexpr int kLatticeCells = 64;
constexpr int kLayers = 4;
constexpr std::size_t kLatticePoints = std::size_t{kLatticeCells} * kLatticeCells * kLayers;

struct FeaturePoint {
    std::int32_t x;
    std::int32_t y;
    std::int32_t z;
};

using FeatureLattice = std::array<FeaturePoint, kLatticePoints>;

// Index of cell column j, cell row k, layer l: the layers of one cell are
// adjacent, one cell row further on is 256 points further on.
constexpr std::size_t PointIndex(int j, int k, int l) {
    return static_cast<std::size_t>(((k * kLatticeCells) + j) * kLayers + l);
}

class RandomSource {
public:
    // State from the performance counter's low 32 bits, or the tick count when it fails.
    void SeedFromClock(Clock& clock);
    void Seed(std::uint32_t state) { state_ = state; }
    std::uint32_t State() const { return state_; }
    // Linear congruential step; the result is an exact multiple of 2^-32 in [0, 1).
    double NextUniform();

private:
    std::uint32_t state_ = 0;
};

// Everything the renderer keeps between frames; one instance lives for the whole run.
struct Scene {
    FeatureLattice lattice{};
    double NextShiftTime = 0.0;
    RandomSource random;
};

// Seeds the random source from the clock and draws every point (x, y, z per point).
void BuildLattice(Scene& scene, Clock& clock);

// Moves every cell's layers down by one and draws a fresh layer 3.
void ShiftLayers(Scene& scene);

// Advances the animation for this frame's time and returns the slice depth zs
// (1024..2047). Shifts the layers at most once per call.
int AdvanceAnimation(Scene& scene, double t);

// AnimationTime t: the millisecond clock times 0.0006 (0.6 per second).
double AnimationTime(Clock& clock);

// The shade of a pixel whose two smallest distances (squared sums div 1024) are d1 <= d2.
std::uint8_t ShadeValue(std::int32_t d1, std::int32_t d2);

// Shades width x height pixels of the slice at depth zs into frame, top row
// first, by the fastest path this processor runs (ShadeSlice.h). Width up to
// 640, height up to 480, zs 1024..2047. Allocates nothing.
void ShadeSlice(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height);

// One frame: advance the animation by the clock, then shade the slice.
void RenderFrame(Scene& scene, Clock& clock, std::uint8_t* frame, int width, int height);

}  // namespace mosaika
