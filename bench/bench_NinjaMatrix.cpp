// The route engine over the shipped universe: every way between its systems,
// the labelling alone, and reading the core data file.
#include "NinjaMatrix.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <utility>
#include <vector>

namespace {

constexpr AvoidFlags kAvoidNothing{};
constexpr AvoidFlags kAvoidXenon{false, false, false, false, false, true};

// The shipped core data file, copied beside the executable.
std::string ShippedCoreFile() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "core.vr").string();
}

// Takes the way description and throws it away.
class DiscardingSink : public LineSink {
public:
    void AppendLine(const std::string& text, bool bold) override {
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(bold);
    }
};

struct Shipped {
    TNinjaMatrix engine;
    std::vector<std::pair<int, int>> systems; // every named sector
};

Shipped& ShippedUniverse() {
    static Shipped shipped = [] {
        Shipped loaded;
        loaded.engine.SetFilename(ShippedCoreFile());
        loaded.engine.LoadMatrix();
        for (int x = 0; x < TNinjaMatrix::GridSize; ++x) {
            for (int y = 0; y < TNinjaMatrix::GridSize; ++y) {
                if (!loaded.engine.Sector(x, y).Name.empty()) {
                    loaded.systems.emplace_back(x, y);
                }
            }
        }
        return loaded;
    }();
    return shipped;
}

// One iteration is one sweep over all ordered pairs of systems.
void AllPairsFindWay(benchmark::State& state, const AvoidFlags& avoid) {
    Shipped& shipped = ShippedUniverse();
    DiscardingSink sink;
    shipped.engine.SetOutPutField(&sink);
    for (auto _ : state) {
        for (const auto& [sx, sy] : shipped.systems) {
            for (const auto& [tx, ty] : shipped.systems) {
                benchmark::DoNotOptimize(shipped.engine.FindWay(sx, sy, tx, ty, avoid, false));
            }
        }
    }
    const auto pairs = static_cast<std::int64_t>(shipped.systems.size() * shipped.systems.size());
    state.SetItemsProcessed(state.iterations() * pairs);
    state.counters["pairs"] = static_cast<double>(pairs);
    shipped.engine.SetOutPutField(nullptr);
}
BENCHMARK_CAPTURE(AllPairsFindWay, AvoidNothing, kAvoidNothing)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AllPairsFindWay, AvoidXenon, kAvoidXenon)->Unit(benchmark::kMicrosecond);

// One iteration labels the grid once from every system.
void LabelEveryTarget(benchmark::State& state, const AvoidFlags& avoid) {
    Shipped& shipped = ShippedUniverse();
    for (auto _ : state) {
        for (const auto& [tx, ty] : shipped.systems) {
            shipped.engine.ResetMatrix();
            shipped.engine.MarkDistances(tx, ty, avoid);
            benchmark::DoNotOptimize(shipped.engine.Sector(0, 0).Distance);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(shipped.systems.size()));
}
BENCHMARK_CAPTURE(LabelEveryTarget, AvoidNothing, kAvoidNothing);
BENCHMARK_CAPTURE(LabelEveryTarget, AvoidXenon, kAvoidXenon);

void LoadShippedFile(benchmark::State& state) {
    TNinjaMatrix engine;
    engine.SetFilename(ShippedCoreFile());
    for (auto _ : state) {
        engine.LoadMatrix();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LoadShippedFile)->Unit(benchmark::kMicrosecond);

} // namespace
