// Checks the universe files that ship with the program: the grid must be
// sound for the search, and the reference tree must read cleanly and cover
// every system of the grid.
#include "RouteEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kSize = TNinjaMatrix::GridSize;
constexpr AvoidFlags kAvoidNothing{};
constexpr AvoidFlags kAvoidXenon{false, false, false, false, false, true};

// The cells the star map never shows; the shipped grid leaves them empty.
const std::set<std::pair<int, int>> kHiddenCells{{7, 0}, {7, 1}, {7, 4}, {7, 5}, {7, 6},
                                                 {0, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}};

// The data files are copied next to the test binary, which is also where the
// tests run; the binary's own folder covers a run from elsewhere.
fs::path DataFile(const std::string& name) {
    if (fs::exists(fs::current_path() / name)) {
        return fs::current_path() / name;
    }
    return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

const TNinjaMatrix& ShippedGrid() {
    static const TNinjaMatrix grid = [] {
        TNinjaMatrix matrix;
        matrix.SetFilename(DataFile("core.vr").string());
        matrix.LoadMatrix();
        return matrix;
    }();
    return grid;
}

bool Hidden(int column, int row) {
    return kHiddenCells.count({column, row}) != 0;
}

bool Defined(int column, int row) {
    return column >= 0 && column < kSize && row >= 0 && row < kSize &&
           !ShippedGrid().Sector(column, row).Name.empty();
}

// Gate jumps from every sector to the target; -1 where the target can't be reached.
using Jumps = std::array<std::array<int, kSize>, kSize>;

Jumps JumpsTo(int targetColumn, int targetRow, const AvoidFlags& avoid) {
    TNinjaMatrix grid = ShippedGrid();
    grid.ResetMatrix();
    grid.MarkDistances(targetColumn, targetRow, avoid);
    Jumps jumps{};
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            const int distance = grid.Sector(x, y).Distance;
            jumps[x][y] = distance == TNinjaMatrix::Unreached ? -1 : distance - 1;
        }
    }
    return jumps;
}

int JumpsBetween(const std::string& from, const std::string& to, const AvoidFlags& avoid) {
    const SectorPosition start = ShippedGrid().FindSectorPosition(from);
    const SectorPosition target = ShippedGrid().FindSectorPosition(to);
    EXPECT_TRUE(start.Known() && target.Known()) << from << " / " << to;
    return JumpsTo(target.Column, target.Row, avoid)[start.Column][start.Row];
}

std::vector<std::pair<int, int>> DefinedCells() {
    std::vector<std::pair<int, int>> cells;
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            if (Defined(x, y)) {
                cells.emplace_back(x, y);
            }
        }
    }
    return cells;
}

TEST(ShippedUniverse, FillsEveryShownCellWithAUniquelyNamedSystem) {
    std::set<std::string> names;
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            const StarElement& sector = ShippedGrid().Sector(x, y);
            if (Hidden(x, y)) {
                EXPECT_TRUE(sector.Name.empty()) << x << "," << y;
                continue;
            }
            ASSERT_FALSE(sector.Name.empty()) << x << "," << y;
            EXPECT_LE(sector.Race, 6) << sector.Name;
            EXPECT_TRUE(names.insert(sector.Name).second) << "twice: " << sector.Name;
            EXPECT_EQ(ShippedGrid().FindSectorPosition(sector.Name),
                      (SectorPosition{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}));
        }
    }
    EXPECT_EQ(names.size(), 54U);
}

TEST(ShippedUniverse, GatesComeInPairsAndStayOnTheShownGrid) {
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            const StarElement& s = ShippedGrid().Sector(x, y);
            for (const std::uint8_t flag : {s.NorthGate, s.WestGate, s.SouthGate, s.EastGate}) {
                EXPECT_LE(flag, 1) << s.Name;
            }
            // Every side's flag must equal the facing side's flag, and a side
            // that faces the edge or an empty cell must have no gate.
            const auto facing = [](int column, int row, std::uint8_t StarElement::*gate) {
                return Defined(column, row) ? ShippedGrid().Sector(column, row).*gate : 0;
            };
            if (!Defined(x, y)) {
                EXPECT_EQ(s.NorthGate + s.WestGate + s.SouthGate + s.EastGate, 0);
                continue;
            }
            EXPECT_EQ(+s.NorthGate, facing(x, y - 1, &StarElement::SouthGate)) << s.Name;
            EXPECT_EQ(+s.WestGate, facing(x - 1, y, &StarElement::EastGate)) << s.Name;
            EXPECT_EQ(+s.SouthGate, facing(x, y + 1, &StarElement::NorthGate)) << s.Name;
            EXPECT_EQ(+s.EastGate, facing(x + 1, y, &StarElement::WestGate)) << s.Name;
        }
    }
}

TEST(ShippedUniverse, EverySystemReachesEveryOtherAndTheLongestWayTakesThirteenJumps) {
    int longest = 0;
    for (const auto& [tx, ty] : DefinedCells()) {
        const Jumps jumps = JumpsTo(tx, ty, kAvoidNothing);
        for (const auto& [x, y] : DefinedCells()) {
            ASSERT_GE(jumps[x][y], 0)
                << ShippedGrid().Sector(x, y).Name << " to " << ShippedGrid().Sector(tx, ty).Name;
            longest = std::max(longest, jumps[x][y]);
        }
    }
    EXPECT_EQ(longest, 13);
    EXPECT_EQ(JumpsBetween("Saltglass Shoals", "Gharn Bastion", kAvoidNothing), 13);
}

// A system is cut off when, with Xenon avoided, no other system can reach it.
TEST(ShippedUniverse, AvoidingXenonLengthensWaysAndCutsOneSystemOff) {
    std::set<std::string> cutOff;
    bool lengthened = false;
    for (const auto& [tx, ty] : DefinedCells()) {
        if (ShippedGrid().Sector(tx, ty).Race == 6) {
            continue;
        }
        const Jumps free = JumpsTo(tx, ty, kAvoidNothing);
        const Jumps avoiding = JumpsTo(tx, ty, kAvoidXenon);
        int reachingIt = 0;
        for (const auto& [x, y] : DefinedCells()) {
            if (avoiding[x][y] > 0) {
                ++reachingIt;
                EXPECT_GE(avoiding[x][y], free[x][y]);
                lengthened = lengthened || avoiding[x][y] > free[x][y];
            }
        }
        if (reachingIt == 0) {
            cutOff.insert(ShippedGrid().Sector(tx, ty).Name);
        }
    }
    EXPECT_TRUE(lengthened);
    EXPECT_EQ(cutOff, (std::set<std::string>{"Hollow Orrery"}));
    EXPECT_EQ(JumpsBetween("Corvane", "Tallyhold", kAvoidNothing), 5);
    EXPECT_EQ(JumpsBetween("Corvane", "Tallyhold", kAvoidXenon), 13);
}

// --- The reference tree -------------------------------------------------------

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TreeLine {
    int Level = 0;
    std::string Text;
};

// Cuts the file at CR LF; fails the test on any other line break.
std::vector<TreeLine> ReadTreeLines(const std::string& bytes) {
    std::vector<TreeLine> lines;
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", begin);
        if (end == std::string::npos) {
            ADD_FAILURE() << "the last line does not end with CR LF";
            break;
        }
        const std::string line = bytes.substr(begin, end - begin);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "lone line break: " << line;
        const std::size_t indent = std::min(line.find_first_not_of('\t'), line.size());
        lines.push_back({static_cast<int>(indent), line.substr(indent)});
        begin = end + 2;
    }
    return lines;
}

TEST(ShippedUniverse, ReferenceTreeIsWellFormedAndCoversEverySystemWithItsGates) {
    const std::string bytes = ReadBytes(DataFile("vantor.vr"));
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    const std::vector<TreeLine> lines = ReadTreeLines(bytes);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().Level, 0);

    // Each system node's "Gates: ..." child, by system name.
    std::map<std::string, std::string> gateFacts;
    std::string system;
    int previousLevel = 0;
    for (const TreeLine& line : lines) {
        EXPECT_LE(line.Level, previousLevel + 1) << line.Text;
        EXPECT_FALSE(line.Text.empty() || line.Text.front() == ' ') << "[" << line.Text << "]";
        previousLevel = line.Level;
        if (!line.Text.empty() && ShippedGrid().FindSectorPosition(line.Text).Known()) {
            system = line.Text;
            gateFacts[system];
        } else if (line.Text.rfind("Gates: ", 0) == 0 && !system.empty()) {
            gateFacts[system] = line.Text;
        }
    }

    for (const auto& [x, y] : DefinedCells()) {
        const StarElement& s = ShippedGrid().Sector(x, y);
        std::string expected;
        const std::pair<std::uint8_t, const char*> sides[] = {{s.NorthGate, "north"},
                                                              {s.WestGate, "west"},
                                                              {s.SouthGate, "south"},
                                                              {s.EastGate, "east"}};
        for (const auto& [flag, side] : sides) {
            if (flag == 1) {
                expected += (expected.empty() ? "Gates: " : ", ") + std::string(side);
            }
        }
        ASSERT_EQ(gateFacts.count(s.Name), 1U) << "no node for " << s.Name;
        EXPECT_EQ(gateFacts[s.Name], expected) << s.Name;
    }
}

} // namespace
