#pragma once

#include "TreeModel.h"

#include <QAbstractItemModel>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One database tree as the tree views see it. The model owns the engine
// tree and the views look straight at its nodes: every index points at its
// node, nothing is copied. A view shows the node texts as shownText gives
// them; the nodes keep their bytes.
class DatabaseModel : public QAbstractItemModel {
    Q_OBJECT

public:
    // Whether the user may rename this node in place now.
    using EditableCheck = std::function<bool(const TreeNode&)>;
    // Carries out an in-place rename to the given bytes instead of the model.
    using RenameHandler = std::function<void(const QModelIndex&, std::string)>;
    // Whether the user may drag this node (with its branch) elsewhere.
    using MovableCheck = std::function<bool(const TreeNode&)>;
    // Carries out a dropped node's move instead of the model.
    using MoveHandler = std::function<void(const QModelIndex& from, const QModelIndex& toParent)>;

    struct SearchHit {
        // The hit's absolute index in tree order.
        std::size_t position = 0;
        QModelIndex index;
    };

    explicit DatabaseModel(QObject* parent = nullptr);

    const Tree& tree() const { return tree_; }
    // Null for the invalid index, which stands for the invisible root.
    const TreeNode* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(const TreeNode& node) const;

    // The deepest level a tree view is asked to open: QTreeView lays out open
    // branches recursively, and a path of some 25,000 open levels overflows
    // the stack.
    static constexpr std::size_t ShownLevels = 10'000;
    // What a view should select to show this node: the node itself, or for a
    // node deeper than ShownLevels its ancestor on that level.
    QModelIndex showableIndex(const QModelIndex& index) const;

    // Asked whenever a view wants to edit a node; without one nothing is editable.
    void setEditableCheck(EditableCheck check);
    // Asked whenever a view wants to drag a node; without one nothing is
    // dragged, and nothing is dropped.
    void setMovableCheck(MovableCheck check);
    // The order of renames and sortTree; the user's collation unless set.
    void setTextOrder(TextLess less);

    // Adds a node as the last child of parent, or as the last top-level node
    // for the invalid index; never sorts. Returns the new node's index.
    QModelIndex append(const QModelIndex& parent, std::string bytes);
    QModelIndex append(const QModelIndex& parent, const QString& typed);
    // Removes the node with all its descendants.
    void remove(const QModelIndex& index);
    // Sorts every sibling list; selections and expanded branches stay on their nodes.
    void sortTree();
    // Moves the node with all its descendants under toParent (the invalid
    // index: to the top level), into its place by text as a rename would.
    // Selections and expanded branches stay on their nodes. Returns the
    // node's new index; the invalid index, and nothing changed, when
    // toParent is the node itself or lies beneath it.
    QModelIndex moveNode(const QModelIndex& from, const QModelIndex& toParent);
    // Shows another tree in place of this one.
    void replace(Tree tree);

    // The steps an undo history takes and takes back. The views keep their
    // selections and open branches on the nodes that stay.
    void setRenameHandler(RenameHandler handler);
    void setMoveHandler(MoveHandler handler);
    // The in-place rename's change: the text, then the sibling list sorted again.
    QModelIndex rename(const TreeNode& node, std::string bytes);
    // Sets the text without sorting and gives the node's siblings, the node
    // among them, the order of the list.
    void restoreName(const TreeNode& node, std::string bytes,
                     const std::vector<const TreeNode*>& siblings);
    // Takes the node with its descendants out of the tree and hands it over.
    std::unique_ptr<TreeNode> takeOut(const TreeNode& node);
    // Puts what takeOut handed over back in as parent's child at row.
    QModelIndex putBack(const TreeNode& parent, std::size_t row, std::unique_ptr<TreeNode> node);
    // Shows another tree in place of this one and hands this one over.
    Tree exchange(Tree tree);
    // Takes a moveNode back: the node goes to parent's row, and the list it
    // leaves regains the order of `left`, which holds that list's other nodes.
    void moveBack(const TreeNode& node, const TreeNode& parent, std::size_t row,
                  const std::vector<const TreeNode*>& left);

    // Replaces the tree by the file's (loadTreeFile): throws TreeFileError;
    // after a level error the tree holds the nodes read before it.
    void load(const QString& path);
    // Saves the tree (saveTreeFile): throws TreeFileError, the old file kept.
    void save(const QString& path) const;

    // The first node at or after absolute index start whose shown text
    // contains the keyword, case-sensitive.
    std::optional<SearchHit> find(std::size_t start, const QString& keyword) const;

    // --- QAbstractItemModel --------------------------------------------------
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An in-place rename: stores storedText of the value and sorts the
    // node's sibling list again, or hands it to the rename handler; the node
    // keeps its selection.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Dragging a node onto another entry moves it there (moveNode, or the
    // move handler). A drag
    // carries the node's place in this model; a drop is taken only onto an
    // entry that is neither the dragged node, one beneath it, nor its parent.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

private:
    TreeNode* nodeAt(const QModelIndex& index) const;
    // The node a drag of this model carries; invalid for any other data.
    QModelIndex draggedNode(const QMimeData* data) const;
    // The rows at which the nodes, siblings all, stand now.
    static std::vector<std::size_t> rowsOf(const std::vector<const TreeNode*>& siblings);
    // Runs a change that reorders sibling lists and moves every persistent
    // index, the views' selections among them, along with its node.
    void reorder(const QList<QPersistentModelIndex>& parents, const std::function<void()>& change);

    Tree tree_;
    EditableCheck editable_;
    RenameHandler renameHandler_;
    MoveHandler moveHandler_;
    MovableCheck movable_;
    TextLess order_;
};
