#include "TreeModel.h"
#include "TreeText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const TextLess kByteOrder = [](const std::string& a, const std::string& b) {
    return a < b;
};

// The texts of a node's children, in their order.
std::vector<std::string> childTexts(const TreeNode& node) {
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < node.childCount(); ++row) {
        texts.push_back(node.child(row)->text());
    }
    return texts;
}

// Every node's row, parent and level agree with where the walk finds it.
void expectConsistent(const Tree& tree) {
    std::size_t index = 0;
    for (const TreeNode* node = tree.first(); node != nullptr; node = node->next(), ++index) {
        ASSERT_EQ(node->parent()->child(node->row()), node);
        EXPECT_EQ(node->level(), node->parent() == &tree.root() ? 0 : node->parent()->level() + 1);
        EXPECT_EQ(tree.nodeAt(index), node);
        EXPECT_EQ(tree.indexOf(*node), index);
    }
    EXPECT_EQ(index, tree.size());
    EXPECT_EQ(tree.nodeAt(index), nullptr);
}

Tree readText(const std::string& text) {
    Tree tree;
    readTree(text, tree);
    return tree;
}

TEST(TreeModel, AppendAddsTheLastChildAndNeverSorts) {
    Tree tree;
    TreeNode& root = tree.append(tree.root(), "The Zenit-Database of the starsystems");
    for (const char* group : {"Teladi", "Argons", "Split"}) {
        tree.append(root, group);
    }
    tree.append(*root.child(1), "Kessa Reach");
    tree.append(tree.root(), "Notes");
    EXPECT_EQ(childTexts(root), (std::vector<std::string>{"Teladi", "Argons", "Split"}));
    EXPECT_EQ(writeTree(tree),
              "The Zenit-Database of the starsystems\r\n\tTeladi\r\n\tArgons\r\n\t\tKessa Reach\r\n"
              "\tSplit\r\nNotes\r\n");
    expectConsistent(tree);
}

TEST(TreeModel, RemoveTakesTheNodeWithAllItsDescendants) {
    Tree tree = readText("a\n\tb\n\t\tc\n\t\td\n\te\nf");
    tree.remove(*tree.nodeAt(1));
    EXPECT_EQ(writeTree(tree), "a\r\n\te\r\nf\r\n");
    EXPECT_EQ(tree.size(), 3u);
    expectConsistent(tree);
    tree.clear();
    EXPECT_TRUE(tree.empty());
    EXPECT_EQ(tree.first(), nullptr);
}

// A branch taken out comes back where it was with its nodes, the same
// objects; put in elsewhere, its levels follow the new parent.
TEST(TreeModel, ADetachedBranchCanBeAttachedAgain) {
    Tree tree = readText("a\n\tb\n\t\tc\n\t\td\n\te\nf");
    TreeNode* b = tree.nodeAt(1);
    std::unique_ptr<TreeNode> branch = tree.detach(*b);
    EXPECT_EQ(writeTree(tree), "a\r\n\te\r\nf\r\n");
    EXPECT_EQ(tree.size(), 3u);
    expectConsistent(tree);

    EXPECT_EQ(&tree.attach(*tree.nodeAt(0), 0, std::move(branch)), b);
    EXPECT_EQ(writeTree(tree), "a\r\n\tb\r\n\t\tc\r\n\t\td\r\n\te\r\nf\r\n");
    expectConsistent(tree);

    tree.attach(tree.root(), 99, tree.detach(*b));
    std::unique_ptr<TreeNode> a = tree.detach(*tree.nodeAt(0));
    tree.attach(*tree.nodeAt(0), 0, std::move(a));
    EXPECT_EQ(writeTree(tree), "f\r\n\ta\r\n\t\te\r\nb\r\n\tc\r\n\td\r\n");
    expectConsistent(tree);
}

TEST(TreeModel, ArrangeAndSetTextLeaveTheOrderToTheCaller) {
    Tree tree = readText("r\n\ta\n\t\tx\n\tb\n\tc");
    TreeNode& r = *tree.nodeAt(0);
    tree.setText(*r.child(0), "z");
    tree.arrange(r, {2, 0, 1});
    EXPECT_EQ(writeTree(tree), "r\r\n\tc\r\n\tz\r\n\t\tx\r\n\tb\r\n");
    expectConsistent(tree);
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
    Tree tree = readText(c.text);
    TreeNode& renamed = *tree.root().child(0)->child(1);
    EXPECT_EQ(tree.rename(renamed, c.newText, kByteOrder), c.newRow);
    EXPECT_EQ(renamed.text(), c.newText);
    EXPECT_EQ(writeTree(tree), c.written);
    expectConsistent(tree);
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

struct MoveCase {
    const char* name;
    std::string text;
    std::size_t moved; // absolute indexes
    std::size_t newParent;
    std::size_t newRow;
    std::string written;
};

class TreeModelMove : public testing::TestWithParam<MoveCase> {};

// The node takes its branch along and its place by text in the new list.
TEST_P(TreeModelMove, TakesTheBranchToItsPlaceUnderTheNewParent) {
    const MoveCase& c = GetParam();
    Tree tree = readText(c.text);
    TreeNode& moved = *tree.nodeAt(c.moved);
    EXPECT_EQ(tree.move(moved, *tree.nodeAt(c.newParent), kByteOrder), c.newRow);
    EXPECT_EQ(writeTree(tree), c.written);
    expectConsistent(tree);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, TreeModelMove,
    testing::Values(
        MoveCase{"DeeperWithItsBranch", "r\n\tn\n\t\tdeep\n\t\t\tdeeper\n\tg\n\t\ta\n\t\tz", 1, 4,
                 1, "r\r\n\tg\r\n\t\ta\r\n\t\tn\r\n\t\t\tdeep\r\n\t\t\t\tdeeper\r\n\t\tz\r\n"},
        MoveCase{"UpALevel", "r\n\tg\n\t\tnote\n\t\t\tsub", 2, 0, 1,
                 "r\r\n\tg\r\n\tnote\r\n\t\tsub\r\n"},
        MoveCase{"IntoAnUnsortedListSortsIt", "r\n\tm\nq\n\tz\n\ta", 1, 2, 1,
                 "r\r\nq\r\n\ta\r\n\tm\r\n\tz\r\n"},
        MoveCase{"UnderALaterSibling", "a\nb\n\tx\nc", 0, 3, 0, "b\r\n\tx\r\nc\r\n\ta\r\n"}),
    [](const auto& test) { return test.param.name; });

TEST(TreeModel, IsWithinTellsTheBranch) {
    const Tree tree = readText("a\n\tb\n\t\tc\nd");
    EXPECT_TRUE(Tree::isWithin(*tree.nodeAt(2), *tree.nodeAt(0)));
    EXPECT_TRUE(Tree::isWithin(*tree.nodeAt(1), *tree.nodeAt(1)));
    EXPECT_FALSE(Tree::isWithin(*tree.nodeAt(0), *tree.nodeAt(2)));
    EXPECT_FALSE(Tree::isWithin(*tree.nodeAt(3), *tree.nodeAt(0)));
}

TEST(TreeModel, SortTreeSortsEveryListAndKeepsEqualTextsInOrder) {
    Tree tree = readText("z\n\tc\n\tb\n\t\ty\n\t\tx\na\n\tk\n\tk\n\t\tsecond");
    tree.rename(*tree.nodeAt(6), "k", kByteOrder); // the first "k" is now after the other
    tree.sortTree(kByteOrder);
    EXPECT_EQ(writeTree(tree),
              "a\r\n\tk\r\n\t\tsecond\r\n\tk\r\nz\r\n\tb\r\n\t\tx\r\n\t\ty\r\n\tc\r\n");
    expectConsistent(tree);
}

TEST(TreeModel, FindFromStepsFromHitToHitInTreeOrder) {
    const Tree tree = readText("Teladi\n\tNyana's Hideout\n\tTeladi Gain\nArgons\n\tTeladi Gain");
    const auto contains = [](std::string keyword) {
        return [keyword](const std::string& text) {
            return text.find(keyword) != std::string::npos;
        };
    };
    std::vector<std::size_t> hits;
    for (auto hit = tree.findFrom(0, contains("Teladi")); hit;
         hit = tree.findFrom(hit->index + 1, contains("Teladi"))) {
        EXPECT_EQ(tree.indexOf(*hit->node), hit->index);
        hits.push_back(hit->index);
    }
    EXPECT_EQ(hits, (std::vector<std::size_t>{0, 2, 4}));
    EXPECT_FALSE(tree.findFrom(0, contains("teladi")));
    EXPECT_FALSE(tree.findFrom(99, contains("")));
}

// Every walk over the tree is a loop: a chain far deeper than the call
// stack could follow is built, sorted, searched, removed and freed.
TEST(TreeModel, AChainAHundredThousandLevelsDeepIsHandledWithoutRecursion) {
    constexpr std::size_t depth = 100'000;
    Tree tree;
    TreeNode* node = &tree.root();
    for (std::size_t level = 0; level < depth; ++level) {
        node = &tree.append(*node, "n");
        tree.append(*node->parent(), "m"); // a sibling, so every list has two entries
    }
    EXPECT_EQ(node->level(), depth - 1);
    tree.sortTree(kByteOrder);
    const auto hit = tree.findFrom(0, [](const std::string& text) { return text == "n"; });
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->index, 1u);
    EXPECT_EQ(tree.indexOf(*node), 2 * depth - 1);
    tree.rename(*node, "a", kByteOrder);
    EXPECT_EQ(node->row(), 0u);
    tree.remove(*tree.nodeAt(1));
    EXPECT_EQ(tree.size(), 1u);
}

} // namespace
