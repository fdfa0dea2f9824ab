#pragma once

#include "LineSink.h"
#include "MapMemory.h"
#include "MapShape.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// One cell of the 8 by 8 grid: a star system, its owner and its four gates.
struct StarElement {
    // The file's bytes, undecoded; empty for a cell the file does not define.
    std::string name;
    // 1 Borons, 2 Teladi, 3 Split, 4 Argons, 5 Paranids, 6 Xenon; anything else: no race.
    std::uint8_t race = 0;
    // The search label: sectors on the way to the target, both ends counted.
    std::int32_t distance = 2000;
    // 1 means a gate on that side; every other value means none.
    std::uint8_t northGate = 0;
    std::uint8_t westGate = 0;
    std::uint8_t southGate = 0;
    std::uint8_t eastGate = 0;
    // The star-map shape that draws this sector, if one is bound.
    MapShape* shape = nullptr;
};

// A failure to read the core data file; the message names the file and,
// for a bad line, its number.
class CoreDataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Column and row of a sector; 255 in either means "no such system".
struct SectorPosition {
    std::uint8_t column = 255;
    std::uint8_t row = 255;

    bool known() const { return column != 255 && row != 255; }
    bool operator==(const SectorPosition&) const = default;
};

// The sides of a sector, in the order in which gates are stored, tried and
// preferred on ties.
enum class Side { North, West, South, East };

// Which races' systems a way must not enter; index 0 is race 1 (Borons).
using AvoidFlags = std::array<bool, 6>;

// A way as the sectors it passes, start first and target last.
struct PlannedWay {
    std::vector<SectorPosition> sectors;
    // The sectors of avoided races on it, start and target included, in way order.
    std::vector<SectorPosition> avoided;
    int jumps() const { return static_cast<int>(sectors.size()) - 1; }
};

// What the last findWay hands back beside its success flag.
struct WayStatus {
    bool reached = false;
    int linesWritten = 0;
    // Empty when a way was written, "Navigation Error" when there is none.
    std::string message;
};

// The route engine: holds the universe grid, reads it from the core data
// file, finds systems by name, searches the way with the fewest gate jumps,
// writes it line by line and draws grid and way on the star map's shapes.
class RouteEngine {
public:
    static constexpr int GridSize = MapGridSize;
    static constexpr int CellCount = MapSectorCount;
    static constexpr int DividerCount = MapDividerCount;
    static constexpr std::int32_t Unreached = 2000;
    static constexpr std::uint16_t NotFound = 0xFFFF;

    RouteEngine();

    // --- Published properties -------------------------------------------
    const std::string& filename() const { return filename_; }
    void setFilename(std::string filename) { filename_ = std::move(filename); }
    LineSink* outputField() const { return outPutField_; }
    void setOutputField(LineSink* sink) { outPutField_ = sink; }
    Color race1Color() const { return raceColors_[0]; }
    Color race2Color() const { return raceColors_[1]; }
    Color race3Color() const { return raceColors_[2]; }
    Color race4Color() const { return raceColors_[3]; }
    Color race5Color() const { return raceColors_[4]; }
    Color race6Color() const { return raceColors_[5]; }
    void setRace1Color(Color c) { raceColors_[0] = c; }
    void setRace2Color(Color c) { raceColors_[1] = c; }
    void setRace3Color(Color c) { raceColors_[2] = c; }
    void setRace4Color(Color c) { raceColors_[3] = c; }
    void setRace5Color(Color c) { raceColors_[4] = c; }
    void setRace6Color(Color c) { raceColors_[5] = c; }
    // Race 1 to 6; the colour property of that number.
    Color raceColor(int race) const { return raceColors_.at(static_cast<std::size_t>(race - 1)); }
    Color startPointColor() const { return startPointColor_; }
    void setStartPointColor(Color c) { startPointColor_ = c; }
    Color targetPointColor() const { return targetPointColor_; }
    void setTargetPointColor(Color c) { targetPointColor_ = c; }
    Color dividerColor() const { return dividerColor_; }
    void setDividerColor(Color c) {
        dividerColor_ = c;
        memory_.mapChanged();
    }
    Color highlightDividerColor() const { return highlightDividerColor_; }
    void setHighlightDividerColor(Color c) { highlightDividerColor_ = c; }
    Color wayPointColor() const { return wayPointColor_; }
    void setWayPointColor(Color c) { wayPointColor_ = c; }
    Color highLightColor() const { return highLightColor_; }
    void setHighLightColor(Color c) { highLightColor_ = c; }
    // The warning look of avoided sectors on a least-avoided way.
    Color avoidedWayColor() const { return avoidedWayColor_; }
    void setAvoidedWayColor(Color color) { avoidedWayColor_ = color; }

    // --- The grid -----------------------------------------------------------
    const StarElement& sectorAt(int column, int row) const;
    // A sector to be changed: the next search or drawing reads gates, races
    // and shapes afresh. Keep no such reference across a search.
    StarElement& editSector(int column, int row);
    // Dividers are numbered as eastWestDividerIndex and northSouthDividerIndex
    // (MapShape.h) give them.
    MapShape* divider(int index) const { return dividers_.at(static_cast<std::size_t>(index)); }
    void bindSectorShape(int column, int row, MapShape* shape);
    void bindDivider(int index, MapShape* shape);
    // Forgets every shape, for a star map that goes away before the engine.
    void unbindShapes();

    // --- Loading and lookup --------------------------------------------------
    // Reads Filename line by line; throws CoreDataError. Cells read before a
    // bad line keep their values; the bad line changes nothing. Either way
    // the dividers then show the gate links of the cells read (showDividers).
    void loadMatrix();
    // Exact, byte-for-byte lookup; column in the low byte, row in the high
    // byte, 255 in both when no cell carries the name.
    std::uint16_t findSector(const std::string& name) const;
    SectorPosition findSectorPosition(const std::string& name) const;

    // --- The search -----------------------------------------------------------
    // Resets the map, labels the grid from the target, then walks from the
    // start down the labels, painting and describing each step. True unless
    // an error arose inside; lastWayStatus tells whether a way was written.
    // The map ends up as after resetMatrix and the walk, but of the dividers
    // only those the last way lit are drawn again, unless the gates, the
    // divider colour or the bound dividers changed since they were drawn.
    bool findWay(int startColumn, int startRow, int targetColumn, int targetRow,
                 const AvoidFlags& avoid, bool shortForm);
    const WayStatus& lastWayStatus() const { return status_; }

    // The way that enters the fewest sectors of avoided races (start and
    // target count when avoided), among those the fewest jumps; among equals
    // the side order (north, west, south, east) at each step from the start
    // decides. Plans only: writes nothing and draws nothing. Empty when no way
    // exists at all, even through avoided sectors.
    std::optional<PlannedWay> planLeastAvoidedWay(int startColumn, int startRow, int targetColumn,
                                                  int targetRow, const AvoidFlags& avoid);
    // As findWay, but along planLeastAvoidedWay's way: the map is reset, each
    // step is painted and described exactly as findWay does, and the avoided
    // sectors on it are filled in avoidedWayColor instead of the way-point
    // colour. lastWayStatus() tells whether a way was written. Returns false
    // only when an error arose inside.
    bool findLeastAvoidedWay(int startColumn, int startRow, int targetColumn, int targetRow,
                             const AvoidFlags& avoid, bool shortForm);

    // Labels every sector with the number of sectors on the shortest way from
    // it to the target, both ends counted, level by level from the target. A
    // neighbour is labelled through its own gate toward this sector, the gate
    // a traveller leaves by; avoided sectors stay unlabelled.
    void markDistances(int targetColumn, int targetRow, const AvoidFlags& avoid);

    // --- Drawing ----------------------------------------------------------------
    void setRaceColor(int column, int row);
    // Every divider: shown in dividerColor where both facing gates exist,
    // hidden elsewhere.
    void showDividers();
    // Every distance back to Unreached, every sector fill clear, then
    // showDividers.
    void resetMatrix();
    void highlightSector(int column, int row);
    void highlightRace(int race);

private:
    // One label per cell, cells numbered column * 8 + row.
    using Labels = std::array<std::int32_t, CellCount>;

    static bool onGrid(int column, int row);
    static SectorPosition unpackSector(std::uint16_t packed);
    static int cellIndex(int column, int row) { return column * GridSize + row; }
    StarElement& cellAt(int index) {
        return matrix_[static_cast<std::size_t>(index / GridSize)]
                      [static_cast<std::size_t>(index % GridSize)];
    }
    const StarElement& cellAt(int index) const {
        return matrix_[static_cast<std::size_t>(index / GridSize)]
                      [static_cast<std::size_t>(index % GridSize)];
    }
    const GridSummary& summary();
    static std::uint64_t avoidedCells(const GridSummary& grid, const AvoidFlags& avoid);
    static bool linked(const GridSummary& grid, int dividerIndex);
    static void label(const GridSummary& grid, int target, std::uint64_t avoided, Labels& labels);
    void writeLabels(const Labels& labels);
    // Every label back to Unreached, unless they are so already.
    void clearLabels();
    // Clears the fills and puts the dividers back, as resetMatrix draws them.
    void resetWayDrawing(const GridSummary& grid);
    void trace(const GridSummary& grid, const Labels& labels, int cell, bool shortForm);
    void readMatrixFile();
    void paintWayPoint(const GridSummary& grid, int cell, Color color);
    // The line of a step through the gate on that side, and its lit divider.
    void writeStep(int cell, int side, bool bold, bool shortForm);

    // A way as its cells and the side of each step, held in place so that a
    // search allocates nothing.
    struct WayCells {
        // Only the first length cells and length - 1 sides are set.
        std::array<std::uint8_t, CellCount> cells{};
        std::array<std::uint8_t, CellCount> sides{};
        int length = 0;
    };
    static bool planLeastAvoided(const GridSummary& grid, int start, int target,
                                 std::uint64_t avoided, WayCells& way);
    void describeWay(const GridSummary& grid, const WayCells& way, std::uint64_t avoided,
                     bool shortForm);
    void loadLine(const std::string& line, int lineNumber);
    void writeLine(const std::string& text, bool bold);
    void highlightDividerBetween(int cell, int side);
    void clearSectorFills(const GridSummary& grid);
    void drawDividers(const GridSummary& grid);
    void putBackLitDividers(const GridSummary& grid);
    void showDivider(int index, bool linked);

    std::array<std::array<StarElement, GridSize>, GridSize> matrix_{};
    std::array<MapShape*, DividerCount> dividers_{};
    std::string filename_;
    LineSink* outPutField_ = nullptr;
    std::array<Color, 6> raceColors_{};
    Color startPointColor_ = 0;
    Color targetPointColor_ = 0;
    Color dividerColor_ = 0;
    Color highlightDividerColor_ = 0;
    Color wayPointColor_ = 0;
    Color highLightColor_ = 0;
    // A clear warning red, RGB 255, 0, 0.
    Color avoidedWayColor_ = 0x0000FF;
    WayStatus status_;
    std::string line_;
    // Every label is Unreached: nothing has written one since they were cleared.
    bool labelsUnreached_ = false;

    MapMemory memory_;
};
