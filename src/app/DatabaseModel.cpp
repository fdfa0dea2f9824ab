#include "DatabaseModel.h"

#include "NodeText.h"
#include "TreeFile.h"

TDatabaseModel::TDatabaseModel(QObject* parent)
    : QAbstractItemModel(parent)
    , order_(DisplayTextOrder()) {
}

TTreeNode* TDatabaseModel::NodeAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TTreeNode*>(index.internalPointer())
                           : const_cast<TTreeNode*>(&tree_.Root());
}

const TTreeNode* TDatabaseModel::Node(const QModelIndex& index) const {
    return index.isValid() ? NodeAt(index) : nullptr;
}

QModelIndex TDatabaseModel::IndexOf(const TTreeNode& node) const {
    if (&node == &tree_.Root()) {
        return {};
    }
    return createIndex(static_cast<int>(node.Row()), 0, const_cast<TTreeNode*>(&node));
}

QModelIndex TDatabaseModel::ShowableIndex(const QModelIndex& index) const {
    const TTreeNode* node = Node(index);
    if (node == nullptr) {
        return {};
    }
    while (node->Level() > ShownLevels) {
        node = node->Parent();
    }
    return IndexOf(*node);
}

void TDatabaseModel::SetEditableCheck(EditableCheck check) {
    editable_ = std::move(check);
}

void TDatabaseModel::SetTextOrder(TTextLess less) {
    order_ = std::move(less);
}

QModelIndex TDatabaseModel::Append(const QModelIndex& parent, std::string bytes) {
    TTreeNode& parentNode = *NodeAt(parent);
    const int row = static_cast<int>(parentNode.ChildCount());
    beginInsertRows(parent, row, row);
    TTreeNode& node = tree_.Append(parentNode, std::move(bytes));
    endInsertRows();
    return IndexOf(node);
}

QModelIndex TDatabaseModel::Append(const QModelIndex& parent, const QString& typed) {
    return Append(parent, StoredText(typed));
}

void TDatabaseModel::Remove(const QModelIndex& index) {
    if (!index.isValid()) {
        return;
    }
    beginRemoveRows(index.parent(), index.row(), index.row());
    tree_.Remove(*NodeAt(index));
    endRemoveRows();
}

void TDatabaseModel::SortTree() {
    Reorder({}, [this] { tree_.SortTree(order_); });
}

void TDatabaseModel::Replace(TTree tree) {
    beginResetModel();
    tree_ = std::move(tree);
    endResetModel();
}

void TDatabaseModel::Load(const QString& path) {
    TTree loaded;
    try {
        LoadTreeFile(loaded, path);
    } catch (const TreeFileError&) {
        // A file that can't be read leaves nothing behind; a bad line leaves
        // the nodes before it, and there is always one, the first line.
        if (!loaded.Empty()) {
            Replace(std::move(loaded));
        }
        throw;
    }
    Replace(std::move(loaded));
}

void TDatabaseModel::Save(const QString& path) const {
    SaveTreeFile(tree_, path);
}

std::optional<TDatabaseModel::SearchHit> TDatabaseModel::Find(std::size_t start,
                                                              const QString& keyword) const {
    const TDisplayTextMatch matches(keyword);
    const auto hit = tree_.FindFrom(start, std::cref(matches));
    if (!hit) {
        return std::nullopt;
    }
    return SearchHit{hit->Index, IndexOf(*hit->Node)};
}

void TDatabaseModel::Reorder(const QList<QPersistentModelIndex>& parents,
                             const std::function<void()>& change) {
    emit layoutAboutToBeChanged(parents, VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    change();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        after.append(createIndex(static_cast<int>(NodeAt(index)->Row()), index.column(),
                                 index.internalPointer()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged(parents, VerticalSortHint);
}

QModelIndex TDatabaseModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) {
        return {};
    }
    return createIndex(row, column, NodeAt(parent)->Child(static_cast<std::size_t>(row)));
}

QModelIndex TDatabaseModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    return IndexOf(*NodeAt(child)->Parent());
}

int TDatabaseModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) {
        return 0;
    }
    return static_cast<int>(NodeAt(parent)->ChildCount());
}

int TDatabaseModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant TDatabaseModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return DisplayText(NodeAt(index)->Text());
}

Qt::ItemFlags TDatabaseModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable_ && editable_(*NodeAt(index))) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool TDatabaseModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    TTreeNode& node = *NodeAt(index);
    Reorder({QPersistentModelIndex(index.parent())},
            [&] { tree_.Rename(node, StoredText(value.toString()), order_); });
    const QModelIndex renamed = IndexOf(node);
    emit dataChanged(renamed, renamed, {Qt::DisplayRole, Qt::EditRole});
    return true;
}
