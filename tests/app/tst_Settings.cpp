#include "TestSupport.h"

#include "AutoLoadOption.h"
#include "HintPolicy.h"
#include "NotepadPage.h"
#include "OptionsPanel.h"
#include "OwnDatabasePage.h"
#include "ProgramSettings.h"
#include "MainWindow.h"

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

namespace {

// A click on the box's square, as the user toggles it.
void ClickBox(QCheckBox* box) {
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
void WriteStore(const TProgramFixture& fixture, const QString& content) {
    QDir().mkpath(QFileInfo(fixture.SettingsFile()).absolutePath());
    QFile file(fixture.SettingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content.toUtf8());
}

// The stored values as the file holds them: texts, flags as "1" and "0".
QMap<QString, QString> Stored(const TProgramFixture& fixture) {
    QMap<QString, QString> values;
    if (!QFile::exists(fixture.SettingsFile())) {
        return values;
    }
    QSettings store(fixture.SettingsFile(), QSettings::IniFormat);
    for (const QString& key : store.allKeys()) {
        values.insert(key, store.value(key).toString());
    }
    return values;
}

QString MakeFile(const QString& path, const QByteArray& content = QByteArray()) {
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
int RunProbe(const QString& mode, const QString& programFolder) {
    TVantorProgram program(TStartOptions{programFolder});
    program.ShowMainWindow();
    QApplication::processEvents();
    TForm1* form = program.Windows().Form1;
    if (mode == QLatin1String("change")) {
        form->Notepad().AutoLoad().SetLastFile(
            MakeFile(programFolder + QStringLiteral("notes.vrn"), "{\\rtf1 }"));
        form->OwnDatabase().AutoLoad().SetLastFile(
            MakeFile(programFolder + QStringLiteral("OwnData.txt"),
                     "The Zenit-Database of the starsystems\r\n"));
        Find<QCheckBox>(form, "CheckBox1")->setChecked(true);
        Find<QCheckBox>(form, "CheckBox2")->setChecked(true);
        for (QCheckBox* box :
             {Find<QCheckBox>(form, "CheckBox3"), Find<QCheckBox>(form, "CheckBox4"),
              Find<QCheckBox>(form, "CheckBox5"), Find<QCheckBox>(form, "CheckBox6")}) {
            box->setChecked(false);
        }
        TMessageAnswerer answerer;
        for (const auto& [button, name] :
             {std::pair{Find<QToolButton>(form, "SpeedButton8"), QStringLiteral("alt/core.vr")},
              std::pair{Find<QToolButton>(form, "SpeedButton9"),
                        QStringLiteral("alt/vantor.vr")}}) {
            const QString chosen = programFolder + name;
            WhenModalShows([chosen](QWidget* dialog) {
                // Typed into the file name box, as a user would.
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(chosen);
                QMetaObject::invokeMethod(dialog, "accept");
            });
            button->click();
        }
        return 0;
    }
    QTextStream out(stdout);
    out << "CheckBox1=" << Find<QCheckBox>(form, "CheckBox1")->isChecked() << '\n'
        << "CheckBox2=" << Find<QCheckBox>(form, "CheckBox2")->isChecked() << '\n'
        << "CheckBox3=" << Find<QCheckBox>(form, "CheckBox3")->isChecked() << '\n'
        << "CheckBox4=" << Find<QCheckBox>(form, "CheckBox4")->isChecked() << '\n'
        << "CheckBox5=" << Find<QCheckBox>(form, "CheckBox5")->isChecked() << '\n'
        << "CheckBox6=" << Find<QCheckBox>(form, "CheckBox6")->isChecked() << '\n'
        << "HintsShown=" << THintPolicy::Instance().HintsShown() << '\n'
        << "StarMapLinked=" << form->OptionsPanel().StarMapLinked() << '\n'
        << "LastNotesFile=" << form->Notepad().AutoLoad().LastFile() << '\n'
        << "LastOwnDataFile=" << form->OwnDatabase().AutoLoad().LastFile() << '\n'
        << "CoreDataPath=" << form->OptionsPanel().CoreDataPath() << '\n'
        << "InfoDataPath=" << form->OptionsPanel().InfoDataPath() << '\n'
        << "EngineFile=" << QString::fromStdString(form->Engine().Filename()) << '\n'
        << "CoreMarker=" << Find<QFrame>(form, "Shape5")->toolTip() << '\n'
        << "InfoMarker=" << Find<QFrame>(form, "Shape7")->toolTip() << '\n';
    return 0;
}

QMap<QString, QString> RunProbeProcess(const TProgramFixture& fixture, const QString& mode) {
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), fixture.ConfigHome());
    probe.setProcessEnvironment(environment);
    probe.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--probe"), mode, fixture.ProgramFolder()});
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

class TSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void anEmptyStoreIsWrittenOnlyAtTheFirstChange() {
        TProgramFixture fixture;
        fixture.Start();
        TForm1* form = fixture.Form1();
        // Start-up changes no option, and before the first showing nothing is written.
        Find<QCheckBox>(form, "CheckBox4")->setChecked(false);
        Find<QCheckBox>(form, "CheckBox4")->setChecked(true);
        QVERIFY(Stored(fixture).isEmpty());
        form->show();
        QApplication::processEvents();
        QVERIFY(form->Settings().SettingsReady());
        QVERIFY(Stored(fixture).isEmpty());
        QVERIFY(!Find<QCheckBox>(form, "CheckBox1")->isChecked());
        QVERIFY(!Find<QCheckBox>(form, "CheckBox2")->isChecked());
        QVERIFY(Find<QCheckBox>(form, "CheckBox3")->isChecked() &&
                Find<QCheckBox>(form, "CheckBox4")->isChecked());
        QVERIFY(Find<QCheckBox>(form, "CheckBox5")->isChecked() &&
                Find<QCheckBox>(form, "CheckBox6")->isChecked());
        QCOMPARE(form->OptionsPanel().CoreDataPath(), fixture.ProgramFolder() + "core.vr");
        QCOMPARE(form->OptionsPanel().InfoDataPath(), fixture.ProgramFolder() + "vantor.vr");

        ClickBox(Find<QCheckBox>(form, "CheckBox4"));
        const QMap<QString, QString> stored = Stored(fixture);
        QCOMPARE(stored.keys(), [] {
            QStringList names = TenValueNames;
            std::sort(names.begin(), names.end());
            return names;
        }());
        QCOMPARE(stored["SysCoreDat"], fixture.ProgramFolder() + "core.vr");
        QCOMPARE(stored["SysInfoDat"], fixture.ProgramFolder() + "vantor.vr");
        QCOMPARE(stored["LInotes"], QString());
        QCOMPARE(stored["LIodat"], QString());
        QCOMPARE(stored["AutoLoad Notes"], "0");
        QCOMPARE(stored["Help POP"], "1");
        QCOMPARE(stored["StarMap Autoload"], "0");
        QVERIFY(!form->OptionsPanel().StarMapLinked());
    }

    void aRestartRestoresEveryOption() {
        TProgramFixture fixture;
        QDir().mkpath(fixture.ProgramFolder() + "alt");
        QVERIFY(QFile::copy(fixture.ProgramFolder() + "core.vr",
                            fixture.ProgramFolder() + "alt/core.vr"));
        QVERIFY(QFile::copy(fixture.ProgramFolder() + "vantor.vr",
                            fixture.ProgramFolder() + "alt/vantor.vr"));
        QVERIFY(RunProbeProcess(fixture, "change").isEmpty());
        QCOMPARE(Stored(fixture).size(), 10);

        const QMap<QString, QString> started = RunProbeProcess(fixture, "print");
        const QString core = QDir::toNativeSeparators(fixture.ProgramFolder() + "alt/core.vr");
        const QString info = QDir::toNativeSeparators(fixture.ProgramFolder() + "alt/vantor.vr");
        QCOMPARE(started["CheckBox1"], "1");
        QCOMPARE(started["CheckBox2"], "1");
        for (const char* off :
             {"CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6", "HintsShown", "StarMapLinked"}) {
            QCOMPARE(started[off], "0");
        }
        QCOMPARE(started["LastNotesFile"], fixture.ProgramFolder() + "notes.vrn");
        QCOMPARE(started["LastOwnDataFile"], fixture.ProgramFolder() + "OwnData.txt");
        QCOMPARE(started["CoreDataPath"], core);
        QCOMPARE(started["InfoDataPath"], info);
        QCOMPARE(started["EngineFile"], core);
        QCOMPARE(started["CoreMarker"], core);
        QCOMPARE(started["InfoMarker"], info);
    }

    void storedFilesThatAreGoneGiveWayToTheDefaults() {
        TProgramFixture fixture;
        WriteStore(fixture, "[General]\n"
                            "SysCoreDat=/nowhere/core.vr\nSysInfoDat=/nowhere/vantor.vr\n"
                            "AutoLoad%20Notes=1\nLInotes=/nowhere/notes.vrn\n"
                            "AutoLoad%20ODat=1\n");
        fixture.StartAndShow();
        TForm1* form = fixture.Form1();
        const QString core = fixture.ProgramFolder() + "core.vr";
        QCOMPARE(form->OptionsPanel().CoreDataPath(), core);
        QCOMPARE(form->OptionsPanel().InfoDataPath(), fixture.ProgramFolder() + "vantor.vr");
        QCOMPARE(QString::fromStdString(form->Engine().Filename()), core);
        QCOMPARE(Find<QFrame>(form, "Shape5")->toolTip(), core);
        QCOMPARE(Find<QLineEdit>(form, "SysCoreDat")->text(),
                 core.size() > 30 ? TOptionsPanel::ShortPathText(core)
                                  : QStringLiteral("Standard Data"));
        // The notes file is gone; the own database's auto-load has no file named at all
        // and so stays as stored.
        QVERIFY(!Find<QCheckBox>(form, "CheckBox1")->isChecked());
        QCOMPARE(form->Notepad().AutoLoad().LastFile(), "/nowhere/notes.vrn");
        QVERIFY(Find<QCheckBox>(form, "CheckBox2")->isChecked());

        Find<QCheckBox>(form, "CheckBox5")->setChecked(false);
        QCOMPARE(Stored(fixture)["SysCoreDat"], core);
        QCOMPARE(Stored(fixture)["AutoLoad Notes"], "0");
    }

    void theLastNotesAreLoadedAtStartUp() {
        TProgramFixture fixture;
        const QString notes =
            MakeFile(fixture.DataHome() + "/notes.vrn", "{\\rtf1 Hello {\\b notes}}");
        WriteStore(fixture, "[General]\nAutoLoad%20Notes=1\nLInotes=" + notes + "\n");
        fixture.StartAndShow();
        QCOMPARE(Find<QTextEdit>(fixture.Form1(), "RichEdit2")->toPlainText(), "Hello notes");
        QVERIFY(Find<QCheckBox>(fixture.Form1(), "CheckBox1")->isChecked());
    }

    void valueNamesInAnotherLetterCaseAreFound() {
        TProgramFixture fixture;
        const QString core = fixture.ProgramFolder() + "core.vr";
        WriteStore(fixture, "[General]\nhelp%20pop=0\nSTARMAP%20AUTOLOAD=0\nsyscoredat=" + core +
                                "\ndata%20lines=0\n");
        fixture.StartAndShow();
        TForm1* form = fixture.Form1();
        QVERIFY(!Find<QCheckBox>(form, "CheckBox3")->isChecked());
        QVERIFY(!THintPolicy::Instance().HintsShown());
        QVERIFY(!form->OptionsPanel().StarMapLinked());
        QVERIFY(!Find<QCheckBox>(form, "CheckBox6")->isChecked());
        QCOMPARE(form->OptionsPanel().CoreDataPath(), core);

        // The next write replaces the other spellings instead of adding to them.
        Find<QCheckBox>(form, "CheckBox5")->setChecked(false);
        QCOMPARE(Stored(fixture).size(), 10);
        QCOMPARE(Stored(fixture)["Help POP"], "0");
    }

    void aFlagOfTheWrongKindStopsTheReadingWithAnErrorBox() {
        TProgramFixture fixture;
        WriteStore(fixture, "[General]\nStarMap%20Autoload=0\nHelp%20POP=yes\nData%20Lines=0\n"
                            "SysCoreDat=" +
                                fixture.ProgramFolder() + "core.vr\n");
        TErrorBoxRecorder errors;
        fixture.StartAndShow();
        TForm1* form = fixture.Form1();

        QCOMPARE(errors.Texts,
                 QStringList{"Settings: the value \"Help POP\" is not a flag: \"yes\""});
        // The values after the faulty one are not read.
        QVERIFY(Find<QCheckBox>(form, "CheckBox4")->isChecked());
        QVERIFY(Find<QCheckBox>(form, "CheckBox6")->isChecked());
        QVERIFY(form->OptionsPanel().CoreDataPath().isEmpty());
        QVERIFY(form->OptionsPanel().InfoDataPath().isEmpty());
        // The engine reads the shipped file, wherever the program was started.
        QCOMPARE(QString::fromStdString(form->Engine().Filename()),
                 fixture.ProgramFolder() + "core.vr");
        QVERIFY(fixture.Form2() && fixture.Form3() && fixture.Form4());

        // The first write stores the default paths.
        Find<QCheckBox>(form, "CheckBox5")->setChecked(false);
        QCOMPARE(Stored(fixture)["SysCoreDat"], fixture.ProgramFolder() + "core.vr");
        QCOMPARE(Stored(fixture)["SysInfoDat"], fixture.ProgramFolder() + "vantor.vr");
        QCOMPARE(Stored(fixture)["Help POP"], "1");
    }

    void aWriteThatFailsIsReportedInTheErrorBox() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        // A file where the store's folder belongs: nobody can write there.
        MakeFile(fixture.ConfigHome() + "/Tessaly");
        TErrorBoxRecorder errors;
        ClickBox(Find<QCheckBox>(fixture.Form1(), "CheckBox4"));
        QCOMPARE(errors.Texts.size(), 1);
        QVERIFY2(errors.Texts.first().contains(fixture.SettingsFile()),
                 qPrintable(errors.Texts.first()));
        QVERIFY(!fixture.Form1()->OptionsPanel().StarMapLinked());
    }
};

int main(int argc, char** argv) {
    PrepareGuiTestEnvironment();
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--probe") {
        return RunProbe(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    TSettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Settings.moc"
