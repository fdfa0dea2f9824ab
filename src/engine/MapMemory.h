#pragma once

#include "MapShape.h"

#include <array>
#include <bit>
#include <cstdint>

// What searching and drawing read from the grid, one bit per cell (column
// * 8 + row).
struct GridSummary {
    // Per side, north, west, south, east: the cells whose gate on that
    // side leads to another cell.
    std::array<std::uint64_t, 4> exits{};
    // The same per cell: bit 0 north ... bit 3 east.
    std::array<std::uint8_t, MapSectorCount> cellExits{};
    // Per race 1 to 6: its cells.
    std::array<std::uint64_t, 6> races{};
    // Where both facing gates exist: by the cell west of an east-west
    // divider, and by the cell north of a north-south one.
    std::uint64_t eastWestLinks = 0;
    std::uint64_t northSouthLinks = 0;
    // The sector shapes by cell, and the bound ones in cell order.
    std::array<MapShape*, MapSectorCount> shapes{};
    std::array<MapShape*, MapSectorCount> boundShapes{};
    int boundCount = 0;

    // The cells whose gate leads into one of the given cells: a north gate
    // leads to the cell numbered one lower, a west gate to the one 8 lower,
    // and so on; gates off the grid are not in exits.
    std::uint64_t leadingInto(std::uint64_t cells) const {
        return ((cells << 1) & exits[0]) | ((cells << MapGridSize) & exits[1]) |
               ((cells >> 1) & exits[2]) | ((cells >> MapGridSize) & exits[3]);
    }
};

// The cell that a gate on the side (0 north, 1 west, 2 south, 3 east) of a
// cell leads to.
constexpr int neighbourCell(int cell, int side) {
    constexpr std::array<int, 4> step{-1, -MapGridSize, 1, MapGridSize};
    return cell + step[static_cast<std::size_t>(side)];
}

// What the engine keeps between searches: the summary of the grid, and what
// the dividers on the map show. One rule says when either is stale: both
// belong to a version of the map, and whatever changes the grid, the bound
// shapes or the divider colour makes a new version. Reading the grid never
// does.
class MapMemory {
public:
    void mapChanged() { ++version_; }

    bool summaryCurrent() const { return summaryVersion_ == version_; }
    const GridSummary& summary() const { return summary_; }
    void keepSummary(const GridSummary& summary) {
        summary_ = summary;
        summaryVersion_ = version_;
    }

    // The dividers show a full drawing of this version, apart from those a
    // way has lit since.
    bool dividersCurrent() const { return dividersVersion_ == version_; }
    void dividersDrawn() {
        dividersVersion_ = version_;
        lit_ = {};
    }
    void dividerLit(int index) {
        lit_[static_cast<std::size_t>(index / 64)] |= std::uint64_t{1} << (index % 64);
    }
    // Calls put(index) for every lit divider and forgets them.
    template <typename Put> void putBackLitDividers(Put put) {
        for (std::size_t word = 0; word < lit_.size(); ++word) {
            for (std::uint64_t rest = lit_[word]; rest != 0; rest &= rest - 1) {
                put(static_cast<int>(word) * 64 + std::countr_zero(rest));
            }
            lit_[word] = 0;
        }
    }

private:
    std::uint64_t version_ = 1;
    std::uint64_t summaryVersion_ = 0;
    GridSummary summary_;
    std::uint64_t dividersVersion_ = 0;
    std::array<std::uint64_t, 2> lit_{};
};
