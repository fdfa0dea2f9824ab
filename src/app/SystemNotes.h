#pragma once

#include "MapShape.h"

#include <QObject>
#include <QStringList>
#include <array>

class DatabaseModel;
class RouteEngine;
class TreeNode;

// The user's notes on the universe's systems: the entries of the own
// database under an entry that names a system, in tree order, from all such
// entries of a system. Only their first lines are kept. They are worked out
// when first asked for after a change of the tree, so a change costs nothing
// until the notes are shown.
class SystemNotes : public QObject {
    Q_OBJECT

public:
    static constexpr int KeptLines = 3;
    // A longer note line is cut short.
    static constexpr int LineLength = 80;

    SystemNotes(const DatabaseModel& tree, const RouteEngine& engine, QObject* parent);

    // By cell, column * 8 + row; an empty list for a system without notes.
    using SectorNotes = std::array<QStringList, MapSectorCount>;
    const SectorNotes& notes();
    const QStringList& notesOf(int column, int row);

signals:
    // The tree changed, so the notes may have: once per turn of the event
    // loop, however many changes came.
    void changed();

private:
    void onTreeChanged();
    void refresh();
    static void collect(const TreeNode& entry, QStringList& lines);

    const DatabaseModel& tree_;
    const RouteEngine& engine_;
    SectorNotes notes_;
    bool current_ = false;
    bool changePending_ = false;
};
