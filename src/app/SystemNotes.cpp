#include "SystemNotes.h"

#include "DatabaseEntries.h"
#include "DatabaseModel.h"
#include "NodeText.h"
#include "RouteEngine.h"

#include <QTimer>

namespace {

// Deeper entries are indented below the first level of notes.
QString noteLine(const TreeNode& note, std::size_t firstLevel) {
    QString line = QString(static_cast<qsizetype>(2 * (note.level() - firstLevel)), u' ') +
                   displayText(note.text());
    if (line.size() > SystemNotes::LineLength) {
        line = line.left(SystemNotes::LineLength - 1) + QChar(0x2026);
    }
    return line;
}

} // namespace

SystemNotes::SystemNotes(const DatabaseModel& tree, const RouteEngine& engine, QObject* parent)
    : QObject(parent)
    , tree_(tree)
    , engine_(engine) {
    // Whoever changes the tree, and however: an entry added, removed, moved
    // or renamed, the tree sorted or loaded.
    const auto treeChanged = [this] {
        onTreeChanged();
    };
    connect(&tree, &QAbstractItemModel::rowsInserted, this, treeChanged);
    connect(&tree, &QAbstractItemModel::rowsRemoved, this, treeChanged);
    connect(&tree, &QAbstractItemModel::rowsMoved, this, treeChanged);
    connect(&tree, &QAbstractItemModel::dataChanged, this, treeChanged);
    connect(&tree, &QAbstractItemModel::layoutChanged, this, treeChanged);
    connect(&tree, &QAbstractItemModel::modelReset, this, treeChanged);
}

const SystemNotes::SectorNotes& SystemNotes::notes() {
    if (!current_) {
        refresh();
    }
    return notes_;
}

const QStringList& SystemNotes::notesOf(int column, int row) {
    return notes().at(mapCellIndex(column, row));
}

void SystemNotes::onTreeChanged() {
    current_ = false;
    if (changePending_) {
        return;
    }
    changePending_ = true;
    QTimer::singleShot(0, this, [this] {
        changePending_ = false;
        emit changed();
    });
}

// One walk through the tree; only entries with entries under them can hold
// notes, so only they are looked up.
void SystemNotes::refresh() {
    for (QStringList& lines : notes_) {
        lines.clear();
    }
    for (const TreeNode* node = tree_.tree().first(); node != nullptr; node = node->next()) {
        if (node->childCount() == 0) {
            continue;
        }
        const SectorPosition system = findSystem(engine_, node->text());
        if (system.known()) {
            collect(*node, notes_.at(mapCellIndex(system.column, system.row)));
        }
    }
    current_ = true;
}

void SystemNotes::collect(const TreeNode& entry, QStringList& lines) {
    for (const TreeNode* note = entry.next();
         note != nullptr && note->level() > entry.level() && lines.size() < KeptLines;
         note = note->next()) {
        lines.append(noteLine(*note, entry.level() + 1));
    }
}
