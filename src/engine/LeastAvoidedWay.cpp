// The way through the fewest systems of avoided races, for when no way
// avoids them all: planned, and written and drawn as any way is.
#include "RouteEngine.h"

#include <bit>
#include <utility>

namespace {

constexpr std::uint8_t kUnlabelled = 0xFF;

// Per cell, the best way on from it to the target: how many avoided cells
// it enters (the cell itself and the target counted) and, among such ways,
// how many jumps it takes.
struct WayCosts {
    std::array<std::uint8_t, MapSectorCount> avoided;
    std::array<std::uint8_t, MapSectorCount> jumps;
};

// The avoided cells one count further out, by the jumps they are reached
// at; found in rising order of jumps, so they are taken in that order too.
struct Seeds {
    struct Entry {
        int jumps;
        std::uint64_t cells;
    };
    std::array<Entry, MapSectorCount + 1> entries;
    int size = 0;

    void add(int jumps, std::uint64_t cells) {
        entries[static_cast<std::size_t>(size++)] = {jumps, cells};
    }
};

bool has(std::uint64_t cells, int cell) {
    return ((cells >> cell) & 1U) != 0;
}

// Labels the cells with their costs in rising order, fewest avoided cells
// first and fewest jumps among those, until the start has its label. Within
// one count the search goes out a level of jumps at a time over cells that
// are not avoided; an avoided cell a level reaches starts the next count, at
// the jumps it was reached at. Every cell with a lower cost than the start
// is labelled when it ends. False when the start cannot be reached.
bool labelCosts(const GridSummary& grid, int start, int target, std::uint64_t avoided,
                WayCosts& costs) {
    costs.avoided.fill(kUnlabelled);
    const std::uint64_t startBit = std::uint64_t{1} << start;
    std::array<Seeds, 2> levels;
    Seeds* seeds = &levels[0];
    Seeds* nextSeeds = &levels[1];
    seeds->add(0, std::uint64_t{1} << target);
    std::uint64_t seen = 0;
    for (int count = has(avoided, target) ? 1 : 0; seeds->size > 0; ++count) {
        int taken = 0;
        int jumps = seeds->entries[0].jumps;
        std::uint64_t frontier = 0;
        nextSeeds->size = 0;
        for (;;) {
            const Seeds::Entry* seed = &seeds->entries[static_cast<std::size_t>(taken)];
            if (taken < seeds->size && seed->jumps == jumps) {
                frontier |= seed->cells & ~seen;
                ++taken;
                ++seed;
            }
            if (frontier == 0) {
                if (taken == seeds->size) {
                    break;
                }
                jumps = seed->jumps;
                continue;
            }
            seen |= frontier;
            for (std::uint64_t rest = frontier; rest != 0; rest &= rest - 1) {
                const auto cell = static_cast<std::size_t>(std::countr_zero(rest));
                costs.avoided[cell] = static_cast<std::uint8_t>(count);
                costs.jumps[cell] = static_cast<std::uint8_t>(jumps);
            }
            if ((frontier & startBit) != 0) {
                return true;
            }
            const std::uint64_t reached = grid.leadingInto(frontier) & ~seen;
            if ((reached & avoided) != 0) {
                nextSeeds->add(jumps + 1, reached & avoided);
            }
            frontier = reached & ~avoided;
            ++jumps;
        }
        std::swap(seeds, nextSeeds);
    }
    return false;
}

} // namespace

// From the start, each step takes the first side, north, west, south, east,
// whose neighbour still lies on a way of the start's cost: so among all such
// ways the one whose sequence of sides comes first is taken.
bool RouteEngine::planLeastAvoided(const GridSummary& grid, int start, int target,
                                   std::uint64_t avoided, WayCells& way) {
    WayCosts costs;
    way.length = 0;
    if (!labelCosts(grid, start, target, avoided, costs)) {
        return false;
    }
    int cell = start;
    for (;;) {
        const auto c = static_cast<std::size_t>(cell);
        way.cells[static_cast<std::size_t>(way.length)] = static_cast<std::uint8_t>(cell);
        if (cell == target) {
            ++way.length;
            return true;
        }
        const int onward = costs.avoided[c] - (has(avoided, cell) ? 1 : 0);
        int chosen = -1;
        for (int side = 0; side < 4 && chosen < 0; ++side) {
            if ((grid.cellExits[c] & (1U << side)) == 0) {
                continue;
            }
            const auto next = static_cast<std::size_t>(neighbourCell(cell, side));
            if (costs.avoided[next] == onward && costs.jumps[next] + 1 == costs.jumps[c]) {
                chosen = side;
            }
        }
        if (chosen < 0) {
            // Cannot happen with the labels above; stop rather than wander.
            way.length = 0;
            return false;
        }
        way.sides[static_cast<std::size_t>(way.length++)] = static_cast<std::uint8_t>(chosen);
        cell = neighbourCell(cell, chosen);
    }
}

std::optional<PlannedWay> RouteEngine::planLeastAvoidedWay(int startColumn, int startRow,
                                                           int targetColumn, int targetRow,
                                                           const AvoidFlags& avoid) {
    if (!onGrid(startColumn, startRow) || !onGrid(targetColumn, targetRow)) {
        return std::nullopt;
    }
    const GridSummary& grid = summary();
    const std::uint64_t avoided = avoidedCells(grid, avoid);
    WayCells way;
    if (!planLeastAvoided(grid, cellIndex(startColumn, startRow),
                          cellIndex(targetColumn, targetRow), avoided, way)) {
        return std::nullopt;
    }
    PlannedWay planned;
    planned.sectors.reserve(static_cast<std::size_t>(way.length));
    for (int i = 0; i < way.length; ++i) {
        const int cell = way.cells[static_cast<std::size_t>(i)];
        const SectorPosition sector{static_cast<std::uint8_t>(cell / GridSize),
                                    static_cast<std::uint8_t>(cell % GridSize)};
        planned.sectors.push_back(sector);
        if (has(avoided, cell)) {
            planned.avoided.push_back(sector);
        }
    }
    return planned;
}

bool RouteEngine::findLeastAvoidedWay(int startColumn, int startRow, int targetColumn,
                                      int targetRow, const AvoidFlags& avoid, bool shortForm) {
    status_ = WayStatus{};
    if (!onGrid(startColumn, startRow) || !onGrid(targetColumn, targetRow)) {
        return false;
    }
    try {
        const GridSummary& grid = summary();
        for (int cell = 0; cell < CellCount; ++cell) {
            cellAt(cell).distance = Unreached;
        }
        resetWayDrawing(grid);
        const std::uint64_t avoided = avoidedCells(grid, avoid);
        const int start = cellIndex(startColumn, startRow);
        WayCells way;
        if (planLeastAvoided(grid, start, cellIndex(targetColumn, targetRow), avoided, way)) {
            describeWay(grid, way, avoided, shortForm);
        } else {
            // As findWay leaves it: the start marked, nothing written.
            paintWayPoint(grid, start, wayPointColor_);
            status_.message = "Navigation Error";
        }
    } catch (...) {
        // What was written and painted up to the error stays.
        return false;
    }
    return true;
}

void RouteEngine::describeWay(const GridSummary& grid, const WayCells& way, std::uint64_t avoided,
                              bool shortForm) {
    bool boldMark = false;
    for (int i = 0; i < way.length; ++i) {
        const int cell = way.cells[static_cast<std::size_t>(i)];
        paintWayPoint(grid, cell, has(avoided, cell) ? avoidedWayColor_ : wayPointColor_);
        boldMark = !boldMark;
        if (i + 1 == way.length) {
            writeLine(cellAt(cell).name, boldMark);
            status_.reached = true;
            return;
        }
        writeStep(cell, way.sides[static_cast<std::size_t>(i)], boldMark, shortForm);
    }
}
