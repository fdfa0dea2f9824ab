#include "FakeShapes.h"
#include "RouteEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class Drawing : public ::testing::Test {
protected:
    Drawing() { PaintWithDistinctColors(engine); }

    int Count(const auto& shapes, auto predicate) {
        return static_cast<int>(std::count_if(shapes.begin(), shapes.end(), predicate));
    }
    int VisibleDividers() {
        return Count(map.dividers, [](const FakeShape& s) { return s.visible; });
    }
    int SolidSectors() {
        return Count(map.sectors, [](const FakeShape& s) { return s.solid; });
    }

    TNinjaMatrix engine;
    FakeStarMap map{engine};
};

TEST_F(Drawing, ADividerShowsOnlyWhereBothFacingGatesExist) {
    Link(engine, 2, 3, Side::East);
    Link(engine, 6, 1, Side::South);
    OneSidedGate(engine, 4, 4, Side::East);
    OneSidedGate(engine, 5, 5, Side::West);
    OneSidedGate(engine, 1, 6, Side::North);
    engine.Sector(3, 0).EastGate = 2;
    engine.Sector(4, 0).WestGate = 2;

    engine.ShowDividers();

    for (FakeShape* linked : {&map.EastWest(2, 3), &map.NorthSouth(6, 1)}) {
        EXPECT_TRUE(linked->visible);
        EXPECT_TRUE(linked->solid);
        EXPECT_EQ(linked->fill, engine.DividerColor());
    }
    EXPECT_EQ(VisibleDividers(), 2);
}

TEST_F(Drawing, OutlinesTakeTheRaceColourAndNoRaceKeepsTheLaidOutOne) {
    for (int race = 0; race <= 7; ++race) {
        engine.Sector(race, 0).Race = static_cast<std::uint8_t>(race);
        engine.SetRaceColor(race, 0);
        const bool hasRace = race >= 1 && race <= 6;
        EXPECT_EQ(map.SectorShape(race, 0).outline,
                  hasRace ? engine.RaceColor(race) : kLaidOutOutline)
            << "race " << race;
    }
}

TEST_F(Drawing, ResetMatrixUndoesAWayButKeepsOutlines) {
    Link(engine, 0, 0, Side::East);
    Link(engine, 1, 0, Side::South);
    OneSidedGate(engine, 2, 1, Side::West);
    ASSERT_TRUE(engine.FindWay(2, 1, 0, 0, kAvoidNone, false));
    ASSERT_TRUE(engine.LastWayStatus().Reached);
    EXPECT_EQ(map.EastWest(0, 0).fill, engine.HighlightDividerColor());
    EXPECT_EQ(map.NorthSouth(1, 0).fill, engine.HighlightDividerColor());
    EXPECT_FALSE(map.EastWest(1, 1).visible); // crossed, but one-sided
    map.SectorShape(0, 0).SetOutlineColor(engine.StartPointColor());

    engine.ResetMatrix();

    EXPECT_EQ(map.EastWest(0, 0).fill, engine.DividerColor());
    EXPECT_EQ(map.NorthSouth(1, 0).fill, engine.DividerColor());
    EXPECT_EQ(VisibleDividers(), 2);
    EXPECT_EQ(SolidSectors(), 0);
    EXPECT_EQ(engine.Sector(0, 0).Distance, TNinjaMatrix::Unreached);
    EXPECT_EQ(map.SectorShape(0, 0).outline, engine.StartPointColor());
}

TEST_F(Drawing, HighlightRaceClearsTheMapThenFillsThatRaceOnly) {
    Link(engine, 0, 0, Side::East);
    engine.Sector(1, 1).Race = 2;
    engine.Sector(5, 6).Race = 2;
    engine.Sector(4, 4).Race = 3;
    engine.HighlightSector(4, 4);
    EXPECT_TRUE(map.SectorShape(4, 4).solid);
    EXPECT_EQ(map.SectorShape(4, 4).fill, engine.HighLightColor());

    engine.HighlightRace(2);
    EXPECT_EQ(SolidSectors(), 2);
    EXPECT_TRUE(map.SectorShape(1, 1).solid && map.SectorShape(5, 6).solid);
    EXPECT_EQ(map.SectorShape(5, 6).fill, engine.HighLightColor());

    engine.HighlightRace(5); // nobody's race: only the reset remains
    EXPECT_EQ(SolidSectors(), 0);
    EXPECT_EQ(VisibleDividers(), 1);
}

} // namespace
