#include "FakeShapes.h"
#include "RouteEngine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A core data file in the temp folder, named after the running test, gone
// when the test ends.
class TempCoreFile {
public:
    explicit TempCoreFile(const std::string& bytes) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() /
                ("vantor_" + std::string(test->name()) + "_" + std::to_string(getpid()) + "_" +
                 std::to_string(counter_++) + ".vr");
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~TempCoreFile() { fs::remove(path_); }
    TempCoreFile(const TempCoreFile&) = delete;
    TempCoreFile& operator=(const TempCoreFile&) = delete;

    std::string filePath() const { return path_.string(); }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

class LoadMatrixTest : public ::testing::Test {
protected:
    LoadMatrixTest() { paintWithDistinctColors(engine); }

    // Loads the bytes; returns the error message, empty when the load went through.
    std::string load(const std::string& bytes) {
        const TempCoreFile file(bytes);
        filePath = file.filePath();
        engine.setFilename(filePath);
        try {
            engine.loadMatrix();
        } catch (const CoreDataError& error) {
            return error.what();
        }
        return {};
    }

    SectorPosition find(const std::string& name) const { return engine.findSectorPosition(name); }

    RouteEngine engine;
    FakeStarMap map{engine};
    std::string filePath;
};

TEST_F(LoadMatrixTest, ReadsEveryFieldIntoTheGridAndTheShapes) {
    ASSERT_EQ(load("3,5, Some System ,4,1,0,1,1\n0,0,Home,1,0,0,0,1\n"), "");

    const StarElement& some = engine.sectorAt(3, 5);
    EXPECT_EQ(some.name, " Some System ");
    EXPECT_EQ(some.race, 4);
    EXPECT_EQ(some.distance, RouteEngine::Unreached);
    EXPECT_EQ((std::array{some.northGate, some.westGate, some.southGate, some.eastGate}),
              (std::array<std::uint8_t, 4>{1, 0, 1, 1}));
    const FakeShape& shape = map.sectorShape(3, 5);
    EXPECT_EQ(shape.hint, " Some System ");
    EXPECT_EQ(shape.column, 3);
    EXPECT_EQ(shape.row, 5);
    EXPECT_EQ(shape.outline, engine.race4Color());
    EXPECT_EQ(map.sectorShape(0, 0).outline, engine.race1Color());

    // A cell that no line names stays empty, its shape untouched.
    EXPECT_EQ(engine.sectorAt(6, 6).name, "");
    EXPECT_EQ(engine.sectorAt(6, 6).race, 0);
    EXPECT_EQ(map.sectorShape(6, 6).column, 0);
    EXPECT_EQ(map.sectorShape(6, 6).row, 0);
    EXPECT_EQ(map.sectorShape(6, 6).outline, kLaidOutOutline);
}

TEST_F(LoadMatrixTest, OddFieldValuesLoadAsTheirLowByteAndCountOnlyWhenExactlyOne) {
    ASSERT_EQ(load("0,0,Home,1,0,0,1,1,more,fields\n" // extra fields are dropped
                   "1,0,Gate2,0,2,2,2,2\n"            // 2 is no gate
                   "2,0,Race7,7,0,0,0,0\n"            // 7 is no race
                   "3,0,Wrap,262,257,0,0,0"),         // low 8 bits; no final line break
              "");

    EXPECT_EQ(engine.sectorAt(0, 0).name, "Home");
    EXPECT_EQ(engine.sectorAt(0, 0).eastGate, 1);
    // Home's gate leads east; Gate2 has none to lead back.
    engine.findWay(0, 0, 1, 0, kAvoidNone, false);
    EXPECT_TRUE(engine.lastWayStatus().reached);
    engine.findWay(1, 0, 0, 0, kAvoidNone, false);
    EXPECT_FALSE(engine.lastWayStatus().reached);
    EXPECT_EQ(map.sectorShape(2, 0).outline, kLaidOutOutline);
    // Race 7 is no race, so avoiding every race still lets a way end there.
    engine.findWay(2, 0, 2, 0, kAvoidAll, false);
    EXPECT_TRUE(engine.lastWayStatus().reached);
    EXPECT_EQ(engine.sectorAt(3, 0).race, 6);
    EXPECT_EQ(engine.sectorAt(3, 0).northGate, 1);
}

TEST_F(LoadMatrixTest, ALaterLineForTheSameCellReplacesEveryField) {
    ASSERT_EQ(load("2,3,First,6,1,1,1,1\n2,3,Second,2,0,1,0,0\n"), "");

    const StarElement& cell = engine.sectorAt(2, 3);
    EXPECT_EQ(cell.name, "Second");
    EXPECT_EQ(cell.race, 2);
    EXPECT_EQ((std::array{cell.northGate, cell.westGate, cell.southGate, cell.eastGate}),
              (std::array<std::uint8_t, 4>{0, 1, 0, 0}));
    EXPECT_EQ(map.sectorShape(2, 3).hint, "Second");
    EXPECT_EQ(map.sectorShape(2, 3).outline, engine.race2Color());
    EXPECT_FALSE(find("First").known());
}

TEST_F(LoadMatrixTest, FindSectorMatchesExactlyAndTheHigherColumnWins) {
    ASSERT_EQ(load("2,6,Twin,1,0,0,0,0\n5,4,Twin,1,0,0,0,0\n5,1,Twin,1,0,0,0,0\n"
                   "3,7,Kessa,1,0,0,0,0\n"),
              "");

    EXPECT_EQ(find("Twin"), (SectorPosition{5, 1}));
    EXPECT_EQ(engine.findSector("Kessa"), 3 | (7 << 8));
    EXPECT_EQ(engine.findSector("kessa"), RouteEngine::NotFound);
    EXPECT_EQ(engine.findSector("Kessa "), RouteEngine::NotFound);
    // The empty name finds an undefined cell: the last column, its first row.
    EXPECT_EQ(find(""), (SectorPosition{7, 0}));
}

TEST_F(LoadMatrixTest, TheEmptyNameIsUnknownInAFullGrid) {
    std::string bytes;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            bytes +=
                std::to_string(x) + "," + std::to_string(y) + "," + gridName(x, y) + ",0,0,0,0,0\n";
        }
    }
    ASSERT_EQ(load(bytes), "");
    EXPECT_EQ(engine.findSector(""), RouteEngine::NotFound);
    EXPECT_EQ(find("S74"), (SectorPosition{7, 4}));
}

TEST_F(LoadMatrixTest, BadLinesStopTheLoadNamingFileLineAndFieldAndEarlierCellsStay) {
    struct Case {
        std::string badLine;
        std::string complaint;
    };
    const Case cases[] = {
        {"1,0,Far,two,0,0,0,0", "line 2: \"two\" is not a whole number (race)"},
        {"", "line 2: \"\" is not a whole number (column)"},
        {"1,0,Short,1", "line 2: \"\" is not a whole number (north gate)"},
        {"1,0,1,0,0,0,1", "line 2: \"\" is not a whole number (east gate)"}, // no name
        {"1,0,Far,1,0,1,0,1x", "line 2: \"1x\" is not a whole number (east gate)"},
        {"8,0,Far,1,0,0,0,0", "line 2: column 8 is outside 0 to 7"},
        {"0,-1,Far,1,0,0,0,0", "line 2: row -1 is outside 0 to 7"},
        {"1,99999999999,Far,1,0,0,0,0", "(row)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.badLine);
        const std::string error =
            load("0,0,Home,1,0,0,0,1\n" + c.badLine + "\n2,0,After,1,0,0,0,0\n");
        EXPECT_EQ(error.rfind(filePath + ", line 2: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.complaint), std::string::npos) << error;
        EXPECT_EQ(engine.sectorAt(0, 0).name, "Home");
        EXPECT_EQ(engine.sectorAt(0, 0).eastGate, 1);
        EXPECT_FALSE(find("After").known());
        // The bad line is not half read: its cell gets neither name nor
        // gates, and the map links nothing to it.
        EXPECT_FALSE(find("Far").known());
        EXPECT_EQ(engine.sectorAt(1, 0).westGate, 0);
        EXPECT_FALSE(map.eastWest(0, 0).visible);
    }
}

// Only a regular file is read: whatever else stands under the name is
// reported at once as a file that cannot be opened, never waited on.
TEST_F(LoadMatrixTest, WhatIsNoRegularFileIsReportedAsUnopenableWithItsFullPath) {
    const fs::path folder =
        fs::temp_directory_path() / ("vantor_kinds_" + std::to_string(getpid()));
    fs::create_directories(folder / "a folder");
    ASSERT_EQ(mkfifo((folder / "a pipe").c_str(), 0600), 0);
    for (const fs::path& unopenable :
         {folder / "missing" / "core.vr", fs::path("vantor_no_such_file.vr"), folder / "a folder",
          folder / "a pipe", fs::path("/dev/zero")}) {
        SCOPED_TRACE(unopenable);
        engine.setFilename(unopenable.string());
        try {
            engine.loadMatrix();
            ADD_FAILURE() << "expected CoreDataError";
        } catch (const CoreDataError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Cannot open the core data file " + fs::absolute(unopenable).string());
        }
        // Nothing was read: no divider suggests a link.
        for (const FakeShape& divider : map.dividers) {
            EXPECT_FALSE(divider.visible);
        }
    }
    fs::remove_all(folder);
}

// A quoted field is cut short and its control bytes are spelled out, so a
// line of megabytes or of random bytes still gives a short message.
TEST_F(LoadMatrixTest, AHugeOrBinaryFieldIsQuotedShort) {
    const std::string huge(20 * 1024 * 1024, '7');
    std::string error = load("0,0,Home,1,0,0,0," + huge + "x\n");
    EXPECT_EQ(error, filePath + ", line 1: \"" + std::string(80, '7') +
                         "...\" is not a whole number (east gate)");
    error = load("\x01\x7F\xE9\0tail,0,x,1,0,0,0,0\n"s);
    EXPECT_EQ(error, filePath + ", line 1: \"\\x01\\x7F\xC3\xA9\\x00tail\" is not a whole number "
                                "(column)");
}

TEST_F(LoadMatrixTest, WindowsLineEndsAndCodePageNamesLoadByteForByte) {
    const std::string caen = "Ca\xe9n";
    ASSERT_EQ(load("0,0," + caen + ",4,0,0,0,1\r\n1,0,Far,4,0,1,0,0\r\n"), "");

    EXPECT_EQ(engine.sectorAt(0, 0).name, caen);
    EXPECT_EQ(map.sectorShape(0, 0).hint, caen);
    EXPECT_EQ(find(caen), (SectorPosition{0, 0}));
    EXPECT_EQ(find("Far"), (SectorPosition{1, 0}));
    EXPECT_EQ(engine.sectorAt(0, 0).eastGate, 1);
}

} // namespace
