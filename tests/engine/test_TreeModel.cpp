#include "TreeModel.h"
#include "TreeText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const TTextLess kByteOrder = [](const std::string& a, const std::string& b) {
    return a < b;
};

// The texts of a node's children, in their order.
std::vector<std::string> ChildTexts(const TTreeNode& node) {
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < node.ChildCount(); ++row) {
        texts.push_back(node.Child(row)->Text());
    }
    return texts;
}

// Every node's row, parent and level agree with where the walk finds it.
void ExpectConsistent(const TTree& tree) {
    std::size_t index = 0;
    for (const TTreeNode* node = tree.First(); node != nullptr; node = node->Next(), ++index) {
        ASSERT_EQ(node->Parent()->Child(node->Row()), node);
        EXPECT_EQ(node->Level(), node->Parent() == &tree.Root() ? 0 : node->Parent()->Level() + 1);
        EXPECT_EQ(tree.NodeAt(index), node);
        EXPECT_EQ(tree.IndexOf(*node), index);
    }
    EXPECT_EQ(index, tree.Size());
    EXPECT_EQ(tree.NodeAt(index), nullptr);
}

TTree ReadText(const std::string& text) {
    TTree tree;
    ReadTree(text, tree);
    return tree;
}

TEST(TreeModel, AppendAddsTheLastChildAndNeverSorts) {
    TTree tree;
    TTreeNode& root = tree.Append(tree.Root(), "The Zenit-Database of the starsystems");
    for (const char* group : {"Teladi", "Argons", "Split"}) {
        tree.Append(root, group);
    }
    tree.Append(*root.Child(1), "Kessa Reach");
    tree.Append(tree.Root(), "Notes");
    EXPECT_EQ(ChildTexts(root), (std::vector<std::string>{"Teladi", "Argons", "Split"}));
    EXPECT_EQ(WriteTree(tree),
              "The Zenit-Database of the starsystems\r\n\tTeladi\r\n\tArgons\r\n\t\tKessa Reach\r\n"
              "\tSplit\r\nNotes\r\n");
    ExpectConsistent(tree);
}

TEST(TreeModel, RemoveTakesTheNodeWithAllItsDescendants) {
    TTree tree = ReadText("a\n\tb\n\t\tc\n\t\td\n\te\nf");
    tree.Remove(*tree.NodeAt(1));
    EXPECT_EQ(WriteTree(tree), "a\r\n\te\r\nf\r\n");
    EXPECT_EQ(tree.Size(), 3u);
    ExpectConsistent(tree);
    tree.Clear();
    EXPECT_TRUE(tree.Empty());
    EXPECT_EQ(tree.First(), nullptr);
}

struct RenameCase {
    const char* name;
    std::string text;
    std::string newText;
    std::size_t newRow;
    std::string written;
};

class TreeModelRename : public testing::TestWithParam<RenameCase> {};

// The renamed node is always the second child of "r".
TEST_P(TreeModelRename, SortsTheNodesSiblingListAgain) {
    const RenameCase& c = GetParam();
    TTree tree = ReadText(c.text);
    TTreeNode& renamed = *tree.Root().Child(0)->Child(1);
    EXPECT_EQ(tree.Rename(renamed, c.newText, kByteOrder), c.newRow);
    EXPECT_EQ(renamed.Text(), c.newText);
    EXPECT_EQ(WriteTree(tree), c.written);
    ExpectConsistent(tree);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, TreeModelRename,
    testing::Values(
        RenameCase{"MovesToTheEndWithItsChildren", "r\n\ta\n\tb\n\t\tz\n\t\ty\n\tc", "d", 2,
                   "r\r\n\ta\r\n\tc\r\n\td\r\n\t\tz\r\n\t\ty\r\n"},
        RenameCase{"MovesToTheFront", "r\n\tb\n\tc\n\td", "a", 0, "r\r\n\ta\r\n\tb\r\n\td\r\n"},
        RenameCase{"StaysWhereItFits", "r\n\ta\n\tc\n\te", "d", 1, "r\r\n\ta\r\n\td\r\n\te\r\n"},
        RenameCase{"AnUnsortedListIsSortedWhole", "r\n\tc\n\tx\n\ta\nq", "b", 1,
                   "r\r\n\ta\r\n\tb\r\n\tc\r\nq\r\n"},
        RenameCase{"EmptyTextGoesFirst", "r\n\ta\n\tb", "", 0, "r\r\n\t\r\n\ta\r\n"}),
    [](const auto& test) { return test.param.name; });

TEST(TreeModel, SortTreeSortsEveryListAndKeepsEqualTextsInOrder) {
    TTree tree = ReadText("z\n\tc\n\tb\n\t\ty\n\t\tx\na\n\tk\n\tk\n\t\tsecond");
    tree.Rename(*tree.NodeAt(6), "k", kByteOrder); // the first "k" is now after the other
    tree.SortTree(kByteOrder);
    EXPECT_EQ(WriteTree(tree),
              "a\r\n\tk\r\n\t\tsecond\r\n\tk\r\nz\r\n\tb\r\n\t\tx\r\n\t\ty\r\n\tc\r\n");
    ExpectConsistent(tree);
}

TEST(TreeModel, FindFromStepsFromHitToHitInTreeOrder) {
    const TTree tree = ReadText("Teladi\n\tNyana's Hideout\n\tTeladi Gain\nArgons\n\tTeladi Gain");
    const auto contains = [](std::string keyword) {
        return [keyword](const std::string& text) {
            return text.find(keyword) != std::string::npos;
        };
    };
    std::vector<std::size_t> hits;
    for (auto hit = tree.FindFrom(0, contains("Teladi")); hit;
         hit = tree.FindFrom(hit->Index + 1, contains("Teladi"))) {
        EXPECT_EQ(tree.IndexOf(*hit->Node), hit->Index);
        hits.push_back(hit->Index);
    }
    EXPECT_EQ(hits, (std::vector<std::size_t>{0, 2, 4}));
    EXPECT_FALSE(tree.FindFrom(0, contains("teladi")));
    EXPECT_FALSE(tree.FindFrom(99, contains("")));
}

// Every walk over the tree is a loop: a chain far deeper than the call
// stack could follow is built, sorted, searched, removed and freed.
TEST(TreeModel, AChainAHundredThousandLevelsDeepIsHandledWithoutRecursion) {
    constexpr std::size_t depth = 100'000;
    TTree tree;
    TTreeNode* node = &tree.Root();
    for (std::size_t level = 0; level < depth; ++level) {
        node = &tree.Append(*node, "n");
        tree.Append(*node->Parent(), "m"); // a sibling, so every list has two entries
    }
    EXPECT_EQ(node->Level(), depth - 1);
    tree.SortTree(kByteOrder);
    const auto hit = tree.FindFrom(0, [](const std::string& text) { return text == "n"; });
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Index, 1u);
    EXPECT_EQ(tree.IndexOf(*node), 2 * depth - 1);
    tree.Rename(*node, "a", kByteOrder);
    EXPECT_EQ(node->Row(), 0u);
    tree.Remove(*tree.NodeAt(1));
    EXPECT_EQ(tree.Size(), 1u);
}

} // namespace
