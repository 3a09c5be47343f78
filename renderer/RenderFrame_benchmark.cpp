// What a frame costs: the reference shading of a 320 x 200 slice, ShadeSlice and each path this
// processor runs, and the lattice work around them (the start-up build, the shift every 1 2/3
// seconds). Ends with a table of nanoseconds per frame (or per call) and speed-ups over the reference.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
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
constexpr const char* kReferenceName = "BM_ReferenceShadeSlice";

std::unique_ptr<Scene> SeededScene() {
    FixedClock clock;
    clock.counter = 0x5EED1234u;
    auto scene = std::make_unique<Scene>();
    BuildLattice(*scene, clock);
    ShiftLayers(*scene);
    return scene;
}

using Shade = std::function<void(const FeatureLattice& lattice, int zs, std::uint8_t* frame, int width, int height)>;

void RegisterAll() {
    std::vector<std::pair<std::string, Shade>> shadings = {{kReferenceName, ReferenceShadeSlice},
                                                           {"BM_ShadeSlice", ShadeSlice}};
    for (const ShadePath path : SupportedPaths()) {
        shadings.emplace_back(std::string("BM_ShadeSliceWith/") + ShadePathName(path),
                              [path](auto&&... arguments) { ShadeSliceWith(path, arguments...); });
    }
    for (const auto& [name, shade] : shadings) {
        benchmark::RegisterBenchmark(name.c_str(), [shade](benchmark::State& state) {
            const auto scene = SeededScene();
            auto frame = std::make_unique<FrameBuffer>();
            int zs = 1024;  // walks through the slice range so no one depth is favoured
            for (auto _ : state) {
                shade(scene->lattice, zs = 1024 + (zs - 1024 + 37) % 1024, frame->data(), kWidth, kHeight);
                benchmark::DoNotOptimize(*frame);
            }
            state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
        });
    }
    benchmark::RegisterBenchmark("BM_BuildLattice", [](benchmark::State& state) {
        auto scene = std::make_unique<Scene>();
        FixedClock clock;
        for (auto _ : state) BuildLattice(*scene, clock), benchmark::DoNotOptimize(scene->lattice);
    });
    benchmark::RegisterBenchmark("BM_ShiftLayers", [](benchmark::State& state) {
        const auto scene = SeededScene();
        for (auto _ : state) ShiftLayers(*scene), benchmark::DoNotOptimize(scene->lattice);
    });
}

// The console table as usual, then each benchmark's processor time per call,
// the least over repetitions (--benchmark_repetitions=N): on a busy machine
// that is the figure least disturbed by other work.
class SummaryReporter final : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}  // plain: no colours

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const double ns = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            const auto seen = std::find_if(least_.begin(), least_.end(),
                                           [&](const auto& entry) { return entry.first == run.benchmark_name(); });
            if (seen != least_.end()) {
                seen->second = std::min(seen->second, ns);
            } else {
                least_.emplace_back(run.benchmark_name(), ns);
            }
        }
    }

    void PrintSummary() const {
        std::printf("\n%-34s %14s %10s\n", "processor time per call", "ns", "speed-up");
        for (const auto& [name, ns] : least_) {
            std::printf("%-34s %14.0f", name.c_str(), ns);
            // The reference, registered first, runs first unless a filter left it out.
            if (name.find("ShadeSlice") != std::string::npos && least_.front().first == kReferenceName) {
                std::printf(" %9.1fx", least_.front().second / ns);
            }
            std::printf("\n");
        }
    }

private:
    std::vector<std::pair<std::string, double>> least_;  // in the order they ran
};

}  // namespace
}  // namespace mosaika

int main(int argc, char** argv) {
    using namespace mosaika;
    RegisterAll();
    // Another output format (--benchmark_format=json) gets the library's own reporter and nothing else.
    const bool console = std::none_of(argv + 1, argv + argc, [](std::string_view flag) {
        return flag.starts_with("--benchmark_format=") && flag != "--benchmark_format=console";
    });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (console) {
        std::printf("ShadeSlice uses the %s path on this processor\n", ShadePathName(ChosenPath()));
        SummaryReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.PrintSummary();
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
