// Properties of every way over generated universes, checked against a plain
// breadth-first search written here, apart from the engine.
#include "FakeShapes.h"
#include "RouteEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <random>
#include <sstream>
#include <tuple>
#include <vector>

namespace {

constexpr int kSize = RouteEngine::GridSize;
constexpr int kUnknown = -1;
constexpr std::array<const char*, 4> kSideWords{"north", "west", "south", "east"};

using PerSector = std::array<std::array<int, kSize>, kSize>;

bool onGrid(int x, int y) {
    return x >= 0 && x < kSize && y >= 0 && y < kSize;
}

// The gate flag of a side, read straight from the record; off-grid gates don't count.
bool gate(const RouteEngine& engine, int x, int y, int side) {
    const StarElement& s = engine.sectorAt(x, y);
    const std::array flags{s.northGate, s.westGate, s.southGate, s.eastGate};
    return flags.at(static_cast<std::size_t>(side)) == 1 && onGrid(x + kDx[side], y + kDy[side]);
}

bool avoided(const RouteEngine& engine, int x, int y, const AvoidFlags& avoid) {
    const int race = engine.sectorAt(x, y).race;
    return race >= 1 && race <= 6 && avoid.at(static_cast<std::size_t>(race - 1));
}

PerSector filled(int value) {
    PerSector grid;
    for (auto& column : grid) {
        column.fill(value);
    }
    return grid;
}

// Jumps from each sector to the target over the gates of the sector left,
// entering no avoided sector; an avoided sector may only be the start.
PerSector jumpsToTarget(const RouteEngine& engine, int tx, int ty, const AvoidFlags& avoid) {
    PerSector jumps = filled(kUnknown);
    if (avoided(engine, tx, ty, avoid)) {
        return jumps;
    }
    jumps[tx][ty] = 0;
    std::deque<std::pair<int, int>> queue{{tx, ty}};
    while (!queue.empty()) {
        const auto [vx, vy] = queue.front();
        queue.pop_front();
        for (int side = 0; side < 4; ++side) {
            const int ux = vx - kDx[side];
            const int uy = vy - kDy[side];
            if (onGrid(ux, uy) && jumps[ux][uy] == kUnknown && gate(engine, ux, uy, side)) {
                jumps[ux][uy] = jumps[vx][vy] + 1;
                if (!avoided(engine, ux, uy, avoid)) {
                    queue.emplace_back(ux, uy);
                }
            }
        }
    }
    return jumps;
}

// The labels as the engine defines them: the sectors on the shortest way to
// the target, both ends counted; 2000 for avoided sectors and where no way is.
PerSector expectedLabels(const RouteEngine& engine, int tx, int ty, const AvoidFlags& avoid) {
    const PerSector jumps = jumpsToTarget(engine, tx, ty, avoid);
    PerSector labels = filled(RouteEngine::Unreached);
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            if (jumps[x][y] != kUnknown && !avoided(engine, x, y, avoid)) {
                labels[x][y] = jumps[x][y] + 1;
            }
        }
    }
    return labels;
}

PerSector engineLabels(const RouteEngine& engine) {
    PerSector labels;
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            labels[x][y] = engine.sectorAt(x, y).distance;
        }
    }
    return labels;
}

struct Universe {
    RouteEngine engine;
    bool oneSided = false;
};

// Links in facing pairs, odd gate values, gates off the edge and, when asked,
// some one-sided gates; races 0 to 8, so some sectors have none.
Universe generate(unsigned seed, bool oneSided) {
    std::mt19937 random(seed);
    std::bernoulli_distribution linked(0.5 + 0.1 * (seed % 4));
    std::bernoulli_distribution rarely(0.08);
    std::uniform_int_distribution<int> race(0, 8);
    Universe universe;
    universe.oneSided = oneSided;
    RouteEngine& engine = universe.engine;
    nameEverySector(engine);
    for (int x = 0; x < kSize; ++x) {
        for (int y = 0; y < kSize; ++y) {
            engine.editSector(x, y).race = static_cast<std::uint8_t>(race(random));
            for (int side = 0; side < 4; ++side) {
                const bool inside = onGrid(x + kDx[side], y + kDy[side]);
                const bool forward = side >= 2; // south and east: each link drawn once
                const bool flip = rarely(random);
                if (forward && inside && linked(random)) {
                    linkLabel(engine, x, y, kSides[side]);
                } else if (forward && inside && rarely(random)) {
                    gateFlag(engine.editSector(x, y), kSides[side]) = 2;
                } else if (!inside && flip) {
                    oneSidedGate(engine, x, y, kSides[side]);
                } else if (inside && oneSided && flip) {
                    auto& gate = gateFlag(engine.editSector(x, y), kSides[side]);
                    gate = gate == 1 ? 0 : 1;
                }
            }
        }
    }
    return universe;
}

const std::array<AvoidFlags, 4> kAvoidSets{kAvoidNone, kAvoidXenon, kAvoidAll,
                                           AvoidFlags{false, true, false, true, false, false}};

// One line of the full form, cut into the sector's name and the side of its step.
bool cutStepLine(const std::string& text, std::string& name, int& side) {
    for (side = 0; side < 4; ++side) {
        const std::string piece = std::string(" through ") + kSideWords[side] + "-gate to";
        if (text.size() > piece.size() && text.ends_with(piece)) {
            name = text.substr(0, text.size() - piece.size());
            return true;
        }
    }
    return false;
}

// The best way on from a sector to the target: avoided sectors entered
// (itself and the target counted), then jumps.
using Cost = std::pair<int, int>;
using PerSectorCost = std::array<std::array<Cost, kSize>, kSize>;
constexpr Cost kNoWay{1000, 1000};

// Relaxes every gate until nothing improves: slow, plain and independent of
// the engine's search.
PerSectorCost leastAvoidedCosts(const RouteEngine& engine, int tx, int ty,
                                const AvoidFlags& avoid) {
    PerSectorCost costs;
    for (auto& column : costs) {
        column.fill(kNoWay);
    }
    costs[tx][ty] = {avoided(engine, tx, ty, avoid) ? 1 : 0, 0};
    for (bool changed = true; changed;) {
        changed = false;
        for (int x = 0; x < kSize; ++x) {
            for (int y = 0; y < kSize; ++y) {
                for (int side = 0; side < 4; ++side) {
                    if (!gate(engine, x, y, side)) {
                        continue;
                    }
                    const Cost onward = costs[x + kDx[side]][y + kDy[side]];
                    const Cost cost{onward.first + (avoided(engine, x, y, avoid) ? 1 : 0),
                                    onward.second + 1};
                    if (onward != kNoWay && cost < costs[x][y]) {
                        costs[x][y] = cost;
                        changed = true;
                    }
                }
            }
        }
    }
    return costs;
}

// The lines a way is written as, full form.
std::vector<RecordedLine> wayLines(const PlannedWay& way) {
    std::vector<RecordedLine> lines;
    for (std::size_t i = 0; i < way.sectors.size(); ++i) {
        const SectorPosition at = way.sectors[i];
        std::string text = gridName(at.column, at.row);
        if (i + 1 < way.sectors.size()) {
            const SectorPosition next = way.sectors[i + 1];
            for (int side = 0; side < 4; ++side) {
                if (at.column + kDx[side] == next.column && at.row + kDy[side] == next.row) {
                    text += std::string(" through ") + kSideWords[side] + "-gate to";
                }
            }
        }
        lines.push_back({text, i % 2 == 0});
    }
    return lines;
}

class WayProperties : public ::testing::TestWithParam<unsigned> {
protected:
    WayProperties()
        : universe(generate(GetParam(), GetParam() >= 4)) {
        universe.engine.setOutputField(&sink);
    }

    // Walks the written lines; an empty answer means every property held.
    std::string checkWay(int sx, int sy, int tx, int ty, const AvoidFlags& avoid,
                         const PerSector& jumps, const PerSector& labels) {
        const RouteEngine& engine = universe.engine;
        const WayStatus& status = engine.lastWayStatus();
        const auto& lines = sink.lines;
        std::ostringstream fault;
        const bool exists = jumps[sx][sy] != kUnknown;
        if (status.reached != exists) {
            return exists ? "no way written, though one exists" : "a way written where none exists";
        }
        if (status.reached ? !status.message.empty() : status.message != "Navigation Error") {
            return "status message \"" + status.message + "\"";
        }
        if (status.linesWritten != static_cast<int>(lines.size()) || lines.size() > 64) {
            return "line count " + std::to_string(lines.size());
        }
        const std::size_t steps = status.reached ? lines.size() - 1 : lines.size();
        if (exists && steps != static_cast<std::size_t>(jumps[sx][sy])) {
            fault << steps << " jumps, the shortest way has " << jumps[sx][sy];
            return fault.str();
        }
        PerSector visited = filled(0);
        visited[sx][sy] = 1;
        int x = sx;
        int y = sy;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].bold != (i % 2 == 0)) {
                return "line " + std::to_string(i) + " has the wrong weight";
            }
            if (i == steps) {
                break;
            }
            std::string name;
            int side = 0;
            if (!cutStepLine(lines[i].text, name, side) || name != gridName(x, y)) {
                return "line " + std::to_string(i) + " \"" + lines[i].text +
                       "\" is not a step from " + gridName(x, y);
            }
            const int nx = x + kDx[side];
            const int ny = y + kDy[side];
            if (!gate(engine, x, y, side) || avoided(engine, nx, ny, avoid) || visited[nx][ny]++) {
                return "the step from " + name + " " + kSideWords[side] +
                       " has no gate, enters an avoided sector or turns back";
            }
            if (labels[nx][ny] >= labels[x][y]) {
                return "the step from " + name + " does not lead nearer";
            }
            for (int earlier = 0; earlier < side; ++earlier) {
                const int ex = x + kDx[earlier];
                const int ey = y + kDy[earlier];
                if (gate(engine, x, y, earlier) && !avoided(engine, ex, ey, avoid) &&
                    jumps[ex][ey] == jumps[x][y] - 1) {
                    return "the step from " + name + " goes " + kSideWords[side] + " although " +
                           kSideWords[earlier] + " is as short";
                }
            }
            x = nx;
            y = ny;
        }
        if (status.reached && (x != tx || y != ty || lines.back().text != gridName(tx, ty))) {
            return "the way ends at " + gridName(x, y) + " with \"" + lines.back().text + "\"";
        }
        return {};
    }

    // Checks a planned way against the costs; an empty answer means it is
    // a least-avoided way whose sides come first.
    std::string checkLeastAvoided(int sx, int sy, int tx, int ty, const AvoidFlags& avoid,
                                  const PlannedWay& way, const PerSectorCost& costs) {
        const RouteEngine& engine = universe.engine;
        if (way.sectors.empty() || way.sectors.front() != at(sx, sy) ||
            way.sectors.back() != at(tx, ty)) {
            return "the way does not run from start to target";
        }
        std::vector<SectorPosition> avoidedOnWay;
        for (std::size_t i = 0; i < way.sectors.size(); ++i) {
            const int x = way.sectors[i].column;
            const int y = way.sectors[i].row;
            if (avoided(engine, x, y, avoid)) {
                avoidedOnWay.push_back(way.sectors[i]);
            }
            if (i + 1 == way.sectors.size()) {
                break;
            }
            int side = 0;
            while (side < 4 && way.sectors[i + 1] != at(x + kDx[side], y + kDy[side])) {
                ++side;
            }
            if (side == 4 || !gate(engine, x, y, side)) {
                return "the step from " + gridName(x, y) + " goes through no gate";
            }
            for (int earlier = 0; earlier < side; ++earlier) {
                if (!gate(engine, x, y, earlier)) {
                    continue;
                }
                const Cost onward = costs[x + kDx[earlier]][y + kDy[earlier]];
                const int here = avoided(engine, x, y, avoid) ? 1 : 0;
                if (onward != kNoWay && onward.first + here == costs[x][y].first &&
                    onward.second + 1 == costs[x][y].second) {
                    return "the step from " + gridName(x, y) + " goes " + kSideWords[side] +
                           " although " + kSideWords[earlier] + " is as good";
                }
            }
        }
        if (avoidedOnWay != way.avoided) {
            return "the avoided sectors are not listed in way order";
        }
        const Cost cost{static_cast<int>(way.avoided.size()), way.jumps()};
        if (cost != costs[sx][sy]) {
            std::ostringstream fault;
            fault << "enters " << cost.first << " avoided in " << cost.second
                  << " jumps, the best way " << costs[sx][sy].first << " in "
                  << costs[sx][sy].second;
            return fault.str();
        }
        return {};
    }

    static SectorPosition at(int x, int y) {
        return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
    }

    Universe universe;
    FakeLineSink sink;
};

TEST_P(WayProperties, EveryWayIsAShortestAdmissibleOneWithTiesToTheEarlierSide) {
    RouteEngine& engine = universe.engine;
    int faults = 0;
    for (const AvoidFlags& avoid : kAvoidSets) {
        for (int tx = 0; tx < kSize; ++tx) {
            for (int ty = 0; ty < kSize; ++ty) {
                const PerSector jumps = jumpsToTarget(engine, tx, ty, avoid);
                const PerSector labels = expectedLabels(engine, tx, ty, avoid);
                for (int sx = 0; sx < kSize; ++sx) {
                    for (int sy = 0; sy < kSize; ++sy) {
                        sink.lines.clear();
                        ASSERT_TRUE(engine.findWay(sx, sy, tx, ty, avoid, false));
                        const std::string fault = checkWay(sx, sy, tx, ty, avoid, jumps, labels);
                        if (!fault.empty()) {
                            ADD_FAILURE()
                                << gridName(sx, sy) << " to " << gridName(tx, ty) << ": " << fault;
                            ASSERT_LT(++faults, 10);
                        }
                    }
                }
            }
        }
    }
}

// The planned way is the best by the reference costs, findLeastAvoidedWay
// writes exactly it, and where findWay finds a way it is that one.
TEST_P(WayProperties, TheLeastAvoidedWayEntersFewestThenJumpsWithTiesToTheEarlierSide) {
    RouteEngine& engine = universe.engine;
    int faults = 0;
    for (const AvoidFlags& avoid : kAvoidSets) {
        for (int tx = 0; tx < kSize; ++tx) {
            for (int ty = 0; ty < kSize; ++ty) {
                const PerSectorCost costs = leastAvoidedCosts(engine, tx, ty, avoid);
                for (int sx = 0; sx < kSize; ++sx) {
                    for (int sy = 0; sy < kSize; ++sy) {
                        const auto way = engine.planLeastAvoidedWay(sx, sy, tx, ty, avoid);
                        std::string fault;
                        sink.lines.clear();
                        ASSERT_TRUE(engine.findLeastAvoidedWay(sx, sy, tx, ty, avoid, false));
                        const auto written = sink.lines;
                        sink.lines.clear();
                        ASSERT_TRUE(engine.findWay(sx, sy, tx, ty, avoid, false));
                        if (way.has_value() != (costs[sx][sy] != kNoWay)) {
                            fault = way ? "a way planned where none exists" : "no way planned";
                        } else if (!way) {
                            fault = written.empty() ? "" : "lines written for no way";
                        } else if (written != wayLines(*way)) {
                            fault = "findLeastAvoidedWay wrote another way";
                        } else if (engine.lastWayStatus().reached && sink.lines != written) {
                            fault = "findWay found another way";
                        } else {
                            fault = checkLeastAvoided(sx, sy, tx, ty, avoid, *way, costs);
                        }
                        if (!fault.empty()) {
                            ADD_FAILURE()
                                << gridName(sx, sy) << " to " << gridName(tx, ty) << ": " << fault;
                            ASSERT_LT(++faults, 10);
                        }
                    }
                }
            }
        }
    }
}

TEST_P(WayProperties, LabelsAreTheShortestCounts) {
    RouteEngine& engine = universe.engine;
    for (const AvoidFlags& avoid : kAvoidSets) {
        for (int tx = 0; tx < kSize; ++tx) {
            for (int ty = 0; ty < kSize; ++ty) {
                SCOPED_TRACE("target " + gridName(tx, ty));
                engine.resetMatrix();
                engine.markDistances(tx, ty, avoid);
                ASSERT_EQ(engineLabels(engine), expectedLabels(engine, tx, ty, avoid));
            }
        }
    }
}

using Look = std::tuple<Color, Color, bool, bool>;

std::vector<Look> looks(const FakeStarMap& map) {
    std::vector<Look> looks;
    const auto add = [&looks](const FakeShape& s) {
        looks.emplace_back(s.outline, s.fill, s.solid, s.visible);
    };
    std::for_each(map.sectors.begin(), map.sectors.end(), add);
    std::for_each(map.dividers.begin(), map.dividers.end(), add);
    return looks;
}

// Whatever the map went through before, a search leaves shapes, labels and
// lines as a full reset followed by the same search does.
TEST_P(WayProperties, ASearchDrawsAsAfterAFullReset) {
    Universe twin = generate(GetParam(), GetParam() >= 4);
    RouteEngine& engine = universe.engine;
    RouteEngine& reset = twin.engine;
    FakeStarMap map{engine};
    FakeStarMap resetMap{reset};
    FakeLineSink resetSink;
    reset.setOutputField(&resetSink);
    std::mt19937 random(GetParam());
    const auto below = [&random](int n) {
        return static_cast<int>(random() % static_cast<unsigned>(n));
    };
    for (int step = 0; step < 500; ++step) {
        const int x = below(kSize);
        const int y = below(kSize);
        const int choice = below(10);
        for (RouteEngine* e : {&engine, &reset}) {
            switch (choice) {
            case 0:
                e->highlightSector(x, y);
                break;
            case 1:
                e->highlightRace(1 + step % 6);
                break;
            case 2: // a link made, broken or made one-sided
                gateFlag(e->editSector(x, y), kSides[static_cast<std::size_t>(step % 4)]) ^= 1;
                break;
            case 3:
                e->editSector(x, y).race = static_cast<std::uint8_t>(step % 8);
                break;
            case 4:
                e->setDividerColor(step % 2 == 0 ? 0x37BEFF : 0x123456);
                break;
            case 5:
                e->showDividers();
                break;
            default:
                break;
            }
        }
        if (choice >= 6) {
            const AvoidFlags& avoid = kAvoidSets[static_cast<std::size_t>(below(4))];
            const int tx = below(kSize);
            const int ty = below(kSize);
            const bool shortForm = below(2) == 0;
            const bool leastAvoided = choice == 9;
            const auto search = [&](RouteEngine& e) {
                return leastAvoided ? e.findLeastAvoidedWay(x, y, tx, ty, avoid, shortForm)
                                    : e.findWay(x, y, tx, ty, avoid, shortForm);
            };
            sink.lines.clear();
            resetSink.lines.clear();
            reset.resetMatrix();
            ASSERT_TRUE(search(reset));
            ASSERT_TRUE(search(engine));
            ASSERT_EQ(sink.lines, resetSink.lines) << "step " << step;
            ASSERT_EQ(engineLabels(engine), leastAvoided ? filled(RouteEngine::Unreached)
                                                         : expectedLabels(engine, tx, ty, avoid))
                << "step " << step;
        }
        ASSERT_EQ(looks(map), looks(resetMap)) << "step " << step;
    }
}

// Seeds 0 to 3 have only facing gates, 4 to 7 also one-sided ones.
INSTANTIATE_TEST_SUITE_P(Universes, WayProperties, ::testing::Range(0u, 8u));

} // namespace
