// What a frame costs: the reference and the production shading of a 320 x 200
// slice side by side, and the lattice work around them (the start-up build and
// the shift that comes once every 1 2/3 seconds).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "Lattice.h"
#include "Palette.h"
#include "ReferenceRenderer.h"

namespace mosaika {
namespace {

constexpr std::uint32_t kSeed = 0x5EED1234u;
constexpr int kWidth = 320;
constexpr int kHeight = 200;

std::unique_ptr<Scene> SeededScene() {
    FixedClock clock;
    clock.counter = kSeed;
    auto scene = std::make_unique<Scene>();
    BuildLattice(*scene, clock);
    ShiftLayers(*scene);
    return scene;
}

// zs walks through the slice range so no one depth is favoured.
int SliceDepth(std::int64_t iteration) { return 1024 + static_cast<int>((iteration * 37) % 1024); }

void BM_ReferenceShadeSlice(benchmark::State& state) {
    const auto scene = SeededScene();
    auto frame = std::make_unique<FrameBuffer>();
    std::int64_t iteration = 0;
    for (auto _ : state) {
        ReferenceShadeSlice(scene->lattice, SliceDepth(iteration++), frame->data(), kWidth, kHeight);
        benchmark::DoNotOptimize(*frame);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_ReferenceShadeSlice);

void BM_ShadeSlice(benchmark::State& state) {
    const auto scene = SeededScene();
    auto frame = std::make_unique<FrameBuffer>();
    std::int64_t iteration = 0;
    for (auto _ : state) {
        ShadeSlice(scene->lattice, SliceDepth(iteration++), frame->data(), kWidth, kHeight);
        benchmark::DoNotOptimize(*frame);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_ShadeSlice);

void BM_BuildLattice(benchmark::State& state) {
    auto scene = std::make_unique<Scene>();
    FixedClock clock;
    clock.counter = kSeed;
    for (auto _ : state) {
        BuildLattice(*scene, clock);
        benchmark::DoNotOptimize(scene->lattice);
    }
}
BENCHMARK(BM_BuildLattice);

void BM_ShiftLayers(benchmark::State& state) {
    const auto scene = SeededScene();
    for (auto _ : state) {
        ShiftLayers(*scene);
        benchmark::DoNotOptimize(scene->lattice);
    }
}
BENCHMARK(BM_ShiftLayers);

}  // namespace
}  // namespace mosaika

BENCHMARK_MAIN();
