// What a frame costs: the reference shading of a 320 x 200 slice, ShadeSlice
// and each shading path this processor runs, side by side, and the lattice
// work around them (the start-up build and the shift that comes once every
// 1 2/3 seconds). Ends with a table of nanoseconds per 320 x 200 frame (or per
// call) and speed-ups over the reference.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
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

// zs walks through the slice range so no one depth is favoured.
void Register(const std::string& name, const Shade& shade) {
    benchmark::RegisterBenchmark(name.c_str(), [shade](benchmark::State& state) {
        const auto scene = SeededScene();
        auto frame = std::make_unique<FrameBuffer>();
        std::int64_t iteration = 0;
        for (auto _ : state) {
            shade(scene->lattice, 1024 + static_cast<int>((iteration++ * 37) % 1024), frame->data(), kWidth, kHeight);
            benchmark::DoNotOptimize(*frame);
        }
        state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
    });
}

void RegisterAll() {
    Register(kReferenceName, ReferenceShadeSlice);
    Register("BM_ShadeSlice", ShadeSlice);
    for (const ShadePath path : SupportedPaths()) {
        Register(std::string("BM_ShadeSliceWith/") + ShadePathName(path),
                 [path](auto&&... arguments) { ShadeSliceWith(path, arguments...); });
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
            auto& least = nanoseconds_.try_emplace(run.benchmark_name(), ns).first->second;
            least = std::min(least, ns);
            if (std::find(names_.begin(), names_.end(), run.benchmark_name()) == names_.end()) {
                names_.push_back(run.benchmark_name());
            }
        }
    }

    void PrintSummary() const {
        std::printf("\n%-34s %14s %10s\n", "processor time per call", "ns", "speed-up");
        for (const std::string& name : names_) {
            const double ns = nanoseconds_.at(name);
            std::printf("%-34s %14.0f", name.c_str(), ns);
            if (name.find("ShadeSlice") != std::string::npos && nanoseconds_.contains(kReferenceName)) {
                std::printf(" %9.1fx", nanoseconds_.at(kReferenceName) / ns);
            }
            std::printf("\n");
        }
    }

private:
    std::map<std::string, double> nanoseconds_;
    std::vector<std::string> names_;  // in the order they ran
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
