#include "NinjaMatrix.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

constexpr std::array<Side, 4> kSideOrder{Side::North, Side::West, Side::South, Side::East};

// Cells are numbered column * 8 + row; a step to the north, west, south or
// east neighbour adds these.
constexpr std::array<int, 4> kCellStep{-1, -TNinjaMatrix::GridSize, 1, TNinjaMatrix::GridSize};

constexpr int Opposite(int side) {
    return (side + 2) % 4;
}

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

const char* FullFormPiece(Side side) {
    switch (side) {
    case Side::North:
        return " through north-gate to";
    case Side::West:
        return " through west-gate to";
    case Side::South:
        return " through south-gate to";
    case Side::East:
        return " through east-gate to";
    }
    return "";
}

const char* ShortFormPiece(Side side) {
    switch (side) {
    case Side::North:
        return "north-gate";
    case Side::West:
        return "west-gate";
    case Side::South:
        return "south-gate";
    case Side::East:
        return "east-gate";
    }
    return "";
}

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
    return matrix_.at(static_cast<std::size_t>(column)).at(static_cast<std::size_t>(row));
}

void TNinjaMatrix::BindSectorShape(int column, int row, MapShape* shape) {
    Sector(column, row).Shape = shape;
}

void TNinjaMatrix::BindDivider(int index, MapShape* shape) {
    dividers_.at(static_cast<std::size_t>(index)) = shape;
}

void TNinjaMatrix::UnbindShapes() {
    for (int cell = 0; cell < CellCount; ++cell) {
        Cell(cell).Shape = nullptr;
    }
    dividers_.fill(nullptr);
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
        ResetMatrix();
        const ExitTable exits = Exits();
        LabelBreadthFirst(CellIndex(targetColumn, targetRow), exits, AvoidedCells(avoid));
        Trace(CellIndex(startColumn, startRow), exits, shortForm, false);
    } catch (...) {
        // What was written and painted up to the error stays.
        return false;
    }
    return true;
}

TNinjaMatrix::ExitTable TNinjaMatrix::Exits() const {
    ExitTable exits{};
    for (int cell = 0; cell < CellCount; ++cell) {
        const StarElement& sector = Cell(cell);
        const std::uint8_t flags =
            (sector.NorthGate == 1 ? 1U : 0U) | (sector.WestGate == 1 ? 2U : 0U) |
            (sector.SouthGate == 1 ? 4U : 0U) | (sector.EastGate == 1 ? 8U : 0U);
        // A gate that leads off the grid counts as absent.
        exits[static_cast<std::size_t>(cell)] =
            static_cast<std::uint8_t>(flags & kOnGridSides[static_cast<std::size_t>(cell)]);
    }
    return exits;
}

std::uint64_t TNinjaMatrix::AvoidedCells(const AvoidFlags& avoid) const {
    std::uint64_t avoided = 0;
    for (int cell = 0; cell < CellCount; ++cell) {
        const StarElement& sector = Cell(cell);
        if (IsAvoided(sector.Race, avoid)) {
            avoided |= std::uint64_t{1} << cell;
        }
    }
    return avoided;
}

bool TNinjaMatrix::IsAvoided(int race, const AvoidFlags& avoid) {
    return race >= 1 && race <= 6 && avoid[static_cast<std::size_t>(race - 1)];
}

// A sector is labelled from a neighbour only through its own gate toward that
// neighbour: the gate a traveller would leave by. With gates in matching pairs
// this is every link; with a one-sided gate the labels still describe ways
// that can really be flown, so the trace never runs into a dead end.
void TNinjaMatrix::MarkDistances(int targetColumn, int targetRow, const AvoidFlags& avoid) {
    LabelBreadthFirst(CellIndex(targetColumn, targetRow), Exits(), AvoidedCells(avoid));
}

void TNinjaMatrix::LabelBreadthFirst(int target, const ExitTable& exits, std::uint64_t avoided) {
    if ((avoided >> target) & 1U) {
        return;
    }
    // The labels are worked out in a small array of their own and written to
    // the grid once: the sector records are too large to walk quickly.
    std::array<std::int32_t, CellCount> labels{};
    for (int cell = 0; cell < CellCount; ++cell) {
        labels[static_cast<std::size_t>(cell)] = Cell(cell).Distance;
    }
    // Each sector enters the queue once, with its final label: 64 at the most.
    std::array<std::int8_t, CellCount> queue{};
    int head = 0;
    int tail = 0;
    labels[static_cast<std::size_t>(target)] =
        std::min(labels[static_cast<std::size_t>(target)], 1);
    queue[static_cast<std::size_t>(tail++)] = static_cast<std::int8_t>(target);
    while (head < tail) {
        const int cell = queue[static_cast<std::size_t>(head++)];
        const std::int32_t next = labels[static_cast<std::size_t>(cell)] + 1;
        const unsigned sides = kOnGridSides[static_cast<std::size_t>(cell)];
        for (int side = 0; side < 4; ++side) {
            if ((sides & (1U << side)) == 0) {
                continue;
            }
            const int neighbour = cell + kCellStep[static_cast<std::size_t>(side)];
            const auto n = static_cast<std::size_t>(neighbour);
            const bool gateBack = (exits[n] & (1U << Opposite(side))) != 0;
            if (!gateBack || ((avoided >> neighbour) & 1U) != 0 || labels[n] <= next) {
                continue;
            }
            labels[n] = next;
            queue[static_cast<std::size_t>(tail++)] = static_cast<std::int8_t>(neighbour);
        }
    }
    for (int cell = 0; cell < CellCount; ++cell) {
        Cell(cell).Distance = labels[static_cast<std::size_t>(cell)];
    }
}

void TNinjaMatrix::Trace(int cell, const ExitTable& exits, bool shortForm, bool boldMark) {
    for (;;) {
        StarElement& sector = Cell(cell);
        if (sector.Shape != nullptr) {
            sector.Shape->SetFillColor(wayPointColor_);
            sector.Shape->SetFillSolid(true);
        }
        boldMark = !boldMark;
        if (sector.Distance == 1) {
            WriteLine(sector.Name, boldMark);
            status_.Reached = true;
            return;
        }
        // Only a strictly nearer neighbour is taken, so the walk can never
        // come back to where it has been; ties go north, west, south, east.
        std::int32_t best = std::min(sector.Distance, Unreached);
        int chosen = -1;
        const unsigned gates = exits[static_cast<std::size_t>(cell)];
        for (int side = 0; side < 4; ++side) {
            if ((gates & (1U << side)) == 0) {
                continue;
            }
            const std::int32_t label =
                Cell(cell + kCellStep[static_cast<std::size_t>(side)]).Distance;
            if (label < best) {
                best = label;
                chosen = side;
            }
        }
        if (chosen < 0) {
            status_.Message = "Navigation Error";
            return;
        }
        const Side step = kSideOrder[static_cast<std::size_t>(chosen)];
        // The line is built in one buffer that lives with the engine, so a
        // search allocates nothing once the longest line has been seen.
        if (shortForm) {
            line_.assign(ShortFormPiece(step));
        } else {
            line_.assign(sector.Name).append(FullFormPiece(step));
        }
        WriteLine(line_, boldMark);
        HighlightDividerBetween(cell / GridSize, cell % GridSize, step);
        cell += kCellStep[static_cast<std::size_t>(chosen)];
    }
}

void TNinjaMatrix::WriteLine(const std::string& text, bool bold) {
    if (outPutField_ != nullptr) {
        outPutField_->AppendLine(text, bold);
    }
    ++status_.LinesWritten;
}

void TNinjaMatrix::HighlightDividerBetween(int column, int row, Side side) {
    int index = 0;
    switch (side) {
    case Side::North:
        index = NorthSouthDividerIndex(column, row - 1);
        break;
    case Side::West:
        index = EastWestDividerIndex(column - 1, row);
        break;
    case Side::South:
        index = NorthSouthDividerIndex(column, row);
        break;
    case Side::East:
        index = EastWestDividerIndex(column, row);
        break;
    }
    if (MapShape* divider = Divider(index)) {
        divider->SetFillColor(highlightDividerColor_);
        divider->SetFillSolid(true);
    }
}

// ---------------------------------------------------------------------------
// Drawing

void TNinjaMatrix::SetRaceColor(int column, int row) {
    const StarElement& sector = Sector(column, row);
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

void TNinjaMatrix::ShowDividers() {
    // A link is drawn only where both facing sides have a gate.
    for (int x = 0; x < GridSize - 1; ++x) {
        for (int y = 0; y < GridSize; ++y) {
            const bool linked =
                Cell(CellIndex(x, y)).EastGate == 1 && Cell(CellIndex(x + 1, y)).WestGate == 1;
            ShowDivider(EastWestDividerIndex(x, y), linked);
        }
    }
    for (int x = 0; x < GridSize; ++x) {
        for (int y = 0; y < GridSize - 1; ++y) {
            const bool linked =
                Cell(CellIndex(x, y)).SouthGate == 1 && Cell(CellIndex(x, y + 1)).NorthGate == 1;
            ShowDivider(NorthSouthDividerIndex(x, y), linked);
        }
    }
}

void TNinjaMatrix::ResetMatrix() {
    // Cells are numbered column by column, so this runs column 0 to 7 outside.
    for (int cell = 0; cell < CellCount; ++cell) {
        StarElement& sector = Cell(cell);
        sector.Distance = Unreached;
        if (sector.Shape != nullptr) {
            sector.Shape->SetFillSolid(false);
        }
    }
    ShowDividers();
}

void TNinjaMatrix::HighlightSector(int column, int row) {
    if (MapShape* shape = Sector(column, row).Shape) {
        shape->SetFillColor(highLightColor_);
        shape->SetFillSolid(true);
    }
}

void TNinjaMatrix::HighlightRace(int race) {
    ResetMatrix();
    for (int x = 0; x < GridSize; ++x) {
        for (int y = 0; y < GridSize; ++y) {
            if (Sector(x, y).Race == race) {
                HighlightSector(x, y);
            }
        }
    }
}
