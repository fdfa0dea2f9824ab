#include "FakeShapes.h"
#include "RouteEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<RecordedLine>;

class FindWay : public ::testing::Test {
protected:
    FindWay() {
        NameEverySector(engine);
        PaintWithDistinctColors(engine);
        engine.SetOutPutField(&sink);
    }

    // Links every pair of neighbours inside the rectangle.
    void LinkBlock(int columns, int rows) {
        for (int x = 0; x < columns; ++x) {
            for (int y = 0; y < rows; ++y) {
                if (x + 1 < columns) {
                    Link(engine, x, y, Side::East);
                }
                if (y + 1 < rows) {
                    Link(engine, x, y, Side::South);
                }
            }
        }
    }

    Lines Way(int sx, int sy, int tx, int ty, const AvoidFlags& avoid = kAvoidNone,
              bool shortForm = false) {
        sink.lines.clear();
        EXPECT_TRUE(engine.FindWay(sx, sy, tx, ty, avoid, shortForm));
        EXPECT_EQ(engine.LastWayStatus().LinesWritten, static_cast<int>(sink.lines.size()));
        return sink.lines;
    }

    void ExpectNoWay() const {
        EXPECT_TRUE(sink.lines.empty());
        EXPECT_FALSE(engine.LastWayStatus().Reached);
        EXPECT_EQ(engine.LastWayStatus().Message, "Navigation Error");
    }

    int SolidSectors() {
        return static_cast<int>(std::count_if(map.sectors.begin(), map.sectors.end(),
                                              [](const FakeShape& s) { return s.solid; }));
    }

    TNinjaMatrix engine;
    FakeStarMap map{engine};
    FakeLineSink sink;
};

TEST_F(FindWay, StartEqualToTargetIsOneBoldLineInBothForms) {
    LinkBlock(3, 3);
    for (const bool shortForm : {false, true}) {
        EXPECT_EQ(Way(1, 1, 1, 1, kAvoidNone, shortForm), (Lines{{"S11", true}}));
        EXPECT_TRUE(engine.LastWayStatus().Reached);
        EXPECT_EQ(engine.LastWayStatus().Message, "");
        EXPECT_TRUE(map.SectorShape(1, 1).solid);
        EXPECT_EQ(map.SectorShape(1, 1).fill, engine.WayPointColor());
        EXPECT_EQ(SolidSectors(), 1);
    }
}

TEST_F(FindWay, AnAvoidedStartIsLeftButAnAvoidedTargetBlocks) {
    LinkBlock(3, 3);
    engine.Sector(1, 1).Race = 6;

    EXPECT_EQ(Way(1, 1, 1, 0, kAvoidXenon),
              (Lines{{"S11 through north-gate to", true}, {"S10", false}}));

    Way(1, 1, 1, 1, kAvoidXenon);
    ExpectNoWay();

    Way(0, 0, 1, 1, kAvoidXenon);
    ExpectNoWay();
    EXPECT_TRUE(map.SectorShape(0, 0).solid);
    EXPECT_EQ(SolidSectors(), 1);
}

TEST_F(FindWay, TiesGoNorthThenWestThenSouthThenEast) {
    LinkBlock(3, 3);
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
        const Lines lines = Way(1, 1, c.tx, c.ty);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines.front().text, c.firstLine);
    }
}

TEST_F(FindWay, AvoidedRacesAreRoundedAndRaceZeroIsNeverAvoided) {
    // S00 - S10 - S20 along row 0, or the long way round through row 1.
    Link(engine, 0, 0, Side::East);
    Link(engine, 1, 0, Side::East);
    Link(engine, 0, 0, Side::South);
    Link(engine, 0, 1, Side::East);
    Link(engine, 1, 1, Side::East);
    Link(engine, 2, 1, Side::North);
    engine.Sector(1, 0).Race = 6;
    engine.Sector(0, 1).Race = 7; // no race, like 0 on the rest of the detour

    EXPECT_EQ(Way(0, 0, 2, 0).size(), 3u);
    EXPECT_EQ(Way(0, 0, 2, 0, kAvoidXenon), (Lines{{"S00 through south-gate to", true},
                                                   {"S01 through east-gate to", false},
                                                   {"S11 through east-gate to", true},
                                                   {"S21 through north-gate to", false},
                                                   {"S20", true}}));
    AvoidFlags allButXenon = kAvoidAll;
    allButXenon[5] = false;
    EXPECT_EQ(Way(0, 0, 2, 0, allButXenon).size(), 3u);
    EXPECT_EQ(Way(0, 0, 2, 0, kAvoidAll).size(), 5u);

    engine.Sector(0, 0).SouthGate = 0; // no detour left
    engine.Sector(0, 1).NorthGate = 0;
    Way(0, 0, 2, 0, kAvoidXenon);
    ExpectNoWay();
}

TEST_F(FindWay, FullAndShortFormsAlternateBoldFromTheFirstLine) {
    LinkBlock(3, 3);
    EXPECT_EQ(Way(0, 0, 1, 1, kAvoidNone, false), (Lines{{"S00 through south-gate to", true},
                                                         {"S01 through east-gate to", false},
                                                         {"S11", true}}));
    EXPECT_EQ(Way(0, 0, 1, 1, kAvoidNone, true),
              (Lines{{"south-gate", true}, {"east-gate", false}, {"S11", true}}));
    EXPECT_EQ(Way(2, 2, 2, 0, kAvoidNone, true),
              (Lines{{"north-gate", true}, {"north-gate", false}, {"S20", true}}));
    EXPECT_EQ(Way(2, 2, 0, 2, kAvoidNone, true),
              (Lines{{"west-gate", true}, {"west-gate", false}, {"S02", true}}));
}

TEST_F(FindWay, EachStepLightsTheDividerItCrossesAndFillsBothSectors) {
    LinkBlock(3, 3);
    struct Case {
        int tx, ty;
        int divider;
        std::string line;
    };
    const Case cases[] = {
        {1, 0, NorthSouthDividerIndex(1, 0), "S11 through north-gate to"},
        {0, 1, EastWestDividerIndex(0, 1), "S11 through west-gate to"},
        {1, 2, NorthSouthDividerIndex(1, 1), "S11 through south-gate to"},
        {2, 1, EastWestDividerIndex(1, 1), "S11 through east-gate to"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Way(1, 1, c.tx, c.ty).front().text, c.line);
        for (int i = 0; i < TNinjaMatrix::DividerCount; ++i) {
            const FakeShape& divider = map.dividers.at(static_cast<std::size_t>(i));
            const bool lit = divider.fill == engine.HighlightDividerColor();
            EXPECT_EQ(lit, i == c.divider) << "divider " << i;
            EXPECT_TRUE(!lit || (divider.solid && divider.visible));
        }
        EXPECT_EQ(SolidSectors(), 2);
        EXPECT_EQ(map.SectorShape(c.tx, c.ty).fill, engine.WayPointColor());
    }
}

TEST_F(FindWay, AOneSidedGateIsUsedOnlyFromItsOwnSide) {
    OneSidedGate(engine, 0, 0, Side::East);
    EXPECT_EQ(Way(0, 0, 1, 0), (Lines{{"S00 through east-gate to", true}, {"S10", false}}));
    EXPECT_FALSE(map.EastWest(0, 0).visible);

    Way(1, 0, 0, 0);
    ExpectNoWay();
}

TEST_F(FindWay, AOneSidedGateIsFlownOnlyInItsOwnDirection) {
    // S20 has a gate west to S10, but S10 none back east: S20 can be left
    // that way, never entered. No half way is written toward it.
    Link(engine, 0, 0, Side::East);
    OneSidedGate(engine, 2, 0, Side::West);

    EXPECT_TRUE(Way(0, 0, 2, 0).empty());
    EXPECT_FALSE(engine.LastWayStatus().Reached);
    EXPECT_EQ(engine.LastWayStatus().Message, "Navigation Error");

    EXPECT_EQ(Way(2, 0, 0, 0), (Lines{{"S20 through west-gate to", true},
                                      {"S10 through west-gate to", false},
                                      {"S00", true}}));
}

TEST_F(FindWay, GatesOffTheGridAreIgnored) {
    OneSidedGate(engine, 0, 0, Side::North);
    OneSidedGate(engine, 0, 0, Side::West);
    OneSidedGate(engine, 7, 7, Side::South);
    OneSidedGate(engine, 7, 7, Side::East);
    Link(engine, 0, 0, Side::East);
    EXPECT_EQ(Way(1, 0, 0, 0).size(), 2u);
    Way(0, 0, 7, 7);
    ExpectNoWay();
    Way(7, 7, 0, 0);
    ExpectNoWay();
}

TEST_F(FindWay, ASectorOffTheGridFailsTheSearchInsteadOfEscapingIt) {
    LinkBlock(2, 2);
    EXPECT_FALSE(engine.FindWay(8, 0, 0, 0, kAvoidNone, false));
    EXPECT_FALSE(engine.FindWay(0, 0, 0, -1, kAvoidNone, false));
}

TEST_F(FindWay, WorksWithoutShapesOrOutputBox) {
    TNinjaMatrix bare;
    Link(bare, 3, 3, Side::East);
    EXPECT_TRUE(bare.FindWay(3, 3, 4, 3, kAvoidNone, false));
    EXPECT_EQ(bare.LastWayStatus().LinesWritten, 2);
    EXPECT_TRUE(bare.LastWayStatus().Reached);
}

} // namespace
