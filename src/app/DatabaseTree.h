#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>

class QMenu;

// A database tree on screen: silver text on black, no header, neither lines
// nor expand buttons before top-level nodes, the selection still marked when
// the tree has no focus. A right click selects the node under the pointer
// and opens the tree's popup menu.
class DatabaseTree : public QTreeView {
    Q_OBJECT

public:
    DatabaseTree(QWidget* parent, const char* name, const QString& spokenName, int indentation);

    // "Automatic database-rollout": selecting a node opens it, and the
    // branch the previous selection opened closes unless it holds the new one.
    bool rollOut() const { return rollOut_; }
    void setRollOut(bool on);
    // "Show node-lines": lines join every lower node to its parent and siblings.
    bool nodeLines() const { return nodeLines_; }
    void setNodeLines(bool on);

    void setPopupMenu(QMenu* menu) { menu_ = menu; }
    // Entries the model lets go can be dragged onto other entries, which
    // take them in; the target opens to show where the entry went.
    void allowMovingEntries();

    // The selected node; invalid when none is.
    QModelIndex selectedNode() const;
    // Selects the node, opens its ancestors and scrolls it into view; the
    // keyboard focus stays where it is.
    void showNode(const QModelIndex& index);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dropEvent(QDropEvent* event) override;

private:
    void rollOutTo(const QModelIndex& current);
    void finishPendingRollOut();
    void drawExpandButton(QPainter* painter, const QRect& column, bool open) const;

    bool rollOut_ = false;
    bool nodeLines_ = false;
    // The node the last selection opened in roll-out mode.
    QPersistentModelIndex rolledOut_;
    // A selection by a mouse press rolls out when the button goes up, so
    // that the clicked node stays under the pointer for the whole click.
    bool pressing_ = false;
    bool rollOutPending_ = false;
    // The node a right button press selected: the menu is for it, even when
    // the roll-out has moved it away from under the pointer since.
    QPersistentModelIndex rightPressed_;
    // Where the last press was, for the dragged picture to hang from.
    QPoint pressedAt_;
    QMenu* menu_ = nullptr;
};
