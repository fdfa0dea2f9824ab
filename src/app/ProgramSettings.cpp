#include "ProgramSettings.h"

#include "AutoLoadOption.h"
#include "OptionsPanel.h"
#include "RouteEngine.h"
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
void readFlag(const SettingsStore& store, const QString& name, Apply apply) {
    if (store.valueExists(name)) {
        apply(store.readFlag(name));
    }
}

// The last import or export of the notepad or the own database, loaded when
// its auto-load is on.
void readLastFile(const SettingsStore& store, const QString& name, AutoLoadOption& option) {
    if (store.valueExists(name)) {
        option.restore(store.readText(name));
    }
}

// A stored data file that is gone gives way to the shipped one for this run.
QString storedDataPath(const SettingsStore& store, const QString& name,
                       const QString& defaultPath) {
    if (store.valueExists(name)) {
        QString stored = store.readText(name);
        if (QFileInfo(stored).isFile()) {
            return stored;
        }
    }
    return defaultPath;
}

} // namespace

ProgramSettings::ProgramSettings(OptionsPanel& options, AutoLoadOptions autoLoads,
                                 RouteEngine& engine, QString programFolder)
    : options_(options)
    , autoLoads_(autoLoads)
    , engine_(engine)
    , programFolder_(std::move(programFolder)) {
}

QString ProgramSettings::defaultPath(const char* fileName) const {
    return programFilePath(programFolder_, QLatin1String(fileName));
}

void ProgramSettings::readSettings() {
    SettingsStore store;
    store.open();
    readFlag(store, AutoLoadNotesName, [this](bool on) { autoLoads_.notes.setChecked(on); });
    readLastFile(store, LastNotesName, autoLoads_.notes);
    readFlag(store, AutoLoadOwnDataName, [this](bool on) { autoLoads_.ownData.setChecked(on); });
    readLastFile(store, LastOwnDataName, autoLoads_.ownData);
    readFlag(store, HintsName, [this](bool on) { options_.setHintsShown(on); });
    readFlag(store, StarMapLinkedName, [this](bool on) { options_.setStarMapLinked(on); });
    readFlag(store, RollOutName, [this](bool on) { options_.setRollOut(on); });
    readFlag(store, NodeLinesName, [this](bool on) { options_.setNodeLines(on); });

    options_.setCoreDataPath(storedDataPath(store, CoreDataName, defaultPath("core.vr")));
    engine_.setFilename(QFile::encodeName(options_.coreDataPath()).toStdString());
    options_.setInfoDataPath(storedDataPath(store, InfoDataName, defaultPath("vantor.vr")));
    store.close();
}

void ProgramSettings::writeSettings() {
    if (!ready_) {
        return;
    }
    // A start-up that stopped before the data files were set stores the
    // shipped ones.
    if (options_.coreDataPath().isEmpty()) {
        options_.setCoreDataPath(defaultPath("core.vr"));
    }
    if (options_.infoDataPath().isEmpty()) {
        options_.setInfoDataPath(defaultPath("vantor.vr"));
    }
    SettingsStore store;
    store.open();
    store.writeText(CoreDataName, options_.coreDataPath());
    store.writeText(InfoDataName, options_.infoDataPath());
    store.writeFlag(AutoLoadNotesName, autoLoads_.notes.checked());
    store.writeText(LastNotesName, autoLoads_.notes.lastFile());
    store.writeFlag(AutoLoadOwnDataName, autoLoads_.ownData.checked());
    store.writeText(LastOwnDataName, autoLoads_.ownData.lastFile());
    store.writeFlag(HintsName, options_.hintsShown());
    store.writeFlag(StarMapLinkedName, options_.starMapLinked());
    store.writeFlag(RollOutName, options_.rollOut());
    store.writeFlag(NodeLinesName, options_.nodeLines());
    store.close();
}
