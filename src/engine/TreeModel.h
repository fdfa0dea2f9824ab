#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// How sibling lists are ordered: true when the first text goes before the
// second. The windows pass the user's collation; the engine knows no locale.
using TTextLess = std::function<bool(const std::string&, const std::string&)>;

// Whether a node's text is what a search looks for.
using TTextMatch = std::function<bool(const std::string&)>;

// One entry of a database tree: its text (bytes, undecoded, possibly empty)
// and its ordered children. Nodes are made and changed only through TTree.
class TTreeNode {
public:
    TTreeNode() = default;
    // Frees the whole subtree without recursing, however deep it is.
    ~TTreeNode();
    TTreeNode(const TTreeNode&) = delete;
    TTreeNode& operator=(const TTreeNode&) = delete;

    const std::string& Text() const { return text_; }
    // Null only for the tree's invisible root.
    TTreeNode* Parent() const { return parent_; }
    // Number of ancestors below the invisible root: 0 for top-level nodes.
    std::size_t Level() const { return level_; }
    // Position in the parent's child list.
    std::size_t Row() const { return row_; }
    std::size_t ChildCount() const { return children_.size(); }
    TTreeNode* Child(std::size_t row) const { return children_[row].get(); }

    // The next node in tree order (the node, then its descendants, then its
    // later siblings); null after the last node.
    TTreeNode* Next() const;

private:
    friend class TTree;

    void RenumberFrom(std::size_t row);

    std::string text_;
    TTreeNode* parent_ = nullptr;
    std::size_t level_ = 0;
    std::size_t row_ = 0;
    std::vector<std::unique_ptr<TTreeNode>> children_;
};

// A database tree: an ordered forest of text nodes under an invisible root.
// Tree order visits every node before its descendants; a node's absolute
// index is its position in that order, counted from 0.
class TTree {
public:
    TTree();
    // A tree moved from may only be assigned to or destroyed.
    TTree(TTree&&) noexcept = default;
    TTree& operator=(TTree&&) noexcept = default;

    // The invisible root; its children are the top-level nodes.
    TTreeNode& Root() { return *root_; }
    const TTreeNode& Root() const { return *root_; }
    bool Empty() const { return root_->ChildCount() == 0; }
    // Number of nodes, the root not counted.
    std::size_t Size() const { return size_; }

    // Adds a node as the last child of parent; never sorts.
    TTreeNode& Append(TTreeNode& parent, std::string text);
    // Removes the node with all its descendants; the root cannot be removed.
    void Remove(TTreeNode& node);
    void Clear();

    // Sets the node's text and sorts its sibling list again; returns the
    // node's new row.
    std::size_t Rename(TTreeNode& node, std::string text, const TTextLess& less);
    // Sorts every sibling list of the tree.
    void SortTree(const TTextLess& less);

    // Tree order: the first node, null for an empty tree; TTreeNode::Next goes on.
    TTreeNode* First() const;
    // The node at an absolute index; null past the last node.
    TTreeNode* NodeAt(std::size_t index) const;
    // The absolute index of a node of this tree.
    std::size_t IndexOf(const TTreeNode& node) const;

    struct Hit {
        std::size_t Index = 0;
        TTreeNode* Node = nullptr;
    };
    // The first node at or after absolute index start whose text matches.
    std::optional<Hit> FindFrom(std::size_t start, const TTextMatch& matches) const;

private:
    std::unique_ptr<TTreeNode> root_;
    std::size_t size_ = 0;
};
