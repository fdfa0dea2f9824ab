#include "SearchListModel.h"

#include "DatabaseModel.h"
#include "ItemOrder.h"
#include "NodeText.h"

#include <QString>
#include <algorithm>

namespace {

bool plainAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

// One text as the sorting compares it: the case-folded shown text, read
// straight from the bytes for plain ASCII (nearly every entry), from a folded
// copy otherwise, so that sorting a million entries copies next to nothing.
struct SortKey {
    std::string_view ascii;
    const QString* folded = nullptr;

    char16_t at(qsizetype i) const {
        if (folded != nullptr) {
            return (*folded)[i].unicode();
        }
        const auto byte = static_cast<unsigned char>(ascii[static_cast<std::size_t>(i)]);
        return byte >= 'A' && byte <= 'Z' ? static_cast<char16_t>(byte + ('a' - 'A')) : byte;
    }
    qsizetype size() const {
        return folded != nullptr ? folded->size() : static_cast<qsizetype>(ascii.size());
    }
};

// The order of foldedCase keys compared as QStrings compare: code unit by code unit.
bool before(const SortKey& a, const SortKey& b) {
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t x = a.at(i);
        const char16_t y = b.at(i);
        if (x != y) {
            return x < y;
        }
    }
    return a.size() < b.size();
}

} // namespace

SearchListModel::SearchListModel(QObject* parent)
    : QAbstractListModel(parent) {
}

SearchListModel::~SearchListModel() {
    stopWatching();
}

void SearchListModel::listTreeOf(const DatabaseModel& model) {
    beginResetModel();
    stopWatching();
    packed_.clear();
    ends_.clear();
    nodes_.clear();
    const Tree& tree = model.tree();
    std::vector<QString> foldedTexts;
    struct Entry {
        const TreeNode* node;
        SortKey key;
    };
    std::vector<Entry> entries;
    entries.reserve(tree.size());
    for (const TreeNode* node = tree.first(); node != nullptr; node = node->next()) {
        if (plainAscii(node->text())) {
            entries.push_back({node, {node->text(), nullptr}});
        } else {
            entries.push_back({node, {}});
        }
    }
    // The folded copies are made once all exist, as the vector must not move them.
    for (Entry& entry : entries) {
        if (entry.key.ascii.data() == nullptr) {
            foldedTexts.push_back(foldedCase(displayText(entry.node->text())));
        }
    }
    auto folded = foldedTexts.cbegin();
    for (Entry& entry : entries) {
        if (entry.key.ascii.data() == nullptr) {
            entry.key.folded = &*folded++;
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return before(a.key, b.key); });
    nodes_.reserve(entries.size());
    for (const Entry& entry : entries) {
        nodes_.push_back(entry.node);
    }
    watched_ = &model;
    const auto keep = [this] {
        keepOwnCopy();
    };
    connections_ = {
        connect(&model, &QAbstractItemModel::modelAboutToBeReset, this, keep),
        connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this, keep),
        // Too late for a copy: the list empties rather than look at freed nodes.
        connect(&model, &QObject::destroyed, this,
                [this] {
                    beginResetModel();
                    nodes_.clear();
                    stopWatching();
                    endResetModel();
                }),
    };
    endResetModel();
}

void SearchListModel::keepOwnCopy() {
    if (watched_ == nullptr) {
        return;
    }
    std::size_t total = 0;
    for (const TreeNode* node : nodes_) {
        total += node->text().size();
    }
    packed_.reserve(total);
    ends_.reserve(nodes_.size());
    for (const TreeNode* node : nodes_) {
        packed_ += node->text();
        ends_.push_back(packed_.size());
    }
    nodes_.clear();
    nodes_.shrink_to_fit();
    stopWatching();
}

void SearchListModel::stopWatching() {
    for (const QMetaObject::Connection& connection : connections_) {
        disconnect(connection);
    }
    connections_.clear();
    watched_ = nullptr;
}

std::string_view SearchListModel::bytesAt(std::size_t row) const {
    if (!ends_.empty()) {
        const std::size_t begin = row == 0 ? 0 : ends_[row - 1];
        return std::string_view(packed_).substr(begin, ends_[row] - begin);
    }
    return nodes_[row]->text();
}

int SearchListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return static_cast<int>(ends_.empty() ? nodes_.size() : ends_.size());
}

QVariant SearchListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    // Typing completes from every item in turn: no copy of a text while the tree stands.
    return ends_.empty() ? displayText(nodes_[row]->text())
                         : displayText(std::string(bytesAt(row)));
}
