#include "DatabaseModel.h"

#include "NodeText.h"
#include "TreeFile.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <limits>

namespace {

// A dragged entry: which model it comes from and its rows from the top level down.
const QString EntryMimeType = QStringLiteral("application/x-vantor-entry");

} // namespace

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

void DatabaseModel::setMovableCheck(MovableCheck check) {
    movable_ = std::move(check);
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

QModelIndex DatabaseModel::moveNode(const QModelIndex& from, const QModelIndex& toParent) {
    TreeNode* node = from.isValid() ? nodeAt(from) : nullptr;
    TreeNode& newParent = *nodeAt(toParent);
    if (node == nullptr || Tree::isWithin(newParent, *node)) {
        return {};
    }
    reorder({QPersistentModelIndex(from.parent()), QPersistentModelIndex(toParent)},
            [&] { tree_.move(*node, newParent, order_); });
    return indexOf(*node);
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

void DatabaseModel::setMoveHandler(MoveHandler handler) {
    moveHandler_ = std::move(handler);
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
    const std::vector<std::size_t> rows = rowsOf(siblings);
    reorder({QPersistentModelIndex(indexOf(parent))}, [&] {
        tree_.setText(renamed, std::move(bytes));
        tree_.arrange(parent, rows);
    });
    const QModelIndex index = indexOf(node);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
}

void DatabaseModel::moveBack(const TreeNode& node, const TreeNode& parent, std::size_t row,
                             const std::vector<const TreeNode*>& left) {
    TreeNode& moved = const_cast<TreeNode&>(node);
    TreeNode& from = *moved.parent();
    TreeNode& into = const_cast<TreeNode&>(parent);
    reorder({QPersistentModelIndex(indexOf(from)), QPersistentModelIndex(indexOf(into))}, [&] {
        tree_.attach(into, row, tree_.detach(moved));
        tree_.arrange(from, rowsOf(left));
    });
}

std::vector<std::size_t> DatabaseModel::rowsOf(const std::vector<const TreeNode*>& siblings) {
    std::vector<std::size_t> rows;
    rows.reserve(siblings.size());
    for (const TreeNode* sibling : siblings) {
        rows.push_back(sibling->row());
    }
    return rows;
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

QStringList DatabaseModel::mimeTypes() const {
    return {EntryMimeType};
}

QMimeData* DatabaseModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.size() != 1 || nodeOf(indexes.first()) == nullptr) {
        return nullptr;
    }
    QList<quint64> rows;
    for (const TreeNode* node = nodeAt(indexes.first()); node->parent() != nullptr;
         node = node->parent()) {
        rows.prepend(node->row());
    }
    QByteArray encoded;
    QDataStream out(&encoded, QIODevice::WriteOnly);
    out << quint64(reinterpret_cast<quintptr>(this)) << rows;
    auto* data = new QMimeData;
    data->setData(EntryMimeType, encoded);
    return data;
}

QModelIndex DatabaseModel::draggedNode(const QMimeData* data) const {
    if (data == nullptr || !data->hasFormat(EntryMimeType)) {
        return {};
    }
    QDataStream in(data->data(EntryMimeType));
    quint64 model = 0;
    QList<quint64> rows;
    in >> model >> rows;
    if (in.status() != QDataStream::Ok || model != reinterpret_cast<quintptr>(this)) {
        return {};
    }
    QModelIndex node;
    for (const quint64 row : rows) {
        node = row <= quint64(std::numeric_limits<int>::max())
                   ? index(static_cast<int>(row), 0, node)
                   : QModelIndex();
        if (!node.isValid()) {
            return {};
        }
    }
    return node;
}

bool DatabaseModel::canDropMimeData(const QMimeData* data, Qt::DropAction action, int, int,
                                    const QModelIndex& parent) const {
    const QModelIndex dragged = draggedNode(data);
    return action == Qt::MoveAction && dragged.isValid() && parent.isValid() &&
           (flags(dragged) & Qt::ItemIsDragEnabled) && parent != dragged.parent() &&
           !Tree::isWithin(*nodeAt(parent), *nodeAt(dragged));
}

bool DatabaseModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                 const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) {
        return false;
    }
    if (moveHandler_) {
        moveHandler_(draggedNode(data), parent);
        return true;
    }
    return moveNode(draggedNode(data), parent).isValid();
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
    // A view shows a long text cut short; an editor gets all of it.
    const std::string& bytes = nodeAt(index)->text();
    return role == Qt::DisplayRole ? shownText(bytes) : displayText(bytes);
}

Qt::ItemFlags DatabaseModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable_ && editable_(*nodeAt(index))) {
        flags |= Qt::ItemIsEditable;
    }
    if (movable_) {
        flags |= Qt::ItemIsDropEnabled;
        if (movable_(*nodeAt(index))) {
            flags |= Qt::ItemIsDragEnabled;
        }
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
