#include "TreeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <sstream>
#include <streambuf>

namespace {

using namespace std::string_literals;

// The tree text the writer makes of these lines: each line's leading TABs
// are its level.
std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::string readBack(const std::string& bytes) {
    Tree tree;
    readTree(bytes, tree);
    return writeTree(tree);
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::string written;
};

class TreeTextRead : public testing::TestWithParam<ReadCase> {};

TEST_P(TreeTextRead, BuildsTheTreeTheLinesDescribe) {
    EXPECT_EQ(readBack(GetParam().bytes), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Format, TreeTextRead,
    testing::Values(
        ReadCase{"Empty", "", ""}, ReadCase{"OneNul", "\0"s, ""},
        ReadCase{"CrLf", "a\r\n\tb\r\nc\r\n", Lines({"a", "\tb", "c"})},
        ReadCase{"LoneLfNoFinalBreak", "a\n\tb\nc", Lines({"a", "\tb", "c"})},
        ReadCase{"LoneCrOnly", "a\r\tb\rc\r", Lines({"a", "\tb", "c"})},
        ReadCase{"EmptyLinesAreTopLevelNodes", "a\r\n\tb\r\n\r\r\nc",
                 Lines({"a", "\tb", "", "", "c"})},
        ReadCase{"OnlyABreak", "\r\n", Lines({""})},
        ReadCase{"NulEndsTheText", "a\r\n\tb\0\r\nc"s, Lines({"a", "\tb"})},
        ReadCase{"NulRightAfterCr", "a\r\0\nb"s, Lines({"a"})},
        ReadCase{"FirstLineIsTopLevelWhateverItsIndent", "\t\ta\r\n\tb", Lines({"a", "\tb"})},
        ReadCase{"TabAndSpaceEachCountOneLevel", "a\n b\n\t c\n \td",
                 Lines({"a", "\tb", "\t\tc", "\t\td"})},
        ReadCase{"ShallowerLineBecomesSiblingOfThatAncestor", "a\n\tb\n\t\tc\n\t\t\td\n\te\nf",
                 Lines({"a", "\tb", "\t\tc", "\t\t\td", "\te", "f"})},
        ReadCase{"TextKeepsInnerAndTrailingBlanks", "a \t b \t", Lines({"a \t b \t"})},
        ReadCase{"IndentOnlyLineIsAnEmptyNode", "a\n\t", Lines({"a", "\t"})},
        ReadCase{"HighBytesUnchanged", "\x80\xff\xc3\xa4\n\t\xe9",
                 Lines({"\x80\xff\xc3\xa4", "\t\xe9"})}),
    [](const auto& test) { return test.param.name; });

TEST(TreeText, ReadingReplacesTheNodesAndKeepsFileOrder) {
    Tree tree;
    readTree("old\n\tchild", tree);
    readTree("b\na\n\tz\n\ty", tree);
    EXPECT_EQ(writeTree(tree), Lines({"b", "a", "\tz", "\ty"}));
    EXPECT_EQ(tree.size(), 4u);
}

struct LevelCase {
    const char* name;
    std::string bytes;
    std::size_t level;
    std::string text;
    std::string kept;
};

class TreeTextLevelError : public testing::TestWithParam<LevelCase> {};

TEST_P(TreeTextLevelError, StopsAtTheLineAndKeepsTheNodesBeforeIt) {
    const LevelCase& c = GetParam();
    Tree tree;
    try {
        readTree(c.bytes, tree);
        FAIL() << "expected a level error";
    } catch (const TreeLevelError& error) {
        EXPECT_EQ(error.level(), c.level);
        EXPECT_EQ(error.text(), c.text);
    }
    EXPECT_EQ(writeTree(tree), c.kept);
}

INSTANTIATE_TEST_SUITE_P(Format, TreeTextLevelError,
                         testing::Values(LevelCase{"TwoBelowAnIndentedFirstLine",
                                                   "\t\ta\r\n\t\tb\r\nc", 2, "b", Lines({"a"})},
                                         LevelCase{"ThreeAfterOne", "a\n\tb\n\t\t\tc \n\td", 3,
                                                   "c ", Lines({"a", "\tb"})},
                                         LevelCase{"MixedBlanks", "a\n  \t x", 4, "x",
                                                   Lines({"a"})},
                                         LevelCase{"EmptyText", "a\n\t\t\n", 2, "", Lines({"a"})}),
                         [](const auto& test) { return test.param.name; });

TEST(TreeText, WritingAndReadingBackGivesTheSameTree) {
    Tree tree;
    TreeNode& universe = tree.append(tree.root(), "Universe");
    TreeNode& argons = tree.append(universe, "Argons");
    tree.append(argons, "Kessa \xe4 Reach ");
    tree.append(argons, "");
    tree.append(universe, "Teladi");
    tree.append(tree.root(), "Notes");
    const std::string written = writeTree(tree);
    EXPECT_EQ(written, Lines({"Universe", "\tArgons", "\t\tKessa \xe4 Reach ", "\t\t", "\tTeladi",
                              "Notes"}));
    EXPECT_EQ(readBack(written), written);
    EXPECT_EQ(writeTree(Tree()), "");
}

TEST(TreeText, AStreamReadsLikeTheSameBytes) {
    // The CR LF pair and the NUL straddle the stream reader's 64 KiB pieces.
    const std::string longLine(64 * 1024 - 1, 'x');
    for (const std::string& bytes :
         {"a\r\n\tb\rc\n"s, longLine + "\r\nnext", longLine + "z\0tail"s}) {
        std::istringstream in(bytes);
        Tree tree;
        readTree(in, tree);
        EXPECT_EQ(writeTree(tree), readBack(bytes));
    }
}

TEST(TreeText, HugeLinesAreReadWhole) {
    const std::string megabyte(1 << 20, 'x');
    EXPECT_EQ(readBack(megabyte + "\n" + megabyte), Lines({megabyte, megabyte}));
    Tree tree;
    EXPECT_THROW(readTree("a\n" + std::string(1 << 20, '\t') + "b", tree), TreeLevelError);
}

// Makes the tree text of a chain `depth` levels deep as it is read, so the
// gigabytes of indentation never sit in memory at once.
class DeepChainText : public std::streambuf {
public:
    explicit DeepChainText(std::size_t depth)
        : depth_(depth) {}

protected:
    int_type underflow() override {
        piece_.clear();
        while (piece_.size() < 64 * 1024 && line_ < depth_) {
            const std::size_t tabs = std::min(line_ - tabsDone_, std::size_t{64 * 1024});
            piece_.append(tabs, '\t');
            tabsDone_ += tabs;
            if (tabsDone_ == line_) {
                piece_ += "n\r\n";
                ++line_;
                tabsDone_ = 0;
            }
        }
        if (piece_.empty()) {
            return traits_type::eof();
        }
        setg(piece_.data(), piece_.data(), piece_.data() + piece_.size());
        return traits_type::to_int_type(piece_[0]);
    }

private:
    std::size_t depth_;
    std::size_t line_ = 0;
    std::size_t tabsDone_ = 0;
    std::string piece_;
};

TEST(TreeText, AFileAHundredThousandLevelsDeepReadsAndWrites) {
    constexpr std::size_t depth = 100'000;
    DeepChainText text(depth);
    std::istream in(&text);
    auto tree = std::make_unique<Tree>();
    readTree(in, *tree);
    ASSERT_EQ(tree->size(), depth);
    EXPECT_EQ(tree->nodeAt(depth - 1)->level(), depth - 1);

    std::size_t written = 0;
    writeTree(*tree, [&written](std::string_view piece) { written += piece.size(); });
    EXPECT_EQ(written, depth * (depth - 1) / 2 + depth * 3);
    tree.reset();
}

} // namespace
