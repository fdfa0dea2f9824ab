#include "TreeTestSupport.h"

#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTreeView>
#include <memory>

// The tree as the user sees it: a line per node in tree order, a TAB per level.
QStringList shown(const QTreeView* tree) {
    QStringList lines;
    QList<std::pair<QModelIndex, int>> pending{{QModelIndex(), -1}};
    while (!pending.isEmpty()) {
        const auto [index, level] = pending.takeLast();
        if (index.isValid()) {
            lines << QString(level, u'\t') + index.data().toString();
        }
        for (int row = tree->model()->rowCount(index) - 1; row >= 0; --row) {
            pending.append({tree->model()->index(row, 0, index), level + 1});
        }
    }
    return lines;
}

// The first node in tree order with this text.
QModelIndex nodeOf(const QTreeView* tree, const QString& text) {
    return tree->model()
        ->match(tree->model()->index(0, 0), Qt::DisplayRole, text, 1,
                Qt::MatchExactly | Qt::MatchRecursive)
        .value(0);
}

// A drag of one entry onto another, as the tree hears it; true when the tree
// took the drop. A drag never starts on an entry the tree won't let go.
bool dragOnto(QTreeView* tree, const QString& dragged, const QString& onto) {
    const QModelIndex source = nodeOf(tree, dragged);
    if (!(tree->model()->flags(source) & Qt::ItemIsDragEnabled)) {
        return false;
    }
    tree->scrollTo(nodeOf(tree, onto));
    const QPoint at = tree->visualRect(nodeOf(tree, onto)).center();
    const std::unique_ptr<QMimeData> data(tree->model()->mimeData({source}));
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(tree->viewport(), &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(tree->viewport(), &move);
    QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, {});
    if (move.isAccepted()) {
        QApplication::sendEvent(tree->viewport(), &drop);
    } else {
        QDragLeaveEvent leave;
        QApplication::sendEvent(tree->viewport(), &leave);
    }
    return move.isAccepted() && drop.isAccepted();
}

QString selectedText(const QTreeView* tree) {
    const QModelIndexList selected = tree->selectionModel()->selectedIndexes();
    return selected.size() == 1 ? selected.first().data().toString() : QString();
}

// What the window manager does when the user clicks into a window or a
// modal message closes: the window becomes the active one again.
void activate(QWidget* window) {
    QTest::qWait(10); // what the closing message left on its way arrives first
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
}

void clickNode(QTreeView* tree, const QString& text) {
    activate(tree->window());
    tree->scrollTo(nodeOf(tree, text));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualRect(nodeOf(tree, text)).center());
}

// A right click on a node: the click selects it, then the menu is asked for.
QMenu* rightClickNode(QTreeView* tree, const QString& text) {
    activate(tree->window());
    tree->scrollTo(nodeOf(tree, text));
    const QPoint at = tree->visualRect(nodeOf(tree, text)).center();
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &menuEvent);
    return findControl<QMenu>(tree->parentWidget(), "ODatMenu");
}

// Clicks the item, after checking which items the menu shows.
void chooseItem(QMenu* menu, const QString& text, const QStringList& shown) {
    QStringList visible;
    for (QAction* action : menu->actions()) {
        if (action->isVisible()) {
            visible << action->text();
        }
        if (action->text() == text) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
    }
    QCOMPARE(visible, shown);
}
