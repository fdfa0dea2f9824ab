#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class Messenger;

// One part of the user's work that may be unsaved when the program closes.
struct UnsavedPart {
    // As the question names it: "the notepad".
    QString name;
    std::function<bool()> unsaved;
    // Saves it; false when the user cancelled a choice it asked for. Throws
    // when the save failed.
    std::function<bool()> save;
};

// Asks once, when the main window is about to close or the desktop session
// ends with unsaved work, whether to save it: "&Save" saves every unsaved
// part and lets the program close, unless the user cancels a choice on the
// way or a save fails; "&Discard" lets it close without saving; closing the
// question otherwise keeps the program open with nothing changed. Without
// unsaved work nothing is asked.
class CloseGuard : public QObject {
    Q_OBJECT

public:
    // "&Save" saves the parts in their order: a part that may ask for a
    // file name goes first, so that cancelling leaves the others unsaved.
    CloseGuard(Messenger& messenger, QList<UnsavedPart> parts, QObject* parent = nullptr);

    // Whether the main window may close now.
    bool mayClose();
    // Whether the desktop session may end; without leave to ask, the work
    // is kept for recovery and the session ends all the same.
    bool mayEndSession(bool mayAsk);
    // The work changed: an answer given before no longer holds.
    void workChanged() { answered_ = false; }

signals:
    // The user gave the unsaved work up.
    void discarded();
    // The session ends without the user being asked about the unsaved work.
    void endingUnasked();

private:
    QStringList unsavedNames() const;
    bool ask(const QStringList& names);
    bool saveAll();

    Messenger& messenger_;
    QList<UnsavedPart> parts_;
    bool asking_ = false;
    bool answered_ = false;
};
