#pragma once

#include "DatabasePage.h"

#include <QStringList>

class QAction;
class TAutoLoadOption;

// The "Own Database" page: the user's own tree of notes by race and system,
// with its export "OwnData.txt". The root, the race groups and the systems'
// names are the tree's skeleton: they can be neither renamed nor deleted.
class TOwnDatabasePage : public TDatabasePage {
    Q_OBJECT

public:
    TOwnDatabasePage(QWidget* parent, TDatabaseLinks links);

    // The auto-load option and the file of the last import or export; with
    // the option on, start-up loads that file as the tree.
    TAutoLoadOption& AutoLoad() { return *autoLoad_; }

    // The item lists of the search box and the add box.
    void SetListItems(const QStringList& items);

    // The last step of start-up: unless a file was loaded, the default tree
    // (the root, the five race groups and each race's systems); then the
    // tree is sorted.
    void FinishStartup();

signals:
    // Save or Load named the last import or export: all settings are to be written.
    void SettingsChanged();

private:
    void BuildPageControls() override;
    void BuildControls();
    void BuildMenu();
    void BuildDefaultTree();
    void ShowProtectedEntry();
    void AllowRenameOf(const std::string& text) override;

    void ADDClick();
    void AddTOEnter();
    void DELClick();
    void Editieren1Click();
    void BitBtnWithColor8Click();
    void BitBtnWithColor9Click();

    TAutoLoadOption* autoLoad_ = nullptr;
    // Whether entries that are no part of the skeleton may be renamed in place.
    bool renameAllowed_ = false;
    QStringList addItems_;

    TFlatComboBox* AddTO = nullptr;
    TBitBtnWithColor* ADD = nullptr;
    TBitBtnWithColor* DEL = nullptr;
    QAction* Editieren1 = nullptr;
    QAction* Lschen1 = nullptr;
};
