#include "NinjaMatrix.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <utility>

namespace {

constexpr std::array<Side, 4> kSideOrder{Side::North, Side::West, Side::South, Side::East};

std::pair<int, int> Neighbour(int column, int row, Side side) {
    switch (side) {
    case Side::North:
        return {column, row - 1};
    case Side::West:
        return {column - 1, row};
    case Side::South:
        return {column, row + 1};
    case Side::East:
        return {column + 1, row};
    }
    return {column, row};
}

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
    Dividers.at(static_cast<std::size_t>(index)) = shape;
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

bool TNinjaMatrix::IsAvoided(int column, int row, const AvoidFlags& avoid) const {
    const int race = Sector(column, row).Race;
    return race >= 1 && race <= 6 && avoid.at(static_cast<std::size_t>(race - 1));
}

bool TNinjaMatrix::HasGate(int column, int row, Side side) const {
    const StarElement& sector = Sector(column, row);
    std::uint8_t flag = 0;
    switch (side) {
    case Side::North:
        flag = sector.NorthGate;
        break;
    case Side::West:
        flag = sector.WestGate;
        break;
    case Side::South:
        flag = sector.SouthGate;
        break;
    case Side::East:
        flag = sector.EastGate;
        break;
    }
    // A gate that leads off the grid counts as absent.
    const auto [nx, ny] = Neighbour(column, row, side);
    return flag == 1 && OnGrid(nx, ny);
}

bool TNinjaMatrix::FindWay(int startColumn, int startRow, int targetColumn, int targetRow,
                           const AvoidFlags& avoid, bool shortForm) {
    status_ = WayStatus{};
    try {
        ResetMatrix();
        MarkDistancesBreadthFirst(targetColumn, targetRow, avoid);
        TraceWay(startColumn, startRow, shortForm, false);
    } catch (...) {
        // What was written and painted up to the error stays.
        return false;
    }
    return true;
}

void TNinjaMatrix::MarkDistances(int column, int row, std::int32_t distance,
                                 const AvoidFlags& avoid) {
    if (IsAvoided(column, row, avoid)) {
        return;
    }
    StarElement& sector = Sector(column, row);
    if (sector.Distance <= distance) {
        return;
    }
    sector.Distance = distance;
    for (const Side side : kSideOrder) {
        if (HasGate(column, row, side)) {
            const auto [nx, ny] = Neighbour(column, row, side);
            MarkDistances(nx, ny, distance + 1, avoid);
        }
    }
}

void TNinjaMatrix::MarkDistancesBreadthFirst(int targetColumn, int targetRow,
                                             const AvoidFlags& avoid) {
    if (IsAvoided(targetColumn, targetRow, avoid)) {
        return;
    }
    // Each sector enters the queue once, with its final label: 64 at the most.
    std::array<std::pair<int, int>, GridSize * GridSize> queue{};
    std::size_t head = 0;
    std::size_t tail = 0;
    Sector(targetColumn, targetRow).Distance = 1;
    queue[tail++] = {targetColumn, targetRow};
    while (head < tail) {
        const auto [x, y] = queue[head++];
        const std::int32_t next = Sector(x, y).Distance + 1;
        for (const Side side : kSideOrder) {
            if (!HasGate(x, y, side)) {
                continue;
            }
            const auto [nx, ny] = Neighbour(x, y, side);
            StarElement& neighbour = Sector(nx, ny);
            if (neighbour.Distance <= next || IsAvoided(nx, ny, avoid)) {
                continue;
            }
            neighbour.Distance = next;
            queue[tail++] = {nx, ny};
        }
    }
}

void TNinjaMatrix::TraceWay(int column, int row, bool shortForm, bool boldMark) {
    for (;;) {
        StarElement& sector = Sector(column, row);
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
        // Only a strictly nearer neighbour is taken, so one-sided gates can
        // never lead the walk back to where it has been.
        std::int32_t best = std::min(sector.Distance, Unreached);
        bool chosen = false;
        Side step = Side::North;
        for (const Side side : kSideOrder) {
            if (!HasGate(column, row, side)) {
                continue;
            }
            const auto [nx, ny] = Neighbour(column, row, side);
            if (Sector(nx, ny).Distance < best) {
                best = Sector(nx, ny).Distance;
                step = side;
                chosen = true;
            }
        }
        if (!chosen) {
            status_.Message = "Navigation Error";
            return;
        }
        WriteLine(shortForm ? std::string(ShortFormPiece(step)) : sector.Name + FullFormPiece(step),
                  boldMark);
        HighlightDividerBetween(column, row, step);
        std::tie(column, row) = Neighbour(column, row, step);
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
    MapShape* divider = Divider(index);
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
            const bool linked = Sector(x, y).EastGate == 1 && Sector(x + 1, y).WestGate == 1;
            ShowDivider(EastWestDividerIndex(x, y), linked);
        }
    }
    for (int x = 0; x < GridSize; ++x) {
        for (int y = 0; y < GridSize - 1; ++y) {
            const bool linked = Sector(x, y).SouthGate == 1 && Sector(x, y + 1).NorthGate == 1;
            ShowDivider(NorthSouthDividerIndex(x, y), linked);
        }
    }
}

void TNinjaMatrix::ResetMatrix() {
    for (int x = 0; x < GridSize; ++x) {
        for (int y = 0; y < GridSize; ++y) {
            StarElement& sector = Sector(x, y);
            sector.Distance = Unreached;
            if (sector.Shape != nullptr) {
                sector.Shape->SetFillSolid(false);
            }
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
