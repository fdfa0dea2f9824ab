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

constexpr int kSize = RouteEngine::GridSize;
constexpr AvoidFlags kAvoidNothing{};
constexpr AvoidFlags kAvoidXenon{false, false, false, false, false, true};

// The cells the star map never shows; the shipped grid leaves them empty.
const std::set<std::pair<int, int>> kHiddenCells{{7, 0}, {7, 1}, {7, 4}, {7, 5}, {7, 6},
                                                 {0, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}};

// The data files are copied next to the test binary, which is also where the
// tests run; the binary's own folder covers a run from elsewhere.
fs::path dataFile(const std::string& name) {
    if (fs::exists(fs::current_path() / name)) {
        return fs::current_path() / name;
    }
    return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

const RouteEngine& shippedGrid() {
    static const RouteEngine grid = [] {
        RouteEngine matrix;
        matrix.setFilename(dataFile("core.vr").string());
        matrix.loadMatrix();
        return matrix;
    }();
    return grid;
}

bool hidden(int column, int row) {
    return kHiddenCells.count({column, row}) != 0;
}

bool defined(int column, int row) {
    return column >= 0 && column < kSize && row >= 0 && row < kSize &&
           !shippedGrid().sectorAt(column, row).name.empty();
}

// Gate jumps from every sector to the target; -1 where the target can't be reached.
using Jumps = std::array<std::array<int, kSize>, kSize>;

Jumps jumpsTo(int targetColumn, int targetRow, const AvoidFlags& avoid) {
    RouteEngine grid = shippedGrid();
    grid.resetMatrix();
    grid.markDistances(targetColumn, targetRow, avoid);
    Jumps jumps{};
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            const int distance = grid.sectorAt(x, y).distance;
            jumps[x][y] = distance == RouteEngine::Unreached ? -1 : distance - 1;
        }
    }
    return jumps;
}

int jumpsBetween(const std::string& from, const std::string& to, const AvoidFlags& avoid) {
    const SectorPosition start = shippedGrid().findSectorPosition(from);
    const SectorPosition target = shippedGrid().findSectorPosition(to);
    EXPECT_TRUE(start.known() && target.known()) << from << " / " << to;
    return jumpsTo(target.column, target.row, avoid)[start.column][start.row];
}

std::vector<std::pair<int, int>> definedCells() {
    std::vector<std::pair<int, int>> cells;
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            if (defined(x, y)) {
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
            const StarElement& sector = shippedGrid().sectorAt(x, y);
            if (hidden(x, y)) {
                EXPECT_TRUE(sector.name.empty()) << x << "," << y;
                continue;
            }
            ASSERT_FALSE(sector.name.empty()) << x << "," << y;
            EXPECT_LE(sector.race, 6) << sector.name;
            EXPECT_TRUE(names.insert(sector.name).second) << "twice: " << sector.name;
            EXPECT_EQ(shippedGrid().findSectorPosition(sector.name),
                      (SectorPosition{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}));
        }
    }
    EXPECT_EQ(names.size(), 54U);
}

TEST(ShippedUniverse, GatesComeInPairsAndStayOnTheShownGrid) {
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            const StarElement& s = shippedGrid().sectorAt(x, y);
            for (const std::uint8_t flag : {s.northGate, s.westGate, s.southGate, s.eastGate}) {
                EXPECT_LE(flag, 1) << s.name;
            }
            // Every side's flag must equal the facing side's flag, and a side
            // that faces the edge or an empty cell must have no gate.
            const auto facing = [](int column, int row, std::uint8_t StarElement::*gate) {
                return defined(column, row) ? shippedGrid().sectorAt(column, row).*gate : 0;
            };
            if (!defined(x, y)) {
                EXPECT_EQ(s.northGate + s.westGate + s.southGate + s.eastGate, 0);
                continue;
            }
            EXPECT_EQ(+s.northGate, facing(x, y - 1, &StarElement::southGate)) << s.name;
            EXPECT_EQ(+s.westGate, facing(x - 1, y, &StarElement::eastGate)) << s.name;
            EXPECT_EQ(+s.southGate, facing(x, y + 1, &StarElement::northGate)) << s.name;
            EXPECT_EQ(+s.eastGate, facing(x + 1, y, &StarElement::westGate)) << s.name;
        }
    }
}

TEST(ShippedUniverse, EverySystemReachesEveryOtherAndTheLongestWayTakesThirteenJumps) {
    int longest = 0;
    for (const auto& [tx, ty] : definedCells()) {
        const Jumps jumps = jumpsTo(tx, ty, kAvoidNothing);
        for (const auto& [x, y] : definedCells()) {
            ASSERT_GE(jumps[x][y], 0) << shippedGrid().sectorAt(x, y).name << " to "
                                      << shippedGrid().sectorAt(tx, ty).name;
            longest = std::max(longest, jumps[x][y]);
        }
    }
    EXPECT_EQ(longest, 13);
    EXPECT_EQ(jumpsBetween("Saltglass Shoals", "Gharn Bastion", kAvoidNothing), 13);
}

// A system is cut off when, with Xenon avoided, no other system can reach it.
TEST(ShippedUniverse, AvoidingXenonLengthensWaysAndCutsOneSystemOff) {
    std::set<std::string> cutOff;
    bool lengthened = false;
    for (const auto& [tx, ty] : definedCells()) {
        if (shippedGrid().sectorAt(tx, ty).race == 6) {
            continue;
        }
        const Jumps free = jumpsTo(tx, ty, kAvoidNothing);
        const Jumps avoiding = jumpsTo(tx, ty, kAvoidXenon);
        int reachingIt = 0;
        for (const auto& [x, y] : definedCells()) {
            if (avoiding[x][y] > 0) {
                ++reachingIt;
                EXPECT_GE(avoiding[x][y], free[x][y]);
                lengthened = lengthened || avoiding[x][y] > free[x][y];
            }
        }
        if (reachingIt == 0) {
            cutOff.insert(shippedGrid().sectorAt(tx, ty).name);
        }
    }
    EXPECT_TRUE(lengthened);
    EXPECT_EQ(cutOff, (std::set<std::string>{"Hollow Orrery"}));
    EXPECT_EQ(jumpsBetween("Corvane", "Tallyhold", kAvoidNothing), 5);
    EXPECT_EQ(jumpsBetween("Corvane", "Tallyhold", kAvoidXenon), 13);
}

// --- The reference tree -------------------------------------------------------

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TreeLine {
    int level = 0;
    std::string text;
};

// Cuts the file at CR LF; fails the test on any other line break.
std::vector<TreeLine> readTreeLines(const std::string& bytes) {
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
    const std::string bytes = readBytes(dataFile("vantor.vr"));
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    const std::vector<TreeLine> lines = readTreeLines(bytes);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().level, 0);

    // Each system node's "Gates: ..." child, by system name.
    std::map<std::string, std::string> gateFacts;
    std::string system;
    int previousLevel = 0;
    for (const TreeLine& line : lines) {
        EXPECT_LE(line.level, previousLevel + 1) << line.text;
        EXPECT_FALSE(line.text.empty() || line.text.front() == ' ') << "[" << line.text << "]";
        previousLevel = line.level;
        if (!line.text.empty() && shippedGrid().findSectorPosition(line.text).known()) {
            system = line.text;
            gateFacts[system];
        } else if (line.text.rfind("Gates: ", 0) == 0 && !system.empty()) {
            gateFacts[system] = line.text;
        }
    }

    for (const auto& [x, y] : definedCells()) {
        const StarElement& s = shippedGrid().sectorAt(x, y);
        std::string expected;
        const std::pair<std::uint8_t, const char*> sides[] = {{s.northGate, "north"},
                                                              {s.westGate, "west"},
                                                              {s.southGate, "south"},
                                                              {s.eastGate, "east"}};
        for (const auto& [flag, side] : sides) {
            if (flag == 1) {
                expected += (expected.empty() ? "Gates: " : ", ") + std::string(side);
            }
        }
        ASSERT_EQ(gateFacts.count(s.name), 1U) << "no node for " << s.name;
        EXPECT_EQ(gateFacts[s.name], expected) << s.name;
    }
}

} // namespace
