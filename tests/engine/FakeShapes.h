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
    void SetOutlineColor(Color color) override { outline = color; }
    void SetFillColor(Color color) override { fill = color; }
    void SetFillSolid(bool isSolid) override { solid = isSolid; }
    void SetShapeVisible(bool isVisible) override { visible = isVisible; }
    void SetHint(const std::string& text) override { hint = text; }
    void SetColumn(int value) override { column = value; }
    void SetRow(int value) override { row = value; }

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
    explicit FakeStarMap(TNinjaMatrix& engine) {
        for (int x = 0; x < TNinjaMatrix::GridSize; ++x) {
            for (int y = 0; y < TNinjaMatrix::GridSize; ++y) {
                engine.BindSectorShape(x, y, &SectorShape(x, y));
            }
        }
        for (int i = 0; i < TNinjaMatrix::DividerCount; ++i) {
            engine.BindDivider(i, &dividers.at(static_cast<std::size_t>(i)));
        }
    }

    FakeShape& SectorShape(int x, int y) { return sectors.at(static_cast<std::size_t>(8 * x + y)); }
    FakeShape& EastWest(int x, int y) {
        return dividers.at(static_cast<std::size_t>(EastWestDividerIndex(x, y)));
    }
    FakeShape& NorthSouth(int x, int y) {
        return dividers.at(static_cast<std::size_t>(NorthSouthDividerIndex(x, y)));
    }

    std::array<FakeShape, 64> sectors{};
    std::array<FakeShape, TNinjaMatrix::DividerCount> dividers{};
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
    void AppendLine(const std::string& text, bool bold) override { lines.push_back({text, bold}); }

    std::vector<RecordedLine> lines;
};

// --- Building universes in code --------------------------------------------

// Steps to the neighbour on each side, in the engine's order: north, west, south, east.
inline constexpr std::array<int, 4> kDx{0, -1, 0, 1};
inline constexpr std::array<int, 4> kDy{-1, 0, 1, 0};
inline constexpr std::array kSides{Side::North, Side::West, Side::South, Side::East};

inline std::uint8_t& GateFlag(StarElement& s, Side side) {
    return *std::array{&s.NorthGate, &s.WestGate, &s.SouthGate, &s.EastGate}.at(
        static_cast<std::size_t>(side));
}

// A gate on one side only, as inconsistent data may have it.
inline void OneSidedGate(TNinjaMatrix& engine, int x, int y, Side side) {
    GateFlag(engine.Sector(x, y), side) = 1;
}

// Facing gates on both sides of the link.
inline void Link(TNinjaMatrix& engine, int x, int y, Side side) {
    const auto i = static_cast<std::size_t>(side);
    OneSidedGate(engine, x, y, side);
    OneSidedGate(engine, x + kDx[i], y + kDy[i], kSides[(i + 2) % 4]);
}

// Every sector named "Sxy" (column, row), so lines tell where the way went.
// Built by appending: GCC 12 at -O3 reports a false -Wrestrict overlap for
// "S" + std::string (GCC bug 105651).
inline std::string GridName(int x, int y) {
    std::string name = "S";
    name += std::to_string(x);
    name += std::to_string(y);
    return name;
}

inline void NameEverySector(TNinjaMatrix& engine) {
    for (int x = 0; x < TNinjaMatrix::GridSize; ++x) {
        for (int y = 0; y < TNinjaMatrix::GridSize; ++y) {
            engine.Sector(x, y).Name = GridName(x, y);
        }
    }
}

// Distinct colours, so that a mix-up between two of them shows.
inline void PaintWithDistinctColors(TNinjaMatrix& engine) {
    engine.SetRace1Color(0x000001);
    engine.SetRace2Color(0x000002);
    engine.SetRace3Color(0x000003);
    engine.SetRace4Color(0x000004);
    engine.SetRace5Color(0x000005);
    engine.SetRace6Color(0x000006);
    engine.SetStartPointColor(0x008000);
    engine.SetTargetPointColor(0x0000FF);
    engine.SetDividerColor(0x37BEFF);
    engine.SetHighlightDividerColor(0xFFFFF0);
    engine.SetWayPointColor(0xFFFFF1);
    engine.SetHighLightColor(0xFFFFF2);
}

inline constexpr AvoidFlags kAvoidNone{};
inline constexpr AvoidFlags kAvoidXenon{false, false, false, false, false, true};
inline constexpr AvoidFlags kAvoidAll{true, true, true, true, true, true};
