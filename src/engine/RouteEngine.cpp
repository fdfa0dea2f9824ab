#include "RouteEngine.h"

#include "QuotedInput.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <utility>

namespace {

// Cells are numbered column * 8 + row; a step to the north, west, south or
// east neighbour adds these.
constexpr std::array<int, 4> kCellStep{-1, -RouteEngine::GridSize, 1, RouteEngine::GridSize};

// The sides as numbers, in the same order.
constexpr int kNorth = 0;
constexpr int kWest = 1;
constexpr int kSouth = 2;
constexpr int kEast = 3;

// For each cell, the sides (bit 0 north ... bit 3 east) that face another cell.
constexpr std::array<std::uint8_t, RouteEngine::CellCount> onGridSides() {
    std::array<std::uint8_t, RouteEngine::CellCount> sides{};
    for (int x = 0; x < RouteEngine::GridSize; ++x) {
        for (int y = 0; y < RouteEngine::GridSize; ++y) {
            unsigned mask = 0;
            mask |= y > 0 ? 1U : 0U;
            mask |= x > 0 ? 2U : 0U;
            mask |= y < RouteEngine::GridSize - 1 ? 4U : 0U;
            mask |= x < RouteEngine::GridSize - 1 ? 8U : 0U;
            sides[mapCellIndex(x, y)] = static_cast<std::uint8_t>(mask);
        }
    }
    return sides;
}
constexpr auto kOnGridSides = onGridSides();

// What a step adds to a line, by side in the order north, west, south, east:
// after the sector's name in the full form, alone in the short form.
constexpr std::array<std::string_view, 4> kFullFormPieces{
    " through north-gate to", " through west-gate to", " through south-gate to",
    " through east-gate to"};
constexpr std::array<std::string_view, 4> kShortFormPieces{"north-gate", "west-gate", "south-gate",
                                                           "east-gate"};

// The file's full path, so that a relative name still says where it was looked for.
std::string fullPath(const std::string& fileName) {
    std::error_code error;
    const auto full = std::filesystem::absolute(fileName, error);
    return error ? fileName : full.string();
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// Field names as the error messages give them, in file order.
constexpr std::array<const char*, 8> kFieldNames{
    "column", "row", "name", "race", "north gate", "west gate", "south gate", "east gate"};

class LineFields {
public:
    LineFields(const std::string& fileName, const std::string& line, int lineNumber)
        : fileName_(fileName)
        , rest_(line + ",")
        , lineNumber_(lineNumber) {}

    // The text before the next comma; a line that runs out of commas yields
    // empty fields, which then fail as numbers.
    std::string nextText() {
        const auto comma = rest_.find(',');
        std::string field;
        if (comma == std::string::npos) {
            field = std::move(rest_);
            rest_.clear();
        } else {
            field = rest_.substr(0, comma);
            rest_.erase(0, comma + 1);
        }
        ++fieldIndex_;
        return field;
    }

    long nextNumber() {
        const std::string text = nextText();
        const std::string digits = trimmed(text);
        errno = 0;
        char* end = nullptr;
        const long value = digits.empty() ? 0 : std::strtol(digits.c_str(), &end, 10);
        const bool whole = !digits.empty() && end != nullptr && *end == '\0' && errno == 0 &&
                           value >= INT32_MIN && value <= INT32_MAX;
        if (!whole) {
            fail("\"" + quotedInput(text) + "\" is not a whole number (" + currentFieldName() +
                 ")");
        }
        return value;
    }

    [[noreturn]] void fail(const std::string& what) const {
        std::ostringstream message;
        message << fileName_ << ", line " << lineNumber_ << ": " << what;
        throw CoreDataError(message.str());
    }

    std::string currentFieldName() const {
        return kFieldNames.at(static_cast<std::size_t>(fieldIndex_ - 1));
    }

private:
    const std::string& fileName_;
    std::string rest_;
    int lineNumber_;
    int fieldIndex_ = 0;
};

} // namespace

RouteEngine::RouteEngine() = default;

bool RouteEngine::onGrid(int column, int row) {
    return column >= 0 && column < GridSize && row >= 0 && row < GridSize;
}

const StarElement& RouteEngine::sectorAt(int column, int row) const {
    return matrix_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

StarElement& RouteEngine::editSector(int column, int row) {
    memory_.mapChanged();
    labelsUnreached_ = false;
    return matrix_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

void RouteEngine::bindSectorShape(int column, int row, MapShape* shape) {
    editSector(column, row).shape = shape;
}

void RouteEngine::bindDivider(int index, MapShape* shape) {
    dividers_.at(static_cast<std::size_t>(index)) = shape;
    memory_.mapChanged();
}

void RouteEngine::unbindShapes() {
    for (int cell = 0; cell < CellCount; ++cell) {
        cellAt(cell).shape = nullptr;
    }
    dividers_.fill(nullptr);
    memory_.mapChanged();
}

// ---------------------------------------------------------------------------
// Loading and lookup

// Whether the load ends or stops at a bad line, the map then shows the gate
// links of the cells read and no others: after a failure the start-up steps
// that would draw them are skipped, and the dividers must not suggest a
// universe that was never read.
void RouteEngine::loadMatrix() {
    try {
        readMatrixFile();
    } catch (...) {
        showDividers();
        throw;
    }
    showDividers();
}

void RouteEngine::readMatrixFile() {
    // Only a regular file is opened: a pipe or a device of that name would
    // keep the start waiting for ever, a folder reads as nothing.
    std::error_code kindUnknown;
    const bool regular = std::filesystem::is_regular_file(filename_, kindUnknown);
    std::ifstream file;
    if (regular) {
        file.open(filename_, std::ios::binary);
    }
    if (!regular || !file) {
        throw CoreDataError("Cannot open the core data file " + fullPath(filename_));
    }
    std::string line;
    int lineNumber = 0;
    // getline gives no extra empty line for a final line break, as wanted.
    while (std::getline(file, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        loadLine(line, lineNumber);
    }
    if (file.bad()) {
        throw CoreDataError("Cannot read the core data file " + fullPath(filename_));
    }
}

// A line is taken whole or not at all: a bad field leaves its cell as it was.
void RouteEngine::loadLine(const std::string& line, int lineNumber) {
    LineFields fields(filename_, line, lineNumber);
    const long column = fields.nextNumber();
    if (column < 0 || column >= GridSize) {
        fields.fail("column " + std::to_string(column) + " is outside 0 to 7");
    }
    const long row = fields.nextNumber();
    if (row < 0 || row >= GridSize) {
        fields.fail("row " + std::to_string(row) + " is outside 0 to 7");
    }
    StarElement read;
    read.name = fields.nextText();
    read.race = static_cast<std::uint8_t>(fields.nextNumber());
    read.northGate = static_cast<std::uint8_t>(fields.nextNumber());
    read.westGate = static_cast<std::uint8_t>(fields.nextNumber());
    read.southGate = static_cast<std::uint8_t>(fields.nextNumber());
    read.eastGate = static_cast<std::uint8_t>(fields.nextNumber());

    const int x = static_cast<int>(column);
    const int y = static_cast<int>(row);
    StarElement& sector = editSector(x, y);
    read.shape = sector.shape;
    sector = std::move(read);
    if (sector.shape != nullptr) {
        sector.shape->setColumn(x);
        sector.shape->setRow(y);
        sector.shape->setHint(sector.name);
    }
    setRaceColor(x, y);
}

std::uint16_t RouteEngine::findSector(const std::string& name) const {
    std::uint16_t found = NotFound;
    for (int x = 0; x < GridSize; ++x) {
        // A match ends the scan of this column only: a later column wins.
        for (int y = 0; y < GridSize; ++y) {
            if (sectorAt(x, y).name == name) {
                found = static_cast<std::uint16_t>(x | (y << 8));
                break;
            }
        }
    }
    return found;
}

SectorPosition RouteEngine::unpackSector(std::uint16_t packed) {
    return {static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>(packed >> 8)};
}

SectorPosition RouteEngine::findSectorPosition(const std::string& name) const {
    return unpackSector(findSector(name));
}

// ---------------------------------------------------------------------------
// The search

bool RouteEngine::findWay(int startColumn, int startRow, int targetColumn, int targetRow,
                          const AvoidFlags& avoid, bool shortForm) {
    status_ = WayStatus{};
    if (!onGrid(startColumn, startRow) || !onGrid(targetColumn, targetRow)) {
        return false;
    }
    try {
        const GridSummary& grid = summary();
        // The labels start over below.
        resetWayDrawing(grid);
        Labels labels;
        labels.fill(Unreached);
        label(grid, cellIndex(targetColumn, targetRow), avoidedCells(grid, avoid), labels);
        writeLabels(labels);
        trace(grid, labels, cellIndex(startColumn, startRow), shortForm);
    } catch (...) {
        // What was written and painted up to the error stays.
        return false;
    }
    return true;
}

const GridSummary& RouteEngine::summary() {
    if (memory_.summaryCurrent()) {
        return memory_.summary();
    }
    GridSummary grid;
    for (int cell = 0; cell < CellCount; ++cell) {
        const StarElement& sector = cellAt(cell);
        const auto c = static_cast<std::size_t>(cell);
        const std::uint64_t bit = std::uint64_t{1} << cell;
        const unsigned gates = (sector.northGate == 1 ? 1U : 0U) |
                               (sector.westGate == 1 ? 2U : 0U) |
                               (sector.southGate == 1 ? 4U : 0U) | (sector.eastGate == 1 ? 8U : 0U);
        // A gate that leads off the grid counts as absent.
        const unsigned exits = gates & kOnGridSides[c];
        grid.cellExits[c] = static_cast<std::uint8_t>(exits);
        for (std::size_t side = 0; side < 4; ++side) {
            if ((exits & (1U << side)) != 0) {
                grid.exits[side] |= bit;
            }
        }
        if (sector.race >= 1 && sector.race <= 6) {
            grid.races[static_cast<std::size_t>(sector.race - 1)] |= bit;
        }
        grid.shapes[c] = sector.shape;
        if (sector.shape != nullptr) {
            grid.boundShapes[static_cast<std::size_t>(grid.boundCount++)] = sector.shape;
        }
    }
    // The east gate of a cell faces the west gate of the cell 8 further on,
    // the south gate the north gate of the next cell; edge gates are gone.
    grid.eastWestLinks = grid.exits[kEast] & (grid.exits[kWest] >> GridSize);
    grid.northSouthLinks = grid.exits[kSouth] & (grid.exits[kNorth] >> 1);
    memory_.keepSummary(grid);
    return memory_.summary();
}

std::uint64_t RouteEngine::avoidedCells(const GridSummary& grid, const AvoidFlags& avoid) {
    std::uint64_t avoided = 0;
    for (std::size_t race = 0; race < avoid.size(); ++race) {
        if (avoid[race]) {
            avoided |= grid.races[race];
        }
    }
    return avoided;
}

// A sector is labelled from a neighbour only through its own gate toward that
// neighbour: the gate a traveller would leave by. With gates in matching pairs
// this is every link; with a one-sided gate the labels still describe ways
// that can really be flown, so the trace never runs into a dead end.
void RouteEngine::markDistances(int targetColumn, int targetRow, const AvoidFlags& avoid) {
    if (!onGrid(targetColumn, targetRow)) {
        return;
    }
    const GridSummary& grid = summary();
    Labels labels;
    for (int cell = 0; cell < CellCount; ++cell) {
        labels[static_cast<std::size_t>(cell)] = cellAt(cell).distance;
    }
    label(grid, cellIndex(targetColumn, targetRow), avoidedCells(grid, avoid), labels);
    writeLabels(labels);
}

// Breadth first, one level at a time on the bit sets: the cells one level
// further out are those whose gate leads into the current level. A label the
// grid already holds that is as low as the level stops the spreading there.
void RouteEngine::label(const GridSummary& grid, int target, std::uint64_t avoided,
                        Labels& labels) {
    const std::uint64_t targetBit = std::uint64_t{1} << target;
    if ((avoided & targetBit) != 0) {
        return;
    }
    std::int32_t& targetLabel = labels[static_cast<std::size_t>(target)];
    targetLabel = std::min(targetLabel, 1);
    std::int32_t level = targetLabel;
    std::uint64_t seen = targetBit | avoided;
    std::uint64_t frontier = targetBit;
    while (frontier != 0) {
        ++level;
        // A cell's north gate leads to the cell numbered one lower, its west
        // gate to the one 8 lower, and so on.
        std::uint64_t next =
            ((frontier << 1) & grid.exits[kNorth]) | ((frontier << GridSize) & grid.exits[kWest]) |
            ((frontier >> 1) & grid.exits[kSouth]) | ((frontier >> GridSize) & grid.exits[kEast]);
        next &= ~seen;
        seen |= next;
        for (std::uint64_t rest = next; rest != 0; rest &= rest - 1) {
            const auto cell = static_cast<std::size_t>(std::countr_zero(rest));
            if (labels[cell] > level) {
                labels[cell] = level;
            } else {
                next &= ~(std::uint64_t{1} << cell);
            }
        }
        frontier = next;
    }
}

void RouteEngine::writeLabels(const Labels& labels) {
    labelsUnreached_ = false;
    // Column by column, as the cells are numbered.
    auto label = labels.begin();
    for (auto& column : matrix_) {
        for (StarElement& sector : column) {
            sector.distance = *label++;
        }
    }
}

void RouteEngine::resetWayDrawing(const GridSummary& grid) {
    clearSectorFills(grid);
    if (memory_.dividersCurrent()) {
        putBackLitDividers(grid);
    } else {
        drawDividers(grid);
    }
}

void RouteEngine::trace(const GridSummary& grid, const Labels& labels, int cell, bool shortForm) {
    bool boldMark = false;
    // A way passes each sector at most once; a longer walk would be a fault
    // of the labels, and ends as a failed search instead of running on.
    for (int sectorsPassed = 1;; ++sectorsPassed) {
        if (sectorsPassed > CellCount) {
            throw std::logic_error("the way passes more sectors than the grid has");
        }
        const auto c = static_cast<std::size_t>(cell);
        paintWayPoint(grid, cell, wayPointColor_);
        boldMark = !boldMark;
        if (labels[c] == 1) {
            writeLine(cellAt(cell).name, boldMark);
            status_.reached = true;
            return;
        }
        // Only a strictly nearer neighbour is taken, so the walk can never
        // come back to where it has been; ties go north, west, south, east.
        std::int32_t best = std::min(labels[c], Unreached);
        int chosen = -1;
        const unsigned gates = grid.cellExits[c];
        for (int side = 0; side < 4; ++side) {
            if ((gates & (1U << side)) == 0) {
                continue;
            }
            const int neighbour = cell + kCellStep[static_cast<std::size_t>(side)];
            const std::int32_t label = labels[static_cast<std::size_t>(neighbour)];
            if (label < best) {
                best = label;
                chosen = side;
            }
        }
        if (chosen < 0) {
            status_.message = "Navigation Error";
            return;
        }
        writeStep(cell, chosen, boldMark, shortForm);
        cell += kCellStep[static_cast<std::size_t>(chosen)];
    }
}

void RouteEngine::paintWayPoint(const GridSummary& grid, int cell, Color color) {
    if (MapShape* shape = grid.shapes[static_cast<std::size_t>(cell)]) {
        shape->setFillColor(color);
        shape->setFillSolid(true);
    }
}

void RouteEngine::writeStep(int cell, int side, bool bold, bool shortForm) {
    // The line is built in one buffer that lives with the engine, so a
    // search allocates nothing once the longest line has been seen.
    const auto s = static_cast<std::size_t>(side);
    if (shortForm) {
        line_.assign(kShortFormPieces[s]);
    } else {
        line_.assign(cellAt(cell).name).append(kFullFormPieces[s]);
    }
    writeLine(line_, bold);
    highlightDividerBetween(cell, side);
}

void RouteEngine::writeLine(const std::string& text, bool bold) {
    if (outPutField_ != nullptr) {
        outPutField_->appendLine(text, bold);
    }
    ++status_.linesWritten;
}

void RouteEngine::highlightDividerBetween(int cell, int side) {
    const int column = cell / GridSize;
    const int row = cell % GridSize;
    int index = 0;
    switch (side) {
    case kNorth:
        index = northSouthDividerIndex(column, row - 1);
        break;
    case kWest:
        index = eastWestDividerIndex(column - 1, row);
        break;
    case kSouth:
        index = northSouthDividerIndex(column, row);
        break;
    default:
        index = eastWestDividerIndex(column, row);
        break;
    }
    if (MapShape* divider = dividers_[static_cast<std::size_t>(index)]) {
        // Noted first, so that the next search puts it back even if the
        // shape fails halfway.
        memory_.dividerLit(index);
        divider->setFillColor(highlightDividerColor_);
        divider->setFillSolid(true);
    }
}

// ---------------------------------------------------------------------------
// Drawing

void RouteEngine::setRaceColor(int column, int row) {
    const StarElement& sector = sectorAt(column, row);
    if (sector.shape != nullptr && sector.race >= 1 && sector.race <= 6) {
        sector.shape->setOutlineColor(raceColor(sector.race));
    }
}

void RouteEngine::showDivider(int index, bool linked) {
    MapShape* divider = dividers_[static_cast<std::size_t>(index)];
    if (divider == nullptr) {
        return;
    }
    if (linked) {
        divider->setFillColor(dividerColor_);
        divider->setFillSolid(true);
    }
    divider->setShapeVisible(linked);
}

bool RouteEngine::linked(const GridSummary& grid, int dividerIndex) {
    constexpr int eastWestCount = (GridSize - 1) * GridSize;
    if (dividerIndex < eastWestCount) {
        // Numbered like the cell west of it.
        return ((grid.eastWestLinks >> dividerIndex) & 1U) != 0;
    }
    const int northSouth = dividerIndex - eastWestCount;
    const int cell = cellIndex(northSouth / (GridSize - 1), northSouth % (GridSize - 1));
    return ((grid.northSouthLinks >> cell) & 1U) != 0;
}

void RouteEngine::showDividers() {
    drawDividers(summary());
}

// East-west dividers column by column, then north-south ones: the numbering's
// order. A link is drawn only where both facing sides have a gate.
void RouteEngine::drawDividers(const GridSummary& grid) {
    for (int index = 0; index < DividerCount; ++index) {
        showDivider(index, linked(grid, index));
    }
    memory_.dividersDrawn();
}

// Only the dividers a way lit differ from a full drawing; each gets what
// showDividers would give it, so a crossed one-sided link stays hidden.
void RouteEngine::putBackLitDividers(const GridSummary& grid) {
    memory_.putBackLitDividers([&](int index) { showDivider(index, linked(grid, index)); });
}

void RouteEngine::clearSectorFills(const GridSummary& grid) {
    // In cell order, column 0 to 7 outside.
    for (int i = 0; i < grid.boundCount; ++i) {
        grid.boundShapes[static_cast<std::size_t>(i)]->setFillSolid(false);
    }
}

void RouteEngine::resetMatrix() {
    for (int cell = 0; cell < CellCount; ++cell) {
        cellAt(cell).distance = Unreached;
    }
    clearSectorFills(summary());
    showDividers();
}

void RouteEngine::highlightSector(int column, int row) {
    if (MapShape* shape = sectorAt(column, row).shape) {
        shape->setFillColor(highLightColor_);
        shape->setFillSolid(true);
    }
}

void RouteEngine::highlightRace(int race) {
    resetMatrix();
    for (int cell = 0; cell < CellCount; ++cell) {
        if (cellAt(cell).race == race) {
            highlightSector(cell / GridSize, cell % GridSize);
        }
    }
}
