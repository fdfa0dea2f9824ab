#include "RouteOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

AvoidFlags races(std::initializer_list<int> numbers) {
    AvoidFlags avoid{};
    for (const int race : numbers) {
        avoid.at(static_cast<std::size_t>(race - 1)) = true;
    }
    return avoid;
}

TEST(RouteOptions, TwoNamesAloneGiveAFullWayWithNothingAvoided) {
    const auto parsed = parseRouteArguments({"Alpha Reach", "Beta"});
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.options.from, "Alpha Reach");
    EXPECT_EQ(parsed.options.to, "Beta");
    EXPECT_FALSE(parsed.options.shortForm);
    EXPECT_EQ(parsed.options.avoid, AvoidFlags{});
    EXPECT_TRUE(parsed.options.coreFile.empty());
    EXPECT_FALSE(parsed.options.help);
    EXPECT_FALSE(parsed.options.leastAvoided);
    EXPECT_EQ(parsed.options.format, OutputFormat::Text);
}

TEST(RouteOptions, OptionsMayStandAnywhereInEitherForm) {
    const auto parsed =
        parseRouteArguments({"--short", "A", "--core", "my.vr", "--avoid=xenon,SPLIT", "B",
                             "--least-avoided", "--avoid", " Teladi ", "--format=json"});
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.options.from, "A");
    EXPECT_EQ(parsed.options.to, "B");
    EXPECT_TRUE(parsed.options.shortForm);
    EXPECT_EQ(parsed.options.coreFile, "my.vr");
    EXPECT_EQ(parsed.options.avoid, races({6, 3, 2}));
    EXPECT_TRUE(parsed.options.leastAvoided);
    EXPECT_EQ(parsed.options.format, OutputFormat::Json);
    EXPECT_EQ(
        parseRouteArguments({"--format", "json", "--format", "text", "A", "B"}).options.format,
        OutputFormat::Text);
}

TEST(RouteOptions, EveryCaptionSelectsItsRaceNumber) {
    const std::vector<std::pair<std::string, int>> captions{
        {"Borons", 1}, {"teladi", 2}, {"SPLIT", 3}, {"Argons", 4}, {"paraNIDS", 5}, {"Xenon", 6}};
    for (const auto& [caption, number] : captions) {
        EXPECT_EQ(raceNumber(caption), number) << caption;
        const auto parsed = parseRouteArguments({"--avoid", caption, "A", "B"});
        ASSERT_TRUE(parsed.ok()) << parsed.error;
        EXPECT_EQ(parsed.options.avoid, races({number})) << caption;
    }
    EXPECT_FALSE(raceNumber("Argon"));
    EXPECT_FALSE(raceNumber(""));
}

TEST(RouteOptions, DoubleDashAndALoneDashLeaveNamesThatLookLikeOptions) {
    const auto parsed = parseRouteArguments({"--", "-Rim-", "--short"});
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.options.from, "-Rim-");
    EXPECT_EQ(parsed.options.to, "--short");
    EXPECT_FALSE(parsed.options.shortForm);

    const auto dash = parseRouteArguments({"-", "B"});
    ASSERT_TRUE(dash.ok()) << dash.error;
    EXPECT_EQ(dash.options.from, "-");
}

TEST(RouteOptions, HelpWinsOverMissingNames) {
    EXPECT_TRUE(parseRouteArguments({"--help"}).options.help);
    const auto parsed = parseRouteArguments({"A", "--help", "--bogus"});
    EXPECT_TRUE(parsed.ok());
    EXPECT_TRUE(parsed.options.help);
}

TEST(RouteOptions, BadUsageIsReportedWithAReason) {
    const std::vector<Arguments> bad{
        {},
        {"A"},
        {"A", "B", "C"},
        {"A", "B", "--core"},
        {"--core=", "A", "B"},
        {"A", "B", "--avoid"},
        {"--avoid", "Xenon,Orks", "A", "B"},
        {"--avoid", "Xenon,", "A", "B"},
        {"--frobnicate", "A", "B"},
        {"-s", "A", "B"},
        {"--", "--help"},
        {"--format", "xml", "A", "B"},
        {"--format=JSON", "A", "B"},
        {"A", "B", "--format"},
        {"--least-avoided=yes", "A", "B"},
    };
    for (const auto& arguments : bad) {
        const auto parsed = parseRouteArguments(arguments);
        EXPECT_FALSE(parsed.ok()) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(parsed.options.help);
    }
    EXPECT_NE(parseRouteArguments({"--avoid", "Orks", "A", "B"}).error.find("\"Orks\""),
              std::string::npos);
}

} // namespace
