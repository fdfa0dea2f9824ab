#pragma once

#include "TreeModel.h"

#include <QAbstractItemModel>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// One database tree as the tree views see it. The model owns the engine
// tree and the views look straight at its nodes: every index points at its
// node, nothing is copied. A view shows the node texts as DisplayText gives
// them; the nodes keep their bytes.
class TDatabaseModel : public QAbstractItemModel {
    Q_OBJECT

public:
    // Whether the user may rename this node in place now.
    using EditableCheck = std::function<bool(const TTreeNode&)>;

    struct SearchHit {
        // The hit's absolute index in tree order.
        std::size_t Position = 0;
        QModelIndex Index;
    };

    explicit TDatabaseModel(QObject* parent = nullptr);

    const TTree& Tree() const { return tree_; }
    // Null for the invalid index, which stands for the invisible root.
    const TTreeNode* Node(const QModelIndex& index) const;
    QModelIndex IndexOf(const TTreeNode& node) const;

    // The deepest level a tree view is asked to open: QTreeView lays out open
    // branches recursively, and a path of some 25,000 open levels overflows
    // the stack.
    static constexpr std::size_t ShownLevels = 10'000;
    // What a view should select to show this node: the node itself, or for a
    // node deeper than ShownLevels its ancestor on that level.
    QModelIndex ShowableIndex(const QModelIndex& index) const;

    // Asked whenever a view wants to edit a node; without one nothing is editable.
    void SetEditableCheck(EditableCheck check);
    // The order of renames and SortTree; the user's collation unless set.
    void SetTextOrder(TTextLess less);

    // Adds a node as the last child of parent, or as the last top-level node
    // for the invalid index; never sorts. Returns the new node's index.
    QModelIndex Append(const QModelIndex& parent, std::string bytes);
    QModelIndex Append(const QModelIndex& parent, const QString& typed);
    // Removes the node with all its descendants.
    void Remove(const QModelIndex& index);
    // Sorts every sibling list; selections and expanded branches stay on their nodes.
    void SortTree();
    // Shows another tree in place of this one.
    void Replace(TTree tree);

    // Replaces the tree by the file's (LoadTreeFile): throws TreeFileError;
    // after a level error the tree holds the nodes read before it.
    void Load(const QString& path);
    // Saves the tree (SaveTreeFile): throws TreeFileError, the old file kept.
    void Save(const QString& path) const;

    // The first node at or after absolute index start whose shown text
    // contains the keyword, case-sensitive.
    std::optional<SearchHit> Find(std::size_t start, const QString& keyword) const;

    // --- QAbstractItemModel --------------------------------------------------
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An in-place rename: stores StoredText of the value and sorts the
    // node's sibling list again; the node keeps its selection.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    TTreeNode* NodeAt(const QModelIndex& index) const;
    // Runs a change that reorders sibling lists and moves every persistent
    // index, the views' selections among them, along with its node.
    void Reorder(const QList<QPersistentModelIndex>& parents, const std::function<void()>& change);

    TTree tree_;
    EditableCheck editable_;
    TTextLess order_;
};
