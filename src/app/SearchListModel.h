#pragma once

#include <QAbstractListModel>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class DatabaseModel;
class TreeNode;

// The texts of the system database as read at start-up, in the order of a
// sorted flat combo box (letter case aside, equal texts in tree order): the
// one item list that the four search and entry boxes share. It looks
// straight at the tree's nodes and copies none of their texts, so that an
// info file of a million entries costs the boxes a pointer per entry. When
// the tree is replaced or loses nodes, the list first keeps a packed copy of
// its texts: the boxes go on offering what was read at start-up.
class SearchListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit SearchListModel(QObject* parent = nullptr);
    ~SearchListModel() override;
    SearchListModel(const SearchListModel&) = delete;
    SearchListModel& operator=(const SearchListModel&) = delete;

    // Lists every node of the model's tree from now on.
    void listTreeOf(const DatabaseModel& model);

    int rowCount(const QModelIndex& parent = {}) const override;
    // The entry's text as the trees show it.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::string_view bytesAt(std::size_t row) const;
    // Copies the texts, packed, before the nodes go away.
    void keepOwnCopy();
    void stopWatching();

    const DatabaseModel* watched_ = nullptr;
    std::vector<QMetaObject::Connection> connections_;
    // The listed nodes while the tree stands; after that, the packed copy:
    // every text in one buffer, and where each one ends.
    std::vector<const TreeNode*> nodes_;
    std::string packed_;
    std::vector<std::size_t> ends_;
};
