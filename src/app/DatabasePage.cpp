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
#include "RouteEngine.h"
#include "NodeText.h"
#include "SearchPosition.h"
#include "TreeFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>

namespace {

// "Teladi" could not be found again.
QString NotFoundText(const QString& keyword, bool again) {
    return u'"' + keyword + QStringLiteral("\" could not be found") +
           (again ? QStringLiteral(" again.") : QStringLiteral("."));
}

} // namespace

TDatabasePage::TDatabasePage(QWidget* parent, TDatabaseLinks links, TDatabasePageLayout layout)
    : QWidget(parent)
    , links_(std::move(links))
    , layout_(std::move(layout))
    , model_(new TDatabaseModel(this)) {
    setObjectName(QString::fromLatin1(layout_.Page));
    SetColors(this, Palette::DarkGround, Palette::Silver);
}

void TDatabasePage::setVisible(bool visible) {
    if (visible) {
        EnsureBuilt();
    }
    QWidget::setVisible(visible);
}

void TDatabasePage::EnsureBuilt() {
    if (tree_ != nullptr) {
        return;
    }
    BuildControls();
    tree_->SetRollOut(rollOut_);
    tree_->SetNodeLines(nodeLines_);
    searchBox_->SetItems(searchItems_);
    BuildPageControls();
}

void TDatabasePage::BuildControls() {
    const TDatabasePageLayout& layout = layout_;
    const QString searchFor = QStringLiteral("Search for");
    heading_ = Heading(this, layout.Heading, searchFor, 4, 0);
    searchBox_ = CompletingBox(this, layout.SearchBox, searchFor, Palette::DarkGround, 3, 17, 84);
    heading_->setBuddy(searchBox_);
    searchButton_ = ColourButton(this, layout.SearchButton, QStringLiteral("..."),
                                 QStringLiteral("Search for a specific keyword"), VantorFont(9));
    Place(searchButton_, 91, 17, 23, 22);

    tree_ = new TDatabaseTree(this, layout.Tree, layout.TreeName, layout.Indentation);
    tree_->setModel(model_);
    tree_->setGeometry(layout.TreeArea);
    menu_ = MakeControl<QMenu>(this, "ODatMenu");
    tree_->SetPopupMenu(menu_);

    saveButton_ = ColourButton(this, layout.SaveButton, QStringLiteral("Save"), layout.SaveHint,
                               VantorFont(9));
    Place(saveButton_, 3, 369, 52, 22);
    loadButton_ = ColourButton(this, layout.LoadButton, QStringLiteral("Load"), layout.LoadHint,
                               VantorFont(9));
    Place(loadButton_, 61, 369, 52, 22);

    connect(searchButton_, &TBitBtnWithColor::clicked, this, Guarded([this] { SearchClick(); }));
    connect(searchBox_, &TFlatComboBox::ReturnPressed, this, Guarded([this] { SearchBoxEnter(); }));
    // SucheChange: an edited keyword is looked for from the top again.
    connect(searchBox_, &TFlatComboBox::editTextChanged, this,
            [this] { links_.SearchPosition.Value = 0; });
    connect(tree_, &TDatabaseTree::clicked, this, Guarded([this] { ODatClick(); }));
}

void TDatabasePage::SetRollOut(bool on) {
    rollOut_ = on;
    if (tree_ != nullptr) {
        tree_->SetRollOut(on);
    }
}

void TDatabasePage::SetNodeLines(bool on) {
    nodeLines_ = on;
    if (tree_ != nullptr) {
        tree_->SetNodeLines(on);
    }
}

void TDatabasePage::SetSearchItems(const QStringList& items) {
    searchItems_ = items;
    if (searchBox_ != nullptr) {
        searchBox_->SetItems(items);
    }
}

QString TDatabasePage::ExportPath(const QString& name) const {
    return ProgramFilePath(links_.ProgramFolder, name);
}

// The folder the exports really go to: the program folder, or for an
// installed copy the user's data folder.
QString TDatabasePage::ShownFolder(const QString& name) const {
    return QDir::toNativeSeparators(QFileInfo(ExportPath(name)).absolutePath() + QLatin1Char('/'));
}

std::optional<std::string> TDatabasePage::SelectedText() const {
    const TTreeNode* node = model_->Node(tree_->SelectedNode());
    if (node == nullptr) {
        return std::nullopt;
    }
    return node->Text();
}

QAction* TDatabasePage::AddFindItem(const char* name, const QString& caption, int picture) {
    QAction* item = menu_->addAction(ImageListPicture(picture), caption);
    item->setObjectName(QString::fromLatin1(name));
    connect(item, &QAction::triggered, this, Guarded([this] { FindSelectedInOtherTree(); }));
    return item;
}

void TDatabasePage::AllowRenameOf(const std::string&) {
}

void TDatabasePage::SearchBoxEnter() {
    if (!searchBox_->currentText().isEmpty()) {
        SearchClick();
    }
}

void TDatabasePage::SearchClick() {
    const QString keyword = searchBox_->currentText();
    if (keyword.isEmpty()) {
        links_.Messenger.Notify(QStringLiteral("Error"),
                                QStringLiteral("Please enter a keyword to search for."),
                                MessageKind::Alert);
        return;
    }
    TSearchPosition& position = links_.SearchPosition;
    const int start = std::max(0, position.Value);
    if (const auto hit = model_->Find(static_cast<std::size_t>(start), keyword)) {
        // A hit deeper than a view can open shows as its deepest openable ancestor.
        tree_->ShowNode(model_->ShowableIndex(hit->Index));
        position.Value = static_cast<int>(hit->Position + 1);
        return;
    }
    links_.Messenger.Notify(QStringLiteral("Search completed."), NotFoundText(keyword, start != 0),
                            MessageKind::Alert);
    position.Value = 0;
}

void TDatabasePage::FindFromOutput(const QString& keyword) {
    EnsureBuilt();
    searchBox_->setCurrentText(keyword);
    links_.SearchPosition.Value = 0;
    SearchClick();
    ODatClick();
}

void TDatabasePage::ODatClick() {
    const std::optional<std::string> text = SelectedText();
    if (!text || !links_.StarMapLinked()) {
        return;
    }
    AllowRenameOf(*text);
    AufderKartezeigen1Click(*text);
}

void TDatabasePage::AufderKartezeigen1Click(const std::string& text) {
    links_.ShowStarMap();
    TNinjaMatrix& engine = links_.Engine;
    if (text == OwnDatabaseRoot) {
        engine.ResetMatrix();
    } else if (const int race = RaceOfGroup(text)) {
        engine.HighlightRace(race);
    } else if (const SectorPosition system = FindSystem(engine, text); system.Known()) {
        engine.ResetMatrix();
        engine.HighlightSector(system.Column, system.Row);
    }
}

void TDatabasePage::FindSelectedInOtherTree() {
    const std::optional<std::string> text = SelectedText();
    if (text && !text->empty()) {
        emit FindInOtherTree(DisplayText(*text));
    }
}
