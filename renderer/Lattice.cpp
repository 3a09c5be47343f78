#include "Lattice.h"

#include <cmath>

namespace mosaika {

void RandomSource::SeedFromClock(Clock& clock) {
    if (const auto counter = clock.PerformanceCounter()) {
        state_ = static_cast<std::uint32_t>(*counter);
    } else {
        state_ = clock.TickCount();
    }
}

double RandomSource::NextUniform() {
    state_ = state_ * 134775813u + 1u;
    return static_cast<double>(state_) * 0x1p-32;
}

namespace {

// Round((u + cell) x 1024), ties to even. u + cell is exact in a double.
std::int32_t Jitter(RandomSource& random, int cell) {
    return static_cast<std::int32_t>(std::nearbyint((random.NextUniform() + cell) * kCellUnits));
}

FeaturePoint DrawPoint(RandomSource& random, int j, int k, int l) {
    const std::int32_t x = Jitter(random, j);
    const std::int32_t y = Jitter(random, k);
    const std::int32_t z = Jitter(random, l);
    return {x, y, z};
}

}  // namespace

void BuildLattice(Scene& scene, Clock& clock) {
    scene.random.SeedFromClock(clock);
    for (int j = 0; j < kLatticeCells; ++j) {
        for (int k = 0; k < kLatticeCells; ++k) {
            for (int l = 0; l < kLayers; ++l) {
                scene.lattice[PointIndex(j, k, l)] = DrawPoint(scene.random, j, k, l);
            }
        }
    }
}

void ShiftLayers(Scene& scene) {
    for (int j = 0; j < kLatticeCells; ++j) {
        for (int k = 0; k < kLatticeCells; ++k) {
            FeaturePoint* cell = &scene.lattice[PointIndex(j, k, 0)];
            for (int l = 0; l < kLayers - 1; ++l) {
                cell[l] = {cell[l + 1].x, cell[l + 1].y, cell[l + 1].z - kCellUnits};
            }
            cell[kLayers - 1] = DrawPoint(scene.random, j, k, kLayers - 1);
        }
    }
}

double AnimationTime(Clock& clock) {
    return static_cast<double>(clock.TimeGetTime()) * 0.0006;
}

int AdvanceAnimation(Scene& scene, double t) {
    // A clock that went back (the 32-bit millisecond count wraps after ~49.7
    // days) is a new start; otherwise the picture would stall until t caught up.
    const bool clockWentBack = t < scene.NextShiftTime - 1.0;
    if (t >= scene.NextShiftTime || clockWentBack) {
        scene.NextShiftTime = std::trunc(t) + 1.0;
        ShiftLayers(scene);
    }
    return static_cast<int>(std::trunc((1.0 + t - std::trunc(t)) * kCellUnits));
}

std::uint8_t ShadeValue(std::int32_t d1, std::int32_t d2) {
    const double q = static_cast<double>(d2 - d1) / kCellUnits;
    double s = std::sqrt(q);
    if (s > 1.0) s = 1.0;
    return static_cast<std::uint8_t>(std::nearbyint(s * 255.0));
}

void RenderFrame(Scene& scene, Clock& clock, std::uint8_t* frame, int width, int height) {
    const int zs = AdvanceAnimation(scene, AnimationTime(clock));
    ShadeSlice(scene.lattice, zs, frame, width, height);
}

}  // namespace mosaika
