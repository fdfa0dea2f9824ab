#include "StringTokenizer.h"

#include <gtest/gtest.h>

namespace {

TStringTokenizer ThroughTokenizer() {
    TStringTokenizer tokenizer;
    tokenizer.SetDivider(" through");
    return tokenizer;
}

TEST(StringTokenizer, CutsAWayLineIntoNameAndRest) {
    auto tokenizer = ThroughTokenizer();
    tokenizer.Tokenize("Kessa Reach through east-gate to");
    EXPECT_EQ(tokenizer.NextToken(), "Kessa Reach");
    EXPECT_EQ(tokenizer.NextToken(), " east-gate to");
    EXPECT_THROW(tokenizer.NextToken(), ENoMoreTokens);
}

TEST(StringTokenizer, ALineWithoutTheDividerComesBackWhole) {
    auto tokenizer = ThroughTokenizer();
    for (const std::string line : {"Kessa Reach", "east-gate", ""}) {
        tokenizer.Tokenize(line);
        EXPECT_EQ(tokenizer.NextToken(), line);
    }
}

TEST(StringTokenizer, ALeadingDividerYieldsTheEmptyTextFirst) {
    auto tokenizer = ThroughTokenizer();
    tokenizer.Tokenize(" through north-gate to");
    EXPECT_EQ(tokenizer.NextToken(), "");
    EXPECT_EQ(tokenizer.NextToken(), " north-gate to");
}

TEST(StringTokenizer, TheNameIsCutAtTheFirstThrough) {
    auto tokenizer = ThroughTokenizer();
    tokenizer.Tokenize("Pass through Fire through west-gate to");
    EXPECT_EQ(tokenizer.NextToken(), "Pass");
}

TEST(StringTokenizer, NoMoreTokensLeavesTheRemainderAndCarriesItsMessage) {
    auto tokenizer = ThroughTokenizer();
    tokenizer.Tokenize("alone");
    tokenizer.NextToken();
    try {
        tokenizer.NextToken();
        FAIL() << "expected ENoMoreTokens";
    } catch (const ENoMoreTokens& error) {
        EXPECT_STREQ(error.what(), "No more tokens in specified string");
    }
    EXPECT_EQ(tokenizer.Remainder(), "");
}

TEST(StringTokenizer, AnEmptyDividerNeverMatches) {
    TStringTokenizer tokenizer;
    tokenizer.Tokenize("anything");
    EXPECT_THROW(tokenizer.NextToken(), ENoMoreTokens);
}

} // namespace
