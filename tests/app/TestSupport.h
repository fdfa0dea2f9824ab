#pragma once

#include "NavigationPage.h"
#include "Startup.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

class TForm1;
class TForm2;
class TForm3;
class TForm4;

// A Qt Test main that runs headless unless a platform was chosen.
#define VANTOR_GUI_TEST_MAIN(TestClass)                                                            \
    int main(int argc, char** argv) {                                                              \
        PrepareGuiTestEnvironment();                                                               \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// Headless platform by default, and a private configuration folder so that no
// test ever touches a real user's settings.
void PrepareGuiTestEnvironment();

// Puts the named environment variables back as they were, set or unset, when
// it goes out of scope: also when a check failed halfway.
class TScopedEnvironment {
public:
    explicit TScopedEnvironment(std::initializer_list<const char*> names);
    ~TScopedEnvironment();
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

private:
    struct TSaved {
        const char* Name;
        bool Set;
        QByteArray Value;
    };
    QList<TSaved> saved_;
};

// A control of a window or page by its layout name. A missing one ends the
// test program, as no check could go on without it.
template <typename Control = QWidget> Control* Find(const QObject* window, const char* name) {
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
void TypeKeys(const QString& text);
// Gives the control the focus, empties it with Ctrl+A and Delete, and types the text.
void TypeInto(QWidget* control, const QString& text);
// Enter, to the widget that has the focus.
void PressEnter();

// A whole program in a folder of its own: the shipped universe copied in as
// the program folder, an empty settings store, the four windows created in
// start-up order. Nothing is shown until ShowMainWindow().
class TWindowStrip;

class TProgramFixture {
public:
    // With copyData false the program folder holds no data files.
    explicit TProgramFixture(bool copyData = true);
    ~TProgramFixture();

    // Creates the windows (FormCreate runs here).
    void Start();
    // Start() and the first showing (FormShow, FormActivate).
    void StartAndShow();
    // The first showing of windows made by Start().
    void Show();

    QString ProgramFolder() const { return programDir_.path() + QLatin1Char('/'); }
    // Where an installed copy keeps the user's files.
    QString DataHome() const { return dataDir_.path(); }
    QString ConfigHome() const { return configDir_.path(); }
    QString SettingsFile() const;

    TForm1* Form1() const;
    TForm2* Form2() const;
    TForm3* Form3() const;
    TForm4* Form4() const;
    TNavigationPage& Navigation() const;
    TWindowStrip& Strip() const;

private:
    QTemporaryDir programDir_;
    QTemporaryDir configDir_;
    QTemporaryDir dataDir_;
    TScopedEnvironment environment_{"XDG_CONFIG_HOME", "XDG_DATA_HOME"};
    std::unique_ptr<TVantorProgram> program_;
};

// The frame of the windowed tests: before every test function a fresh
// program, started and shown (or only started), and gone after it.
class TProgramTest : public QObject {
    Q_OBJECT

public:
    enum class TStart { AndShow, Only };
    explicit TProgramTest(TStart start = TStart::AndShow)
        : start_(start) {}

protected:
    // Runs after the program has started, before each test function.
    virtual void Prepare() {}

    TProgramFixture& Fixture() const { return *fixture_; }
    TForm1* Main() const;
    TNavigationPage& Navigation() const;

private slots:
    void init();
    void cleanup();

private:
    TStart start_;
    std::unique_ptr<TProgramFixture> fixture_;
};

// Runs `answer` on the next modal window once it is up (polling from the
// event loop), so that a test can answer a message the code under test
// raises. Call it before the action that opens the window.
void WhenModalShows(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// Answers the next file dialog: types the path into its file name box and
// accepts, as a user would; an empty path cancels the dialog. `seen`, when
// given, receives the file the dialog offered as it opened.
void AnswerFileDialog(const QString& path, QString* seen = nullptr);

// Answers every message window shown while it lives by pressing the button
// with the given caption ("&OK", "&Yes", "&No"), or the only button a report
// has, and records what it showed.
struct TSeenMessage {
    QString Caption;
    QString Text;
    QString Sign;
    QString LeftButton;  // empty when hidden
    QString RightButton; // empty when hidden
};

class TMessageAnswerer {
public:
    explicit TMessageAnswerer(QString buttonCaption = QStringLiteral("&OK"));
    ~TMessageAnswerer();
    TMessageAnswerer(const TMessageAnswerer&) = delete;
    TMessageAnswerer& operator=(const TMessageAnswerer&) = delete;

    void SetButton(const QString& buttonCaption) { button_ = buttonCaption; }
    QList<TSeenMessage> Seen;

private:
    void Poll();
    QString button_;
    QTimer* timer_;
    bool answering_ = false;
};

// Collects what the standard error box would show, instead of showing it.
class TErrorBoxRecorder {
public:
    TErrorBoxRecorder();
    ~TErrorBoxRecorder();
    QStringList Texts;
};
