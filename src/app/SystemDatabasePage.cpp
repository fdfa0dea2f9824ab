#include "SystemDatabasePage.h"

#include "ColorBitmapButton.h"
#include "DatabaseModel.h"
#include "ErrorBox.h"
#include "FlatComboBox.h"
#include "ItemOrder.h"
#include "Messenger.h"
#include "NodeText.h"

namespace {

const QString ExportName = QStringLiteral("Vantor.txt");

DatabasePageLayout pageLayout() {
    return {"TabSheet1",
            "ZenitDat",
            QStringLiteral("System Database"),
            QRect(117, 0, 316, 390),
            19,
            "Label3",
            "Suche",
            "SysSearch",
            "BitBtnWithColor2",
            QStringLiteral("Save the actual Zenit-Database"),
            "BitBtnWithColor3",
            QStringLiteral("Load the actual Zenit-Database")};
}

} // namespace

SystemDatabasePage::SystemDatabasePage(QWidget* parent, DatabaseLinks links)
    : DatabasePage(parent, std::move(links), pageLayout()) {
}

void SystemDatabasePage::buildPageControls() {
    addFindItem("InEigenerDatenbankanzeigen1", QStringLiteral("Find in Own-Database"), 3);
    connect(&saveButton(), &ColorBitmapButton::clicked, this,
            guarded([this] { onExportSaveClicked(); }));
    connect(&loadButton(), &ColorBitmapButton::clicked, this,
            guarded([this] { onExportLoadClicked(); }));
}

void SystemDatabasePage::loadInfoData(const QString& path) {
    model().load(path);
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(model().tree().size()));
    for (const TreeNode* node = model().tree().first(); node != nullptr; node = node->next()) {
        texts << displayText(node->text());
    }
    // The box keeps them in its own order; later loads leave them.
    sortLetterCaseAside(texts);
    searchItems_ = texts;
    setSearchItems(texts);
}

void SystemDatabasePage::onExportSaveClicked() {
    model().save(exportPath(ExportName));
    databaseLinks().messenger.notify(
        QStringLiteral("Saved."),
        QStringLiteral("The Zenit-Database was saved in \"Vantor.txt\" to ") +
            shownFolder(ExportName) + QStringLiteral("\"."),
        MessageKind::Notice);
}

// Loading changes neither the search lists nor where the next search starts.
void SystemDatabasePage::onExportLoadClicked() {
    model().load(exportPath(ExportName));
    databaseLinks().messenger.notify(
        QStringLiteral("Imported."),
        QStringLiteral("An external database was imported out of \"Vantor.txt\" from \"") +
            shownFolder(ExportName) + QStringLiteral("\"."),
        MessageKind::Alert);
}
