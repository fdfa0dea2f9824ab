#include "RouteOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

AvoidFlags Races(std::initializer_list<int> numbers) {
    AvoidFlags avoid{};
    for (const int race : numbers) {
        avoid.at(static_cast<std::size_t>(race - 1)) = true;
    }
    return avoid;
}

TEST(RouteOptions, TwoNamesAloneGiveAFullWayWithNothingAvoided) {
    const auto parsed = ParseRouteArguments({"Alpha Reach", "Beta"});
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    EXPECT_EQ(parsed.Options.From, "Alpha Reach");
    EXPECT_EQ(parsed.Options.To, "Beta");
    EXPECT_FALSE(parsed.Options.ShortForm);
    EXPECT_EQ(parsed.Options.Avoid, AvoidFlags{});
    EXPECT_TRUE(parsed.Options.CoreFile.empty());
    EXPECT_FALSE(parsed.Options.Help);
}

TEST(RouteOptions, OptionsMayStandAnywhereInEitherForm) {
    const auto parsed = ParseRouteArguments(
        {"--short", "A", "--core", "my.vr", "--avoid=xenon,SPLIT", "B", "--avoid", " Teladi "});
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    EXPECT_EQ(parsed.Options.From, "A");
    EXPECT_EQ(parsed.Options.To, "B");
    EXPECT_TRUE(parsed.Options.ShortForm);
    EXPECT_EQ(parsed.Options.CoreFile, "my.vr");
    EXPECT_EQ(parsed.Options.Avoid, Races({6, 3, 2}));
}

TEST(RouteOptions, EveryCaptionSelectsItsRaceNumber) {
    const std::vector<std::pair<std::string, int>> captions{
        {"Borons", 1}, {"teladi", 2}, {"SPLIT", 3}, {"Argons", 4}, {"paraNIDS", 5}, {"Xenon", 6}};
    for (const auto& [caption, number] : captions) {
        EXPECT_EQ(RaceNumber(caption), number) << caption;
        const auto parsed = ParseRouteArguments({"--avoid", caption, "A", "B"});
        ASSERT_TRUE(parsed.Ok()) << parsed.Error;
        EXPECT_EQ(parsed.Options.Avoid, Races({number})) << caption;
    }
    EXPECT_FALSE(RaceNumber("Argon"));
    EXPECT_FALSE(RaceNumber(""));
}

TEST(RouteOptions, DoubleDashAndALoneDashLeaveNamesThatLookLikeOptions) {
    const auto parsed = ParseRouteArguments({"--", "-Rim-", "--short"});
    ASSERT_TRUE(parsed.Ok()) << parsed.Error;
    EXPECT_EQ(parsed.Options.From, "-Rim-");
    EXPECT_EQ(parsed.Options.To, "--short");
    EXPECT_FALSE(parsed.Options.ShortForm);

    const auto dash = ParseRouteArguments({"-", "B"});
    ASSERT_TRUE(dash.Ok()) << dash.Error;
    EXPECT_EQ(dash.Options.From, "-");
}

TEST(RouteOptions, HelpWinsOverMissingNames) {
    EXPECT_TRUE(ParseRouteArguments({"--help"}).Options.Help);
    const auto parsed = ParseRouteArguments({"A", "--help", "--bogus"});
    EXPECT_TRUE(parsed.Ok());
    EXPECT_TRUE(parsed.Options.Help);
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
    };
    for (const auto& arguments : bad) {
        const auto parsed = ParseRouteArguments(arguments);
        EXPECT_FALSE(parsed.Ok()) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(parsed.Options.Help);
    }
    EXPECT_NE(ParseRouteArguments({"--avoid", "Orks", "A", "B"}).Error.find("\"Orks\""),
              std::string::npos);
}

} // namespace
