// What a frame costs: the reference shading of a 320 x 200 slice, ShadeSlice
// and each shading path this processor runs, side by side, and the lattice
// work around them (the start-up build and the shift that comes once every
// 1 2/3 seconds). Ends with a table of nanoseconds per 320 x 200 frame (or per
// call) and speed-ups over the reference.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Lattice.h"
#include "Palette.h"
#include "ReferenceRenderer.h"
#include "ShadeSlice.h"

namespace mosaika {
namespace {

constexpr std::uint32_t kSeed = 0x5EED1234u;
constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr const char* kReferenceName = "BM_ReferenceShadeSlice";

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

template <class Shade>
void ShadeFrames(benchmark::State& state, Shade shade) {
    const auto scene = SeededScene();
    auto frame = std::make_unique<FrameBuffer>();
    std::int64_t iteration = 0;
    for (auto _ : state) {
        shade(scene->lattice, SliceDepth(iteration++), frame->data());
        benchmark::DoNotOptimize(*frame);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_ReferenceShadeSlice(benchmark::State& state) {
    ShadeFrames(state, [](const FeatureLattice& lattice, int zs, std::uint8_t* frame) {
        ReferenceShadeSlice(lattice, zs, frame, kWidth, kHeight);
    });
}
BENCHMARK(BM_ReferenceShadeSlice);

void BM_ShadeSlice(benchmark::State& state) {
    ShadeFrames(state, [](const FeatureLattice& lattice, int zs, std::uint8_t* frame) {
        ShadeSlice(lattice, zs, frame, kWidth, kHeight);
    });
}
BENCHMARK(BM_ShadeSlice);

void BM_ShadeSliceWith(benchmark::State& state, ShadePath path) {
    ShadeFrames(state, [path](const FeatureLattice& lattice, int zs, std::uint8_t* frame) {
        ShadeSliceWith(path, lattice, zs, frame, kWidth, kHeight);
    });
}

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

// The console table as usual, and for the summary each benchmark's processor
// time per call, the least over repetitions (--benchmark_repetitions=N): on a
// busy machine that is the figure least disturbed by other work.
class SummaryReporter final : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const double ns = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) *
                              benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond);
            const std::string name = run.benchmark_name();
            auto known = std::find_if(nanoseconds_.begin(), nanoseconds_.end(),
                                      [&](const auto& entry) { return entry.first == name; });
            if (known == nanoseconds_.end()) {
                nanoseconds_.emplace_back(name, ns);
            } else {
                known->second = std::min(known->second, ns);
            }
        }
    }

    void PrintSummary() const {
        double reference = 0.0;
        for (const auto& [name, ns] : nanoseconds_) {
            if (name == kReferenceName) reference = ns;
        }
        std::printf("\n%-34s %14s %10s\n", "processor time per call", "ns", "speed-up");
        for (const auto& [name, ns] : nanoseconds_) {
            const bool shading = name.find("ShadeSlice") != std::string::npos;
            if (shading && reference > 0.0 && ns > 0.0) {
                std::printf("%-34s %14.0f %9.1fx\n", name.c_str(), ns, reference / ns);
            } else {
                std::printf("%-34s %14.0f\n", name.c_str(), ns);
            }
        }
    }

private:
    std::vector<std::pair<std::string, double>> nanoseconds_;
};

}  // namespace
}  // namespace mosaika

int main(int argc, char** argv) {
    using namespace mosaika;
    for (const ShadePath path : SupportedPaths()) {
        const std::string name = std::string("BM_ShadeSliceWith/") + ShadePathName(path);
        benchmark::RegisterBenchmark(name.c_str(), BM_ShadeSliceWith, path);
    }
    // Another output format (--benchmark_format=json) gets the library's own reporter and nothing else.
    const bool console = std::none_of(argv + 1, argv + argc, [](const char* argument) {
        const std::string_view flag(argument);
        return flag.starts_with("--benchmark_format=") && flag != "--benchmark_format=console";
    });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!console) {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    }
    std::printf("ShadeSlice uses the %s path on this processor\n", ShadePathName(ChosenPath()));
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
