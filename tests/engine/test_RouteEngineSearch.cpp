#include "FakeShapes.h"
#include "RouteEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<RecordedLine>;

class FindWayTest : public ::testing::Test {
protected:
    FindWayTest() {
        nameEverySector(engine);
        paintWithDistinctColors(engine);
        engine.setOutputField(&sink);
    }

    // Links every pair of neighbours inside the rectangle.
    void linkBlock(int columns, int rows) {
        for (int x = 0; x < columns; ++x) {
            for (int y = 0; y < rows; ++y) {
                if (x + 1 < columns) {
                    linkLabel(engine, x, y, Side::East);
                }
                if (y + 1 < rows) {
                    linkLabel(engine, x, y, Side::South);
                }
            }
        }
    }

    Lines way(int sx, int sy, int tx, int ty, const AvoidFlags& avoid = kAvoidNone,
              bool shortForm = false) {
        sink.lines.clear();
        EXPECT_TRUE(engine.findWay(sx, sy, tx, ty, avoid, shortForm));
        EXPECT_EQ(engine.lastWayStatus().linesWritten, static_cast<int>(sink.lines.size()));
        return sink.lines;
    }

    void expectNoWay() const {
        EXPECT_TRUE(sink.lines.empty());
        EXPECT_FALSE(engine.lastWayStatus().reached);
        EXPECT_EQ(engine.lastWayStatus().message, "Navigation Error");
    }

    int solidSectors() {
        return static_cast<int>(std::count_if(map.sectors.begin(), map.sectors.end(),
                                              [](const FakeShape& s) { return s.solid; }));
    }

    RouteEngine engine;
    FakeStarMap map{engine};
    FakeLineSink sink;
};

TEST_F(FindWayTest, StartEqualToTargetIsOneBoldLineInBothForms) {
    linkBlock(3, 3);
    for (const bool shortForm : {false, true}) {
        EXPECT_EQ(way(1, 1, 1, 1, kAvoidNone, shortForm), (Lines{{"S11", true}}));
        EXPECT_TRUE(engine.lastWayStatus().reached);
        EXPECT_EQ(engine.lastWayStatus().message, "");
        EXPECT_TRUE(map.sectorShape(1, 1).solid);
        EXPECT_EQ(map.sectorShape(1, 1).fill, engine.wayPointColor());
        EXPECT_EQ(solidSectors(), 1);
    }
}

TEST_F(FindWayTest, AnAvoidedStartIsLeftButAnAvoidedTargetBlocks) {
    linkBlock(3, 3);
    engine.editSector(1, 1).race = 6;

    EXPECT_EQ(way(1, 1, 1, 0, kAvoidXenon),
              (Lines{{"S11 through north-gate to", true}, {"S10", false}}));

    way(1, 1, 1, 1, kAvoidXenon);
    expectNoWay();

    way(0, 0, 1, 1, kAvoidXenon);
    expectNoWay();
    EXPECT_TRUE(map.sectorShape(0, 0).solid);
    EXPECT_EQ(solidSectors(), 1);
}

TEST_F(FindWayTest, TiesGoNorthThenWestThenSouthThenEast) {
    linkBlock(3, 3);
    struct Case {
        int tx, ty;
        std::string firstLine;
    };
    const Case cases[] = {
        {0, 0, "S11 through north-gate to"}, // north or west
        {2, 0, "S11 through north-gate to"}, // north or east
        {0, 2, "S11 through west-gate to"},  // west or south
        {2, 2, "S11 through south-gate to"}, // south or east
    };
    for (const Case& c : cases) {
        const Lines lines = way(1, 1, c.tx, c.ty);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines.front().text, c.firstLine);
    }
}

// S00 - S10 - S20 along row 0, and the detour S00 - S01 - S11 - S21 - S20.
void linkRowZeroAndItsDetour(RouteEngine& engine) {
    linkLabel(engine, 0, 0, Side::East);
    linkLabel(engine, 1, 0, Side::East);
    linkLabel(engine, 0, 0, Side::South);
    linkLabel(engine, 0, 1, Side::East);
    linkLabel(engine, 1, 1, Side::East);
    linkLabel(engine, 2, 1, Side::North);
}

TEST_F(FindWayTest, AvoidedRacesAreRoundedAndRaceZeroIsNeverAvoided) {
    // S00 - S10 - S20 along row 0, or the long way round through row 1.
    linkRowZeroAndItsDetour(engine);
    engine.editSector(1, 0).race = 6;
    engine.editSector(0, 1).race = 7; // no race, like 0 on the rest of the detour

    EXPECT_EQ(way(0, 0, 2, 0).size(), 3u);
    EXPECT_EQ(way(0, 0, 2, 0, kAvoidXenon), (Lines{{"S00 through south-gate to", true},
                                                   {"S01 through east-gate to", false},
                                                   {"S11 through east-gate to", true},
                                                   {"S21 through north-gate to", false},
                                                   {"S20", true}}));
    AvoidFlags allButXenon = kAvoidAll;
    allButXenon[5] = false;
    EXPECT_EQ(way(0, 0, 2, 0, allButXenon).size(), 3u);
    EXPECT_EQ(way(0, 0, 2, 0, kAvoidAll).size(), 5u);

    engine.editSector(0, 0).southGate = 0; // no detour left
    engine.editSector(0, 1).northGate = 0;
    way(0, 0, 2, 0, kAvoidXenon);
    expectNoWay();
}

TEST_F(FindWayTest, FullAndShortFormsAlternateBoldFromTheFirstLine) {
    linkBlock(3, 3);
    EXPECT_EQ(way(0, 0, 1, 1, kAvoidNone, false), (Lines{{"S00 through south-gate to", true},
                                                         {"S01 through east-gate to", false},
                                                         {"S11", true}}));
    EXPECT_EQ(way(0, 0, 1, 1, kAvoidNone, true),
              (Lines{{"south-gate", true}, {"east-gate", false}, {"S11", true}}));
    EXPECT_EQ(way(2, 2, 2, 0, kAvoidNone, true),
              (Lines{{"north-gate", true}, {"north-gate", false}, {"S20", true}}));
    EXPECT_EQ(way(2, 2, 0, 2, kAvoidNone, true),
              (Lines{{"west-gate", true}, {"west-gate", false}, {"S02", true}}));
}

TEST_F(FindWayTest, EachStepLightsTheDividerItCrossesAndFillsBothSectors) {
    linkBlock(3, 3);
    struct Case {
        int tx, ty;
        int divider;
        std::string line;
    };
    const Case cases[] = {
        {1, 0, northSouthDividerIndex(1, 0), "S11 through north-gate to"},
        {0, 1, eastWestDividerIndex(0, 1), "S11 through west-gate to"},
        {1, 2, northSouthDividerIndex(1, 1), "S11 through south-gate to"},
        {2, 1, eastWestDividerIndex(1, 1), "S11 through east-gate to"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(way(1, 1, c.tx, c.ty).front().text, c.line);
        for (int i = 0; i < RouteEngine::DividerCount; ++i) {
            const FakeShape& divider = map.dividers.at(static_cast<std::size_t>(i));
            const bool lit = divider.fill == engine.highlightDividerColor();
            EXPECT_EQ(lit, i == c.divider) << "divider " << i;
            EXPECT_TRUE(!lit || (divider.solid && divider.visible));
        }
        EXPECT_EQ(solidSectors(), 2);
        EXPECT_EQ(map.sectorShape(c.tx, c.ty).fill, engine.wayPointColor());
    }
}

TEST_F(FindWayTest, AOneSidedGateIsUsedOnlyFromItsOwnSide) {
    oneSidedGate(engine, 0, 0, Side::East);
    EXPECT_EQ(way(0, 0, 1, 0), (Lines{{"S00 through east-gate to", true}, {"S10", false}}));
    EXPECT_FALSE(map.eastWest(0, 0).visible);

    way(1, 0, 0, 0);
    expectNoWay();
}

TEST_F(FindWayTest, AOneSidedGateIsFlownOnlyInItsOwnDirection) {
    // S20 has a gate west to S10, but S10 none back east: S20 can be left
    // that way, never entered. No half way is written toward it.
    linkLabel(engine, 0, 0, Side::East);
    oneSidedGate(engine, 2, 0, Side::West);

    EXPECT_TRUE(way(0, 0, 2, 0).empty());
    EXPECT_FALSE(engine.lastWayStatus().reached);
    EXPECT_EQ(engine.lastWayStatus().message, "Navigation Error");

    EXPECT_EQ(way(2, 0, 0, 0), (Lines{{"S20 through west-gate to", true},
                                      {"S10 through west-gate to", false},
                                      {"S00", true}}));
}

TEST_F(FindWayTest, GatesOffTheGridAreIgnored) {
    oneSidedGate(engine, 0, 0, Side::North);
    oneSidedGate(engine, 0, 0, Side::West);
    oneSidedGate(engine, 7, 7, Side::South);
    oneSidedGate(engine, 7, 7, Side::East);
    linkLabel(engine, 0, 0, Side::East);
    EXPECT_EQ(way(1, 0, 0, 0).size(), 2u);
    way(0, 0, 7, 7);
    expectNoWay();
    way(7, 7, 0, 0);
    expectNoWay();
}

TEST_F(FindWayTest, ASectorOffTheGridFailsTheSearchInsteadOfEscapingIt) {
    linkBlock(2, 2);
    EXPECT_FALSE(engine.findWay(8, 0, 0, 0, kAvoidNone, false));
    EXPECT_FALSE(engine.findWay(0, 0, 0, -1, kAvoidNone, false));
}

TEST_F(FindWayTest, WorksWithoutShapesOrOutputBox) {
    RouteEngine bare;
    linkLabel(bare, 3, 3, Side::East);
    EXPECT_TRUE(bare.findWay(3, 3, 4, 3, kAvoidNone, false));
    EXPECT_EQ(bare.lastWayStatus().linesWritten, 2);
    EXPECT_TRUE(bare.lastWayStatus().reached);
}

} // namespace

// Row 0 runs S00 - S10 - S20 through the Xenon S10; the detour S00 - S01 -
// S11 - S21 - S20 through the Teladi S01 and S11. S77 has no gates.
TEST_F(FindWayTest, TheLeastAvoidedWayEntersFewestAvoidedAndShowsThemInWarning) {
    linkRowZeroAndItsDetour(engine);
    engine.editSector(1, 0).race = 6;
    engine.editSector(0, 1).race = 2;
    engine.editSector(1, 1).race = 2;
    const AvoidFlags teladi{false, true, false, false, false, false};
    const AvoidFlags teladiAndXenon{false, true, false, false, false, true};
    const Lines top{
        {"S00 through east-gate to", true}, {"S10 through east-gate to", false}, {"S20", true}};
    struct Case {
        int sx, sy, tx, ty;
        AvoidFlags avoid;
        bool shortForm;
        Lines lines;
        std::vector<std::pair<int, int>> avoided;
    };
    const Case cases[] = {
        {0,
         0,
         2,
         0,
         kAvoidXenon,
         false, // a clean way: findWay's
         {{"S00 through south-gate to", true},
          {"S01 through east-gate to", false},
          {"S11 through east-gate to", true},
          {"S21 through north-gate to", false},
          {"S20", true}},
         {}},
        {0, 0, 2, 0, teladiAndXenon, false, top, {{1, 0}}}, // one avoided before two
        {0,
         0,
         2,
         0,
         teladiAndXenon,
         true,
         {{"east-gate", true}, {"east-gate", false}, {"S20", true}},
         {{1, 0}}},
        {0, 0, 2, 0, teladi, false, top, {}},
        {0,
         0,
         1,
         0,
         kAvoidXenon,
         false,
         {{"S00 through east-gate to", true}, {"S10", false}},
         {{1, 0}}},
        {1, 0, 1, 0, kAvoidXenon, false, {{"S10", true}}, {{1, 0}}},
        {0, 0, 7, 7, kAvoidXenon, false, {}, {}}, // no way at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.lines));
        sink.lines.clear();
        ASSERT_TRUE(engine.findLeastAvoidedWay(c.sx, c.sy, c.tx, c.ty, c.avoid, c.shortForm));
        EXPECT_EQ(sink.lines, c.lines);
        const auto plan = engine.planLeastAvoidedWay(c.sx, c.sy, c.tx, c.ty, c.avoid);
        if (c.lines.empty()) {
            expectNoWay();
            EXPECT_FALSE(plan);
            EXPECT_EQ(solidSectors(), 1);
            continue;
        }
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan->jumps() + 1, static_cast<int>(c.lines.size()));
        std::vector<std::pair<int, int>> avoided;
        for (const SectorPosition s : plan->avoided) {
            avoided.emplace_back(s.column, s.row);
        }
        EXPECT_EQ(avoided, c.avoided);
        EXPECT_EQ(solidSectors(), static_cast<int>(c.lines.size()));
        EXPECT_EQ(std::count_if(
                      map.dividers.begin(), map.dividers.end(),
                      [&](const FakeShape& d) { return d.fill == engine.highlightDividerColor(); }),
                  plan->jumps());
        for (const SectorPosition s : plan->sectors) {
            const bool warned =
                std::find(plan->avoided.begin(), plan->avoided.end(), s) != plan->avoided.end();
            EXPECT_EQ(map.sectorShape(s.column, s.row).fill,
                      warned ? engine.avoidedWayColor() : engine.wayPointColor());
        }
    }
}
