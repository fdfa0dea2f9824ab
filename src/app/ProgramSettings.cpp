#include "ProgramSettings.h"

#include "AutoLoadOption.h"
#include "RouteEngine.h"
#include "OptionsPanel.h"
#include "SettingsStore.h"
#include "TreeFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString CoreDataName = QStringLiteral("SysCoreDat");
const QString InfoDataName = QStringLiteral("SysInfoDat");
const QString AutoLoadNotesName = QStringLiteral("AutoLoad Notes");
const QString LastNotesName = QStringLiteral("LInotes");
const QString AutoLoadOwnDataName = QStringLiteral("AutoLoad ODat");
const QString LastOwnDataName = QStringLiteral("LIodat");
const QString HintsName = QStringLiteral("Help POP");
const QString StarMapLinkedName = QStringLiteral("StarMap Autoload");
const QString RollOutName = QStringLiteral("Auto RollOut");
const QString NodeLinesName = QStringLiteral("Data Lines");

// A flag that is not stored leaves its box as the layout has it.
template <typename Apply>
void ReadFlag(const TSettingsStore& store, const QString& name, Apply apply) {
    if (store.ValueExists(name)) {
        apply(store.ReadFlag(name));
    }
}

// The last import or export of the notepad or the own database, loaded when
// its auto-load is on.
void ReadLastFile(const TSettingsStore& store, const QString& name, TAutoLoadOption& option) {
    if (store.ValueExists(name)) {
        option.Restore(store.ReadText(name));
    }
}

// A stored data file that is gone gives way to the shipped one for this run.
QString StoredDataPath(const TSettingsStore& store, const QString& name,
                       const QString& defaultPath) {
    if (store.ValueExists(name)) {
        const QString stored = store.ReadText(name);
        if (QFileInfo(stored).isFile()) {
            return stored;
        }
    }
    return defaultPath;
}

} // namespace

TProgramSettings::TProgramSettings(TOptionsPanel& options, TAutoLoadOption& notes,
                                   TAutoLoadOption& ownData, TNinjaMatrix& engine,
                                   QString programFolder)
    : options_(options)
    , notes_(notes)
    , ownData_(ownData)
    , engine_(engine)
    , programFolder_(std::move(programFolder)) {
}

QString TProgramSettings::DefaultPath(const char* fileName) const {
    return ProgramFilePath(programFolder_, QLatin1String(fileName));
}

void TProgramSettings::ReadSettings() {
    TSettingsStore store;
    store.Open();
    ReadFlag(store, AutoLoadNotesName, [this](bool on) { notes_.SetChecked(on); });
    ReadLastFile(store, LastNotesName, notes_);
    ReadFlag(store, AutoLoadOwnDataName, [this](bool on) { ownData_.SetChecked(on); });
    ReadLastFile(store, LastOwnDataName, ownData_);
    ReadFlag(store, HintsName, [this](bool on) { options_.SetHintsShown(on); });
    ReadFlag(store, StarMapLinkedName, [this](bool on) { options_.SetStarMapLinked(on); });
    ReadFlag(store, RollOutName, [this](bool on) { options_.SetRollOut(on); });
    ReadFlag(store, NodeLinesName, [this](bool on) { options_.SetNodeLines(on); });

    options_.SetCoreDataPath(StoredDataPath(store, CoreDataName, DefaultPath("core.vr")));
    engine_.SetFilename(QFile::encodeName(options_.CoreDataPath()).toStdString());
    options_.SetInfoDataPath(StoredDataPath(store, InfoDataName, DefaultPath("vantor.vr")));
    store.Close();
}

void TProgramSettings::UpdateReg() {
    if (!ready_) {
        return;
    }
    // A start-up that stopped before the data files were set stores the
    // shipped ones.
    if (options_.CoreDataPath().isEmpty()) {
        options_.SetCoreDataPath(DefaultPath("core.vr"));
    }
    if (options_.InfoDataPath().isEmpty()) {
        options_.SetInfoDataPath(DefaultPath("vantor.vr"));
    }
    TSettingsStore store;
    store.Open();
    store.WriteText(CoreDataName, options_.CoreDataPath());
    store.WriteText(InfoDataName, options_.InfoDataPath());
    store.WriteFlag(AutoLoadNotesName, notes_.Checked());
    store.WriteText(LastNotesName, notes_.LastFile());
    store.WriteFlag(AutoLoadOwnDataName, ownData_.Checked());
    store.WriteText(LastOwnDataName, ownData_.LastFile());
    store.WriteFlag(HintsName, options_.HintsShown());
    store.WriteFlag(StarMapLinkedName, options_.StarMapLinked());
    store.WriteFlag(RollOutName, options_.RollOut());
    store.WriteFlag(NodeLinesName, options_.NodeLines());
    store.Close();
}
