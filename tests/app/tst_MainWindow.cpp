#include "TestSupport.h"

#include "AvoidWindow.h"
#include "NavigationPage.h"
#include "OptionsPanel.h"
#include "ProgramSettings.h"
#include "WindowStrip.h"
#include "MainWindow.h"
#include "StarMapWindow.h"
#include "MessageWindow.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <vector>

namespace {

// Notes the titles of the program's four windows as they are set, in order.
class TTitleRecorder : public QObject {
public:
    TTitleRecorder() { qApp->installEventFilter(this); }
    ~TTitleRecorder() override { qApp->removeEventFilter(this); }

    QStringList Titles;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowTitleChange && widget != nullptr &&
            QByteArray(widget->metaObject()->className()).startsWith("TForm")) {
            Titles << widget->windowTitle();
        }
        return false;
    }
};

QString SpokenName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TMainWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The main window is made first, then the message window, the avoid
    // window and the star map; nobody ever sees the layout's placeholder title.
    void startUpOrderAndCaptions() {
        TTitleRecorder recorder;
        TProgramFixture fixture;
        fixture.Start();
        QCOMPARE(recorder.Titles,
                 (QStringList{"Vantor 1.03 XDR / EV", "Information", "Avoid", "Starmap"}));
        for (QWidget* window : std::initializer_list<QWidget*>{fixture.Form1(), fixture.Form2(),
                                                               fixture.Form3(), fixture.Form4()}) {
            QVERIFY(window->isHidden());
        }
        fixture.Show();
        QVERIFY(
            !recorder.Titles.join(QLatin1Char('|')).contains(QStringLiteral("VERSION UNKNOWN")));
    }

    // In a Wayland session the program asks for XWayland, unless a platform
    // was chosen by the environment or the command line.
    void waylandSessionsRunOnXWayland() {
        const TScopedEnvironment restored{"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"};
        const auto chosen = [](std::initializer_list<const char*> arguments) {
            std::vector<QByteArray> copies(arguments.begin(), arguments.end());
            std::vector<char*> argv;
            for (QByteArray& copy : copies) {
                argv.push_back(copy.data());
            }
            qunsetenv("QT_QPA_PLATFORM");
            PreferXcbUnderWayland(static_cast<int>(argv.size()), argv.data());
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
        TProgramFixture fixture;
        fixture.StartAndShow();
        TForm1* main = fixture.Form1();
        QVERIFY(main->isVisible());
        const Qt::WindowFlags flags = main->windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Window);
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(main->size(), QSize(486, 494));
        QCOMPARE(main->minimumSize(), main->maximumSize());
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((main->frameGeometry().center() - screenCentre).manhattanLength() <= 6);

        auto* pages = Find<QTabWidget>(main, "PageControl1");
        QCOMPARE(pages->geometry(), QRect(8, 64, 441, 425));
        const QStringList captions{"Navigation", "System Database", "Own Database", "Notepad",
                                   "Info"};
        const QList<QWidget*> sheets{Find(main, "TabSheet3"), Find(main, "TabSheet1"),
                                     Find(main, "TabSheet5"), Find(main, "TabSheet4"),
                                     Find(main, "TabSheet2")};
        QCOMPARE(pages->count(), 5);
        for (int index = 0; index < 5; ++index) {
            QCOMPARE(pages->tabText(index), captions[index]);
            QCOMPARE(pages->widget(index), sheets[index]);
            QCOMPARE(pages->tabIcon(index).isNull(), index == 4);
        }
        QCOMPARE(pages->currentWidget(), sheets[0]);
        QCOMPARE(Find(main, "OrlenFade2")->toolTip(), QStringLiteral("Show starmap"));
        QCOMPARE(Find<QAbstractButton>(main, "EndIt")->text(), QStringLiteral("X"));
        QCOMPARE(Find(main, "EndIt")->geometry(), QRect(454, 92, 23, 391));
    }

    // The first showing loads the universe, fills the lists and from then on
    // lets the settings be written; the main window leads.
    void firstShowingLoadsTheUniverse() {
        TProgramFixture fixture;
        fixture.Start();
        TForm1* main = fixture.Form1();
        QVERIFY(!main->Settings().SettingsReady());
        QCOMPARE(Find<QComboBox>(&main->Navigation(), "Von")->count(), 0);
        QVERIFY(main->OptionsPanel().CoreDataPath().endsWith(QStringLiteral("core.vr")));
        fixture.Show();
        QVERIFY(main->Settings().SettingsReady());
        QCOMPARE(fixture.Strip().Leader(), TLeader::Main);
        QCOMPARE(Find<QComboBox>(&main->Navigation(), "Von")->count(), 54);
        QCOMPARE(Find<QComboBox>(&main->Navigation(), "Nach")->count(), 54);
    }

    // A missing or broken core data file: exactly one error box with the
    // loader's text, empty lists, no settings written, and the program goes on.
    void unreadableCoreDataFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("textPart");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("core.vr") << false;
        QTest::newRow("broken") << QByteArray("0,0,Home,1,0,0,1,1\r\n0,1,Away,x,0,0,0,0\r\n")
                                << QStringLiteral("core.vr") << true;
    }
    void unreadableCoreDataFile() {
        QFETCH(QByteArray, content);
        QFETCH(QString, textPart);
        QFETCH(bool, present);
        TErrorBoxRecorder errors;
        TProgramFixture fixture;
        const QString core = fixture.ProgramFolder() + QStringLiteral("core.vr");
        QFile::remove(core);
        if (present) {
            WriteFile(core, content);
        }
        fixture.StartAndShow();
        TForm1* main = fixture.Form1();
        QCOMPARE(errors.Texts.size(), 1);
        QVERIFY2(errors.Texts[0].contains(textPart), qPrintable(errors.Texts[0]));
        QCOMPARE(Find<QComboBox>(&main->Navigation(), "Von")->count(), 0);
        QCOMPARE(Find<QComboBox>(&main->Navigation(), "Nach")->count(), 0);
        QVERIFY(!main->Settings().SettingsReady());
        QVERIFY(main->isVisible());

        // The program goes on: a request is answered, an option change is not stored.
        TMessageAnswerer answerer;
        QTest::mouseClick(Find<QToolButton>(&main->Navigation(), "Way"), Qt::LeftButton);
        QCOMPARE(answerer.Seen.size(), 2);
        Find<QCheckBox>(main, "CheckBox3")->click();
        QVERIFY(!QFile::exists(fixture.SettingsFile()));
        QCOMPARE(errors.Texts.size(), 1);
    }

    // Opening the options closes both satellites and shrinks the window;
    // closing the options doesn't bring the satellites back.
    void optionsButtonSwitchesTheMode() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        TForm1* main = fixture.Form1();
        QTest::mouseClick(Find<QToolButton>(&main->Navigation(), "SpeedButton5"), Qt::LeftButton);
        fixture.Form4()->show();
        QVERIFY(fixture.Form3()->isVisible() && fixture.Form4()->isVisible());

        QTest::mouseClick(Find<QAbstractButton>(main, "OBut"), Qt::LeftButton);
        QTRY_COMPARE(main->height(), 245);
        QVERIFY(fixture.Form3()->isHidden());
        QVERIFY(fixture.Form4()->isHidden());
        for (const char* name : {"PageControl1", "OBut", "EndIt", "OrlenFade2"}) {
            QVERIFY(Find(main, name)->isHidden());
        }
        QVERIFY(Find(main, "Options")->isVisible());

        QTest::mouseClick(Find<QToolButton>(main, "SpeedButton10"), Qt::LeftButton);
        QTRY_COMPARE(main->height(), 494);
        for (const char* name : {"PageControl1", "OBut", "EndIt", "OrlenFade2"}) {
            QVERIFY(Find(main, name)->isVisible());
        }
        QVERIFY(Find(main, "Options")->isHidden());
        QVERIFY(fixture.Form3()->isHidden());
        QVERIFY(fixture.Form4()->isHidden());
    }

    // Every control a user reaches says what it is.
    void controlsHaveSpokenNames() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        TForm1* main = fixture.Form1();
        // Every page once, so that the pages built on first showing are there.
        auto* pages = Find<QTabWidget>(main, "PageControl1");
        for (int page = pages->count() - 1; page >= 0; --page) {
            pages->setCurrentIndex(page);
        }
        const TNavigationPage* navigation = &main->Navigation();
        const QList<QPair<QWidget*, QString>> expected{
            {Find(navigation, "Von"), "From"},
            {Find(navigation, "Nach"), "To"},
            {Find(navigation, "RichEdit1"), "Way"},
            {Find(navigation, "Label1"), "From"},
            {Find(navigation, "Label2"), "To"},
            {Find(navigation, "Way"), "Find a way..."},
            {Find(navigation, "SpeedButton1"), "X"},
            {Find(navigation, "SpeedButton3"), "Short description"},
            {Find(navigation, "SpeedButton4"), "Print"},
            {Find(navigation, "SpeedButton5"), "Avoid contact with"},
            {Find(main, "OBut"), "Options"},
            {Find(main, "EndIt"), "X"},
            {Find(main, "OrlenFade2"), "Show starmap"},
            {Find(main, "SpeedButton2"), "Informations"},
            {Find(main, "SpeedButton11"), "Special Thanks"},
            {Find(main, "SpeedButton12"), "Copyrights"},
            {Find(main, "SpeedButton13"), "Actual Informations"},
            {Find(main, "Label39"), "vantor@tessaly.example"},
            {Find(main, "Label17"), "www.tessaly.example/vantor"},
        };
        for (const auto& [widget, name] : expected) {
            QCOMPARE(SpokenName(widget), name);
        }
        for (QWidget* window : std::initializer_list<QWidget*>{main, fixture.Form2()}) {
            for (auto* control : window->findChildren<QWidget*>()) {
                const bool reachable = qobject_cast<QAbstractButton*>(control) != nullptr ||
                                       qobject_cast<QComboBox*>(control) != nullptr ||
                                       qobject_cast<QTextEdit*>(control) != nullptr;
                // The tab bar's scroll arrows and the file dialog's insides are the toolkit's.
                if (reachable && control->window() == window &&
                    qobject_cast<QTabBar*>(control->parentWidget()) == nullptr) {
                    QVERIFY2(!SpokenName(control).isEmpty(), qPrintable(control->objectName()));
                    QVERIFY2(!control->objectName().isEmpty(), control->metaObject()->className());
                }
            }
        }
    }

    // The close bar ends the program and takes the satellites with it.
    void closeBarEndsTheProgram() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        TForm1* main = fixture.Form1();
        QTest::mouseClick(Find<QToolButton>(&main->Navigation(), "SpeedButton5"), Qt::LeftButton);
        fixture.Form4()->show();
        QTimer::singleShot(0, main, [main] {
            QTest::mouseClick(Find<QAbstractButton>(main, "EndIt"), Qt::LeftButton);
        });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        giveUp.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(main->isHidden());
        QVERIFY(fixture.Form3()->isHidden());
        QVERIFY(fixture.Form4()->isHidden());
    }
};

VANTOR_GUI_TEST_MAIN(TMainWindowTest)
#include "tst_MainWindow.moc"
