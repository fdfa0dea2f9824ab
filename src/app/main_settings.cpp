// The ten stored settings: read once while the main window is created, all
// written again whenever one of them changes.
#include "main.h"

#include "HintPolicy.h"
#include "SettingsStore.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>

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

constexpr int HintWakeUpMs = 0;
constexpr int HintShowMs = 5000;

// Setting a box runs its handler when the state changes, which applies the option.
void ReadFlagInto(const TSettingsStore& store, const QString& name, QCheckBox* box) {
    if (store.ValueExists(name)) {
        box->setChecked(store.ReadFlag(name));
    }
}

// The last import or export of the notepad or the own database. An auto-load
// whose file is gone is switched off for this run.
void ReadLastFile(const TSettingsStore& store, const QString& name, QString& lastFile,
                  QCheckBox* autoLoad) {
    if (!store.ValueExists(name)) {
        return;
    }
    lastFile = store.ReadText(name);
    if (autoLoad->isChecked() && !QFileInfo(lastFile).isFile()) {
        autoLoad->setChecked(false);
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

void ShowLongPath(QLineEdit* box, const QString& path) {
    if (path.size() > TForm1::LongestFullPath) {
        box->setText(TForm1::ShortPathText(path));
    }
}

} // namespace

void TForm1::ReadSettings() {
    TSettingsStore store;
    store.Open();
    ReadFlagInto(store, AutoLoadNotesName, CheckBox1);
    // A notepad file that exists is loaded by the notepad page once it is built.
    ReadLastFile(store, LastNotesName, LastNotesFile, CheckBox1);
    ReadFlagInto(store, AutoLoadOwnDataName, CheckBox2);
    // Likewise the own database tree.
    ReadLastFile(store, LastOwnDataName, LastOwnDataFile, CheckBox2);
    ReadFlagInto(store, HintsName, CheckBox3);
    ReadFlagInto(store, StarMapLinkedName, CheckBox4);
    ReadFlagInto(store, RollOutName, CheckBox5);
    ReadFlagInto(store, NodeLinesName, CheckBox6);

    CoreDataPath = StoredDataPath(store, CoreDataName, ProgramFolder() + QStringLiteral("core.vr"));
    NinjaMatrix1.SetFilename(QFile::encodeName(CoreDataPath).toStdString());
    ShowLongPath(SysCoreDat, CoreDataPath);
    InfoDataPath =
        StoredDataPath(store, InfoDataName, ProgramFolder() + QStringLiteral("vantor.vr"));
    ShowLongPath(SysInfoDat, InfoDataPath);
    store.Close();
}

void TForm1::UpdateReg() {
    if (!SettingsReady) {
        return;
    }
    TSettingsStore store;
    store.Open();
    if (CoreDataPath.isEmpty()) {
        CoreDataPath = ProgramFolder() + QStringLiteral("core.vr");
    }
    if (InfoDataPath.isEmpty()) {
        InfoDataPath = ProgramFolder() + QStringLiteral("vantor.vr");
    }
    store.WriteText(CoreDataName, CoreDataPath);
    store.WriteText(InfoDataName, InfoDataPath);
    store.WriteFlag(AutoLoadNotesName, CheckBox1->isChecked());
    store.WriteText(LastNotesName, LastNotesFile);
    store.WriteFlag(AutoLoadOwnDataName, CheckBox2->isChecked());
    store.WriteText(LastOwnDataName, LastOwnDataFile);
    store.WriteFlag(HintsName, CheckBox3->isChecked());
    store.WriteFlag(StarMapLinkedName, CheckBox4->isChecked());
    store.WriteFlag(RollOutName, CheckBox5->isChecked());
    store.WriteFlag(NodeLinesName, CheckBox6->isChecked());
    store.Close();
}

void TForm1::ApplyHintTimingAndMarkers() {
    THintPolicy::Instance().SetTiming(HintWakeUpMs, HintShowMs);
    Shape5->setToolTip(CoreDataPath);
    Shape7->setToolTip(InfoDataPath);
}
