#pragma once

#include "PageKeys.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QAbstractItemModel;
class QAction;
class QLabel;
class QMenu;
class ColorBitmapButton;
class DatabaseModel;
class DatabaseTree;
class FlatComboBox;
class Messenger;
class RouteEngine;
struct SearchPosition;

// What the database pages need from the rest of the program.
struct DatabaseLinks {
    RouteEngine& engine;
    Messenger& messenger;
    // Where the next search of either tree starts.
    SearchPosition& searchPosition;
    // The program folder with its trailing separator: where the exports lie.
    QString programFolder;
    // Whether a click on an entry shows it on the star map.
    std::function<bool()> starMapLinked;
    // Opens the star map when it is closed.
    std::function<void()> showStarMap;
};

// The names and places that tell the two database pages apart.
struct DatabasePageLayout {
    const char* page;
    const char* tree;
    QString treeName;
    QRect treeArea;
    int indentation;
    const char* heading;
    const char* searchBox;
    const char* searchButton;
    const char* saveButton;
    QString saveHint;
    const char* loadButton;
    QString loadHint;
};

// A page with a database tree: the tree with its popup menu, a search box
// with its button, and the Save and Load buttons of the tree's export.
class DatabasePage : public QWidget, public KeyedPage {
    Q_OBJECT

public:
    // Built before showing, so that the new controls show with the page.
    void setVisible(bool visible) override;
    // Searches the tree from its top for the keyword, as the search button
    // does after the keyword was put into the search box, and shows the
    // selected entry on the star map.
    void findFromOutput(const QString& keyword);

    // The display options of both trees.
    void setRollOut(bool on);
    void setNodeLines(bool on);

    // The item list of the search box, shared with other boxes.
    void setSearchList(QAbstractItemModel* list);

    // The tree as the page holds it.
    const DatabaseModel& treeModel() const { return *model_; }

    PageKeyTargets keyTargets() override;

signals:
    // "Find in ..." of the popup menu: the other tree's page is to look for
    // the selected entry's text.
    void findInOtherTree(const QString& text);

protected:
    DatabasePage(QWidget* parent, DatabaseLinks links, DatabasePageLayout layout);

    // The controls are built when the page is first shown: the start of the
    // program needs the tree's entries, not the widgets that show them.
    void ensureBuilt();
    // A page's own controls, built with the shared ones.
    virtual void buildPageControls() {}

    DatabaseModel& model() const { return *model_; }
    DatabaseTree& tree() const { return *tree_; }
    FlatComboBox& searchBox() const { return *searchBox_; }
    QMenu& menu() const { return *menu_; }
    ColorBitmapButton& saveButton() const { return *saveButton_; }
    ColorBitmapButton& loadButton() const { return *loadButton_; }
    const DatabaseLinks& databaseLinks() const { return links_; }

    // The full path of an export in the program folder, and the folder as
    // the messages name it.
    QString exportPath(const QString& name) const;
    QString shownFolder(const QString& name) const;

    // The text of the selected entry; none without a selection.
    std::optional<std::string> selectedText() const;

    // A popup item that sends the selected entry to the other tree's search.
    QAction* addFindItem(const char* name, const QString& caption, int picture);

    // The tree's answer to a linked click on an entry: whether it may be
    // renamed in place from now on.
    virtual void allowRenameOf(const std::string& text);

    // The click on an entry: shows it on the star map when the map link is on.
    void onEntryClicked();

private:
    void buildControls();
    // The tree search, from hit to hit.
    void onSearchClicked();
    void onSearchBoxReturnPressed();
    void onShowOnMapTriggered(const std::string& text);
    void findSelectedInOtherTree();

    DatabaseLinks links_;
    DatabasePageLayout layout_;
    QAbstractItemModel* searchList_ = nullptr;
    bool rollOut_ = true;
    bool nodeLines_ = true;
    DatabaseModel* model_ = nullptr;
    DatabaseTree* tree_ = nullptr;
    QLabel* heading_ = nullptr;
    FlatComboBox* searchBox_ = nullptr;
    ColorBitmapButton* searchButton_ = nullptr;
    ColorBitmapButton* saveButton_ = nullptr;
    ColorBitmapButton* loadButton_ = nullptr;
    QMenu* menu_ = nullptr;
};
