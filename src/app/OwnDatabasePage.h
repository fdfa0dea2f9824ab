#pragma once

#include "DatabasePage.h"

class QAbstractItemModel;
class QAction;
class AutoLoadOption;
class DatabaseHistory;
class Tree;

// The "Own Database" page: the user's own tree of notes by race and system,
// with its export "OwnData.txt". The root, the race groups and the systems'
// names are the tree's skeleton: they can be neither renamed nor deleted.
class OwnDatabasePage : public DatabasePage {
    Q_OBJECT

public:
    OwnDatabasePage(QWidget* parent, DatabaseLinks links);

    // The auto-load option and the file of the last import or export; with
    // the option on, start-up loads that file as the tree.
    AutoLoadOption& autoLoad() { return *autoLoad_; }

    // The item list of the search box and the add box, shared with other boxes.
    void setLists(QAbstractItemModel* list);

    // The last step of start-up: unless a file was loaded, the default tree
    // (the root, the five race groups and each race's systems); then the
    // tree is sorted.
    void finishStartup();

    // The tree as start-up left it is the state to come back to; from now
    // on every change can be undone and counts as unsaved.
    void startHistory();
    // Whether the tree differs from what was last saved or loaded, or from
    // the tree the program started with.
    bool unsaved() const;
    // Saves the tree as Save does, without the message.
    void saveUnsaved();
    const Tree& entries() const;
    // Puts the tree of a copy of unsaved work in place: unsaved, undoable.
    void restoreEntries(const QString& path);

signals:
    // Save or Load named the last import or export: all settings are to be written.
    void settingsChanged();
    // The tree changed: an entry added, renamed or deleted, a file loaded, a
    // step undone or done again.
    void changed();
    void unsavedChanged(bool unsaved);

private:
    void buildPageControls() override;
    void buildControls();
    void buildMenu();
    void buildDefaultTree();
    void showProtectedEntry();
    void allowRenameOf(const std::string& text) override;

    void onAddClicked();
    void onAddBoxReturnPressed();
    void onDeleteClicked();
    void onEditTriggered();
    void onOwnDataSaveClicked();
    void onOwnDataLoadClicked();
    void onUndoTriggered();
    void onRedoTriggered();
    void showUndoSteps();
    void selectCurrentEntry();
    void writeEntries();

    AutoLoadOption* autoLoad_ = nullptr;
    DatabaseHistory* history_ = nullptr;
    // Whether entries that are no part of the skeleton may be renamed in place.
    bool renameAllowed_ = false;
    QAbstractItemModel* addList_ = nullptr;

    FlatComboBox* addBox_ = nullptr;
    ColorBitmapButton* addButton_ = nullptr;
    ColorBitmapButton* deleteButton_ = nullptr;
    QAction* editAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
};
