#pragma once

#include "Desktop.h"
#include "NavigationPage.h"
#include "Startup.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

class CloseGuard;
class MainWindow;
class MessageWindow;
class RecoveryKeeper;
class AvoidWindow;
class StarMapShape;
class StarMapWindow;

// A Qt Test main that runs headless unless a platform was chosen.
#define VANTOR_GUI_TEST_MAIN(TestClass)                                                            \
    int main(int argc, char** argv) {                                                              \
        prepareGuiTestEnvironment();                                                               \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// Headless platform by default, and the test desktop in place of the real one.
void prepareGuiTestEnvironment();

// The desktop of every window test: an error box is never shown (it would
// wait for an answer no test gives); one that the test did not expect fails
// the running test at once with the box's text. Printers are set up as the
// test asks.
class TestDesktop final : public Desktop {
public:
    void showErrorBox(const QString& text) override;
    void preparePrinter(QPrinter& printer) override;

    // Where an expected box's text goes; null while no box is expected.
    QStringList* expectedBoxes = nullptr;
    // Sets up every printer before its dialog shows; prints into a file, say.
    std::function<void(QPrinter&)> printerSetup;
};
TestDesktop& testDesktop();

// Puts the named environment variables back as they were, set or unset, when
// it goes out of scope: also when a check failed halfway.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(std::initializer_list<const char*> names);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    struct Saved {
        const char* name;
        bool set;
        QByteArray value;
    };
    QList<Saved> saved_;
};

// A control of a window or page by its layout name. A missing one ends the
// test program, as no check could go on without it.
template <typename Control = QWidget>
Control* findControl(const QObject* window, const char* name) {
    auto* control = window->findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) {
        qFatal("no %s named \"%s\" under %s", Control::staticMetaObject.className(), name,
               qPrintable(window->objectName()));
    }
    return control;
}

// Types the text key by key, as the keyboard delivers it: to the widget that
// has the focus. A character beyond ASCII comes as the text of a key without
// a key code, as an input method hands it over.
void typeKeys(const QString& text);
// Gives the control the focus, empties it with Ctrl+A and Delete, and types the text.
void typeInto(QWidget* control, const QString& text);
// Enter, to the widget that has the focus.
void pressEnter();

// The hint the toolkit shows when the pointer rests on the point of the control.
QString hintShownAt(QWidget* control, const QPoint& at);

// A whole program in a folder of its own: the shipped universe copied in as
// the program folder, an empty settings store, the four windows created in
// start-up order. Nothing is shown until showMainWindow().
class WindowStrip;

// The parts of a running program, as the tests look at them.
class ProgramAccess {
public:
    explicit ProgramAccess(VantorProgram& program)
        : program_(program) {}

    MainWindow* mainWindow() const;
    MessageWindow* messageWindow() const;
    AvoidWindow* avoidWindow() const;
    StarMapWindow* starMapWindow() const;
    NavigationPage& navigation() const;
    SystemDatabasePage& systemDatabase() const;
    OwnDatabasePage& ownDatabase() const;
    NotepadPage& notepad() const;
    OptionsPanel& optionsPanel() const;
    ProgramSettings& settings() const;
    RouteEngine& engine() const;
    WindowStrip& strip() const;
    // Where the pages report: the message window.
    Messenger& messenger() const;
    CloseGuard& closeGuard() const;
    RecoveryKeeper& recovery() const;
    // The pause after a change and the deadline after the first one that
    // a recovery copy waits for.
    void setRecoveryDelays(int pauseMs, int deadlineMs) const;
    // Whether start-up has finished, so that the settings may be written.
    bool settingsReady() const;

    // A sector's shape on the map; asking builds the shapes, as showing does.
    static StarMapShape* sectorShape(const StarMapWindow* map, int column, int row);
    // Whether the map's next click picks the target.
    static bool targetPending(const StarMapWindow* map);

private:
    VantorProgram& program_;
};

class ProgramFixture {
public:
    // With copyData false the program folder holds no data files.
    explicit ProgramFixture(bool copyData = true);
    ~ProgramFixture();

    // Creates the windows (readStartupData runs here).
    void start();
    // start() and the first showing (finishStartupOnFirstShow, the first activation).
    void startAndShow();
    // The first showing of windows made by start().
    void show();

    QString programFolder() const { return programDir_.path() + QLatin1Char('/'); }
    // Where an installed copy keeps the user's files.
    QString dataHome() const { return dataDir_.path(); }
    QString configHome() const { return configDir_.path(); }
    QString settingsFile() const;

    // The parts of the started program.
    ProgramAccess parts() const { return ProgramAccess(*program_); }
    MainWindow* mainWindow() const { return parts().mainWindow(); }
    MessageWindow* messageWindow() const { return parts().messageWindow(); }
    AvoidWindow* avoidWindow() const { return parts().avoidWindow(); }
    StarMapWindow* starMapWindow() const { return parts().starMapWindow(); }
    NavigationPage& navigation() const { return parts().navigation(); }
    WindowStrip& strip() const { return parts().strip(); }

private:
    QTemporaryDir programDir_;
    QTemporaryDir configDir_;
    QTemporaryDir dataDir_;
    ScopedEnvironment environment_{"XDG_CONFIG_HOME", "XDG_DATA_HOME"};
    std::unique_ptr<VantorProgram> program_;
};

// The frame of the windowed tests: before every test function a fresh
// program, started and shown (or only started), and gone after it.
class ProgramTest : public QObject {
    Q_OBJECT

public:
    enum class Start { AndShow, Only };
    explicit ProgramTest(Start start = Start::AndShow)
        : start_(start) {}

protected:
    // Runs after the program has started, before each test function.
    virtual void prepare() {}

    ProgramFixture& fixture() const { return *fixture_; }
    MainWindow* mainWindow() const;
    NavigationPage& navigation() const;

private slots:
    void init();
    void cleanup();

private:
    Start start_;
    std::unique_ptr<ProgramFixture> fixture_;
};

// Runs `answer` on the next modal window once it is up (polling from the
// event loop), so that a test can answer a message the code under test
// raises. Call it before the action that opens the window.
void whenModalShows(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// Answers the next file dialog: types the path into its file name box and
// accepts, as a user would; an empty path cancels the dialog. `seen`, when
// given, receives the file the dialog offered as it opened.
void answerFileDialog(const QString& path, QString* seen = nullptr);

// Answers every message window shown while it lives by pressing the button
// with the given caption ("&OK", "&Yes", "&No"), or the only button a report
// has, and records what it showed.
struct SeenMessage {
    QString caption;
    QString text;
    QString sign;
    QString leftButton;  // empty when hidden
    QString rightButton; // empty when hidden
};

class MessageAnswerer {
public:
    explicit MessageAnswerer(QString buttonCaption = QStringLiteral("&OK"));
    ~MessageAnswerer();
    MessageAnswerer(const MessageAnswerer&) = delete;
    MessageAnswerer& operator=(const MessageAnswerer&) = delete;

    void setButton(const QString& buttonCaption) { button_ = buttonCaption; }
    QList<SeenMessage> seenMessages;

private:
    void poll();
    QString button_;
    QTimer* timer_;
    bool answering_ = false;
};

// Says that error boxes are expected while it lives, and collects what they
// would show.
class ErrorBoxRecorder {
public:
    ErrorBoxRecorder();
    ~ErrorBoxRecorder();
    ErrorBoxRecorder(const ErrorBoxRecorder&) = delete;
    ErrorBoxRecorder& operator=(const ErrorBoxRecorder&) = delete;
    QStringList texts;

private:
    QStringList* previous_;
};
