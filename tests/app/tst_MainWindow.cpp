#include "TestSupport.h"

#include "Ausw.h"
#include "main.h"
#include "mappy.h"
#include "warn.h"

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
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
        const QByteArray display = qgetenv("DISPLAY");
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
        qputenv("QT_QPA_PLATFORM", platform);
        qputenv("WAYLAND_DISPLAY", wayland);
        qputenv("DISPLAY", display);
        for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
            if (qgetenv(name).isEmpty()) {
                qunsetenv(name);
            }
        }
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

        QTabWidget* pages = main->PageControl1;
        QCOMPARE(pages->geometry(), QRect(8, 64, 441, 425));
        const QStringList captions{"Navigation", "System Database", "Own Database", "Notepad",
                                   "Info"};
        const QList<QWidget*> sheets{main->TabSheet3, main->TabSheet1, main->TabSheet5,
                                     main->TabSheet4, main->TabSheet2};
        QCOMPARE(pages->count(), 5);
        for (int index = 0; index < 5; ++index) {
            QCOMPARE(pages->tabText(index), captions[index]);
            QCOMPARE(pages->widget(index), sheets[index]);
            QCOMPARE(pages->tabIcon(index).isNull(), index == 4);
        }
        QCOMPARE(pages->currentWidget(), main->TabSheet3);
        QCOMPARE(main->ImageList1.size(), 5);
        QCOMPARE(main->OrlenFade2->toolTip(), QStringLiteral("Show starmap"));
        QCOMPARE(main->EndIt->text(), QStringLiteral("X"));
        QCOMPARE(main->EndIt->geometry(), QRect(454, 92, 23, 391));
    }

    // The first showing loads the universe, fills the lists and from then on
    // lets the settings be written; the main window leads.
    void firstShowingLoadsTheUniverse() {
        TProgramFixture fixture;
        fixture.Start();
        TForm1* main = fixture.Form1();
        QVERIFY(!main->SettingsReady);
        QCOMPARE(main->Von->count(), 0);
        QVERIFY(main->CoreDataPath.endsWith(QStringLiteral("core.vr")));
        fixture.Show();
        QVERIFY(main->SettingsReady);
        QVERIFY(main->MainLeads);
        QVERIFY(!main->AvoidLeads && !main->MapLeads);
        QCOMPARE(main->Von->count(), 54);
        QCOMPARE(main->Nach->count(), 54);
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
        QCOMPARE(main->Von->count(), 0);
        QCOMPARE(main->Nach->count(), 0);
        QVERIFY(!main->SettingsReady);
        QVERIFY(main->isVisible());

        // The program goes on: a request is answered, an option change is not stored.
        TMessageAnswerer answerer;
        QTest::mouseClick(main->Way, Qt::LeftButton);
        QCOMPARE(answerer.Seen.size(), 2);
        main->CheckBox3->click();
        QVERIFY(!QFile::exists(fixture.SettingsFile()));
        QCOMPARE(errors.Texts.size(), 1);
    }

    // Opening the options closes both satellites and shrinks the window;
    // closing the options doesn't bring the satellites back.
    void optionsButtonSwitchesTheMode() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        TForm1* main = fixture.Form1();
        QTest::mouseClick(main->SpeedButton5, Qt::LeftButton);
        fixture.Form4()->show();
        QVERIFY(fixture.Form3()->isVisible() && fixture.Form4()->isVisible());

        QTest::mouseClick(main->OBut, Qt::LeftButton);
        QTRY_COMPARE(main->height(), 245);
        QVERIFY(fixture.Form3()->isHidden());
        QVERIFY(fixture.Form4()->isHidden());
        for (QWidget* control : std::initializer_list<QWidget*>{main->PageControl1, main->OBut,
                                                                main->EndIt, main->OrlenFade2}) {
            QVERIFY(control->isHidden());
        }
        QVERIFY(main->Options->isVisible());

        main->OButClick();
        QTRY_COMPARE(main->height(), 494);
        QVERIFY(main->PageControl1->isVisible());
        QVERIFY(main->OBut->isVisible() && main->EndIt->isVisible());
        QVERIFY(main->Options->isHidden());
        QVERIFY(fixture.Form3()->isHidden());
        QVERIFY(fixture.Form4()->isHidden());
    }

    // Every control a user reaches says what it is.
    void controlsHaveSpokenNames() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        TForm1* main = fixture.Form1();
        const QList<QPair<QWidget*, QString>> expected{
            {main->Von, "From"},
            {main->Nach, "To"},
            {main->RichEdit1, "Way"},
            {main->Label1, "From"},
            {main->Label2, "To"},
            {main->Way, "Find a way..."},
            {main->SpeedButton1, "X"},
            {main->SpeedButton3, "Short description"},
            {main->SpeedButton4, "Print"},
            {main->SpeedButton5, "Avoid contact with"},
            {main->OBut, "Options"},
            {main->EndIt, "X"},
            {main->OrlenFade2, "Show starmap"},
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
        QTest::mouseClick(main->SpeedButton5, Qt::LeftButton);
        fixture.Form4()->show();
        QTimer::singleShot(0, main, [main] { QTest::mouseClick(main->EndIt, Qt::LeftButton); });
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
