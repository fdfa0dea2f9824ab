#pragma once

// Driving the database trees as a user does: reading what they show,
// clicking, right-clicking and dragging their entries.

#include <QModelIndex>
#include <QString>
#include <QStringList>

class QMenu;
class QTreeView;
class QWidget;

// The tree as the user sees it: a line per node in tree order, a TAB per level.
QStringList shown(const QTreeView* tree);
// The first node in tree order with this text.
QModelIndex nodeOf(const QTreeView* tree, const QString& text);
// A drag of one entry onto another, as the tree hears it; true when the tree
// took the drop. A drag never starts on an entry the tree won't let go.
bool dragOnto(QTreeView* tree, const QString& dragged, const QString& onto);
// The text of the one selected entry; empty unless exactly one is selected.
QString selectedText(const QTreeView* tree);
// What the window manager does when the user clicks into a window or a
// modal message closes: the window becomes the active one again.
void activate(QWidget* window);
void clickNode(QTreeView* tree, const QString& text);
// A right click on a node: the click selects it, then the menu is asked for.
QMenu* rightClickNode(QTreeView* tree, const QString& text);
// Clicks the item, after checking which items the menu shows.
void chooseItem(QMenu* menu, const QString& text, const QStringList& shown);
