#include "FakeShapes.h"
#include "RouteEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class Drawing : public ::testing::Test {
protected:
    Drawing() { paintWithDistinctColors(engine); }

    int count(const auto& shapes, auto predicate) {
        return static_cast<int>(std::count_if(shapes.begin(), shapes.end(), predicate));
    }
    int visibleDividers() {
        return count(map.dividers, [](const FakeShape& s) { return s.visible; });
    }
    int solidSectors() {
        return count(map.sectors, [](const FakeShape& s) { return s.solid; });
    }

    RouteEngine engine;
    FakeStarMap map{engine};
};

TEST_F(Drawing, ADividerShowsOnlyWhereBothFacingGatesExist) {
    linkLabel(engine, 2, 3, Side::East);
    linkLabel(engine, 6, 1, Side::South);
    oneSidedGate(engine, 4, 4, Side::East);
    oneSidedGate(engine, 5, 5, Side::West);
    oneSidedGate(engine, 1, 6, Side::North);
    engine.editSector(3, 0).eastGate = 2;
    engine.editSector(4, 0).westGate = 2;

    engine.showDividers();

    for (FakeShape* linked : {&map.eastWest(2, 3), &map.northSouth(6, 1)}) {
        EXPECT_TRUE(linked->visible);
        EXPECT_TRUE(linked->solid);
        EXPECT_EQ(linked->fill, engine.dividerColor());
    }
    EXPECT_EQ(visibleDividers(), 2);
}

TEST_F(Drawing, OutlinesTakeTheRaceColourAndNoRaceKeepsTheLaidOutOne) {
    for (int race = 0; race <= 7; ++race) {
        engine.editSector(race, 0).race = static_cast<std::uint8_t>(race);
        engine.setRaceColor(race, 0);
        const bool hasRace = race >= 1 && race <= 6;
        EXPECT_EQ(map.sectorShape(race, 0).outline,
                  hasRace ? engine.raceColor(race) : kLaidOutOutline)
            << "race " << race;
    }
}

TEST_F(Drawing, ResetMatrixUndoesAWayButKeepsOutlines) {
    linkLabel(engine, 0, 0, Side::East);
    linkLabel(engine, 1, 0, Side::South);
    oneSidedGate(engine, 2, 1, Side::West);
    ASSERT_TRUE(engine.findWay(2, 1, 0, 0, kAvoidNone, false));
    ASSERT_TRUE(engine.lastWayStatus().reached);
    EXPECT_EQ(map.eastWest(0, 0).fill, engine.highlightDividerColor());
    EXPECT_EQ(map.northSouth(1, 0).fill, engine.highlightDividerColor());
    EXPECT_FALSE(map.eastWest(1, 1).visible); // crossed, but one-sided
    map.sectorShape(0, 0).setOutlineColor(engine.startPointColor());

    engine.resetMatrix();

    EXPECT_EQ(map.eastWest(0, 0).fill, engine.dividerColor());
    EXPECT_EQ(map.northSouth(1, 0).fill, engine.dividerColor());
    EXPECT_EQ(visibleDividers(), 2);
    EXPECT_EQ(solidSectors(), 0);
    EXPECT_EQ(engine.sectorAt(0, 0).distance, RouteEngine::Unreached);
    EXPECT_EQ(map.sectorShape(0, 0).outline, engine.startPointColor());
}

TEST_F(Drawing, HighlightRaceClearsTheMapThenFillsThatRaceOnly) {
    linkLabel(engine, 0, 0, Side::East);
    engine.editSector(1, 1).race = 2;
    engine.editSector(5, 6).race = 2;
    engine.editSector(4, 4).race = 3;
    engine.highlightSector(4, 4);
    EXPECT_TRUE(map.sectorShape(4, 4).solid);
    EXPECT_EQ(map.sectorShape(4, 4).fill, engine.highLightColor());

    engine.highlightRace(2);
    EXPECT_EQ(solidSectors(), 2);
    EXPECT_TRUE(map.sectorShape(1, 1).solid && map.sectorShape(5, 6).solid);
    EXPECT_EQ(map.sectorShape(5, 6).fill, engine.highLightColor());

    engine.highlightRace(5); // nobody's race: only the reset remains
    EXPECT_EQ(solidSectors(), 0);
    EXPECT_EQ(visibleDividers(), 1);
}

} // namespace
