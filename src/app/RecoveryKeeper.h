#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;
class Messenger;

// One part of the user's work that the recovery copy keeps while it is unsaved.
struct RecoveryPart {
    // The end of its copy's file name, after the program's own prefix.
    QString fileName;
    // As the offer to restore names it: "the notepad".
    QString name;
    std::function<bool()> unsaved;
    // Takes what the copy is to hold, quickly, on the user interface thread;
    // the work it returns makes the copy's bytes of it on the writing thread.
    std::function<std::function<QByteArray()>()> snapshot;
    // Puts the content of a copy in place, unsaved. Throws when the copy
    // can't be read.
    std::function<void(const QString& path)> restore;
};

// Keeps copies of the user's unsaved work in the program's data folder, so
// that a crash loses no more than the last moments. A part's copy is written
// a pause after its last change, and while the user goes on typing no later
// than a deadline after the first change not yet copied; what the part holds
// is taken on the user interface thread and written on a thread of its own,
// through a temporary file that replaces the former copy only once complete.
// A part that is saved, or undone back to its saved state, loses its copy.
//
// Every running program keeps its copies under a name of its own and holds
// a lock file of that name while it runs; copies whose lock is free were
// left behind by a program that ended without removing them (a crash, a
// kill, a session that ended without asking), and the next start offers to
// restore them.
class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    // "recovery" in the program's data folder.
    static QString defaultFolder();

    RecoveryKeeper(QString folder, QList<RecoveryPart> parts, QObject* parent = nullptr);
    // Finishes the writes under way; the copies of work still unsaved stay
    // for the next start.
    ~RecoveryKeeper() override;

    // The path of the part's copy while this program keeps one.
    QString copyPath(int part) const;

    // The part changed: its copy is due.
    void partChanged(int part);
    // The part was saved, or became unsaved again.
    void savedStateChanged(int part);
    // Copies what is due now, without waiting for the pause.
    void writeNow();
    // The user gave the unsaved work up: its copies go.
    void discard();
    // Waits until every copy handed to the writing thread is written or removed.
    void waitForWriting();

    // Offers once to restore the newest copies a program left behind.
    void offerRestore(Messenger& messenger);

private:
    // The tests wait less.
    friend class ProgramAccess;
    void setDelays(int pauseMs, int deadlineMs);

    struct Orphan {
        QString prefix;
        QList<int> parts;
        qint64 written = 0;
        std::shared_ptr<QLockFile> lock;
    };
    struct PartState {
        bool due = false;
        bool copied = false;
    };

    bool lockOwnName();
    void removeCopy(int part);
    void removeLoneLocks() const;
    std::optional<Orphan> claimOrphan() const;
    QString offerText(const Orphan& orphan) const;
    // Removes the orphan's files, then frees its name.
    void dropOrphan(Orphan& orphan);

    QString folder_;
    QList<RecoveryPart> parts_;
    std::vector<PartState> states_;
    QString prefix_;
    std::unique_ptr<QLockFile> lock_;
    QTimer pause_;
    QTimer deadline_;
    // One thread: writes and removals happen in the order they were asked for.
    QThreadPool writer_;
};
