#pragma once

#include "DatabasePage.h"

class QAbstractItemModel;
class QAction;
class AutoLoadOption;

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

signals:
    // Save or Load named the last import or export: all settings are to be written.
    void settingsChanged();

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

    AutoLoadOption* autoLoad_ = nullptr;
    // Whether entries that are no part of the skeleton may be renamed in place.
    bool renameAllowed_ = false;
    QAbstractItemModel* addList_ = nullptr;

    FlatComboBox* addBox_ = nullptr;
    ColorBitmapButton* addButton_ = nullptr;
    ColorBitmapButton* deleteButton_ = nullptr;
    QAction* editAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
};
