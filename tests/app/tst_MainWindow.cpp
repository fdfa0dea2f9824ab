#include "TestSupport.h"

#include "AvoidWindow.h"
#include "MainWindow.h"
#include "MessageWindow.h"
#include "NavigationPage.h"
#include "OptionsPanel.h"
#include "ProgramSettings.h"
#include "StarMapShape.h"
#include "StarMapWindow.h"
#include "WindowStrip.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <sys/stat.h>
#include <vector>

namespace {

// Notes the titles of the program's four windows as they are set, in order.
class TitleRecorder : public QObject {
public:
    TitleRecorder() { qApp->installEventFilter(this); }
    ~TitleRecorder() override { qApp->removeEventFilter(this); }

    QStringList titles;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowTitleChange && widget != nullptr &&
            QByteArray(widget->metaObject()->className()).endsWith("Window")) {
            titles << widget->windowTitle();
        }
        return false;
    }
};

QString spokenName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The main window is made first, then the message window, the avoid
    // window and the star map; nobody ever sees the layout's placeholder title.
    void startUpOrderAndCaptions() {
        TitleRecorder recorder;
        ProgramFixture fixture;
        fixture.start();
        QCOMPARE(recorder.titles,
                 (QStringList{"Vantor 1.03 XDR / EV", "Information", "Avoid", "Starmap"}));
        for (QWidget* window :
             std::initializer_list<QWidget*>{fixture.mainWindow(), fixture.messageWindow(),
                                             fixture.avoidWindow(), fixture.starMapWindow()}) {
            QVERIFY(window->isHidden());
        }
        fixture.show();
        QVERIFY(
            !recorder.titles.join(QLatin1Char('|')).contains(QStringLiteral("VERSION UNKNOWN")));
    }

    // In a Wayland session the program asks for XWayland, unless a platform
    // was chosen by the environment or the command line.
    void waylandSessionsRunOnXWayland() {
        const ScopedEnvironment restored{"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"};
        const auto chosen = [](std::initializer_list<const char*> arguments) {
            std::vector<QByteArray> copies(arguments.begin(), arguments.end());
            std::vector<char*> argv;
            for (QByteArray& copy : copies) {
                argv.push_back(copy.data());
            }
            qunsetenv("QT_QPA_PLATFORM");
            preferXcbUnderWayland(static_cast<int>(argv.size()), argv.data());
            return qgetenv("QT_QPA_PLATFORM");
        };
        qputenv("WAYLAND_DISPLAY", "wayland-0");
        qputenv("DISPLAY", ":0");
        QCOMPARE(chosen({"vantor"}), QByteArray("xcb"));
        QCOMPARE(chosen({"vantor", "-platform", "wayland"}), QByteArray());
        qunsetenv("DISPLAY");
        QCOMPARE(chosen({"vantor"}), QByteArray());
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("DISPLAY", ":0");
        QCOMPARE(chosen({"vantor"}), QByteArray());
    }

    // The window: no close box, fixed client area, centred; five pages in
    // tab order with Navigation in front.
    void mainWindowLayout() {
        ProgramFixture fixture;
        fixture.startAndShow();
        MainWindow* main = fixture.mainWindow();
        QVERIFY(main->isVisible());
        const Qt::WindowFlags flags = main->windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(main->size(), QSize(486, 494));
        QCOMPARE(main->minimumSize(), main->maximumSize());
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((main->frameGeometry().center() - screenCentre).manhattanLength() <= 6);

        auto* pages = findControl<QTabWidget>(main, "PageControl1");
        QCOMPARE(pages->geometry(), QRect(8, 64, 441, 425));
        const QStringList captions{"Navigation", "System Database", "Own Database", "Notepad",
                                   "Info"};
        const QList<QWidget*> sheets{findControl(main, "TabSheet3"), findControl(main, "TabSheet1"),
                                     findControl(main, "TabSheet5"), findControl(main, "TabSheet4"),
                                     findControl(main, "TabSheet2")};
        QCOMPARE(pages->count(), 5);
        for (int index = 0; index < 5; ++index) {
            QCOMPARE(pages->tabText(index), captions[index]);
            QCOMPARE(pages->widget(index), sheets[index]);
            QCOMPARE(pages->tabIcon(index).isNull(), index == 4);
        }
        QCOMPARE(pages->currentWidget(), sheets[0]);
        QCOMPARE(findControl(main, "OrlenFade2")->toolTip(), QStringLiteral("Show starmap"));
        QCOMPARE(findControl<QAbstractButton>(main, "EndIt")->text(), QStringLiteral("X"));
        QCOMPARE(findControl(main, "EndIt")->geometry(), QRect(454, 92, 23, 391));
    }

    // The first showing loads the universe, fills the lists and from then on
    // lets the settings be written; the main window leads.
    void firstShowingLoadsTheUniverse() {
        ProgramFixture fixture;
        fixture.start();
        QVERIFY(!fixture.parts().settingsReady());
        QCOMPARE(findControl<QComboBox>(&fixture.parts().navigation(), "Von")->count(), 0);
        QVERIFY(fixture.parts().optionsPanel().coreDataPath().endsWith(QStringLiteral("core.vr")));
        fixture.show();
        QVERIFY(fixture.parts().settingsReady());
        QCOMPARE(fixture.strip().leader(), Leader::Main);
        QCOMPARE(findControl<QComboBox>(&fixture.parts().navigation(), "Von")->count(), 54);
        QCOMPARE(findControl<QComboBox>(&fixture.parts().navigation(), "Nach")->count(), 54);
    }

    // A missing or broken core data file: exactly one error box with the
    // loader's text, empty lists, no settings written, and the program goes on.
    // The star map links only cells that were read.
    void unreadableCoreDataFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("textPart");
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("links");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("core.vr") << false << 0;
        QTest::newRow("broken") << QByteArray("0,0,Home,1,0,0,1,1\r\n0,1,Below,1,1,0,0,0\r\n"
                                              "1,0,Away,1,0,1,x,0\r\n")
                                << QStringLiteral("core.vr") << true << 1;
    }
    void unreadableCoreDataFile() {
        QFETCH(QByteArray, content);
        QFETCH(QString, textPart);
        QFETCH(bool, present);
        ErrorBoxRecorder errors;
        ProgramFixture fixture;
        const QString core = fixture.programFolder() + QStringLiteral("core.vr");
        QFile::remove(core);
        if (present) {
            writeFile(core, content);
        }
        fixture.startAndShow();
        MainWindow* main = fixture.mainWindow();
        QCOMPARE(errors.texts.size(), 1);
        QVERIFY2(errors.texts[0].contains(textPart), qPrintable(errors.texts[0]));
        QCOMPARE(findControl<QComboBox>(&fixture.parts().navigation(), "Von")->count(), 0);
        QCOMPARE(findControl<QComboBox>(&fixture.parts().navigation(), "Nach")->count(), 0);
        QVERIFY(!fixture.parts().settingsReady());
        QVERIFY(main->isVisible());
        int shownLinks = 0;
        for (int number = 65; number <= 176; ++number) {
            shownLinks +=
                fixture.starMapWindow()->shape(number)->isVisibleTo(fixture.starMapWindow()) ? 1
                                                                                             : 0;
        }
        QTEST(shownLinks, "links");

        // The program goes on: a request is answered, an option change is not stored.
        MessageAnswerer answerer;
        QTest::mouseClick(findControl<QToolButton>(&fixture.parts().navigation(), "Way"),
                          Qt::LeftButton);
        QCOMPARE(answerer.seenMessages.size(), 2);
        findControl<QCheckBox>(main, "CheckBox3")->click();
        QVERIFY(!QFile::exists(fixture.settingsFile()));
        QCOMPARE(errors.texts.size(), 1);
    }

    // Whatever a user's machine holds in place of a data file or the settings,
    // the start goes on at once with one short error box, and the window shows.
    void hostileFilesAreReportedAtOnce_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        const QString core = QStringLiteral("Cannot open the core data file %1");
        const QString tree = QStringLiteral("Datei %1 kann nicht geöffnet werden");
        const QString settings = QStringLiteral("Settings: the store \"%1\" cannot be opened.");
        QTest::newRow("core.vr a pipe") << "core.vr"
                                        << "pipe" << core;
        QTest::newRow("core.vr a folder") << "core.vr"
                                          << "folder" << core;
        QTest::newRow("core.vr one huge line")
            << "core.vr"
            << "huge line"
            << "%1, line 1: \"" + QString(80, u'7') + "...\" is not a whole number (column)";
        QTest::newRow("core.vr binary")
            << "core.vr"
            << "binary"
            << "%1, line 1: \"\\x01\\x02\u00e9\\x1B\" is not a whole number (column)";
        QTest::newRow("vantor.vr a pipe") << "vantor.vr"
                                          << "pipe" << tree;
        QTest::newRow("vantor.vr a folder") << "vantor.vr"
                                            << "folder" << tree;
        QTest::newRow("settings a pipe") << "settings"
                                         << "pipe" << settings;
        QTest::newRow("settings a folder") << "settings"
                                           << "folder" << settings;
    }
    void hostileFilesAreReportedAtOnce() {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        ProgramFixture fixture;
        const QString path =
            file == "settings" ? fixture.settingsFile() : fixture.programFolder() + file;
        QFile::remove(path);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (kind == "pipe") {
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else {
            writeFile(path, kind == "binary" ? QByteArray("\x01\x02\xe9\x1b,0,x\r\n")
                                             : QByteArray(20 * 1024 * 1024, '7'));
        }
        ErrorBoxRecorder errors;
        fixture.startAndShow();
        QCOMPARE(errors.texts, QStringList{message.arg(path)});
        QVERIFY(fixture.mainWindow()->isVisible());
    }

    // Opening the options closes both satellites and shrinks the window;
    // closing the options doesn't bring the satellites back.
    void optionsButtonSwitchesTheMode() {
        ProgramFixture fixture;
        fixture.startAndShow();
        MainWindow* main = fixture.mainWindow();
        QTest::mouseClick(findControl<QToolButton>(&fixture.parts().navigation(), "SpeedButton5"),
                          Qt::LeftButton);
        fixture.starMapWindow()->show();
        QVERIFY(fixture.avoidWindow()->isVisible() && fixture.starMapWindow()->isVisible());

        QTest::mouseClick(findControl<QAbstractButton>(main, "OBut"), Qt::LeftButton);
        QTRY_COMPARE(main->height(), 245);
        QVERIFY(fixture.avoidWindow()->isHidden());
        QVERIFY(fixture.starMapWindow()->isHidden());
        for (const char* name : {"PageControl1", "OBut", "EndIt", "OrlenFade2"}) {
            QVERIFY(findControl(main, name)->isHidden());
        }
        QVERIFY(findControl(main, "Options")->isVisible());

        QTest::mouseClick(findControl<QToolButton>(main, "SpeedButton10"), Qt::LeftButton);
        QTRY_COMPARE(main->height(), 494);
        for (const char* name : {"PageControl1", "OBut", "EndIt", "OrlenFade2"}) {
            QVERIFY(findControl(main, name)->isVisible());
        }
        QVERIFY(findControl(main, "Options")->isHidden());
        QVERIFY(fixture.avoidWindow()->isHidden());
        QVERIFY(fixture.starMapWindow()->isHidden());
    }

    // Every control a user reaches says what it is.
    void controlsHaveSpokenNames() {
        ProgramFixture fixture;
        fixture.startAndShow();
        MainWindow* main = fixture.mainWindow();
        // Every page once, so that the pages built on first showing are there.
        auto* pages = findControl<QTabWidget>(main, "PageControl1");
        for (int page = pages->count() - 1; page >= 0; --page) {
            pages->setCurrentIndex(page);
        }
        const NavigationPage* navigation = &fixture.parts().navigation();
        const QList<QPair<QWidget*, QString>> expected{
            {findControl(navigation, "Von"), "From"},
            {findControl(navigation, "Nach"), "To"},
            {findControl(navigation, "RichEdit1"), "Way"},
            {findControl(navigation, "Label1"), "From"},
            {findControl(navigation, "Label2"), "To"},
            {findControl(navigation, "Way"), "Find a way..."},
            {findControl(navigation, "SpeedButton1"), "X"},
            {findControl(navigation, "SpeedButton3"), "Short description"},
            {findControl(navigation, "SpeedButton4"), "Print"},
            {findControl(navigation, "SpeedButton5"), "Avoid contact with"},
            {findControl(main, "OBut"), "Options"},
            {findControl(main, "EndIt"), "X"},
            {findControl(main, "OrlenFade2"), "Show starmap"},
            {findControl(main, "SpeedButton2"), "Informations"},
            {findControl(main, "SpeedButton11"), "Special Thanks"},
            {findControl(main, "SpeedButton12"), "Copyrights"},
            {findControl(main, "SpeedButton13"), "Actual Informations"},
            {findControl(main, "Label39"), "info@tessaly.test"},
            {findControl(main, "Label17"), "www.tessaly.test"},
        };
        for (const auto& [widget, name] : expected) {
            QCOMPARE(spokenName(widget), name);
        }
        for (QWidget* window : std::initializer_list<QWidget*>{main, fixture.messageWindow()}) {
            for (auto* control : window->findChildren<QWidget*>()) {
                const bool reachable = qobject_cast<QAbstractButton*>(control) != nullptr ||
                                       qobject_cast<QComboBox*>(control) != nullptr ||
                                       qobject_cast<QTextEdit*>(control) != nullptr;
                // The tab bar's scroll arrows and the file dialog's insides are the toolkit's.
                if (reachable && control->window() == window &&
                    qobject_cast<QTabBar*>(control->parentWidget()) == nullptr) {
                    QVERIFY2(!spokenName(control).isEmpty(), qPrintable(control->objectName()));
                    QVERIFY2(!control->objectName().isEmpty(), control->metaObject()->className());
                }
            }
        }
    }

    // The close bar ends the program and takes the satellites with it.
    void closeBarEndsTheProgram() {
        ProgramFixture fixture;
        fixture.startAndShow();
        MainWindow* main = fixture.mainWindow();
        QTest::mouseClick(findControl<QToolButton>(&fixture.parts().navigation(), "SpeedButton5"),
                          Qt::LeftButton);
        fixture.starMapWindow()->show();
        QTimer::singleShot(0, main, [main] {
            QTest::mouseClick(findControl<QAbstractButton>(main, "EndIt"), Qt::LeftButton);
        });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        giveUp.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(main->isHidden());
        QVERIFY(fixture.avoidWindow()->isHidden());
        QVERIFY(fixture.starMapWindow()->isHidden());
    }
};

VANTOR_GUI_TEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
