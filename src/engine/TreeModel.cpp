#include "TreeModel.h"

#include <algorithm>
#include <cassert>

namespace {

using NodeList = std::vector<std::unique_ptr<TreeNode>>;

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
    NodeList pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<TreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children_) {
            pending.push_back(std::move(child));
        }
        node->children_.clear();
    }
}

TreeNode* TreeNode::next() const {
    if (!children_.empty()) {
        return children_.front().get();
    }
    for (const TreeNode* node = this; node->parent_ != nullptr; node = node->parent_) {
        const NodeList& siblings = node->parent_->children_;
        if (node->row_ + 1 < siblings.size()) {
            return siblings[node->row_ + 1].get();
        }
    }
    return nullptr;
}

void TreeNode::renumberFrom(std::size_t row) {
    for (; row < children_.size(); ++row) {
        children_[row]->row_ = row;
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
    node->row_ = parent.children_.size();
    parent.children_.push_back(std::move(node));
    ++size_;
    return *parent.children_.back();
}

void Tree::remove(TreeNode& node) {
    detach(node);
}

std::unique_ptr<TreeNode> Tree::detach(TreeNode& node) {
    assert(node.parent_ != nullptr && "the root cannot be removed");
    TreeNode& parent = *node.parent_;
    const std::size_t row = node.row_;
    size_ -= subtreeSize(node);
    const auto at = parent.children_.begin() + static_cast<std::ptrdiff_t>(row);
    std::unique_ptr<TreeNode> detached = std::move(*at);
    parent.children_.erase(at);
    parent.renumberFrom(row);
    detached->parent_ = nullptr;
    return detached;
}

TreeNode& Tree::attach(TreeNode& parent, std::size_t row, std::unique_ptr<TreeNode> node) {
    assert(node != nullptr && node->parent_ == nullptr && "only a detached node can be attached");
    row = std::min(row, parent.children_.size());
    node->parent_ = &parent;
    // Put back where it came from, the branch keeps its levels; elsewhere
    // every node of it moves by the same number of levels.
    const std::size_t level = parent.parent_ == nullptr ? 0 : parent.level_ + 1;
    const std::size_t oldLevel = node->level_;
    std::size_t count = 0;
    std::vector<TreeNode*> pending{node.get()};
    while (!pending.empty()) {
        TreeNode* next = pending.back();
        pending.pop_back();
        ++count;
        next->level_ = next->level_ - oldLevel + level;
        for (const auto& child : next->children_) {
            pending.push_back(child.get());
        }
    }
    size_ += count;
    TreeNode& attached = *node;
    parent.children_.insert(parent.children_.begin() + static_cast<std::ptrdiff_t>(row),
                            std::move(node));
    parent.renumberFrom(row);
    return attached;
}

void Tree::clear() {
    root_->children_.clear();
    size_ = 0;
}

std::size_t Tree::rename(TreeNode& node, std::string text, const TextLess& less) {
    assert(node.parent_ != nullptr && "the root has no text");
    node.text_ = std::move(text);
    TreeNode& parent = *node.parent_;
    NodeList& siblings = parent.children_;
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

void Tree::sortTree(const TextLess& less) {
    const auto byText = orderByText(less);
    for (TreeNode* node = root_.get(); node != nullptr; node = node->next()) {
        std::stable_sort(node->children_.begin(), node->children_.end(), byText);
        node->renumberFrom(0);
    }
}

void Tree::setText(TreeNode& node, std::string text) {
    assert(node.parent_ != nullptr && "the root has no text");
    node.text_ = std::move(text);
}

void Tree::arrange(TreeNode& parent, const std::vector<std::size_t>& rows) {
    assert(rows.size() == parent.children_.size() && "every row once");
    NodeList arranged;
    arranged.reserve(rows.size());
    for (const std::size_t row : rows) {
        assert(parent.children_[row] != nullptr && "every row once");
        arranged.push_back(std::move(parent.children_[row]));
    }
    parent.children_ = std::move(arranged);
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
