// The way through the fewest systems of avoided races, for when no way
// avoids them all: planned, and written and drawn as any way is.
#include "RouteEngine.h"

#include <bit>
#include <utility>

namespace {

// The cost of a way on to the target: the avoided cells it enters times 256,
// plus its jumps. So costs compare as the ways do: fewest avoided cells
// first, then fewest jumps; a way of 64 cells has 63 jumps.
constexpr int kAvoidedCost = 256;

// Sets of cells, each with a number, in rising order of the numbers. A grid
// has at most 64 such sets that are not empty, and 64 jumps at most.
struct NumberedCells {
    struct Entry {
        int number = 0;
        std::uint64_t cells = 0;
    };
    std::array<Entry, MapSectorCount + 1> entries{};
    int size = 0;

    void add(int number, std::uint64_t cells) {
        entries[static_cast<std::size_t>(size++)] = {number, cells};
    }
    const Entry& operator[](int i) const { return entries[static_cast<std::size_t>(i)]; }
};

bool has(std::uint64_t cells, int cell) {
    return ((cells >> cell) & 1U) != 0;
}

// Finds the cells' costs in rising order, the cells of each cost one set of
// layers, until the start has its cost. Within one count of avoided cells
// the search goes out a level of jumps at a time over cells that are not
// avoided; an avoided cell a level reaches starts the next count, at the
// jumps it was reached at (seeds). Every cell with a lower cost than the
// start is in layers when it ends, and the start is in the last one. False
// when the start cannot be reached.
bool layerCosts(const GridSummary& grid, int start, int target, std::uint64_t avoided,
                NumberedCells& layers) {
    layers.size = 0;
    const std::uint64_t startBit = std::uint64_t{1} << start;
    std::array<NumberedCells, 2> seedLists;
    NumberedCells* seeds = &seedLists[0];
    NumberedCells* nextSeeds = &seedLists[1];
    seeds->add(0, std::uint64_t{1} << target);
    std::uint64_t seen = 0;
    for (int count = has(avoided, target) ? 1 : 0; seeds->size > 0; ++count) {
        int taken = 0;
        int jumps = (*seeds)[0].number;
        std::uint64_t frontier = 0;
        nextSeeds->size = 0;
        for (;;) {
            if (taken < seeds->size && (*seeds)[taken].number == jumps) {
                frontier |= (*seeds)[taken++].cells & ~seen;
            }
            if (frontier == 0) {
                if (taken == seeds->size) {
                    break;
                }
                jumps = (*seeds)[taken].number;
                continue;
            }
            seen |= frontier;
            layers.add(count * kAvoidedCost + jumps, frontier);
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
    NumberedCells layers;
    way.length = 0;
    if (!layerCosts(grid, start, target, avoided, layers)) {
        return false;
    }
    int layer = layers.size - 1;
    int cost = layers[layer].number;
    int cell = start;
    for (;;) {
        if (way.length == CellCount) {
            // The cost falls at every step, so no cell comes twice; a longer
            // way would be a fault of the layers.
            way.length = 0;
            return false;
        }
        way.cells[static_cast<std::size_t>(way.length)] = static_cast<std::uint8_t>(cell);
        if (cell == target) {
            ++way.length;
            return true;
        }
        // The cost the next cell must have; costs only fall along the way.
        cost -= 1 + (has(avoided, cell) ? kAvoidedCost : 0);
        while (layer > 0 && layers[layer].number > cost) {
            --layer;
        }
        const std::uint64_t onward = layers[layer].number == cost ? layers[layer].cells : 0;
        const unsigned exits = grid.cellExits[static_cast<std::size_t>(cell)];
        int chosen = 0;
        while (chosen < 4 &&
               ((exits & (1U << chosen)) == 0 || !has(onward, neighbourCell(cell, chosen)))) {
            ++chosen;
        }
        if (chosen == 4) {
            // Cannot happen with the layers above; stop rather than wander.
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
        // No labels of a plain search stay behind.
        clearLabels();
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

void RouteEngine::clearLabels() {
    if (!labelsUnreached_) {
        static constexpr Labels unreached = [] {
            Labels labels{};
            labels.fill(Unreached);
            return labels;
        }();
        writeLabels(unreached);
        labelsUnreached_ = true;
    }
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
