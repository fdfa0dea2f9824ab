#include "DatabaseModel.h"

#include "NodeText.h"
#include "TreeFile.h"

DatabaseModel::DatabaseModel(QObject* parent)
    : QAbstractItemModel(parent)
    , order_(displayTextOrder()) {
}

TreeNode* DatabaseModel::nodeAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TreeNode*>(index.internalPointer())
                           : const_cast<TreeNode*>(&tree_.root());
}

const TreeNode* DatabaseModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() ? nodeAt(index) : nullptr;
}

QModelIndex DatabaseModel::indexOf(const TreeNode& node) const {
    if (&node == &tree_.root()) {
        return {};
    }
    return createIndex(static_cast<int>(node.row()), 0, const_cast<TreeNode*>(&node));
}

QModelIndex DatabaseModel::showableIndex(const QModelIndex& index) const {
    const TreeNode* node = nodeOf(index);
    if (node == nullptr) {
        return {};
    }
    while (node->level() > ShownLevels) {
        node = node->parent();
    }
    return indexOf(*node);
}

void DatabaseModel::setEditableCheck(EditableCheck check) {
    editable_ = std::move(check);
}

void DatabaseModel::setTextOrder(TextLess less) {
    order_ = std::move(less);
}

QModelIndex DatabaseModel::append(const QModelIndex& parent, std::string bytes) {
    TreeNode& parentNode = *nodeAt(parent);
    const int row = static_cast<int>(parentNode.childCount());
    beginInsertRows(parent, row, row);
    TreeNode& node = tree_.append(parentNode, std::move(bytes));
    endInsertRows();
    return indexOf(node);
}

QModelIndex DatabaseModel::append(const QModelIndex& parent, const QString& typed) {
    return append(parent, storedText(typed));
}

void DatabaseModel::remove(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    beginRemoveRows(index.parent(), index.row(), index.row());
    tree_.remove(*nodeAt(index));
    endRemoveRows();
}

void DatabaseModel::sortTree() {
    reorder({}, [this] { tree_.sortTree(order_); });
}

void DatabaseModel::replace(Tree tree) {
    exchange(std::move(tree));
}

Tree DatabaseModel::exchange(Tree tree) {
    beginResetModel();
    std::swap(tree_, tree);
    endResetModel();
    return tree;
}

void DatabaseModel::setRenameHandler(RenameHandler handler) {
    renameHandler_ = std::move(handler);
}

QModelIndex DatabaseModel::rename(const TreeNode& node, std::string bytes) {
    TreeNode& renamed = const_cast<TreeNode&>(node);
    reorder({QPersistentModelIndex(indexOf(*node.parent()))},
            [&] { tree_.rename(renamed, std::move(bytes), order_); });
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return index;
}

void DatabaseModel::restoreName(const TreeNode& node, std::string bytes,
                                const std::vector<const TreeNode*>& siblings) {
    TreeNode& renamed = const_cast<TreeNode&>(node);
    TreeNode& parent = *renamed.parent();
    std::vector<std::size_t> rows;
    rows.reserve(siblings.size());
    for (const TreeNode* sibling : siblings) {
        rows.push_back(sibling->row());
    }
    reorder({QPersistentModelIndex(indexOf(parent))}, [&] {
        tree_.setText(renamed, std::move(bytes));
        tree_.arrange(parent, rows);
    });
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
}

std::unique_ptr<TreeNode> DatabaseModel::takeOut(const TreeNode& node) {
    const QModelIndex index = indexOf(node);
    beginRemoveRows(index.parent(), index.row(), index.row());
    std::unique_ptr<TreeNode> taken = tree_.detach(const_cast<TreeNode&>(node));
    endRemoveRows();
    return taken;
}

QModelIndex DatabaseModel::putBack(const TreeNode& parent, std::size_t row,
                                   std::unique_ptr<TreeNode> node) {
    TreeNode& into = const_cast<TreeNode&>(parent);
    row = std::min(row, into.childCount());
    beginInsertRows(indexOf(into), static_cast<int>(row), static_cast<int>(row));
    const TreeNode& attached = tree_.attach(into, row, std::move(node));
    endInsertRows();
    return indexOf(attached);
}

void DatabaseModel::load(const QString& path) {
    Tree loaded;
    try {
        loadTreeFile(loaded, path);
    } catch (const TreeFileError&) {
        // A file that can't be read leaves nothing behind; a bad line leaves
        // the nodes before it, and there is always one, the first line.
        if (!loaded.empty()) {
            replace(std::move(loaded));
        }
        throw;
    }
    replace(std::move(loaded));
}

void DatabaseModel::save(const QString& path) const {
    saveTreeFile(tree_, path);
}

std::optional<DatabaseModel::SearchHit> DatabaseModel::find(std::size_t start,
                                                            const QString& keyword) const {
    const DisplayTextMatch matches(keyword);
    const auto hit = tree_.findFrom(start, std::cref(matches));
    if (!hit) {
        return std::nullopt;
    }
    return SearchHit{hit->index, indexOf(*hit->node)};
}

void DatabaseModel::reorder(const QList<QPersistentModelIndex>& parents,
                            const std::function<void()>& change) {
    emit layoutAboutToBeChanged(parents, VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    change();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        after.append(createIndex(static_cast<int>(nodeAt(index)->row()), index.column(),
                                 index.internalPointer()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged(parents, VerticalSortHint);
}

QModelIndex DatabaseModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    return createIndex(row, column, nodeAt(parent)->child(static_cast<std::size_t>(row)));
}

QModelIndex DatabaseModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    return indexOf(*nodeAt(child)->parent());
}

int DatabaseModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    return static_cast<int>(nodeAt(parent)->childCount());
}

int DatabaseModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant DatabaseModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return displayText(nodeAt(index)->text());
}

Qt::ItemFlags DatabaseModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable_ && editable_(*nodeAt(index))) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool DatabaseModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    if (renameHandler_) {
        renameHandler_(index, storedText(value.toString()));
    } else {
        rename(*nodeAt(index), storedText(value.toString()));
    }
    return true;
}
