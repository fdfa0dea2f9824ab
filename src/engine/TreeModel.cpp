#include "TreeModel.h"

#include <algorithm>
#include <cassert>

namespace {

auto orderByText(const TextLess& less) {
    return [&less](const std::unique_ptr<TreeNode>& a, const std::unique_ptr<TreeNode>& b) {
        return less(a->text(), b->text());
    };
}

// Nodes in the subtree, the node itself counted; an explicit stack keeps a
// deep subtree off the call stack.
std::size_t subtreeSize(const TreeNode& top) {
    std::size_t count = 0;
    std::vector<const TreeNode*> pending{&top};
    while (!pending.empty()) {
        const TreeNode* node = pending.back();
        pending.pop_back();
        ++count;
        for (std::size_t row = 0; row < node->childCount(); ++row) {
            pending.push_back(node->child(row));
        }
    }
    return count;
}

} // namespace

TreeNode::~TreeNode() {
    // Each node is freed only after its children have been moved out, so no
    // destructor ever runs a second one beneath it.
    if (!children_) {
        return;
    }
    NodeList pending = std::move(*children_);
    while (!pending.empty()) {
        std::unique_ptr<TreeNode> node = std::move(pending.back());
        pending.pop_back();
        if (node->children_) {
            for (auto& child : *node->children_) {
                pending.push_back(std::move(child));
            }
            node->children_.reset();
        }
    }
}

TreeNode::NodeList& TreeNode::children() {
    if (!children_) {
        children_ = std::make_unique<NodeList>();
    }
    return *children_;
}

TreeNode* TreeNode::next() const {
    if (childCount() != 0) {
        return child(0);
    }
    for (const TreeNode* node = this; node->parent_ != nullptr; node = node->parent_) {
        if (node->row_ + 1U < node->parent_->childCount()) {
            return node->parent_->child(node->row_ + 1U);
        }
    }
    return nullptr;
}

// An explicit stack keeps a deep subtree off the call stack.
void TreeNode::relevel() {
    std::vector<TreeNode*> pending{this};
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        const TreeNode* parent = node->parent_;
        node->level_ = parent->parent_ == nullptr ? 0 : parent->level_ + 1;
        for (std::size_t row = 0; row < node->childCount(); ++row) {
            pending.push_back(node->child(row));
        }
    }
}

void TreeNode::renumberFrom(std::size_t row) {
    for (; row < childCount(); ++row) {
        (*children_)[row]->row_ = static_cast<std::uint32_t>(row);
    }
}

Tree::Tree()
    : root_(std::make_unique<TreeNode>()) {
}

TreeNode& Tree::append(TreeNode& parent, std::string text) {
    auto node = std::make_unique<TreeNode>();
    node->text_ = std::move(text);
    node->parent_ = &parent;
    node->level_ = parent.parent_ == nullptr ? 0 : parent.level_ + 1;
    node->row_ = static_cast<std::uint32_t>(parent.childCount());
    TreeNode::NodeList& siblings = parent.children();
    siblings.push_back(std::move(node));
    ++size_;
    return *siblings.back();
}

void Tree::remove(TreeNode& node) {
    detach(node);
}

std::unique_ptr<TreeNode> Tree::detach(TreeNode& node) {
    assert(node.parent_ != nullptr && "the root cannot be removed");
    TreeNode& parent = *node.parent_;
    const std::size_t row = node.row_;
    size_ -= subtreeSize(node);
    TreeNode::NodeList& siblings = parent.children();
    const auto at = siblings.begin() + static_cast<std::ptrdiff_t>(row);
    std::unique_ptr<TreeNode> detached = std::move(*at);
    siblings.erase(at);
    parent.renumberFrom(row);
    detached->parent_ = nullptr;
    return detached;
}

TreeNode& Tree::attach(TreeNode& parent, std::size_t row, std::unique_ptr<TreeNode> node) {
    assert(node != nullptr && node->parent_ == nullptr && "only a detached node can be attached");
    TreeNode::NodeList& siblings = parent.children();
    row = std::min(row, siblings.size());
    size_ += subtreeSize(*node);
    node->parent_ = &parent;
    TreeNode& attached = *node;
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(row), std::move(node));
    parent.renumberFrom(row);
    // Put back elsewhere, every node of the branch moves by the same number of levels.
    attached.relevel();
    return attached;
}

void Tree::clear() {
    root_->children_.reset();
    size_ = 0;
}

std::size_t Tree::rename(TreeNode& node, std::string text, const TextLess& less) {
    assert(node.parent_ != nullptr && "the root has no text");
    node.text_ = std::move(text);
    TreeNode& parent = *node.parent_;
    TreeNode::NodeList& siblings = parent.children();
    auto renamed = std::move(siblings[node.row_]);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(node.row_));
    // A list that was sorted before stays sorted without the node, so the
    // node only needs its place; a list read from a file in its own order is
    // sorted whole first.
    const auto byText = orderByText(less);
    if (!std::is_sorted(siblings.begin(), siblings.end(), byText)) {
        std::stable_sort(siblings.begin(), siblings.end(), byText);
    }
    const auto place = std::upper_bound(siblings.begin(), siblings.end(), renamed, byText);
    siblings.insert(place, std::move(renamed));
    parent.renumberFrom(0);
    return node.row_;
}

// The node goes where a rename puts it: a list that was sorted before stays
// sorted, a list in a file's own order is sorted whole first.
std::size_t Tree::move(TreeNode& node, TreeNode& newParent, const TextLess& less) {
    assert(node.parent_ != nullptr && "the root cannot be moved");
    assert(!isWithin(newParent, node) && "a node cannot move beneath itself");
    TreeNode& oldParent = *node.parent_;
    TreeNode::NodeList& oldSiblings = oldParent.children();
    auto moved = std::move(oldSiblings[node.row_]);
    oldSiblings.erase(oldSiblings.begin() + static_cast<std::ptrdiff_t>(node.row_));
    oldParent.renumberFrom(node.row_);

    TreeNode::NodeList& siblings = newParent.children();
    const auto byText = orderByText(less);
    if (!std::is_sorted(siblings.begin(), siblings.end(), byText)) {
        std::stable_sort(siblings.begin(), siblings.end(), byText);
    }
    const auto place = std::upper_bound(siblings.begin(), siblings.end(), moved, byText);
    moved->parent_ = &newParent;
    siblings.insert(place, std::move(moved));
    newParent.renumberFrom(0);
    node.relevel();
    return node.row_;
}

bool Tree::isWithin(const TreeNode& node, const TreeNode& ancestor) {
    for (const TreeNode* at = &node; at != nullptr; at = at->parent_) {
        if (at == &ancestor) {
            return true;
        }
    }
    return false;
}

void Tree::sortTree(const TextLess& less) {
    const auto byText = orderByText(less);
    for (TreeNode* node = root_.get(); node != nullptr; node = node->next()) {
        if (node->childCount() > 1) {
            std::stable_sort(node->children_->begin(), node->children_->end(), byText);
            node->renumberFrom(0);
        }
    }
}

void Tree::setText(TreeNode& node, std::string text) {
    assert(node.parent_ != nullptr && "the root has no text");
    node.text_ = std::move(text);
}

void Tree::arrange(TreeNode& parent, const std::vector<std::size_t>& rows) {
    assert(rows.size() == parent.childCount() && "every row once");
    if (rows.empty()) {
        return;
    }
    TreeNode::NodeList& children = parent.children();
    TreeNode::NodeList arranged;
    arranged.reserve(rows.size());
    for (const std::size_t row : rows) {
        assert(children[row] != nullptr && "every row once");
        arranged.push_back(std::move(children[row]));
    }
    children = std::move(arranged);
    parent.renumberFrom(0);
}

TreeNode* Tree::first() const {
    return root_->next();
}

TreeNode* Tree::nodeAt(std::size_t index) const {
    TreeNode* node = first();
    for (; node != nullptr && index > 0; --index) {
        node = node->next();
    }
    return node;
}

std::size_t Tree::indexOf(const TreeNode& wanted) const {
    std::size_t index = 0;
    for (const TreeNode* node = first(); node != &wanted; node = node->next()) {
        assert(node != nullptr && "the node belongs to another tree");
        ++index;
    }
    return index;
}

std::optional<Tree::Hit> Tree::findFrom(std::size_t start, const TextMatch& matches) const {
    std::size_t index = start;
    for (TreeNode* node = nodeAt(start); node != nullptr; node = node->next(), ++index) {
        if (matches(node->text())) {
            return Hit{index, node};
        }
    }
    return std::nullopt;
}
