#pragma once

#include "LineSink.h"
#include "MapShape.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

// One cell of the 8 by 8 grid: a star system, its owner and its four gates.
struct StarElement {
    // The file's bytes, undecoded; empty for a cell the file does not define.
    std::string Name;
    // 1 Borons, 2 Teladi, 3 Split, 4 Argons, 5 Paranids, 6 Xenon; anything else: no race.
    std::uint8_t Race = 0;
    // The search label: sectors on the way to the target, both ends counted.
    std::int32_t Distance = 2000;
    // 1 means a gate on that side; every other value means none.
    std::uint8_t NorthGate = 0;
    std::uint8_t WestGate = 0;
    std::uint8_t SouthGate = 0;
    std::uint8_t EastGate = 0;
    // The star-map shape that draws this sector, if one is bound.
    MapShape* Shape = nullptr;
};

// A failure to read the core data file; the message names the file and,
// for a bad line, its number.
class CoreDataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Column and row of a sector; 255 in either means "no such system".
struct SectorPosition {
    std::uint8_t Column = 255;
    std::uint8_t Row = 255;

    bool Known() const { return Column != 255 && Row != 255; }
    bool operator==(const SectorPosition&) const = default;
};

// The sides of a sector, in the order in which gates are stored, tried and
// preferred on ties.
enum class Side { North, West, South, East };

// Which races' systems a way must not enter; index 0 is race 1 (Borons).
using AvoidFlags = std::array<bool, 6>;

// What the last FindWay hands back beside its success flag.
struct WayStatus {
    bool Reached = false;
    int LinesWritten = 0;
    // Empty when a way was written, "Navigation Error" when there is none.
    std::string Message;
};

// The route engine: holds the universe grid, reads it from the core data
// file, finds systems by name, searches the way with the fewest gate jumps,
// writes it line by line and draws grid and way on the star map's shapes.
class TNinjaMatrix {
public:
    static constexpr int GridSize = MapGridSize;
    static constexpr int CellCount = MapSectorCount;
    static constexpr int DividerCount = MapDividerCount;
    static constexpr std::int32_t Unreached = 2000;
    static constexpr std::uint16_t NotFound = 0xFFFF;

    TNinjaMatrix();

    // --- Published properties -------------------------------------------
    const std::string& Filename() const { return filename_; }
    void SetFilename(std::string filename) { filename_ = std::move(filename); }
    LineSink* OutPutField() const { return outPutField_; }
    void SetOutPutField(LineSink* sink) { outPutField_ = sink; }
    Color Race1Color() const { return raceColors_[0]; }
    Color Race2Color() const { return raceColors_[1]; }
    Color Race3Color() const { return raceColors_[2]; }
    Color Race4Color() const { return raceColors_[3]; }
    Color Race5Color() const { return raceColors_[4]; }
    Color Race6Color() const { return raceColors_[5]; }
    void SetRace1Color(Color c) { raceColors_[0] = c; }
    void SetRace2Color(Color c) { raceColors_[1] = c; }
    void SetRace3Color(Color c) { raceColors_[2] = c; }
    void SetRace4Color(Color c) { raceColors_[3] = c; }
    void SetRace5Color(Color c) { raceColors_[4] = c; }
    void SetRace6Color(Color c) { raceColors_[5] = c; }
    // Race 1 to 6; the colour property of that number.
    Color RaceColor(int race) const { return raceColors_.at(static_cast<std::size_t>(race - 1)); }
    Color StartPointColor() const { return startPointColor_; }
    void SetStartPointColor(Color c) { startPointColor_ = c; }
    Color TargetPointColor() const { return targetPointColor_; }
    void SetTargetPointColor(Color c) { targetPointColor_ = c; }
    Color DividerColor() const { return dividerColor_; }
    void SetDividerColor(Color c) { dividerColor_ = c; }
    Color HighlightDividerColor() const { return highlightDividerColor_; }
    void SetHighlightDividerColor(Color c) { highlightDividerColor_ = c; }
    Color WayPointColor() const { return wayPointColor_; }
    void SetWayPointColor(Color c) { wayPointColor_ = c; }
    Color HighLightColor() const { return highLightColor_; }
    void SetHighLightColor(Color c) { highLightColor_ = c; }

    // --- The grid -----------------------------------------------------------
    const StarElement& Sector(int column, int row) const;
    // A sector that may be changed: the next search or drawing reads gates,
    // races and shapes afresh. Keep no such reference across a search.
    StarElement& Sector(int column, int row);
    // Dividers are numbered as EastWestDividerIndex and NorthSouthDividerIndex
    // (MapShape.h) give them.
    MapShape* Divider(int index) const { return dividers_.at(static_cast<std::size_t>(index)); }
    void BindSectorShape(int column, int row, MapShape* shape);
    void BindDivider(int index, MapShape* shape);
    // Forgets every shape, for a star map that goes away before the engine.
    void UnbindShapes();

    // --- Loading and lookup --------------------------------------------------
    // Reads Filename line by line; throws CoreDataError. Cells read before a
    // bad line keep their values.
    void LoadMatrix();
    // Exact, byte-for-byte lookup; column in the low byte, row in the high
    // byte, 255 in both when no cell carries the name.
    std::uint16_t FindSector(const std::string& name) const;
    SectorPosition FindSectorPosition(const std::string& name) const;

    // --- The search -----------------------------------------------------------
    // Resets the map, labels the grid from the target, then walks from the
    // start down the labels, painting and describing each step. True unless
    // an error arose inside; LastWayStatus tells whether a way was written.
    // The map ends up as after ResetMatrix and the walk, but of the dividers
    // only those the last way lit are drawn again, unless the gates, the
    // divider colour or the bound dividers changed since they were drawn.
    bool FindWay(int startColumn, int startRow, int targetColumn, int targetRow,
                 const AvoidFlags& avoid, bool shortForm);
    const WayStatus& LastWayStatus() const { return status_; }

    // Labels every sector with the number of sectors on the shortest way from
    // it to the target, both ends counted, level by level from the target. A
    // neighbour is labelled through its own gate toward this sector, the gate
    // a traveller leaves by; avoided sectors stay unlabelled.
    void MarkDistances(int targetColumn, int targetRow, const AvoidFlags& avoid);

    // --- Drawing ----------------------------------------------------------------
    void SetRaceColor(int column, int row);
    // Every divider: shown in DividerColor where both facing gates exist,
    // hidden elsewhere.
    void ShowDividers();
    // Every distance back to Unreached, every sector fill clear, then
    // ShowDividers.
    void ResetMatrix();
    void HighlightSector(int column, int row);
    void HighlightRace(int race);

private:
    // One label per cell, cells numbered column * 8 + row.
    using Labels = std::array<std::int32_t, CellCount>;

    // What searching and drawing read from the grid, one bit per cell (column
    // * 8 + row). Worked out again only after the grid may have changed.
    struct GridSummary {
        // Per side, north, west, south, east: the cells whose gate on that
        // side leads to another cell.
        std::array<std::uint64_t, 4> exits{};
        // The same per cell: bit 0 north ... bit 3 east.
        std::array<std::uint8_t, CellCount> cellExits{};
        // Per race 1 to 6: its cells.
        std::array<std::uint64_t, 6> races{};
        // Where both facing gates exist: by the cell west of an east-west
        // divider, and by the cell north of a north-south one.
        std::uint64_t eastWestLinks = 0;
        std::uint64_t northSouthLinks = 0;
        // The sector shapes by cell, and the bound ones in cell order.
        std::array<MapShape*, CellCount> shapes{};
        std::array<MapShape*, CellCount> boundShapes{};
        int boundCount = 0;
    };

    static bool OnGrid(int column, int row);
    static SectorPosition UnpackSector(std::uint16_t packed);
    static int CellIndex(int column, int row) { return column * GridSize + row; }
    StarElement& Cell(int index) {
        return matrix_[static_cast<std::size_t>(index / GridSize)]
                      [static_cast<std::size_t>(index % GridSize)];
    }
    const StarElement& Cell(int index) const {
        return matrix_[static_cast<std::size_t>(index / GridSize)]
                      [static_cast<std::size_t>(index % GridSize)];
    }
    const GridSummary& Summary();
    static std::uint64_t AvoidedCells(const GridSummary& grid, const AvoidFlags& avoid);
    static bool Linked(const GridSummary& grid, int dividerIndex);
    static void Label(const GridSummary& grid, int target, std::uint64_t avoided, Labels& labels);
    void WriteLabels(const Labels& labels);
    void Trace(const GridSummary& grid, const Labels& labels, int cell, bool shortForm);
    void LoadLine(const std::string& line, int lineNumber);
    void WriteLine(const std::string& text, bool bold);
    void HighlightDividerBetween(int cell, int side);
    void ClearSectorFills(const GridSummary& grid);
    bool DividersAsDrawn(const GridSummary& grid) const;
    void DrawDividers(const GridSummary& grid);
    void RestoreLitDividers(const GridSummary& grid);
    void ShowDivider(int index, bool linked);

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
    WayStatus status_;
    std::string line_;

    GridSummary grid_;
    bool gridChanged_ = true;
    // The dividers show the links and the colour of their last full drawing,
    // except those a search has lit since (bit i for divider i, in two words).
    bool dividersDrawn_ = false;
    std::uint64_t drawnEastWest_ = 0;
    std::uint64_t drawnNorthSouth_ = 0;
    Color drawnColor_ = 0;
    std::array<std::uint64_t, 2> litDividers_{};
};
