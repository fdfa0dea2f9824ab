#include "TestSupport.h"

#include "AutoLoadOption.h"
#include "HintPolicy.h"
#include "MainWindow.h"
#include "NotepadPage.h"
#include "OptionsPanel.h"
#include "OwnDatabasePage.h"
#include "ProgramSettings.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTextEdit>
#include <QTextStream>
#include <QToolButton>
#include <tuple>
#include <utility>

namespace {

// A click on the box's square, as the user toggles it.
void clickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

const QStringList TenValueNames = {
    QStringLiteral("SysCoreDat"),     QStringLiteral("SysInfoDat"),
    QStringLiteral("AutoLoad Notes"), QStringLiteral("LInotes"),
    QStringLiteral("AutoLoad ODat"),  QStringLiteral("LIodat"),
    QStringLiteral("Help POP"),       QStringLiteral("StarMap Autoload"),
    QStringLiteral("Auto RollOut"),   QStringLiteral("Data Lines")};

// Puts a store in place before the program starts, as a user's earlier run
// (or a hand edit) would have left it.
void writeStore(const ProgramFixture& fixture, const QString& content) {
    QDir().mkpath(QFileInfo(fixture.settingsFile()).absolutePath());
    QFile file(fixture.settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content.toUtf8());
}

// The stored values as the file holds them: texts, flags as "1" and "0".
QMap<QString, QString> storedSettings(const ProgramFixture& fixture) {
    QMap<QString, QString> values;
    if (!QFile::exists(fixture.settingsFile())) {
        return values;
    }
    QSettings store(fixture.settingsFile(), QSettings::IniFormat);
    for (const QString& key : store.allKeys()) {
        values.insert(key, store.value(key).toString());
    }
    return values;
}

QString makeFile(const QString& path, const QByteArray& content = QByteArray()) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

// --- The second process of the restart test -------------------------------------------

// Starts the program in the given folder with the configuration folder of the
// environment. "change" turns every option away from its default and chooses
// other data files; "print" tells what the program started with.
int runProbe(const QString& mode, const QString& programFolder) {
    VantorProgram program(StartOptions{programFolder});
    program.showMainWindow();
    QApplication::processEvents();
    const ProgramAccess parts(program);
    MainWindow* form = parts.mainWindow();
    if (mode == QLatin1String("change")) {
        parts.notepad().autoLoad().setLastFile(
            makeFile(programFolder + QStringLiteral("notes.vrn"), "{\\rtf1 }"));
        parts.ownDatabase().autoLoad().setLastFile(
            makeFile(programFolder + QStringLiteral("OwnData.txt"),
                     "The Zenit-Database of the starsystems\r\n"));
        // Neighbouring options differ, so that no two stored names can be
        // swapped unnoticed.
        for (const auto& [name, checked] : {std::pair{"CheckBox1", true},
                                            {"CheckBox2", false},
                                            {"CheckBox3", false},
                                            {"CheckBox4", true},
                                            {"CheckBox5", false},
                                            {"CheckBox6", true}}) {
            findControl<QCheckBox>(form, name)->setChecked(checked);
        }
        MessageAnswerer answerer;
        for (const auto& [button, name] : {std::pair{findControl<QToolButton>(form, "SpeedButton8"),
                                                     QStringLiteral("alt/core.vr")},
                                           std::pair{findControl<QToolButton>(form, "SpeedButton9"),
                                                     QStringLiteral("alt/vantor.vr")}}) {
            const QString chosen = programFolder + name;
            whenModalShows([chosen](QWidget* dialog) {
                // Typed into the file name box, as a user would.
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(chosen);
                QMetaObject::invokeMethod(dialog, "accept");
            });
            button->click();
        }
        return 0;
    }
    QTextStream out(stdout);
    out << "CheckBox1=" << findControl<QCheckBox>(form, "CheckBox1")->isChecked() << '\n'
        << "CheckBox2=" << findControl<QCheckBox>(form, "CheckBox2")->isChecked() << '\n'
        << "CheckBox3=" << findControl<QCheckBox>(form, "CheckBox3")->isChecked() << '\n'
        << "CheckBox4=" << findControl<QCheckBox>(form, "CheckBox4")->isChecked() << '\n'
        << "CheckBox5=" << findControl<QCheckBox>(form, "CheckBox5")->isChecked() << '\n'
        << "CheckBox6=" << findControl<QCheckBox>(form, "CheckBox6")->isChecked() << '\n'
        << "HintsShown=" << HintPolicy::instance().hintsShown() << '\n'
        << "StarMapLinked=" << parts.optionsPanel().starMapLinked() << '\n'
        << "LastNotesFile=" << parts.notepad().autoLoad().lastFile() << '\n'
        << "LastOwnDataFile=" << parts.ownDatabase().autoLoad().lastFile() << '\n'
        << "CoreDataPath=" << parts.optionsPanel().coreDataPath() << '\n'
        << "InfoDataPath=" << parts.optionsPanel().infoDataPath() << '\n'
        << "EngineFile=" << QString::fromStdString(parts.engine().filename()) << '\n'
        << "CoreMarker=" << findControl<QFrame>(form, "Shape5")->toolTip() << '\n'
        << "InfoMarker=" << findControl<QFrame>(form, "Shape7")->toolTip() << '\n';
    return 0;
}

QMap<QString, QString> runProbeProcess(const ProgramFixture& fixture, const QString& mode) {
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), fixture.configHome());
    probe.setProcessEnvironment(environment);
    probe.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--probe"), mode, fixture.programFolder()});
    QMap<QString, QString> printed;
    if (!probe.waitForFinished(120000) || probe.exitStatus() != QProcess::NormalExit) {
        qWarning() << "probe failed:" << probe.readAllStandardError();
        return printed;
    }
    for (const QString& line : QString::fromLocal8Bit(probe.readAllStandardOutput()).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0) {
            printed.insert(line.left(equals), line.mid(equals + 1));
        }
    }
    return printed;
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void anEmptyStoreIsWrittenOnlyAtTheFirstChange() {
        ProgramFixture fixture;
        fixture.start();
        MainWindow* form = fixture.mainWindow();
        // Start-up changes no option, and before the first showing nothing is written.
        findControl<QCheckBox>(form, "CheckBox4")->setChecked(false);
        findControl<QCheckBox>(form, "CheckBox4")->setChecked(true);
        QVERIFY(storedSettings(fixture).isEmpty());
        form->show();
        QApplication::processEvents();
        QVERIFY(fixture.parts().settingsReady());
        QVERIFY(storedSettings(fixture).isEmpty());
        QVERIFY(!findControl<QCheckBox>(form, "CheckBox1")->isChecked());
        QVERIFY(!findControl<QCheckBox>(form, "CheckBox2")->isChecked());
        QVERIFY(findControl<QCheckBox>(form, "CheckBox3")->isChecked() &&
                findControl<QCheckBox>(form, "CheckBox4")->isChecked());
        QVERIFY(findControl<QCheckBox>(form, "CheckBox5")->isChecked() &&
                findControl<QCheckBox>(form, "CheckBox6")->isChecked());
        QCOMPARE(fixture.parts().optionsPanel().coreDataPath(),
                 fixture.programFolder() + "core.vr");
        QCOMPARE(fixture.parts().optionsPanel().infoDataPath(),
                 fixture.programFolder() + "vantor.vr");

        clickBox(findControl<QCheckBox>(form, "CheckBox4"));
        const QMap<QString, QString> stored = storedSettings(fixture);
        QCOMPARE(stored.keys(), [] {
            QStringList names = TenValueNames;
            std::sort(names.begin(), names.end());
            return names;
        }());
        QCOMPARE(stored["SysCoreDat"], fixture.programFolder() + "core.vr");
        QCOMPARE(stored["SysInfoDat"], fixture.programFolder() + "vantor.vr");
        QCOMPARE(stored["LInotes"], QString());
        QCOMPARE(stored["LIodat"], QString());
        QCOMPARE(stored["AutoLoad Notes"], "0");
        QCOMPARE(stored["Help POP"], "1");
        QCOMPARE(stored["StarMap Autoload"], "0");
        QVERIFY(!fixture.parts().optionsPanel().starMapLinked());
    }

    void aRestartRestoresEveryOption() {
        ProgramFixture fixture;
        QDir().mkpath(fixture.programFolder() + "alt");
        QVERIFY(QFile::copy(fixture.programFolder() + "core.vr",
                            fixture.programFolder() + "alt/core.vr"));
        QVERIFY(QFile::copy(fixture.programFolder() + "vantor.vr",
                            fixture.programFolder() + "alt/vantor.vr"));
        QVERIFY(runProbeProcess(fixture, "change").isEmpty());
        QCOMPARE(storedSettings(fixture).size(), 10);

        const QMap<QString, QString> started = runProbeProcess(fixture, "print");
        const QString core = QDir::toNativeSeparators(fixture.programFolder() + "alt/core.vr");
        const QString info = QDir::toNativeSeparators(fixture.programFolder() + "alt/vantor.vr");
        const QMap<QString, QString> stored = storedSettings(fixture);
        for (const auto& [box, name, value] : {std::tuple{"CheckBox1", "AutoLoad Notes", "1"},
                                               {"CheckBox2", "AutoLoad ODat", "0"},
                                               {"CheckBox3", "Help POP", "0"},
                                               {"CheckBox4", "StarMap Autoload", "1"},
                                               {"CheckBox5", "Auto RollOut", "0"},
                                               {"CheckBox6", "Data Lines", "1"}}) {
            QCOMPARE(stored[QString::fromLatin1(name)], value);
            QCOMPARE(started[QString::fromLatin1(box)], value);
        }
        QCOMPARE(started["HintsShown"], "0");
        QCOMPARE(started["StarMapLinked"], "1");
        QCOMPARE(started["LastNotesFile"], fixture.programFolder() + "notes.vrn");
        QCOMPARE(started["LastOwnDataFile"], fixture.programFolder() + "OwnData.txt");
        QCOMPARE(started["CoreDataPath"], core);
        QCOMPARE(started["InfoDataPath"], info);
        QCOMPARE(started["EngineFile"], core);
        QCOMPARE(started["CoreMarker"], core);
        QCOMPARE(started["InfoMarker"], info);
    }

    void storedFilesThatAreGoneGiveWayToTheDefaults() {
        ProgramFixture fixture;
        writeStore(fixture, "[General]\n"
                            "SysCoreDat=/nowhere/core.vr\nSysInfoDat=/nowhere/vantor.vr\n"
                            "AutoLoad%20Notes=1\nLInotes=/nowhere/notes.vrn\n"
                            "AutoLoad%20ODat=1\n");
        fixture.startAndShow();
        MainWindow* form = fixture.mainWindow();
        const QString core = fixture.programFolder() + "core.vr";
        QCOMPARE(fixture.parts().optionsPanel().coreDataPath(), core);
        QCOMPARE(fixture.parts().optionsPanel().infoDataPath(),
                 fixture.programFolder() + "vantor.vr");
        QCOMPARE(QString::fromStdString(fixture.parts().engine().filename()), core);
        QCOMPARE(findControl<QFrame>(form, "Shape5")->toolTip(), core);
        QCOMPARE(findControl<QLineEdit>(form, "SysCoreDat")->text(),
                 core.size() > 30 ? OptionsPanel::shortPathText(core)
                                  : QStringLiteral("Standard Data"));
        // The notes file is gone; the own database's auto-load has no file named at all
        // and so stays as stored.
        QVERIFY(!findControl<QCheckBox>(form, "CheckBox1")->isChecked());
        QCOMPARE(fixture.parts().notepad().autoLoad().lastFile(), "/nowhere/notes.vrn");
        QVERIFY(findControl<QCheckBox>(form, "CheckBox2")->isChecked());

        findControl<QCheckBox>(form, "CheckBox5")->setChecked(false);
        QCOMPARE(storedSettings(fixture)["SysCoreDat"], core);
        QCOMPARE(storedSettings(fixture)["AutoLoad Notes"], "0");
    }

    void theLastNotesAreLoadedAtStartUp() {
        ProgramFixture fixture;
        const QString notes =
            makeFile(fixture.dataHome() + "/notes.vrn", "{\\rtf1 Hello {\\b notes}}");
        writeStore(fixture, "[General]\nAutoLoad%20Notes=1\nLInotes=" + notes + "\n");
        fixture.startAndShow();
        QCOMPARE(findControl<QTextEdit>(fixture.mainWindow(), "RichEdit2")->toPlainText(),
                 "Hello notes");
        QVERIFY(findControl<QCheckBox>(fixture.mainWindow(), "CheckBox1")->isChecked());
    }

    void valueNamesInAnotherLetterCaseAreFound() {
        ProgramFixture fixture;
        const QString core = fixture.programFolder() + "core.vr";
        writeStore(fixture, "[General]\nhelp%20pop=0\nSTARMAP%20AUTOLOAD=0\nsyscoredat=" + core +
                                "\ndata%20lines=0\n");
        fixture.startAndShow();
        MainWindow* form = fixture.mainWindow();
        QVERIFY(!findControl<QCheckBox>(form, "CheckBox3")->isChecked());
        QVERIFY(!HintPolicy::instance().hintsShown());
        QVERIFY(!fixture.parts().optionsPanel().starMapLinked());
        QVERIFY(!findControl<QCheckBox>(form, "CheckBox6")->isChecked());
        QCOMPARE(fixture.parts().optionsPanel().coreDataPath(), core);

        // The next write replaces the other spellings instead of adding to them.
        findControl<QCheckBox>(form, "CheckBox5")->setChecked(false);
        QCOMPARE(storedSettings(fixture).size(), 10);
        QCOMPARE(storedSettings(fixture)["Help POP"], "0");
    }

    void aFlagOfTheWrongKindStopsTheReadingWithAnErrorBox() {
        ProgramFixture fixture;
        writeStore(fixture, "[General]\nStarMap%20Autoload=0\nHelp%20POP=yes\nData%20Lines=0\n"
                            "SysCoreDat=" +
                                fixture.programFolder() + "core.vr\n");
        ErrorBoxRecorder errors;
        fixture.startAndShow();
        MainWindow* form = fixture.mainWindow();

        QCOMPARE(errors.texts,
                 QStringList{"Settings: the value \"Help POP\" is not a flag: \"yes\""});
        // The values after the faulty one are not read.
        QVERIFY(findControl<QCheckBox>(form, "CheckBox4")->isChecked());
        QVERIFY(findControl<QCheckBox>(form, "CheckBox6")->isChecked());
        QVERIFY(fixture.parts().optionsPanel().coreDataPath().isEmpty());
        QVERIFY(fixture.parts().optionsPanel().infoDataPath().isEmpty());
        // The engine reads the shipped file, wherever the program was started.
        QCOMPARE(QString::fromStdString(fixture.parts().engine().filename()),
                 fixture.programFolder() + "core.vr");
        QVERIFY(fixture.messageWindow() && fixture.avoidWindow() && fixture.starMapWindow());

        // The first write stores the default paths.
        findControl<QCheckBox>(form, "CheckBox5")->setChecked(false);
        QCOMPARE(storedSettings(fixture)["SysCoreDat"], fixture.programFolder() + "core.vr");
        QCOMPARE(storedSettings(fixture)["SysInfoDat"], fixture.programFolder() + "vantor.vr");
        QCOMPARE(storedSettings(fixture)["Help POP"], "1");
    }

    void aWriteThatFailsIsReportedInTheErrorBox() {
        ProgramFixture fixture;
        fixture.startAndShow();
        // A file where the store's folder belongs: nobody can write there.
        makeFile(fixture.configHome() + "/Tessaly");
        ErrorBoxRecorder errors;
        clickBox(findControl<QCheckBox>(fixture.mainWindow(), "CheckBox4"));
        QCOMPARE(errors.texts.size(), 1);
        QVERIFY2(errors.texts.first().contains(fixture.settingsFile()),
                 qPrintable(errors.texts.first()));
        QVERIFY(!fixture.parts().optionsPanel().starMapLinked());
    }
};

int main(int argc, char** argv) {
    prepareGuiTestEnvironment();
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--probe") {
        return runProbe(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    SettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Settings.moc"
