#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// How sibling lists are ordered: true when the first text goes before the
// second. The windows pass the user's collation; the engine knows no locale.
using TextLess = std::function<bool(const std::string&, const std::string&)>;

// Whether a node's text is what a search looks for.
using TextMatch = std::function<bool(const std::string&)>;

// One entry of a database tree: its text (bytes, undecoded, possibly empty)
// and its ordered children. Nodes are made and changed only through Tree.
class TreeNode {
public:
    TreeNode() = default;
    // Frees the whole subtree without recursing, however deep it is.
    ~TreeNode();
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    const std::string& text() const { return text_; }
    // Null only for the tree's invisible root.
    TreeNode* parent() const { return parent_; }
    // Number of ancestors below the invisible root: 0 for top-level nodes.
    std::size_t level() const { return level_; }
    // Position in the parent's child list.
    std::size_t row() const { return row_; }
    std::size_t childCount() const { return children_ ? children_->size() : 0; }
    TreeNode* child(std::size_t row) const { return (*children_)[row].get(); }

    // The next node in tree order (the node, then its descendants, then its
    // later siblings); null after the last node.
    TreeNode* next() const;

private:
    friend class Tree;
    using NodeList = std::vector<std::unique_ptr<TreeNode>>;

    void renumberFrom(std::size_t row);
    // Sets the levels of the node's subtree from the node's parent down.
    void relevel();
    // The child list, made when the first child comes.
    NodeList& children();

    // A large info file has more than a million nodes, nearly all of them
    // leaves: a node is kept small, and a leaf has no child list at all.
    std::string text_;
    TreeNode* parent_ = nullptr;
    std::uint32_t level_ = 0;
    std::uint32_t row_ = 0;
    std::unique_ptr<NodeList> children_;
};

// A database tree: an ordered forest of text nodes under an invisible root.
// Tree order visits every node before its descendants; a node's absolute
// index is its position in that order, counted from 0.
class Tree {
public:
    Tree();
    // A tree moved from may only be assigned to or destroyed.
    Tree(Tree&&) noexcept = default;
    Tree& operator=(Tree&&) noexcept = default;

    // The invisible root; its children are the top-level nodes.
    TreeNode& root() { return *root_; }
    const TreeNode& root() const { return *root_; }
    bool empty() const { return root_->childCount() == 0; }
    // Number of nodes, the root not counted.
    std::size_t size() const { return size_; }

    // Adds a node as the last child of parent; never sorts.
    TreeNode& append(TreeNode& parent, std::string text);
    // Removes the node with all its descendants; the root cannot be removed.
    void remove(TreeNode& node);
    void clear();

    // Takes the node with all its descendants out of the tree and hands it
    // over, as remove does without freeing it.
    std::unique_ptr<TreeNode> detach(TreeNode& node);
    // Puts a node that detach handed out, with its descendants, in as the
    // child of parent at row (after the last one when row is past the end).
    TreeNode& attach(TreeNode& parent, std::size_t row, std::unique_ptr<TreeNode> node);

    // Sets the node's text and sorts its sibling list again; returns the
    // node's new row.
    std::size_t rename(TreeNode& node, std::string text, const TextLess& less);
    // Moves the node with its descendants under newParent, into its place
    // by text as a rename would; returns the node's new row. newParent must
    // be neither the node nor one of its descendants.
    std::size_t move(TreeNode& node, TreeNode& newParent, const TextLess& less);
    // Whether `node` is `ancestor` or lies beneath it.
    static bool isWithin(const TreeNode& node, const TreeNode& ancestor);
    // Sorts every sibling list of the tree.
    void sortTree(const TextLess& less);
    // Sets the node's text and leaves it where it stands.
    void setText(TreeNode& node, std::string text);
    // Gives the parent's children a new order: rows lists, for each new row,
    // the row the child stands at now; it holds every row exactly once.
    void arrange(TreeNode& parent, const std::vector<std::size_t>& rows);

    // Tree order: the first node, null for an empty tree; TreeNode::Next goes on.
    TreeNode* first() const;
    // The node at an absolute index; null past the last node.
    TreeNode* nodeAt(std::size_t index) const;
    // The absolute index of a node of this tree.
    std::size_t indexOf(const TreeNode& node) const;

    struct Hit {
        std::size_t index = 0;
        TreeNode* node = nullptr;
    };
    // The first node at or after absolute index start whose text matches.
    std::optional<Hit> findFrom(std::size_t start, const TextMatch& matches) const;

private:
    std::unique_ptr<TreeNode> root_;
    std::size_t size_ = 0;
};
