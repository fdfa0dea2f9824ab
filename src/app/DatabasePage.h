#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QMenu;
class TBitBtnWithColor;
class TDatabaseModel;
class TDatabaseTree;
class TFlatComboBox;
class TMessenger;
class TNinjaMatrix;
struct TSearchPosition;

// What the database pages need from the rest of the program.
struct TDatabaseLinks {
    TNinjaMatrix& Engine;
    TMessenger& Messenger;
    // Where the next search of either tree starts.
    TSearchPosition& SearchPosition;
    // The program folder with its trailing separator: where the exports lie.
    QString ProgramFolder;
    // Whether a click on an entry shows it on the star map.
    std::function<bool()> StarMapLinked;
    // Opens the star map when it is closed.
    std::function<void()> ShowStarMap;
};

// The names and places that tell the two database pages apart.
struct TDatabasePageLayout {
    const char* Page;
    const char* Tree;
    QString TreeName;
    QRect TreeArea;
    int Indentation;
    const char* Heading;
    const char* SearchBox;
    const char* SearchButton;
    const char* SaveButton;
    QString SaveHint;
    const char* LoadButton;
    QString LoadHint;
};

// A page with a database tree: the tree with its popup menu, a search box
// with its button, and the Save and Load buttons of the tree's export.
class TDatabasePage : public QWidget {
    Q_OBJECT

public:
    // Built before showing, so that the new controls show with the page.
    void setVisible(bool visible) override;
    // Searches the tree from its top for the keyword, as the search button
    // does after the keyword was put into the search box, and shows the
    // selected entry on the star map.
    void FindFromOutput(const QString& keyword);

    // The display options of both trees.
    void SetRollOut(bool on);
    void SetNodeLines(bool on);

    // The item list of the search box.
    void SetSearchItems(const QStringList& items);

signals:
    // "Find in ..." of the popup menu: the other tree's page is to look for
    // the selected entry's text.
    void FindInOtherTree(const QString& text);

protected:
    TDatabasePage(QWidget* parent, TDatabaseLinks links, TDatabasePageLayout layout);

    // The controls are built when the page is first shown: the start of the
    // program needs the tree's entries, not the widgets that show them.
    void EnsureBuilt();
    // A page's own controls, built with the shared ones.
    virtual void BuildPageControls() {}

    TDatabaseModel& Model() const { return *model_; }
    TDatabaseTree& Tree() const { return *tree_; }
    TFlatComboBox& SearchBox() const { return *searchBox_; }
    QMenu& Menu() const { return *menu_; }
    TBitBtnWithColor& SaveButton() const { return *saveButton_; }
    TBitBtnWithColor& LoadButton() const { return *loadButton_; }
    const TDatabaseLinks& Links() const { return links_; }

    // The full path of an export in the program folder, and the folder as
    // the messages name it.
    QString ExportPath(const QString& name) const;
    QString ShownFolder(const QString& name) const;

    // The text of the selected entry; none without a selection.
    std::optional<std::string> SelectedText() const;

    // A popup item that sends the selected entry to the other tree's search.
    QAction* AddFindItem(const char* name, const QString& caption, int picture);

    // The tree's answer to a linked click on an entry: whether it may be
    // renamed in place from now on.
    virtual void AllowRenameOf(const std::string& text);

    // The click on an entry: shows it on the star map when the map link is on.
    void ODatClick();

private:
    void BuildControls();
    // The tree search, from hit to hit.
    void SearchClick();
    void SearchBoxEnter();
    void AufderKartezeigen1Click(const std::string& text);
    void FindSelectedInOtherTree();

    TDatabaseLinks links_;
    TDatabasePageLayout layout_;
    QStringList searchItems_;
    bool rollOut_ = true;
    bool nodeLines_ = true;
    TDatabaseModel* model_ = nullptr;
    TDatabaseTree* tree_ = nullptr;
    QLabel* heading_ = nullptr;
    TFlatComboBox* searchBox_ = nullptr;
    TBitBtnWithColor* searchButton_ = nullptr;
    TBitBtnWithColor* saveButton_ = nullptr;
    TBitBtnWithColor* loadButton_ = nullptr;
    QMenu* menu_ = nullptr;
};
