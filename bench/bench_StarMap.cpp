// Every way between the shipped universe's systems with the real star map
// bound: the star-map window's 64 sector shapes and 112 dividers, as the main
// window binds them, on the offscreen platform. This is what a search costs
// the program; the painting itself follows later in the event loop and is
// not timed. The plain breadth-first search runs here too, for the ratio.
#include "BenchSupport.h"
#include "Colors.h"
#include "HeadlessMain.h"
#include "Look.h"
#include "RouteEngine.h"
#include "StarMapWindow.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

// The window is declared after the engine, so it goes first and unbinds its shapes.
struct StarMap {
    RouteEngine engine;
    std::unique_ptr<StarMapWindow> window;
    std::vector<std::pair<int, int>> systems;
};

// Made on first use; gone before the application object.
std::unique_ptr<StarMap> shippedStarMap;

// Bound and loaded as at start-up, with the colours of the main window's layout.
StarMap& shippedMap() {
    if (!shippedStarMap) {
        shippedStarMap = std::make_unique<StarMap>();
        StarMap& made = *shippedStarMap;
        RouteEngine& engine = made.engine;
        engine.setFilename(shippedCoreFile());
        applyEngineColors(engine);
        made.window = std::make_unique<StarMapWindow>(engine, nullptr);
        made.window->bindShapes();
        engine.loadMatrix();
        engine.showDividers();
        made.systems = namedSystems(engine);
    }
    return *shippedStarMap;
}

// One iteration is one sweep over all ordered pairs of systems, with the map
// open (every change asks for a repaint) or closed.
void AllPairsFindWayOnStarMap(benchmark::State& state, bool mapOpen) {
    StarMap& map = shippedMap();
    map.window->setVisible(mapOpen);
    QApplication::processEvents();
    DiscardingSink sink;
    map.engine.setOutputField(&sink);
    for (auto _ : state) {
        for (const auto& [sx, sy] : map.systems) {
            for (const auto& [tx, ty] : map.systems) {
                benchmark::DoNotOptimize(map.engine.findWay(sx, sy, tx, ty, kAvoidNothing, false));
            }
        }
        // The repaints asked for go out between sweeps, untimed.
        state.PauseTiming();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    const auto pairs = static_cast<std::int64_t>(map.systems.size() * map.systems.size());
    state.SetItemsProcessed(state.iterations() * pairs);
    map.engine.setOutputField(nullptr);
    map.window->hide();
}
BENCHMARK_CAPTURE(AllPairsFindWayOnStarMap, open, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(AllPairsFindWayOnStarMap, closed, false)->Unit(benchmark::kMicrosecond);

void AllPairsPlainSearch(benchmark::State& state) {
    StarMap& map = shippedMap();
    PlainSearch plain(map.engine);
    const auto cell = [](const std::pair<int, int>& s) {
        return s.first * RouteEngine::GridSize + s.second;
    };
    for (auto _ : state) {
        for (const auto& source : map.systems) {
            for (const auto& target : map.systems) {
                benchmark::DoNotOptimize(
                    plain.way(cell(source), cell(target), kAvoidNothing).data());
            }
        }
    }
    const auto pairs = static_cast<std::int64_t>(map.systems.size() * map.systems.size());
    state.SetItemsProcessed(state.iterations() * pairs);
}
BENCHMARK(AllPairsPlainSearch)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runHeadlessBenchmarks(argc, argv);
}
