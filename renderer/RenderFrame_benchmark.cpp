// What a frame costs: the reference shading of a 320 x 200 slice, ShadeSlice and each path this
// processor runs, and the lattice work around them (the start-up build, the shift every 1 2/3
// seconds). Time per frame (or per call) is in nanoseconds; with --benchmark_repetitions=N each
// benchmark reports the statistics over its repetitions, among them the least ("_min"): on a busy
// machine that is the figure least disturbed by other work.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Lattice.h"
#include "Palette.h"  // FrameBuffer
#include "ReferenceRenderer.h"
#include "ShadeSlice.h"

namespace mosaika {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr std::uint32_t kSeed = 0x5EED1234u;

double Least(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

void ReportLeast(benchmark::internal::Benchmark* benchmark) {
    benchmark->ComputeStatistics("min", Least)->ReportAggregatesOnly(true);
}

using Shade = std::function<void(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height)>;

void RegisterAll() {
    std::vector<std::pair<std::string, Shade>> shadings = {{"BM_ReferenceShadeSlice", ReferenceShadeSlice},
                                                           {"BM_ShadeSlice", ShadeSlice}};
    for (const ShadePath path : SupportedPaths()) {
        shadings.emplace_back(std::string("BM_ShadeSliceWith/") + ShadePathName(path),
                              [path](auto&&... arguments) { ShadeSliceWith(path, arguments...); });
    }
    for (const auto& [name, shade] : shadings) {
        ReportLeast(benchmark::RegisterBenchmark(name.c_str(), [shade](benchmark::State& state) {
            const Scene scene = SeededScene(kSeed, 1);
            auto frame = std::make_unique<FrameBuffer>();
            int zs = 1024;  // walks through the slice range so no one depth is favoured
            for (auto _ : state) {
                shade(scene.lattice, zs = 1024 + (zs - 1024 + 37) % 1024, frame->data(), kWidth, kHeight);
                benchmark::DoNotOptimize(*frame);
            }
        }));
    }
    ReportLeast(benchmark::RegisterBenchmark("BM_BuildLattice", [](benchmark::State& state) {
        auto scene = std::make_unique<Scene>();
        FixedClock clock;
        for (auto _ : state) BuildLattice(*scene, clock), benchmark::DoNotOptimize(scene->lattice);
    }));
    ReportLeast(benchmark::RegisterBenchmark("BM_ShiftLayers", [](benchmark::State& state) {
        Scene scene = SeededScene(kSeed, 1);
        for (auto _ : state) ShiftLayers(scene), benchmark::DoNotOptimize(scene.lattice);
    }));
}

}  // namespace
}  // namespace mosaika

int main(int argc, char** argv) {
    using namespace mosaika;
    benchmark::AddCustomContext("ShadeSlice path on this processor", ShadePathName(ChosenPath()));
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
