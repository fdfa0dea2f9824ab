#include "StringTokenizer.h"

#include <gtest/gtest.h>

namespace {

StringTokenizer throughTokenizer() {
    StringTokenizer tokenizer;
    tokenizer.setDivider(" through");
    return tokenizer;
}

TEST(StringTokenizer, CutsAWayLineIntoNameAndRest) {
    auto tokenizer = throughTokenizer();
    tokenizer.tokenize("Kessa Reach through east-gate to");
    EXPECT_EQ(tokenizer.nextToken(), "Kessa Reach");
    EXPECT_EQ(tokenizer.nextToken(), " east-gate to");
    EXPECT_THROW(tokenizer.nextToken(), NoMoreTokensError);
}

TEST(StringTokenizer, ALineWithoutTheDividerComesBackWhole) {
    auto tokenizer = throughTokenizer();
    for (const std::string line : {"Kessa Reach", "east-gate", ""}) {
        tokenizer.tokenize(line);
        EXPECT_EQ(tokenizer.nextToken(), line);
    }
}

TEST(StringTokenizer, ALeadingDividerYieldsTheEmptyTextFirst) {
    auto tokenizer = throughTokenizer();
    tokenizer.tokenize(" through north-gate to");
    EXPECT_EQ(tokenizer.nextToken(), "");
    EXPECT_EQ(tokenizer.nextToken(), " north-gate to");
}

TEST(StringTokenizer, TheNameIsCutAtTheFirstThrough) {
    auto tokenizer = throughTokenizer();
    tokenizer.tokenize("Pass through Fire through west-gate to");
    EXPECT_EQ(tokenizer.nextToken(), "Pass");
}

TEST(StringTokenizer, NoMoreTokensLeavesTheRemainderAndCarriesItsMessage) {
    auto tokenizer = throughTokenizer();
    tokenizer.tokenize("alone");
    tokenizer.nextToken();
    try {
        tokenizer.nextToken();
        FAIL() << "expected ENoMoreTokens";
    } catch (const NoMoreTokensError& error) {
        EXPECT_STREQ(error.what(), "No more tokens in specified string");
    }
    EXPECT_EQ(tokenizer.remainder(), "");
}

TEST(StringTokenizer, AnEmptyDividerNeverMatches) {
    StringTokenizer tokenizer;
    tokenizer.tokenize("anything");
    EXPECT_THROW(tokenizer.nextToken(), NoMoreTokensError);
}

} // namespace
