// The route engine over the shipped universe: every way between its systems,
// the ways through the fewest avoided systems, the same ways by the plain
// breadth-first search as a yardstick, the labelling alone, and reading the
// core data file.
#include "BenchSupport.h"
#include "RouteEngine.h"

#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

namespace {

struct Shipped {
    RouteEngine engine;
    std::vector<std::pair<int, int>> systems; // every named sector
};

Shipped& shippedUniverse() {
    static Shipped shipped = [] {
        Shipped loaded;
        loaded.engine.setFilename(shippedCoreFile());
        loaded.engine.loadMatrix();
        loaded.systems = namedSystems(loaded.engine);
        return loaded;
    }();
    return shipped;
}

// One iteration is one sweep over all ordered pairs of systems.
void AllPairsFindWay(benchmark::State& state, const AvoidFlags& avoid) {
    Shipped& shipped = shippedUniverse();
    DiscardingSink sink;
    shipped.engine.setOutputField(&sink);
    for (auto _ : state) {
        for (const auto& [sx, sy] : shipped.systems) {
            for (const auto& [tx, ty] : shipped.systems) {
                benchmark::DoNotOptimize(shipped.engine.findWay(sx, sy, tx, ty, avoid, false));
            }
        }
    }
    const auto pairs = static_cast<std::int64_t>(shipped.systems.size() * shipped.systems.size());
    state.SetItemsProcessed(state.iterations() * pairs);
    state.counters["pairs"] = static_cast<double>(pairs);
    shipped.engine.setOutputField(nullptr);
}
BENCHMARK_CAPTURE(AllPairsFindWay, AvoidNothing, kAvoidNothing)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AllPairsFindWay, AvoidXenon, kAvoidXenon)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AllPairsFindWay, AvoidThreeRaces, kAvoidThreeRaces)
    ->Unit(benchmark::kMicrosecond);

// The same sweep for the way through the fewest avoided systems, written and
// drawn as findWay does.
void AllPairsLeastAvoided(benchmark::State& state, const AvoidFlags& avoid) {
    Shipped& shipped = shippedUniverse();
    DiscardingSink sink;
    shipped.engine.setOutputField(&sink);
    int written = 0;
    for (auto _ : state) {
        written = 0;
        for (const auto& [sx, sy] : shipped.systems) {
            for (const auto& [tx, ty] : shipped.systems) {
                benchmark::DoNotOptimize(
                    shipped.engine.findLeastAvoidedWay(sx, sy, tx, ty, avoid, false));
                written += shipped.engine.lastWayStatus().reached ? 1 : 0;
            }
        }
    }
    const auto pairs = static_cast<std::int64_t>(shipped.systems.size() * shipped.systems.size());
    state.SetItemsProcessed(state.iterations() * pairs);
    state.counters["ways"] = static_cast<double>(written);
    shipped.engine.setOutputField(nullptr);
}
BENCHMARK_CAPTURE(AllPairsLeastAvoided, AvoidNothing, kAvoidNothing)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AllPairsLeastAvoided, AvoidXenon, kAvoidXenon)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AllPairsLeastAvoided, AvoidThreeRaces, kAvoidThreeRaces)
    ->Unit(benchmark::kMicrosecond);

// The yardstick over the same pairs. It must find ways as long as the
// engine's, or the comparison would mean nothing.
void AllPairsPlainSearch(benchmark::State& state, const AvoidFlags& avoid) {
    Shipped& shipped = shippedUniverse();
    PlainSearch plain(shipped.engine);
    const auto cell = [](const std::pair<int, int>& s) {
        return s.first * RouteEngine::GridSize + s.second;
    };
    for (const auto& [sx, sy] : shipped.systems) {
        for (const auto& [tx, ty] : shipped.systems) {
            shipped.engine.findWay(sx, sy, tx, ty, avoid, false);
            const auto cells = plain.way(cell({sx, sy}), cell({tx, ty}), avoid).size();
            if (cells != static_cast<std::size_t>(shipped.engine.lastWayStatus().linesWritten)) {
                state.SkipWithError("the plain search and FindWay disagree");
                return;
            }
        }
    }
    for (auto _ : state) {
        for (const auto& source : shipped.systems) {
            for (const auto& target : shipped.systems) {
                benchmark::DoNotOptimize(plain.way(cell(source), cell(target), avoid).data());
            }
        }
    }
    const auto pairs = static_cast<std::int64_t>(shipped.systems.size() * shipped.systems.size());
    state.SetItemsProcessed(state.iterations() * pairs);
}
BENCHMARK_CAPTURE(AllPairsPlainSearch, AvoidNothing, kAvoidNothing)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AllPairsPlainSearch, AvoidXenon, kAvoidXenon)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AllPairsPlainSearch, AvoidThreeRaces, kAvoidThreeRaces)
    ->Unit(benchmark::kMicrosecond);

// One iteration labels the grid once from every system.
void LabelEveryTarget(benchmark::State& state, const AvoidFlags& avoid) {
    Shipped& shipped = shippedUniverse();
    for (auto _ : state) {
        for (const auto& [tx, ty] : shipped.systems) {
            shipped.engine.resetMatrix();
            shipped.engine.markDistances(tx, ty, avoid);
            benchmark::DoNotOptimize(shipped.engine.sectorAt(0, 0).distance);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(shipped.systems.size()));
}
BENCHMARK_CAPTURE(LabelEveryTarget, AvoidNothing, kAvoidNothing);
BENCHMARK_CAPTURE(LabelEveryTarget, AvoidXenon, kAvoidXenon);

void LoadShippedFile(benchmark::State& state) {
    RouteEngine engine;
    engine.setFilename(shippedCoreFile());
    for (auto _ : state) {
        engine.loadMatrix();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(LoadShippedFile)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks(
        argc, argv,
        {{"AllPairsFindWay/AvoidNothing", "AllPairsPlainSearch/AvoidNothing"},
         {"AllPairsFindWay/AvoidXenon", "AllPairsPlainSearch/AvoidXenon"},
         {"AllPairsFindWay/AvoidThreeRaces", "AllPairsPlainSearch/AvoidThreeRaces"},
         {"AllPairsLeastAvoided/AvoidNothing", "AllPairsPlainSearch/AvoidNothing"},
         {"AllPairsLeastAvoided/AvoidXenon", "AllPairsPlainSearch/AvoidXenon"},
         {"AllPairsLeastAvoided/AvoidThreeRaces", "AllPairsPlainSearch/AvoidThreeRaces"}});
}
