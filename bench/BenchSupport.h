#pragma once

// What the route engine's benchmark programs share: the shipped universe, a
// sink for the way description, the plain breadth-first search that serves as
// the yardstick, and a console report that ends with how many times the
// yardstick each search takes.
#include "RouteEngine.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

inline constexpr AvoidFlags kAvoidNothing{};
inline constexpr AvoidFlags kAvoidXenon{false, false, false, false, false, true};
// Teladi, Split and Xenon: most ways meet one of them, many have no way round.
inline constexpr AvoidFlags kAvoidThreeRaces{false, true, true, false, false, true};

// The shipped core data file, copied beside the executable.
inline std::string shippedCoreFile() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "core.vr").string();
}

// Every named sector of a loaded grid.
inline std::vector<std::pair<int, int>> namedSystems(const RouteEngine& engine) {
    std::vector<std::pair<int, int>> systems;
    for (int x = 0; x < RouteEngine::GridSize; ++x) {
        for (int y = 0; y < RouteEngine::GridSize; ++y) {
            if (!engine.sectorAt(x, y).name.empty()) {
                systems.emplace_back(x, y);
            }
        }
    }
    return systems;
}

// Takes the way description and throws it away.
class DiscardingSink : public LineSink {
public:
    void appendLine(const std::string& text, bool bold) override {
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(bold);
    }
};

// The yardstick: a textbook breadth-first search over the same gates and
// races, from the target outward until it meets the start, then the way from
// the start down the levels, ties going north, west, south, east. It reads
// the grid once and writes nothing but its own way.
class PlainSearch {
public:
    explicit PlainSearch(const RouteEngine& engine) {
        constexpr std::array<int, 4> dx{0, -1, 0, 1};
        constexpr std::array<int, 4> dy{-1, 0, 1, 0};
        for (int x = 0; x < kSize; ++x) {
            for (int y = 0; y < kSize; ++y) {
                const StarElement& s = engine.sectorAt(x, y);
                const std::array gates{s.northGate, s.westGate, s.southGate, s.eastGate};
                const auto cell = static_cast<std::size_t>(x * kSize + y);
                race_[cell] = s.race;
                for (std::size_t side = 0; side < 4; ++side) {
                    const int nx = x + dx[side];
                    const int ny = y + dy[side];
                    const bool inside = nx >= 0 && nx < kSize && ny >= 0 && ny < kSize;
                    next_[cell][side] = inside && gates[side] == 1 ? nx * kSize + ny : -1;
                }
            }
        }
        for (auto& into : predecessors_) {
            into.fill(-1);
        }
        for (int u = 0; u < kCells; ++u) {
            for (std::size_t side = 0; side < 4; ++side) {
                const int v = next_[static_cast<std::size_t>(u)][side];
                if (v >= 0) {
                    predecessors_[static_cast<std::size_t>(v)][side] = u;
                }
            }
        }
        way_.reserve(kCells);
    }

    // The cells of the way, start first; empty when there is none.
    const std::vector<int>& way(int start, int target, const AvoidFlags& avoid) {
        way_.clear();
        if (avoided(target, avoid)) {
            return way_;
        }
        std::array<int, kCells> level;
        level.fill(-1);
        std::array<int, kCells> queue{};
        int head = 0;
        int tail = 0;
        level[static_cast<std::size_t>(target)] = 0;
        queue[static_cast<std::size_t>(tail++)] = target;
        while (head < tail && level[static_cast<std::size_t>(start)] < 0) {
            const int v = queue[static_cast<std::size_t>(head++)];
            for (const int u : predecessors_[static_cast<std::size_t>(v)]) {
                if (u < 0 || level[static_cast<std::size_t>(u)] >= 0 ||
                    (u != start && avoided(u, avoid))) {
                    continue;
                }
                level[static_cast<std::size_t>(u)] = level[static_cast<std::size_t>(v)] + 1;
                queue[static_cast<std::size_t>(tail++)] = u;
            }
        }
        if (level[static_cast<std::size_t>(start)] < 0) {
            return way_;
        }
        int cell = start;
        way_.push_back(cell);
        while (cell != target) {
            const int wanted = level[static_cast<std::size_t>(cell)] - 1;
            for (const int n : next_[static_cast<std::size_t>(cell)]) {
                if (n >= 0 && level[static_cast<std::size_t>(n)] == wanted) {
                    cell = n;
                    break;
                }
            }
            way_.push_back(cell);
        }
        return way_;
    }

private:
    static constexpr int kSize = RouteEngine::GridSize;
    static constexpr int kCells = RouteEngine::CellCount;

    bool avoided(int cell, const AvoidFlags& avoid) const {
        const int race = race_[static_cast<std::size_t>(cell)];
        return race >= 1 && race <= 6 && avoid[static_cast<std::size_t>(race - 1)];
    }

    // Per cell and side: the neighbour that side's gate leads to, or -1.
    std::array<std::array<int, 4>, kCells> next_{};
    // Per cell: the neighbours whose gate leads into it, or -1.
    std::array<std::array<int, 4>, kCells> predecessors_{};
    std::array<std::uint8_t, kCells> race_{};
    std::vector<int> way_;
};

// The usual console table, followed by the CPU time of each named benchmark
// over that of its yardstick (the median when repeated). CPU time, because the
// machines these run on are shared.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    using Pairs = std::vector<std::pair<std::string, std::string>>;

    explicit RatioReporter(Pairs pairs)
        : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_Color : OO_None)
        , pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || median)) {
                cpuTime_[run.run_name.str()] = run.GetAdjustedCPUTime();
            }
        }
    }

    void Finalize() override {
        auto& out = GetOutputStream();
        bool heading = false;
        for (const auto& [measured, yardstick] : pairs_) {
            const auto m = cpuTime_.find(measured);
            const auto y = cpuTime_.find(yardstick);
            if (m == cpuTime_.end() || y == cpuTime_.end() || y->second <= 0) {
                continue;
            }
            if (!heading) {
                out << "\nCPU time over the plain search:\n";
                heading = true;
            }
            out << "  " << measured << " / " << yardstick << " = " << m->second / y->second << "\n";
        }
        ConsoleReporter::Finalize();
    }

private:
    Pairs pairs_;
    std::map<std::string, double> cpuTime_;
};

// Runs the benchmarks the command line selects with the ratio report.
inline int runBenchmarks(int argc, char** argv, RatioReporter::Pairs pairs) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
