#include "OwnDatabasePage.h"

#include "Artwork.h"
#include "AutoLoadOption.h"
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

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <array>

namespace {

const QString ExportName = QStringLiteral("OwnData.txt");

TDatabasePageLayout Layout() {
    return {"TabSheet5",
            "ODat",
            QStringLiteral("Own Database"),
            QRect(117, 17, 316, 373),
            16,
            "Label4",
            "OwnDat",
            "OwnDatSearch",
            "BitBtnWithColor8",
            QStringLiteral("Export the \"Own Database\""),
            "BitBtnWithColor9",
            QStringLiteral("Import an external \"Own Database\"")};
}

} // namespace

TOwnDatabasePage::TOwnDatabasePage(QWidget* parent, TDatabaseLinks links)
    : TDatabasePage(parent, std::move(links), Layout())
    , autoLoad_(new TAutoLoadOption(this, "CheckBox2", 117, -2, 260,
                                    [this](const QString& path) { Model().Load(path); })) {
    Model().SetEditableCheck([this](const TTreeNode& node) {
        return renameAllowed_ && !IsProtectedEntry(Links().Engine, node.Text());
    });
    // The tree as the window is built: the root alone.
    Model().Append(QModelIndex(), std::string(OwnDatabaseRoot));
}

void TOwnDatabasePage::BuildPageControls() {
    BuildControls();
    BuildMenu();
    AddTO->SetItems(addItems_);
    // The keyboard visits the auto-load box after Load, as the page reads.
    if (auto* autoLoadBox = findChild<QCheckBox*>(QStringLiteral("CheckBox2"))) {
        setTabOrder(&LoadButton(), autoLoadBox);
        setTabOrder(autoLoadBox, AddTO);
    }
}

void TOwnDatabasePage::BuildControls() {
    auto* heading = Heading(this, "Label5", QStringLiteral("Add to database"), 4, 44);
    AddTO = CompletingBox(this, "AddTO", QStringLiteral("Add to database"), Palette::DarkGround, 3,
                          61, 110);
    heading->setBuddy(AddTO);
    ADD = ColourButton(this, "ADD", QStringLiteral("+"),
                       QStringLiteral("Add to actual database / tree"), VantorFont(9));
    Place(ADD, 3, 86, 23, 22);
    DEL = ColourButton(this, "DEL", QStringLiteral("-"),
                       QStringLiteral("Remove from actual database / tree"), VantorFont(9));
    Place(DEL, 29, 86, 23, 22);

    connect(ADD, &TBitBtnWithColor::clicked, this, Guarded([this] { ADDClick(); }));
    connect(AddTO, &TFlatComboBox::ReturnPressed, this, Guarded([this] { AddTOEnter(); }));
    connect(DEL, &TBitBtnWithColor::clicked, this, Guarded([this] { DELClick(); }));
    connect(&SaveButton(), &TBitBtnWithColor::clicked, this,
            Guarded([this] { BitBtnWithColor8Click(); }));
    connect(&LoadButton(), &TBitBtnWithColor::clicked, this,
            Guarded([this] { BitBtnWithColor9Click(); }));
}

void TOwnDatabasePage::BuildMenu() {
    Editieren1 = Menu().addAction(QStringLiteral("Edit"));
    Editieren1->setObjectName(QStringLiteral("Editieren1"));
    Lschen1 = Menu().addAction(DeleteGlyph(), QStringLiteral("Delete"));
    Lschen1->setObjectName(QStringLiteral("Lschen1"));
    // The Delete key on the tree deletes as the menu item does, question included.
    Lschen1->setShortcut(QKeySequence::Delete);
    Lschen1->setShortcutContext(Qt::WidgetShortcut);
    Tree().addAction(Lschen1);
    Menu().addSeparator()->setObjectName(QStringLiteral("N2"));
    AddFindItem("InderSystemDatenbankanwhlen1", QStringLiteral("Find in System-Database"), 2);

    connect(Editieren1, &QAction::triggered, this, Guarded([this] { Editieren1Click(); }));
    connect(Lschen1, &QAction::triggered, this, Guarded([this] { DELClick(); }));
}

void TOwnDatabasePage::SetListItems(const QStringList& items) {
    SetSearchItems(items);
    addItems_ = items;
    if (AddTO != nullptr) {
        AddTO->SetItems(items);
    }
}

void TOwnDatabasePage::FinishStartup() {
    if (!autoLoad_->Checked()) {
        BuildDefaultTree();
    }
    Model().SortTree();
}

// The race groups under the root, and in them the systems of their race,
// column by column.
void TOwnDatabasePage::BuildDefaultTree() {
    const QModelIndex root = Model().index(0, 0);
    std::array<QModelIndex, 6> groupOfRace{};
    for (const TRaceGroup& group : RaceGroups) {
        groupOfRace[static_cast<std::size_t>(group.Race)] =
            Model().Append(root, std::string(group.Text));
    }
    const TNinjaMatrix& engine = Links().Engine;
    for (int x = 0; x < TNinjaMatrix::GridSize; ++x) {
        for (int y = 0; y < TNinjaMatrix::GridSize; ++y) {
            const StarElement& sector = engine.Sector(x, y);
            if (sector.Race >= 1 && sector.Race <= 5) {
                Model().Append(groupOfRace[sector.Race], sector.Name);
            }
        }
    }
}

void TOwnDatabasePage::AllowRenameOf(const std::string& text) {
    renameAllowed_ = !IsProtectedEntry(Links().Engine, text);
}

void TOwnDatabasePage::ShowProtectedEntry() {
    Links().Messenger.Notify(QStringLiteral("Complete halt."),
                             QStringLiteral("This entry cannot be deleted, because it is an "
                                            "important part of the database."),
                             MessageKind::Alert);
}

// The new entry goes last under the selected one, unsorted, not selected.
void TOwnDatabasePage::ADDClick() {
    const QString text = AddTO->currentText();
    if (text.isEmpty()) {
        return;
    }
    Model().Append(Tree().SelectedNode(), text);
    AddTO->clearEditText();
}

void TOwnDatabasePage::AddTOEnter() {
    if (!AddTO->currentText().isEmpty()) {
        ADDClick();
    }
}

// A first child can be deleted like any other entry; the skeleton can't.
void TOwnDatabasePage::DELClick() {
    const QPersistentModelIndex selected = Tree().SelectedNode();
    const TTreeNode* node = Model().Node(selected);
    if (node == nullptr) {
        return;
    }
    const std::string text = node->Text();
    if (IsFixedEntry(text)) {
        ShowProtectedEntry();
        return;
    }
    TMessenger& messenger = Links().Messenger;
    messenger.Showme(QStringLiteral("Delete"),
                     QStringLiteral("Are you sure you want to delete \"") + DisplayText(text) +
                         QStringLiteral("\"?"),
                     MessageKind::Question, QStringLiteral("&Yes"), QStringLiteral("&No"));
    if (!messenger.MessageResult() || !selected.isValid()) {
        return;
    }
    if (FindSystem(Links().Engine, text).Known()) {
        ShowProtectedEntry();
        return;
    }
    Model().Remove(selected);
    // The entry that takes the deleted one's place is the selected one now.
    const QModelIndex next = Tree().currentIndex();
    if (next.isValid()) {
        Tree().selectionModel()->select(next, QItemSelectionModel::ClearAndSelect);
    }
}

void TOwnDatabasePage::Editieren1Click() {
    const QModelIndex selected = Tree().SelectedNode();
    const TTreeNode* node = Model().Node(selected);
    if (node == nullptr) {
        return;
    }
    if (IsProtectedEntry(Links().Engine, node->Text())) {
        ShowProtectedEntry();
        return;
    }
    renameAllowed_ = true;
    Tree().edit(selected);
}

void TOwnDatabasePage::BitBtnWithColor8Click() {
    const QString path = ExportPath(ExportName);
    Model().Save(path);
    Links().Messenger.Notify(
        QStringLiteral("Saved."),
        QStringLiteral("The \"Own Database\" was saved in \"OwnData.txt\" to \"") +
            ShownFolder(ExportName) + QStringLiteral("\"."),
        MessageKind::Notice);
    autoLoad_->SetLastFile(path);
    emit SettingsChanged();
}

// The loaded tree keeps the file's order until the next start or rename.
void TOwnDatabasePage::BitBtnWithColor9Click() {
    const QString path = ExportPath(ExportName);
    if (!QFileInfo::exists(path)) {
        Links().Messenger.Notify(
            QStringLiteral("File error."),
            QStringLiteral("The file \"OwnData.txt\" which normaly includes the \"Own Database\" "
                           "could not be found in current directory."),
            MessageKind::Alert);
        return;
    }
    Model().Load(path);
    Links().Messenger.Notify(
        QStringLiteral("Imported."),
        QStringLiteral("An external \"Own Database\" was imported out of \"OwnData.txt\" from \"") +
            ShownFolder(ExportName) + QStringLiteral("\"."),
        MessageKind::Alert);
    autoLoad_->SetLastFile(path);
    emit SettingsChanged();
}
