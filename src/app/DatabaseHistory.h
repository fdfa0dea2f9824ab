#pragma once

#include <QModelIndex>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <string>

class DatabaseModel;
class Tree;
class TreeNode;

// The undo history of a database tree: adding, renaming, moving and deleting
// entries and loading a file are steps that can be taken back and done again, the
// last Steps of them. It also knows whether the tree differs from the state
// last saved or loaded: steps since then, or a change made past the history.
//
// A step holds on to the nodes it changes (a deleted branch is kept whole,
// not copied), so every node a step names is alive whichever way the history
// goes. A change made past the history would break that: it ends the history.
class DatabaseHistory : public QObject {
    Q_OBJECT

public:
    // Whether an entry of this text belongs to the tree's skeleton, which no
    // step may rename or delete, backwards or forwards.
    using ProtectedCheck = std::function<bool(const std::string&)>;

    static constexpr int Steps = 100;

    DatabaseHistory(DatabaseModel& model, ProtectedCheck isProtected, QObject* parent);
    // Its steps go quietly: their owner may already be half gone.
    ~DatabaseHistory() override;

    // The tree as the program started: nothing to take back, nothing unsaved.
    // From now on a change made past the history ends it and counts as unsaved.
    void start();

    // The user's steps, each one taken at once.
    QModelIndex add(const QModelIndex& parent, const QString& typed);
    void rename(const QModelIndex& index, std::string bytes);
    void remove(const QModelIndex& index);
    // Moves the entry with its branch under toParent, as a drop does.
    void move(const QModelIndex& from, const QModelIndex& toParent);
    // Loads the file as the tree and counts it as saved. Throws as
    // loadTreeFile does; the nodes read before a bad line become the tree,
    // unsaved, in a step of their own.
    void load(const QString& path);
    // The same with a copy the program kept of unsaved work: the tree it
    // holds stays unsaved.
    void restore(const QString& path);

    // Takes back or does again one step. False, with nothing changed, when
    // that would rename or delete a protected entry.
    bool undo();
    bool redo();
    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    // "Undo delete 'Trade notes'", or "Undo" alone with nothing to undo; an
    // '&' of the entry is doubled, so that a menu shows it as it is.
    QString undoCaption() const;
    QString redoCaption() const;

    bool unsaved() const { return unsaved_; }
    // The tree was saved: undoing back to this state counts as saved again.
    void markSaved();

signals:
    // The tree changed, by a step or past the history.
    void changed();
    void unsavedChanged(bool unsaved);
    // What undo and redo would do changed.
    void stepsChanged();
    // An undone delete put this entry back.
    void entryRestored(const QModelIndex& index);

private:
    void read(const QString& path, const QString& name);
    void push(QUndoCommand* step);
    // Runs a change of the steps' own, which the model's signals report too.
    void apply(const std::function<void()>& change);
    void onModelChanging();
    void updateUnsaved();

    DatabaseModel& model_;
    ProtectedCheck isProtected_;
    QUndoStack stack_;
    bool started_ = false;
    bool applying_ = false;
    bool unsaved_ = false;
};
