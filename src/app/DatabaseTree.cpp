#include "DatabaseTree.h"

#include "Colors.h"
#include "Look.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <utility>

namespace {

constexpr std::uint32_t LineColor = Palette::Gray;
// The side of the square expand button.
constexpr int ButtonSide = 9;

bool hasLaterSibling(const QModelIndex& index) {
    return index.sibling(index.row() + 1, 0).isValid();
}

} // namespace

DatabaseTree::DatabaseTree(QWidget* parent, const char* name, const QString& spokenName,
                           int indentation)
    : QTreeView(parent) {
    setObjectName(QString::fromLatin1(name));
    setAccessibleName(spokenName);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIndentation(indentation);
    // Rows of one height let the view lay out a hundred thousand nodes at once.
    setUniformRowHeights(true);
    setAnimated(false);
    setSelectionMode(SingleSelection);
    // Renaming starts with a click on the selected node, or F2, wherever the
    // model allows it.
    setEditTriggers(SelectedClicked | EditKeyPressed);
    setFont(vantorFont(11));
    setColors(this, Palette::Black, Palette::Silver);
    QPalette marked = palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        marked.setColor(QPalette::Inactive, role, marked.color(QPalette::Active, role));
    }
    setPalette(marked);
}

void DatabaseTree::setRollOut(bool on) {
    rollOut_ = on;
    rolledOut_ = QPersistentModelIndex();
}

void DatabaseTree::allowMovingEntries() {
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    // A closed branch held under the dragged entry opens, so that an entry
    // deep inside can take it.
    setAutoExpandDelay(750);
    // A drop lands on an entry, never between two: the entry takes it in
    // its place by text.
    setDragDropOverwriteMode(true);
    setDefaultDropAction(Qt::MoveAction);
}

void DatabaseTree::setNodeLines(bool on) {
    nodeLines_ = on;
    viewport()->update();
}

QModelIndex DatabaseTree::selectedNode() const {
    const QModelIndex current = currentIndex();
    return selectionModel() != nullptr && selectionModel()->isSelected(current) ? current
                                                                                : QModelIndex();
}

void DatabaseTree::showNode(const QModelIndex& index) {
    setCurrentIndex(index);
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) {
        if (!isExpanded(parent)) {
            expand(parent);
        }
    }
    scrollTo(index);
}

void DatabaseTree::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    if (!rollOut_) {
        return;
    }
    if (pressing_) {
        rollOutPending_ = true;
    } else {
        rollOutTo(current);
    }
}

void DatabaseTree::finishPendingRollOut() {
    pressing_ = false;
    if (std::exchange(rollOutPending_, false) && rollOut_) {
        rollOutTo(currentIndex());
    }
}

void DatabaseTree::rollOutTo(const QModelIndex& current) {
    if (rolledOut_.isValid()) {
        QSet<QModelIndex> path;
        for (QModelIndex at = current; at.isValid(); at = at.parent()) {
            path.insert(at);
        }
        if (!path.contains(rolledOut_)) {
            // The node itself, and the branch that holds it below the nodes
            // the new selection shares with it.
            QModelIndex branch = rolledOut_;
            while (branch.parent().isValid() && !path.contains(branch.parent())) {
                branch = branch.parent();
            }
            collapse(rolledOut_);
            collapse(branch);
        }
    }
    rolledOut_ = current;
    if (current.isValid()) {
        expand(current);
    }
}

// The area left of a node holds one column per level: the node's own
// column at the right with its connector and expand button, then one per
// ancestor, where a line runs on while that ancestor has later siblings.
void DatabaseTree::drawBranches(QPainter* painter, const QRect& rect,
                                const QModelIndex& index) const {
    if (!index.parent().isValid()) {
        return;
    }
    const int indent = indentation();
    const QRect own(rect.right() + 1 - indent, rect.top(), indent, rect.height());
    painter->save();
    if (nodeLines_) {
        painter->setPen(QPen(fromBgr(LineColor), 1, Qt::DotLine));
        const int middleY = own.center().y();
        int left = own.left();
        // Columns left of the viewport need no drawing; a deep node has thousands.
        for (QModelIndex at = index; at.parent().isValid() && left + indent > 0;
             at = at.parent(), left -= indent) {
            if (left > viewport()->width()) {
                continue;
            }
            const int middleX = left + indent / 2;
            const int bottom = hasLaterSibling(at) ? own.bottom() : middleY;
            if (at == index) {
                painter->drawLine(middleX, own.top(), middleX, bottom);
                painter->drawLine(middleX, middleY, left + indent - 1, middleY);
            } else if (hasLaterSibling(at)) {
                painter->drawLine(middleX, own.top(), middleX, own.bottom());
            }
        }
    }
    if (model()->hasChildren(index)) {
        drawExpandButton(painter, own, isExpanded(index));
    }
    painter->restore();
}

void DatabaseTree::drawExpandButton(QPainter* painter, const QRect& column, bool open) const {
    QRect button(0, 0, ButtonSide - 1, ButtonSide - 1);
    button.moveCenter(column.center());
    painter->setPen(QPen(fromBgr(LineColor), 1, Qt::SolidLine));
    painter->setBrush(fromBgr(Palette::Black));
    painter->drawRect(button);
    painter->setPen(QPen(fromBgr(Palette::Silver), 1, Qt::SolidLine));
    const QPoint centre = button.center();
    painter->drawLine(centre.x() - 2, centre.y(), centre.x() + 2, centre.y());
    if (!open) {
        painter->drawLine(centre.x(), centre.y() - 2, centre.x(), centre.y() + 2);
    }
}

void DatabaseTree::keyPressEvent(QKeyEvent* event) {
    // "*" would open every branch at once, recursively: a deep tree would
    // overflow the stack.
    if (event->key() == Qt::Key_Asterisk) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void DatabaseTree::mousePressEvent(QMouseEvent* event) {
    rightPressed_ = event->button() == Qt::RightButton
                        ? QPersistentModelIndex(indexAt(event->position().toPoint()))
                        : QPersistentModelIndex();
    pressing_ = true;
    pressedAt_ = event->position().toPoint();
    QTreeView::mousePressEvent(event);
}

void DatabaseTree::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    finishPendingRollOut();
}

void DatabaseTree::contextMenuEvent(QContextMenuEvent* event) {
    QPoint where = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex under =
            rightPressed_.isValid() ? QModelIndex(rightPressed_) : indexAt(event->pos());
        rightPressed_ = QPersistentModelIndex();
        if (under.isValid()) {
            setCurrentIndex(under);
        }
        // The menu takes the button's release.
        finishPendingRollOut();
    } else if (currentIndex().isValid()) {
        where = viewport()->mapToGlobal(visualRect(currentIndex()).center());
    }
    if (menu_ != nullptr) {
        menu_->popup(where);
    }
    event->accept();
}

// The drop moves the entry in the model, so nothing is removed here when the
// drag ends, as a copying view would. The press that began the drag gets no
// release of its own.
void DatabaseTree::startDrag(Qt::DropActions) {
    const QModelIndex dragged = currentIndex();
    finishPendingRollOut();
    if (!dragged.isValid() || !(model()->flags(dragged) & Qt::ItemIsDragEnabled)) {
        return;
    }
    QMimeData* carried = model()->mimeData({dragged});
    if (carried == nullptr) {
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(carried);
    const QRect row = visualRect(dragged);
    drag->setPixmap(viewport()->grab(row));
    drag->setHotSpot(pressedAt_ - row.topLeft());
    drag->exec(Qt::MoveAction, Qt::MoveAction);
}

void DatabaseTree::dropEvent(QDropEvent* event) {
    const QPersistentModelIndex target(indexAt(event->position().toPoint()));
    QTreeView::dropEvent(event);
    if (event->isAccepted() && target.isValid()) {
        expand(target);
        scrollTo(currentIndex());
    }
}
