#include "DatabasePage.h"

#include "Artwork.h"
#include "ColorBitmapButton.h"
#include "Colors.h"
#include "DatabaseEntries.h"
#include "DatabaseModel.h"
#include "DatabaseTree.h"
#include "ErrorBox.h"
#include "FlatComboBox.h"
#include "Look.h"
#include "Messenger.h"
#include "NodeText.h"
#include "RouteEngine.h"
#include "SearchPosition.h"
#include "TreeFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>

namespace {

// "Teladi" could not be found again.
QString notFoundText(const QString& keyword, bool again) {
    return u'"' + keyword + QStringLiteral("\" could not be found") +
           (again ? QStringLiteral(" again.") : QStringLiteral("."));
}

} // namespace

DatabasePage::DatabasePage(QWidget* parent, DatabaseLinks links, DatabasePageLayout layout)
    : QWidget(parent)
    , links_(std::move(links))
    , layout_(std::move(layout))
    , model_(new DatabaseModel(this)) {
    setObjectName(QString::fromLatin1(layout_.page));
    setColors(this, Palette::DarkGround, Palette::Silver);
}

void DatabasePage::setVisible(bool visible) {
    if (visible) {
        ensureBuilt();
    }
    QWidget::setVisible(visible);
}

void DatabasePage::ensureBuilt() {
    if (tree_ != nullptr) {
        return;
    }
    buildControls();
    tree_->setRollOut(rollOut_);
    tree_->setNodeLines(nodeLines_);
    if (searchList_ != nullptr) {
        searchBox_->setModel(searchList_);
    }
    buildPageControls();
}

void DatabasePage::buildControls() {
    const DatabasePageLayout& layout = layout_;
    const QString searchFor = QStringLiteral("Search for");
    heading_ = makeHeading(this, layout.heading, searchFor, 4, 0);
    searchBox_ = completingBox(this, layout.searchBox, searchFor, Palette::DarkGround, 3, 17, 84);
    heading_->setBuddy(searchBox_);
    searchButton_ = colourButton(this, layout.searchButton, QStringLiteral("..."),
                                 QStringLiteral("Search for a specific keyword"), vantorFont(9));
    place(searchButton_, 91, 17, 23, 22);

    tree_ = new DatabaseTree(this, layout.tree, layout.treeName, layout.indentation);
    tree_->setModel(model_);
    tree_->setGeometry(layout.treeArea);
    menu_ = makeControl<QMenu>(this, "ODatMenu");
    tree_->setPopupMenu(menu_);

    saveButton_ = colourButton(this, layout.saveButton, QStringLiteral("Save"), layout.saveHint,
                               vantorFont(9));
    place(saveButton_, 3, 369, 52, 22);
    loadButton_ = colourButton(this, layout.loadButton, QStringLiteral("Load"), layout.loadHint,
                               vantorFont(9));
    place(loadButton_, 61, 369, 52, 22);

    connect(searchButton_, &ColorBitmapButton::clicked, this,
            guarded([this] { onSearchClicked(); }));
    connect(searchBox_, &FlatComboBox::returnPressed, this,
            guarded([this] { onSearchBoxReturnPressed(); }));
    // onSearchTextChanged: an edited keyword is looked for from the top again.
    connect(searchBox_, &FlatComboBox::editTextChanged, this,
            [this] { links_.searchPosition.value = 0; });
    connect(tree_, &DatabaseTree::clicked, this, guarded([this] { onEntryClicked(); }));
}

void DatabasePage::setRollOut(bool on) {
    rollOut_ = on;
    if (tree_ != nullptr) {
        tree_->setRollOut(on);
    }
}

void DatabasePage::setNodeLines(bool on) {
    nodeLines_ = on;
    if (tree_ != nullptr) {
        tree_->setNodeLines(on);
    }
}

void DatabasePage::setSearchList(QAbstractItemModel* list) {
    searchList_ = list;
    if (searchBox_ != nullptr) {
        searchBox_->setModel(list);
    }
}

PageKeyTargets DatabasePage::keyTargets() {
    ensureBuilt();
    return {searchBox_, saveButton_, nullptr, loadButton_};
}

QString DatabasePage::exportPath(const QString& name) const {
    return programFilePath(links_.programFolder, name);
}

// The folder the exports really go to: the program folder, or for an
// installed copy the user's data folder.
QString DatabasePage::shownFolder(const QString& name) const {
    return QDir::toNativeSeparators(QFileInfo(exportPath(name)).absolutePath() + QLatin1Char('/'));
}

std::optional<std::string> DatabasePage::selectedText() const {
    const TreeNode* node = model_->nodeOf(tree_->selectedNode());
    if (node == nullptr) {
        return std::nullopt;
    }
    return node->text();
}

QAction* DatabasePage::addFindItem(const char* name, const QString& caption, int picture) {
    QAction* item = menu_->addAction(imageListPicture(picture), caption);
    item->setObjectName(QString::fromLatin1(name));
    connect(item, &QAction::triggered, this, guarded([this] { findSelectedInOtherTree(); }));
    return item;
}

void DatabasePage::allowRenameOf(const std::string&) {
}

void DatabasePage::onSearchBoxReturnPressed() {
    if (!searchBox_->currentText().isEmpty()) {
        onSearchClicked();
    }
}

void DatabasePage::onSearchClicked() {
    const QString keyword = searchBox_->currentText();
    if (keyword.isEmpty()) {
        links_.messenger.notify(QStringLiteral("Error"),
                                QStringLiteral("Please enter a keyword to search for."),
                                MessageKind::Alert);
        return;
    }
    SearchPosition& position = links_.searchPosition;
    const int start = std::max(0, position.value);
    if (const auto hit = model_->find(static_cast<std::size_t>(start), keyword)) {
        // A hit deeper than a view can open shows as its deepest openable ancestor.
        tree_->showNode(model_->showableIndex(hit->index));
        position.value = static_cast<int>(hit->position + 1);
        return;
    }
    links_.messenger.notify(QStringLiteral("Search completed."), notFoundText(keyword, start != 0),
                            MessageKind::Alert);
    position.value = 0;
}

void DatabasePage::findFromOutput(const QString& keyword) {
    ensureBuilt();
    searchBox_->setCurrentText(keyword);
    links_.searchPosition.value = 0;
    onSearchClicked();
    onEntryClicked();
}

void DatabasePage::onEntryClicked() {
    const std::optional<std::string> text = selectedText();
    if (!text || !links_.starMapLinked()) {
        return;
    }
    allowRenameOf(*text);
    onShowOnMapTriggered(*text);
}

void DatabasePage::onShowOnMapTriggered(const std::string& text) {
    links_.showStarMap();
    RouteEngine& engine = links_.engine;
    if (text == OwnDatabaseRoot) {
        engine.resetMatrix();
    } else if (const int race = raceOfGroup(text)) {
        engine.highlightRace(race);
    } else if (const SectorPosition system = findSystem(engine, text); system.known()) {
        engine.resetMatrix();
        engine.highlightSector(system.column, system.row);
    }
}

void DatabasePage::findSelectedInOtherTree() {
    const std::optional<std::string> text = selectedText();
    if (text && !text->empty()) {
        emit findInOtherTree(displayText(*text));
    }
}
