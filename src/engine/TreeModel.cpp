#include "TreeModel.h"

#include <algorithm>
#include <cassert>

namespace {

using NodeList = std::vector<std::unique_ptr<TTreeNode>>;

auto ByText(const TTextLess& less) {
    return [&less](const std::unique_ptr<TTreeNode>& a, const std::unique_ptr<TTreeNode>& b) {
        return less(a->Text(), b->Text());
    };
}

// Nodes in the subtree, the node itself counted; an explicit stack keeps a
// deep subtree off the call stack.
std::size_t SubtreeSize(const TTreeNode& top) {
    std::size_t count = 0;
    std::vector<const TTreeNode*> pending{&top};
    while (!pending.empty()) {
        const TTreeNode* node = pending.back();
        pending.pop_back();
        ++count;
        for (std::size_t row = 0; row < node->ChildCount(); ++row) {
            pending.push_back(node->Child(row));
        }
    }
    return count;
}

} // namespace

TTreeNode::~TTreeNode() {
    // Each node is freed only after its children have been moved out, so no
    // destructor ever runs a second one beneath it.
    NodeList pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<TTreeNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children_) {
            pending.push_back(std::move(child));
        }
        node->children_.clear();
    }
}

TTreeNode* TTreeNode::Next() const {
    if (!children_.empty()) {
        return children_.front().get();
    }
    for (const TTreeNode* node = this; node->parent_ != nullptr; node = node->parent_) {
        const NodeList& siblings = node->parent_->children_;
        if (node->row_ + 1 < siblings.size()) {
            return siblings[node->row_ + 1].get();
        }
    }
    return nullptr;
}

void TTreeNode::RenumberFrom(std::size_t row) {
    for (; row < children_.size(); ++row) {
        children_[row]->row_ = row;
    }
}

TTree::TTree()
    : root_(std::make_unique<TTreeNode>()) {
}

TTreeNode& TTree::Append(TTreeNode& parent, std::string text) {
    auto node = std::make_unique<TTreeNode>();
    node->text_ = std::move(text);
    node->parent_ = &parent;
    node->level_ = parent.parent_ == nullptr ? 0 : parent.level_ + 1;
    node->row_ = parent.children_.size();
    parent.children_.push_back(std::move(node));
    ++size_;
    return *parent.children_.back();
}

void TTree::Remove(TTreeNode& node) {
    assert(node.parent_ != nullptr && "the root cannot be removed");
    TTreeNode& parent = *node.parent_;
    const std::size_t row = node.row_;
    size_ -= SubtreeSize(node);
    parent.children_.erase(parent.children_.begin() + static_cast<std::ptrdiff_t>(row));
    parent.RenumberFrom(row);
}

void TTree::Clear() {
    root_->children_.clear();
    size_ = 0;
}

std::size_t TTree::Rename(TTreeNode& node, std::string text, const TTextLess& less) {
    assert(node.parent_ != nullptr && "the root has no text");
    node.text_ = std::move(text);
    TTreeNode& parent = *node.parent_;
    NodeList& siblings = parent.children_;
    auto renamed = std::move(siblings[node.row_]);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(node.row_));
    // A list that was sorted before stays sorted without the node, so the
    // node only needs its place; a list read from a file in its own order is
    // sorted whole first.
    const auto byText = ByText(less);
    if (!std::is_sorted(siblings.begin(), siblings.end(), byText)) {
        std::stable_sort(siblings.begin(), siblings.end(), byText);
    }
    const auto place = std::upper_bound(siblings.begin(), siblings.end(), renamed, byText);
    siblings.insert(place, std::move(renamed));
    parent.RenumberFrom(0);
    return node.row_;
}

void TTree::SortTree(const TTextLess& less) {
    const auto byText = ByText(less);
    for (TTreeNode* node = root_.get(); node != nullptr; node = node->Next()) {
        std::stable_sort(node->children_.begin(), node->children_.end(), byText);
        node->RenumberFrom(0);
    }
}

TTreeNode* TTree::First() const {
    return root_->Next();
}

TTreeNode* TTree::NodeAt(std::size_t index) const {
    TTreeNode* node = First();
    for (; node != nullptr && index > 0; --index) {
        node = node->Next();
    }
    return node;
}

std::size_t TTree::IndexOf(const TTreeNode& wanted) const {
    std::size_t index = 0;
    for (const TTreeNode* node = First(); node != &wanted; node = node->Next()) {
        assert(node != nullptr && "the node belongs to another tree");
        ++index;
    }
    return index;
}

std::optional<TTree::Hit> TTree::FindFrom(std::size_t start, const TTextMatch& matches) const {
    std::size_t index = start;
    for (TTreeNode* node = NodeAt(start); node != nullptr; node = node->Next(), ++index) {
        if (matches(node->Text())) {
            return Hit{index, node};
        }
    }
    return std::nullopt;
}
