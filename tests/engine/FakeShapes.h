#pragma once

#include "LineSink.h"
#include "MapShape.h"
#include "RouteEngine.h"

#include <array>
#include <ostream>
#include <string>
#include <vector>

// The outline every sector shape is laid out with.
inline constexpr Color kLaidOutOutline = 3653375;

// A map shape that only remembers what it was last told.
class FakeShape : public MapShape {
public:
    void setOutlineColor(Color color) override { outline = color; }
    void setFillColor(Color color) override { fill = color; }
    void setFillSolid(bool isSolid) override { solid = isSolid; }
    void setShapeVisible(bool isVisible) override { visible = isVisible; }
    void setHint(const std::string& text) override { hint = text; }
    void setColumn(int value) override { column = value; }
    void setRow(int value) override { row = value; }

    Color outline = kLaidOutOutline;
    Color fill = 0;
    bool solid = false;
    bool visible = true;
    std::string hint;
    int column = 0;
    int row = 0;
};

// The star map's 64 sector shapes and 112 dividers, bound to an engine the
// way the main window binds the real ones.
struct FakeStarMap {
    explicit FakeStarMap(RouteEngine& engine) {
        for (int x = 0; x < RouteEngine::GridSize; ++x) {
            for (int y = 0; y < RouteEngine::GridSize; ++y) {
                engine.bindSectorShape(x, y, &sectorShape(x, y));
            }
        }
        for (int i = 0; i < RouteEngine::DividerCount; ++i) {
            engine.bindDivider(i, &dividers.at(static_cast<std::size_t>(i)));
        }
    }

    FakeShape& sectorShape(int x, int y) { return sectors.at(static_cast<std::size_t>(8 * x + y)); }
    FakeShape& eastWest(int x, int y) {
        return dividers.at(static_cast<std::size_t>(eastWestDividerIndex(x, y)));
    }
    FakeShape& northSouth(int x, int y) {
        return dividers.at(static_cast<std::size_t>(northSouthDividerIndex(x, y)));
    }

    std::array<FakeShape, 64> sectors{};
    std::array<FakeShape, RouteEngine::DividerCount> dividers{};
};

struct RecordedLine {
    std::string text;
    bool bold = false;
    bool operator==(const RecordedLine&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const RecordedLine& line) {
    return out << '"' << line.text << '"' << (line.bold ? " bold" : " normal");
}

class FakeLineSink : public LineSink {
public:
    void appendLine(const std::string& text, bool bold) override { lines.push_back({text, bold}); }

    std::vector<RecordedLine> lines;
};

// --- Building universes in code --------------------------------------------

// Steps to the neighbour on each side, in the engine's order: north, west, south, east.
inline constexpr std::array<int, 4> kDx{0, -1, 0, 1};
inline constexpr std::array<int, 4> kDy{-1, 0, 1, 0};
inline constexpr std::array kSides{Side::North, Side::West, Side::South, Side::East};

inline std::uint8_t& gateFlag(StarElement& s, Side side) {
    return *std::array{&s.northGate, &s.westGate, &s.southGate, &s.eastGate}.at(
        static_cast<std::size_t>(side));
}

// A gate on one side only, as inconsistent data may have it.
inline void oneSidedGate(RouteEngine& engine, int x, int y, Side side) {
    gateFlag(engine.editSector(x, y), side) = 1;
}

// Facing gates on both sides of the link.
inline void linkLabel(RouteEngine& engine, int x, int y, Side side) {
    const auto i = static_cast<std::size_t>(side);
    oneSidedGate(engine, x, y, side);
    oneSidedGate(engine, x + kDx[i], y + kDy[i], kSides[(i + 2) % 4]);
}

// Every sector named "Sxy" (column, row), so lines tell where the way went.
// Built by appending: GCC 12 at -O3 reports a false -Wrestrict overlap for
// "S" + std::string (GCC bug 105651).
inline std::string gridName(int x, int y) {
    std::string name = "S";
    name += std::to_string(x);
    name += std::to_string(y);
    return name;
}

inline void nameEverySector(RouteEngine& engine) {
    for (int x = 0; x < RouteEngine::GridSize; ++x) {
        for (int y = 0; y < RouteEngine::GridSize; ++y) {
            engine.editSector(x, y).name = gridName(x, y);
        }
    }
}

// Distinct colours, so that a mix-up between two of them shows.
inline void paintWithDistinctColors(RouteEngine& engine) {
    engine.setRace1Color(0x000001);
    engine.setRace2Color(0x000002);
    engine.setRace3Color(0x000003);
    engine.setRace4Color(0x000004);
    engine.setRace5Color(0x000005);
    engine.setRace6Color(0x000006);
    engine.setStartPointColor(0x008000);
    engine.setTargetPointColor(0x0000FF);
    engine.setDividerColor(0x37BEFF);
    engine.setHighlightDividerColor(0xFFFFF0);
    engine.setWayPointColor(0xFFFFF1);
    engine.setHighLightColor(0xFFFFF2);
}

inline constexpr AvoidFlags kAvoidNone{};
inline constexpr AvoidFlags kAvoidXenon{false, false, false, false, false, true};
inline constexpr AvoidFlags kAvoidAll{true, true, true, true, true, true};
