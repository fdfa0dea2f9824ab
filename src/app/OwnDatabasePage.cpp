#include "OwnDatabasePage.h"

#include "Artwork.h"
#include "AutoLoadOption.h"
#include "ColorBitmapButton.h"
#include "Colors.h"
#include "DatabaseEntries.h"
#include "DatabaseHistory.h"
#include "DatabaseModel.h"
#include "DatabaseTree.h"
#include "ErrorBox.h"
#include "FlatComboBox.h"
#include "Look.h"
#include "Messenger.h"
#include "NodeText.h"
#include "RegularFile.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <array>

namespace {

const QString ExportName = QStringLiteral("OwnData.txt");

// Only a plain file that can be read is there to import: a folder, a pipe or
// a device of that name counts as missing.
bool isReadableRegularFile(const QString& path) {
    return isRegularFile(path) && QFileInfo(path).isReadable();
}

DatabasePageLayout pageLayout() {
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

OwnDatabasePage::OwnDatabasePage(QWidget* parent, DatabaseLinks links)
    : DatabasePage(parent, std::move(links), pageLayout())
    , autoLoad_(new AutoLoadOption(this, "CheckBox2", 117, -2, 260,
                                   [this](const QString& path) { model().load(path); })) {
    model().setEditableCheck([this](const TreeNode& node) {
        return renameAllowed_ && !isProtectedEntry(databaseLinks().engine, node.text());
    });
    // An entry of the user's own moves with its branch; the skeleton stays.
    model().setMovableCheck([this](const TreeNode& node) {
        return !isProtectedEntry(databaseLinks().engine, node.text());
    });
    // The tree as the window is built: the root alone.
    model().append(QModelIndex(), std::string(OwnDatabaseRoot));
    history_ = new DatabaseHistory(
        model(),
        [this](const std::string& text) { return isProtectedEntry(databaseLinks().engine, text); },
        this);
    model().setRenameHandler([this](const QModelIndex& index, std::string bytes) {
        runGuarded([&] { history_->rename(index, std::move(bytes)); });
    });
    model().setMoveHandler([this](const QModelIndex& from, const QModelIndex& toParent) {
        runGuarded([&] { history_->move(from, toParent); });
    });
    connect(history_, &DatabaseHistory::changed, this, &OwnDatabasePage::changed);
    connect(history_, &DatabaseHistory::unsavedChanged, this, &OwnDatabasePage::unsavedChanged);
}

void OwnDatabasePage::buildPageControls() {
    buildControls();
    buildMenu();
    tree().allowMovingEntries();
    if (addList_ != nullptr) {
        addBox_->setModel(addList_);
    }
    // The keyboard visits the auto-load box after Load, as the page reads.
    if (auto* autoLoadBox = findChild<QCheckBox*>(QStringLiteral("CheckBox2"))) {
        setTabOrder(&loadButton(), autoLoadBox);
        setTabOrder(autoLoadBox, addBox_);
    }
}

void OwnDatabasePage::buildControls() {
    auto* heading = makeHeading(this, "Label5", QStringLiteral("Add to database"), 4, 44);
    addBox_ = completingBox(this, "AddTO", QStringLiteral("Add to database"), Palette::DarkGround,
                            3, 61, 110);
    heading->setBuddy(addBox_);
    addButton_ = colourButton(this, "ADD", QStringLiteral("+"),
                              QStringLiteral("Add to actual database / tree"), vantorFont(9));
    place(addButton_, 3, 86, 23, 22);
    deleteButton_ =
        colourButton(this, "DEL", QStringLiteral("-"),
                     QStringLiteral("Remove from actual database / tree"), vantorFont(9));
    place(deleteButton_, 29, 86, 23, 22);

    connect(addButton_, &ColorBitmapButton::clicked, this, guarded([this] { onAddClicked(); }));
    connect(addBox_, &FlatComboBox::returnPressed, this,
            guarded([this] { onAddBoxReturnPressed(); }));
    connect(deleteButton_, &ColorBitmapButton::clicked, this,
            guarded([this] { onDeleteClicked(); }));
    connect(&saveButton(), &ColorBitmapButton::clicked, this,
            guarded([this] { onOwnDataSaveClicked(); }));
    connect(&loadButton(), &ColorBitmapButton::clicked, this,
            guarded([this] { onOwnDataLoadClicked(); }));
}

void OwnDatabasePage::buildMenu() {
    // Ctrl+Z and Ctrl+Shift+Z or Ctrl+Y anywhere on the page but in a text
    // box, which takes them for its own typing.
    undoAction_ = menu().addAction(QStringLiteral("Undo"));
    undoAction_->setObjectName(QStringLiteral("Undo1"));
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_ = menu().addAction(QStringLiteral("Redo"));
    redoAction_->setObjectName(QStringLiteral("Redo1"));
    redoAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {undoAction_, redoAction_}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    menu().addSeparator()->setObjectName(QStringLiteral("N1"));
    connect(undoAction_, &QAction::triggered, this, guarded([this] { onUndoTriggered(); }));
    connect(redoAction_, &QAction::triggered, this, guarded([this] { onRedoTriggered(); }));
    connect(history_, &DatabaseHistory::stepsChanged, this, [this] { showUndoSteps(); });
    connect(history_, &DatabaseHistory::entryRestored, this,
            [this](const QModelIndex& index) { tree().showNode(index); });
    showUndoSteps();

    editAction_ = menu().addAction(QStringLiteral("Edit"));
    editAction_->setObjectName(QStringLiteral("Editieren1"));
    deleteAction_ = menu().addAction(deleteGlyph(), QStringLiteral("Delete"));
    deleteAction_->setObjectName(QStringLiteral("Lschen1"));
    // The Delete key on the tree deletes as the menu item does, question included.
    deleteAction_->setShortcut(QKeySequence::Delete);
    deleteAction_->setShortcutContext(Qt::WidgetShortcut);
    tree().addAction(deleteAction_);
    menu().addSeparator()->setObjectName(QStringLiteral("N2"));
    addFindItem("InderSystemDatenbankanwhlen1", QStringLiteral("Find in System-Database"), 2);

    connect(editAction_, &QAction::triggered, this, guarded([this] { onEditTriggered(); }));
    connect(deleteAction_, &QAction::triggered, this, guarded([this] { onDeleteClicked(); }));
}

void OwnDatabasePage::setLists(QAbstractItemModel* list) {
    setSearchList(list);
    addList_ = list;
    if (addBox_ != nullptr) {
        addBox_->setModel(list);
    }
}

void OwnDatabasePage::finishStartup() {
    if (!autoLoad_->checked()) {
        buildDefaultTree();
    }
    model().sortTree();
}

// The race groups under the root, and in them the systems of their race,
// column by column.
void OwnDatabasePage::buildDefaultTree() {
    const QModelIndex root = model().index(0, 0);
    std::array<QModelIndex, 6> groupOfRace{};
    for (const RaceGroup& group : RaceGroups) {
        groupOfRace[static_cast<std::size_t>(group.race)] =
            model().append(root, std::string(group.text));
    }
    const RouteEngine& engine = databaseLinks().engine;
    for (int x = 0; x < RouteEngine::GridSize; ++x) {
        for (int y = 0; y < RouteEngine::GridSize; ++y) {
            const StarElement& sector = engine.sectorAt(x, y);
            if (sector.race >= 1 && sector.race <= 5) {
                model().append(groupOfRace[sector.race], sector.name);
            }
        }
    }
}

void OwnDatabasePage::startHistory() {
    history_->start();
}

bool OwnDatabasePage::unsaved() const {
    return history_->unsaved();
}

const Tree& OwnDatabasePage::entries() const {
    return model().tree();
}

void OwnDatabasePage::restoreEntries(const QString& path) {
    history_->restore(path);
}

void OwnDatabasePage::showUndoSteps() {
    undoAction_->setText(history_->undoCaption());
    undoAction_->setEnabled(history_->canUndo());
    redoAction_->setText(history_->redoCaption());
    redoAction_->setEnabled(history_->canRedo());
}

// A step that would rename or delete an entry of the skeleton is refused as
// the user's own rename or delete would be.
void OwnDatabasePage::onUndoTriggered() {
    if (!history_->undo()) {
        showProtectedEntry();
    }
    selectCurrentEntry();
}

void OwnDatabasePage::onRedoTriggered() {
    if (!history_->redo()) {
        showProtectedEntry();
    }
    selectCurrentEntry();
}

void OwnDatabasePage::allowRenameOf(const std::string& text) {
    renameAllowed_ = !isProtectedEntry(databaseLinks().engine, text);
}

void OwnDatabasePage::showProtectedEntry() {
    databaseLinks().messenger.notify(
        QStringLiteral("Complete halt."),
        QStringLiteral("This entry cannot be deleted, because it is an "
                       "important part of the database."),
        MessageKind::Alert);
}

// The new entry goes last under the selected one, unsorted, not selected.
void OwnDatabasePage::onAddClicked() {
    const QString text = addBox_->currentText();
    if (text.isEmpty()) {
        return;
    }
    history_->add(tree().selectedNode(), text);
    addBox_->clearEditText();
}

void OwnDatabasePage::onAddBoxReturnPressed() {
    if (!addBox_->currentText().isEmpty()) {
        onAddClicked();
    }
}

// A first child can be deleted like any other entry; the skeleton can't.
void OwnDatabasePage::onDeleteClicked() {
    const QPersistentModelIndex selected = tree().selectedNode();
    const TreeNode* node = model().nodeOf(selected);
    if (node == nullptr) {
        return;
    }
    const std::string text = node->text();
    if (isFixedEntry(text)) {
        showProtectedEntry();
        return;
    }
    Messenger& messenger = databaseLinks().messenger;
    messenger.showMessage(QStringLiteral("Delete"),
                          QStringLiteral("Are you sure you want to delete \"") + displayText(text) +
                              QStringLiteral("\"?"),
                          MessageKind::Question, QStringLiteral("&Yes"), QStringLiteral("&No"));
    if (!messenger.messageResult() || !selected.isValid()) {
        return;
    }
    if (findSystem(databaseLinks().engine, text).known()) {
        showProtectedEntry();
        return;
    }
    history_->remove(selected);
    selectCurrentEntry();
}

// After a delete, the entry that takes the deleted one's place.
void OwnDatabasePage::selectCurrentEntry() {
    const QModelIndex next = tree().currentIndex();
    if (next.isValid() && !tree().selectionModel()->hasSelection()) {
        tree().selectionModel()->select(next, QItemSelectionModel::ClearAndSelect);
    }
}

void OwnDatabasePage::onEditTriggered() {
    const QModelIndex selected = tree().selectedNode();
    const TreeNode* node = model().nodeOf(selected);
    if (node == nullptr) {
        return;
    }
    if (isProtectedEntry(databaseLinks().engine, node->text())) {
        showProtectedEntry();
        return;
    }
    renameAllowed_ = true;
    tree().edit(selected);
}

void OwnDatabasePage::writeEntries() {
    model().save(exportPath(ExportName));
    history_->markSaved();
}

void OwnDatabasePage::saveUnsaved() {
    writeEntries();
    autoLoad_->setLastFile(exportPath(ExportName));
    emit settingsChanged();
}

void OwnDatabasePage::onOwnDataSaveClicked() {
    const QString path = exportPath(ExportName);
    writeEntries();
    databaseLinks().messenger.notify(
        QStringLiteral("Saved."),
        QStringLiteral("The \"Own Database\" was saved in \"OwnData.txt\" to \"") +
            shownFolder(ExportName) + QStringLiteral("\"."),
        MessageKind::Notice);
    autoLoad_->setLastFile(path);
    emit settingsChanged();
}

// The loaded tree keeps the file's order until the next start or rename.
void OwnDatabasePage::onOwnDataLoadClicked() {
    const QString path = exportPath(ExportName);
    if (!isReadableRegularFile(path)) {
        databaseLinks().messenger.notify(
            QStringLiteral("File error."),
            QStringLiteral("The file \"OwnData.txt\" which normaly includes the \"Own Database\" "
                           "could not be found in current directory."),
            MessageKind::Alert);
        return;
    }
    history_->load(path);
    databaseLinks().messenger.notify(
        QStringLiteral("Imported."),
        QStringLiteral("An external \"Own Database\" was imported out of \"OwnData.txt\" from \"") +
            shownFolder(ExportName) + QStringLiteral("\"."),
        MessageKind::Alert);
    autoLoad_->setLastFile(path);
    emit settingsChanged();
}
