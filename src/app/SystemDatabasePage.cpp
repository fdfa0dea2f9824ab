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

TDatabasePageLayout Layout() {
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

TSystemDatabasePage::TSystemDatabasePage(QWidget* parent, TDatabaseLinks links)
    : TDatabasePage(parent, std::move(links), Layout()) {
}

void TSystemDatabasePage::BuildPageControls() {
    AddFindItem("InEigenerDatenbankanzeigen1", QStringLiteral("Find in Own-Database"), 3);
    connect(&SaveButton(), &TBitBtnWithColor::clicked, this,
            Guarded([this] { BitBtnWithColor2Click(); }));
    connect(&LoadButton(), &TBitBtnWithColor::clicked, this,
            Guarded([this] { BitBtnWithColor3Click(); }));
}

void TSystemDatabasePage::LoadInfoData(const QString& path) {
    Model().Load(path);
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(Model().Tree().Size()));
    for (const TTreeNode* node = Model().Tree().First(); node != nullptr; node = node->Next()) {
        texts << DisplayText(node->Text());
    }
    // The box keeps them in its own order; later loads leave them.
    SortLetterCaseAside(texts);
    searchItems_ = texts;
    SetSearchItems(texts);
}

void TSystemDatabasePage::BitBtnWithColor2Click() {
    Model().Save(ExportPath(ExportName));
    Links().Messenger.Notify(QStringLiteral("Saved."),
                             QStringLiteral("The Zenit-Database was saved in \"Vantor.txt\" to ") +
                                 ShownFolder(ExportName) + QStringLiteral("\"."),
                             MessageKind::Notice);
}

// Loading changes neither the search lists nor where the next search starts.
void TSystemDatabasePage::BitBtnWithColor3Click() {
    Model().Load(ExportPath(ExportName));
    Links().Messenger.Notify(
        QStringLiteral("Imported."),
        QStringLiteral("An external database was imported out of \"Vantor.txt\" from \"") +
            ShownFolder(ExportName) + QStringLiteral("\"."),
        MessageKind::Alert);
}
