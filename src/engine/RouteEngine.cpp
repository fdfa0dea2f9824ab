#include "RouteEngine.h"

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
constexpr std::array<int, 4> kCellStep{-1, -TNinjaMatrix::GridSize, 1, TNinjaMatrix::GridSize};

// The sides as numbers, in the same order.
constexpr int kNorth = 0;
constexpr int kWest = 1;
constexpr int kSouth = 2;
constexpr int kEast = 3;

// For each cell, the sides (bit 0 north ... bit 3 east) that face another cell.
constexpr std::array<std::uint8_t, TNinjaMatrix::CellCount> OnGridSides() {
    std::array<std::uint8_t, TNinjaMatrix::CellCount> sides{};
    for (int x = 0; x < TNinjaMatrix::GridSize; ++x) {
        for (int y = 0; y < TNinjaMatrix::GridSize; ++y) {
            unsigned mask = 0;
            mask |= y > 0 ? 1U : 0U;
            mask |= x > 0 ? 2U : 0U;
            mask |= y < TNinjaMatrix::GridSize - 1 ? 4U : 0U;
            mask |= x < TNinjaMatrix::GridSize - 1 ? 8U : 0U;
            sides[static_cast<std::size_t>(x * TNinjaMatrix::GridSize + y)] =
                static_cast<std::uint8_t>(mask);
        }
    }
    return sides;
}
constexpr auto kOnGridSides = OnGridSides();

// What a step adds to a line, by side in the order north, west, south, east:
// after the sector's name in the full form, alone in the short form.
constexpr std::array<std::string_view, 4> kFullFormPieces{
    " through north-gate to", " through west-gate to", " through south-gate to",
    " through east-gate to"};
constexpr std::array<std::string_view, 4> kShortFormPieces{"north-gate", "west-gate", "south-gate",
                                                           "east-gate"};

// The file's full path, so that a relative name still says where it was looked for.
std::string FullPath(const std::string& fileName) {
    std::error_code error;
    const auto full = std::filesystem::absolute(fileName, error);
    return error ? fileName : full.string();
}

std::string Trimmed(const std::string& text) {
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
    std::string NextText() {
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

    long NextNumber() {
        const std::string text = NextText();
        const std::string digits = Trimmed(text);
        errno = 0;
        char* end = nullptr;
        const long value = digits.empty() ? 0 : std::strtol(digits.c_str(), &end, 10);
        const bool whole = !digits.empty() && end != nullptr && *end == '\0' && errno == 0 &&
                           value >= INT32_MIN && value <= INT32_MAX;
        if (!whole) {
            Fail("\"" + text + "\" is not a whole number (" + CurrentFieldName() + ")");
        }
        return value;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        std::ostringstream message;
        message << fileName_ << ", line " << lineNumber_ << ": " << what;
        throw CoreDataError(message.str());
    }

    std::string CurrentFieldName() const {
        return kFieldNames.at(static_cast<std::size_t>(fieldIndex_ - 1));
    }

private:
    const std::string& fileName_;
    std::string rest_;
    int lineNumber_;
    int fieldIndex_ = 0;
};

} // namespace

TNinjaMatrix::TNinjaMatrix() = default;

bool TNinjaMatrix::OnGrid(int column, int row) {
    return column >= 0 && column < GridSize && row >= 0 && row < GridSize;
}

const StarElement& TNinjaMatrix::Sector(int column, int row) const {
    return matrix_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

StarElement& TNinjaMatrix::Sector(int column, int row) {
    gridChanged_ = true;
    return matrix_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

void TNinjaMatrix::BindSectorShape(int column, int row, MapShape* shape) {
    Sector(column, row).Shape = shape;
}

void TNinjaMatrix::BindDivider(int index, MapShape* shape) {
    dividers_.at(static_cast<std::size_t>(index)) = shape;
    dividersDrawn_ = false;
}

void TNinjaMatrix::UnbindShapes() {
    for (int cell = 0; cell < CellCount; ++cell) {
        Cell(cell).Shape = nullptr;
    }
    dividers_.fill(nullptr);
    gridChanged_ = true;
    dividersDrawn_ = false;
}

// ---------------------------------------------------------------------------
// Loading and lookup

void TNinjaMatrix::LoadMatrix() {
    std::ifstream file(filename_, std::ios::binary);
    if (!file) {
        throw CoreDataError("Cannot open the core data file " + FullPath(filename_));
    }
    std::string line;
    int lineNumber = 0;
    // getline gives no extra empty line for a final line break, as wanted.
    while (std::getline(file, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        LoadLine(line, lineNumber);
    }
    if (file.bad()) {
        throw CoreDataError("Cannot read the core data file " + FullPath(filename_));
    }
}

void TNinjaMatrix::LoadLine(const std::string& line, int lineNumber) {
    LineFields fields(filename_, line, lineNumber);
    const long column = fields.NextNumber();
    if (column < 0 || column >= GridSize) {
        fields.Fail("column " + std::to_string(column) + " is outside 0 to 7");
    }
    const long row = fields.NextNumber();
    if (row < 0 || row >= GridSize) {
        fields.Fail("row " + std::to_string(row) + " is outside 0 to 7");
    }
    const int x = static_cast<int>(column);
    const int y = static_cast<int>(row);
    StarElement& sector = Sector(x, y);
    if (sector.Shape != nullptr) {
        sector.Shape->SetColumn(x);
        sector.Shape->SetRow(y);
    }
    sector.Distance = Unreached;
    sector.Name = fields.NextText();
    if (sector.Shape != nullptr) {
        sector.Shape->SetHint(sector.Name);
    }
    sector.Race = static_cast<std::uint8_t>(fields.NextNumber());
    sector.NorthGate = static_cast<std::uint8_t>(fields.NextNumber());
    sector.WestGate = static_cast<std::uint8_t>(fields.NextNumber());
    sector.SouthGate = static_cast<std::uint8_t>(fields.NextNumber());
    sector.EastGate = static_cast<std::uint8_t>(fields.NextNumber());
    SetRaceColor(x, y);
}

std::uint16_t TNinjaMatrix::FindSector(const std::string& name) const {
    std::uint16_t found = NotFound;
    for (int x = 0; x < GridSize; ++x) {
        // A match ends the scan of this column only: a later column wins.
        for (int y = 0; y < GridSize; ++y) {
            if (Sector(x, y).Name == name) {
                found = static_cast<std::uint16_t>(x | (y << 8));
                break;
            }
        }
    }
    return found;
}

SectorPosition TNinjaMatrix::UnpackSector(std::uint16_t packed) {
    return {static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>(packed >> 8)};
}

SectorPosition TNinjaMatrix::FindSectorPosition(const std::string& name) const {
    return UnpackSector(FindSector(name));
}

// ---------------------------------------------------------------------------
// The search

bool TNinjaMatrix::FindWay(int startColumn, int startRow, int targetColumn, int targetRow,
                           const AvoidFlags& avoid, bool shortForm) {
    status_ = WayStatus{};
    if (!OnGrid(startColumn, startRow) || !OnGrid(targetColumn, targetRow)) {
        return false;
    }
    try {
        const GridSummary& grid = Summary();
        // The reset: the labels start over below, every fill is cleared, and
        // the dividers are put back as ShowDividers would draw them.
        ClearSectorFills(grid);
        if (DividersAsDrawn(grid)) {
            RestoreLitDividers(grid);
        } else {
            DrawDividers(grid);
        }
        Labels labels;
        labels.fill(Unreached);
        Label(grid, CellIndex(targetColumn, targetRow), AvoidedCells(grid, avoid), labels);
        WriteLabels(labels);
        Trace(grid, labels, CellIndex(startColumn, startRow), shortForm);
    } catch (...) {
        // What was written and painted up to the error stays.
        return false;
    }
    return true;
}

const TNinjaMatrix::GridSummary& TNinjaMatrix::Summary() {
    if (!gridChanged_) {
        return grid_;
    }
    GridSummary grid;
    for (int cell = 0; cell < CellCount; ++cell) {
        const StarElement& sector = Cell(cell);
        const auto c = static_cast<std::size_t>(cell);
        const std::uint64_t bit = std::uint64_t{1} << cell;
        const unsigned gates = (sector.NorthGate == 1 ? 1U : 0U) |
                               (sector.WestGate == 1 ? 2U : 0U) |
                               (sector.SouthGate == 1 ? 4U : 0U) | (sector.EastGate == 1 ? 8U : 0U);
        // A gate that leads off the grid counts as absent.
        const unsigned exits = gates & kOnGridSides[c];
        grid.cellExits[c] = static_cast<std::uint8_t>(exits);
        for (std::size_t side = 0; side < 4; ++side) {
            if ((exits & (1U << side)) != 0) {
                grid.exits[side] |= bit;
            }
        }
        if (sector.Race >= 1 && sector.Race <= 6) {
            grid.races[static_cast<std::size_t>(sector.Race - 1)] |= bit;
        }
        grid.shapes[c] = sector.Shape;
        if (sector.Shape != nullptr) {
            grid.boundShapes[static_cast<std::size_t>(grid.boundCount++)] = sector.Shape;
        }
    }
    // The east gate of a cell faces the west gate of the cell 8 further on,
    // the south gate the north gate of the next cell; edge gates are gone.
    grid.eastWestLinks = grid.exits[kEast] & (grid.exits[kWest] >> GridSize);
    grid.northSouthLinks = grid.exits[kSouth] & (grid.exits[kNorth] >> 1);
    grid_ = grid;
    gridChanged_ = false;
    return grid_;
}

std::uint64_t TNinjaMatrix::AvoidedCells(const GridSummary& grid, const AvoidFlags& avoid) {
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
void TNinjaMatrix::MarkDistances(int targetColumn, int targetRow, const AvoidFlags& avoid) {
    if (!OnGrid(targetColumn, targetRow)) {
        return;
    }
    const GridSummary& grid = Summary();
    Labels labels;
    for (int cell = 0; cell < CellCount; ++cell) {
        labels[static_cast<std::size_t>(cell)] = Cell(cell).Distance;
    }
    Label(grid, CellIndex(targetColumn, targetRow), AvoidedCells(grid, avoid), labels);
    WriteLabels(labels);
}

// Breadth first, one level at a time on the bit sets: the cells one level
// further out are those whose gate leads into the current level. A label the
// grid already holds that is as low as the level stops the spreading there.
void TNinjaMatrix::Label(const GridSummary& grid, int target, std::uint64_t avoided,
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

void TNinjaMatrix::WriteLabels(const Labels& labels) {
    // Column by column, as the cells are numbered.
    auto label = labels.begin();
    for (auto& column : matrix_) {
        for (StarElement& sector : column) {
            sector.Distance = *label++;
        }
    }
}

void TNinjaMatrix::Trace(const GridSummary& grid, const Labels& labels, int cell, bool shortForm) {
    bool boldMark = false;
    for (;;) {
        const auto c = static_cast<std::size_t>(cell);
        if (MapShape* shape = grid.shapes[c]) {
            shape->SetFillColor(wayPointColor_);
            shape->SetFillSolid(true);
        }
        boldMark = !boldMark;
        if (labels[c] == 1) {
            WriteLine(Cell(cell).Name, boldMark);
            status_.Reached = true;
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
            const std::int32_t label =
                labels[static_cast<std::size_t>(cell + kCellStep[static_cast<std::size_t>(side)])];
            if (label < best) {
                best = label;
                chosen = side;
            }
        }
        if (chosen < 0) {
            status_.Message = "Navigation Error";
            return;
        }
        // The line is built in one buffer that lives with the engine, so a
        // search allocates nothing once the longest line has been seen.
        const auto side = static_cast<std::size_t>(chosen);
        if (shortForm) {
            line_.assign(kShortFormPieces[side]);
        } else {
            line_.assign(Cell(cell).Name).append(kFullFormPieces[side]);
        }
        WriteLine(line_, boldMark);
        HighlightDividerBetween(cell, chosen);
        cell += kCellStep[static_cast<std::size_t>(chosen)];
    }
}

void TNinjaMatrix::WriteLine(const std::string& text, bool bold) {
    if (outPutField_ != nullptr) {
        outPutField_->AppendLine(text, bold);
    }
    ++status_.LinesWritten;
}

void TNinjaMatrix::HighlightDividerBetween(int cell, int side) {
    const int column = cell / GridSize;
    const int row = cell % GridSize;
    int index = 0;
    switch (side) {
    case kNorth:
        index = NorthSouthDividerIndex(column, row - 1);
        break;
    case kWest:
        index = EastWestDividerIndex(column - 1, row);
        break;
    case kSouth:
        index = NorthSouthDividerIndex(column, row);
        break;
    default:
        index = EastWestDividerIndex(column, row);
        break;
    }
    if (MapShape* divider = dividers_[static_cast<std::size_t>(index)]) {
        // Noted first, so that the next search puts it back even if the
        // shape fails halfway.
        litDividers_[static_cast<std::size_t>(index / 64)] |= std::uint64_t{1} << (index % 64);
        divider->SetFillColor(highlightDividerColor_);
        divider->SetFillSolid(true);
    }
}

// ---------------------------------------------------------------------------
// Drawing

void TNinjaMatrix::SetRaceColor(int column, int row) {
    const StarElement& sector = std::as_const(*this).Sector(column, row);
    if (sector.Shape != nullptr && sector.Race >= 1 && sector.Race <= 6) {
        sector.Shape->SetOutlineColor(RaceColor(sector.Race));
    }
}

void TNinjaMatrix::ShowDivider(int index, bool linked) {
    MapShape* divider = dividers_[static_cast<std::size_t>(index)];
    if (divider == nullptr) {
        return;
    }
    if (linked) {
        divider->SetFillColor(dividerColor_);
        divider->SetFillSolid(true);
    }
    divider->SetShapeVisible(linked);
}

bool TNinjaMatrix::Linked(const GridSummary& grid, int dividerIndex) {
    constexpr int eastWestCount = (GridSize - 1) * GridSize;
    if (dividerIndex < eastWestCount) {
        // Numbered like the cell west of it.
        return ((grid.eastWestLinks >> dividerIndex) & 1U) != 0;
    }
    const int northSouth = dividerIndex - eastWestCount;
    const int cell = CellIndex(northSouth / (GridSize - 1), northSouth % (GridSize - 1));
    return ((grid.northSouthLinks >> cell) & 1U) != 0;
}

void TNinjaMatrix::ShowDividers() {
    DrawDividers(Summary());
}

// East-west dividers column by column, then north-south ones: the numbering's
// order. A link is drawn only where both facing sides have a gate.
void TNinjaMatrix::DrawDividers(const GridSummary& grid) {
    dividersDrawn_ = false;
    for (int index = 0; index < DividerCount; ++index) {
        ShowDivider(index, Linked(grid, index));
    }
    drawnEastWest_ = grid.eastWestLinks;
    drawnNorthSouth_ = grid.northSouthLinks;
    drawnColor_ = dividerColor_;
    litDividers_ = {};
    dividersDrawn_ = true;
}

bool TNinjaMatrix::DividersAsDrawn(const GridSummary& grid) const {
    return dividersDrawn_ && drawnEastWest_ == grid.eastWestLinks &&
           drawnNorthSouth_ == grid.northSouthLinks && drawnColor_ == dividerColor_;
}

// Only the dividers a way lit differ from a full drawing; each gets what
// ShowDividers would give it, so a crossed one-sided link stays hidden.
void TNinjaMatrix::RestoreLitDividers(const GridSummary& grid) {
    for (std::size_t word = 0; word < litDividers_.size(); ++word) {
        for (std::uint64_t rest = litDividers_[word]; rest != 0; rest &= rest - 1) {
            const int index = static_cast<int>(word) * 64 + std::countr_zero(rest);
            ShowDivider(index, Linked(grid, index));
        }
        litDividers_[word] = 0;
    }
}

void TNinjaMatrix::ClearSectorFills(const GridSummary& grid) {
    // In cell order, column 0 to 7 outside.
    for (int i = 0; i < grid.boundCount; ++i) {
        grid.boundShapes[static_cast<std::size_t>(i)]->SetFillSolid(false);
    }
}

void TNinjaMatrix::ResetMatrix() {
    for (int cell = 0; cell < CellCount; ++cell) {
        Cell(cell).Distance = Unreached;
    }
    ClearSectorFills(Summary());
    ShowDividers();
}

void TNinjaMatrix::HighlightSector(int column, int row) {
    if (MapShape* shape = std::as_const(*this).Sector(column, row).Shape) {
        shape->SetFillColor(highLightColor_);
        shape->SetFillSolid(true);
    }
}

void TNinjaMatrix::HighlightRace(int race) {
    ResetMatrix();
    for (int cell = 0; cell < CellCount; ++cell) {
        if (Cell(cell).Race == race) {
            HighlightSector(cell / GridSize, cell % GridSize);
        }
    }
}
