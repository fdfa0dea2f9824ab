#include "SystemDatabasePage.h"

#include "ColorBitmapButton.h"
#include "DatabaseModel.h"
#include "ErrorBox.h"
#include "FlatComboBox.h"
#include "Messenger.h"
#include "NodeText.h"
#include "SearchListModel.h"

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
    : DatabasePage(parent, std::move(links), pageLayout())
    , searchList_(std::make_unique<SearchListModel>()) {
    setSearchList(searchList_.get());
}

SystemDatabasePage::~SystemDatabasePage() = default;

QAbstractItemModel* SystemDatabasePage::searchList() const {
    return searchList_.get();
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
    // Later loads leave the list as it is now.
    searchList_->listTreeOf(model());
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
