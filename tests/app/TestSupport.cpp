#include "TestSupport.h"

#include "AvoidWindow.h"
#include "MainWindow.h"
#include "MessageWindow.h"
#include "NavigationPage.h"
#include "ProgramSettings.h"
#include "RecoveryKeeper.h"
#include "StarMapWindow.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

void prepareGuiTestEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    Desktop::install(&testDesktop());
}

TestDesktop& testDesktop() {
    static TestDesktop desktop;
    return desktop;
}

void TestDesktop::showErrorBox(const QString& text) {
    if (expectedBoxes != nullptr) {
        *expectedBoxes << text;
        return;
    }
    const QByteArray failure = "an error box that the test did not expect: " + text.toUtf8();
    if (QTest::currentTestFunction() == nullptr) {
        qFatal("%s", failure.constData());
    }
    QTest::qFail(failure.constData(), __FILE__, __LINE__);
}

void TestDesktop::preparePrinter(QPrinter& printer) {
    if (printerSetup) {
        printerSetup(printer);
    }
}

ScopedEnvironment::ScopedEnvironment(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        saved_.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
    }
}

ScopedEnvironment::~ScopedEnvironment() {
    for (const Saved& saved : saved_) {
        if (saved.set) {
            qputenv(saved.name, saved.value);
        } else {
            qunsetenv(saved.name);
        }
    }
}

void typeKeys(const QString& text) {
    for (const QChar character : text) {
        if (character.unicode() < 128) {
            QTest::keyClick(QApplication::focusWidget(), character.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(character), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(character), Qt::NoModifier);
        }
    }
}

void typeInto(QWidget* control, const QString& text) {
    control->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    typeKeys(text);
}

void pressEnter() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

ProgramFixture::ProgramFixture(bool copyData) {
    qputenv("XDG_CONFIG_HOME", configDir_.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataDir_.path().toLocal8Bit());
    if (copyData) {
        const QString from = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        for (const char* name : {"core.vr", "vantor.vr"}) {
            QFile::copy(from + QLatin1String(name), programFolder() + QLatin1String(name));
        }
    }
}

ProgramFixture::~ProgramFixture() {
    program_.reset();
}

void ProgramFixture::start() {
    program_ = std::make_unique<VantorProgram>(StartOptions{programFolder()});
}

void ProgramFixture::startAndShow() {
    start();
    show();
}

void ProgramFixture::show() {
    program_->showMainWindow();
    QApplication::processEvents();
}

QString ProgramFixture::settingsFile() const {
    return configDir_.path() + QStringLiteral("/Tessaly/Vantor.conf");
}

MainWindow* ProgramAccess::mainWindow() const {
    return program_.main_.get();
}
bool ProgramAccess::settingsReady() const {
    return program_.settings_->ready_;
}
StarMapShape* ProgramAccess::sectorShape(const StarMapWindow* map, int column, int row) {
    return map->shape(sectorShapeNumber(column, row));
}
bool ProgramAccess::targetPending(const StarMapWindow* map) {
    return map->targetPending_;
}
MessageWindow* ProgramAccess::messageWindow() const {
    return program_.message_;
}
AvoidWindow* ProgramAccess::avoidWindow() const {
    return program_.avoid_;
}
StarMapWindow* ProgramAccess::starMapWindow() const {
    return program_.map_;
}
NavigationPage& ProgramAccess::navigation() const {
    return *program_.navigation_;
}
SystemDatabasePage& ProgramAccess::systemDatabase() const {
    return *program_.systemDatabase_;
}
OwnDatabasePage& ProgramAccess::ownDatabase() const {
    return *program_.ownDatabase_;
}
NotepadPage& ProgramAccess::notepad() const {
    return *program_.notepad_;
}
OptionsPanel& ProgramAccess::optionsPanel() const {
    return *program_.options_;
}
ProgramSettings& ProgramAccess::settings() const {
    return *program_.settings_;
}
RouteEngine& ProgramAccess::engine() const {
    return program_.engine_;
}
WindowStrip& ProgramAccess::strip() const {
    return program_.strip_;
}
Messenger& ProgramAccess::messenger() const {
    return program_.messenger_;
}
CloseGuard& ProgramAccess::closeGuard() const {
    return *program_.closeGuard_;
}
RecoveryKeeper& ProgramAccess::recovery() const {
    return *program_.recovery_;
}
void ProgramAccess::setRecoveryDelays(int pauseMs, int deadlineMs) const {
    program_.recovery_->setDelays(pauseMs, deadlineMs);
}

void ProgramTest::init() {
    fixture_ = std::make_unique<ProgramFixture>();
    if (start_ == Start::Only) {
        fixture_->start();
    } else {
        fixture_->startAndShow();
        QVERIFY(QTest::qWaitForWindowActive(fixture_->mainWindow()));
    }
    prepare();
}

void ProgramTest::cleanup() {
    fixture_.reset();
}

MainWindow* ProgramTest::mainWindow() const {
    return fixture_->mainWindow();
}

NavigationPage& ProgramTest::navigation() const {
    return fixture_->navigation();
}

void whenModalShows(std::function<void(QWidget*)> answer, int timeoutMs) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, answer, timeoutMs]() {
        QWidget* modal = QApplication::activeModalWidget();
        *waited += 10;
        if (modal != nullptr && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        } else if (*waited > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void answerFileDialog(const QString& path, QString* seen) {
    whenModalShows([path, seen](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        if (seen != nullptr) {
            *seen = dialog->selectedFiles().value(0);
        }
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

MessageAnswerer::MessageAnswerer(QString buttonCaption)
    : button_(std::move(buttonCaption))
    , timer_(new QTimer) {
    timer_->setInterval(5);
    QObject::connect(timer_, &QTimer::timeout, [this]() { poll(); });
    timer_->start();
}

MessageAnswerer::~MessageAnswerer() {
    delete timer_;
}

void MessageAnswerer::poll() {
    auto* message = qobject_cast<MessageWindow*>(QApplication::activeModalWidget());
    if (message == nullptr || !message->isVisible() || answering_) {
        return;
    }
    const auto shownCaption = [message](const char* holder, const char* button) {
        return findControl(message, holder)->isVisibleTo(message)
                   ? findControl<QToolButton>(message, button)->text()
                   : QString();
    };
    SeenMessage seen;
    seen.caption = findControl<QLabel>(message, "Panel4")->text();
    seen.text = findControl<QTextEdit>(message, "RichEdit1")->toPlainText();
    seen.sign = findControl<QLabel>(message, "Label1")->text();
    seen.leftButton = shownCaption("B01P", "B01");
    seen.rightButton = shownCaption("B02P", "B02");
    seenMessages << seen;
    answering_ = true;
    QList<QToolButton*> shown;
    for (QToolButton* button :
         {findControl<QToolButton>(message, "B01"), findControl<QToolButton>(message, "B02")}) {
        if (button->isVisibleTo(message)) {
            shown << button;
        }
    }
    // A report with its one button is acknowledged whatever answer was set.
    for (QToolButton* button : shown) {
        if (button->text() == button_ || shown.size() == 1) {
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        }
    }
    answering_ = false;
}

ErrorBoxRecorder::ErrorBoxRecorder()
    : previous_(testDesktop().expectedBoxes) {
    testDesktop().expectedBoxes = &texts;
}

ErrorBoxRecorder::~ErrorBoxRecorder() {
    testDesktop().expectedBoxes = previous_;
}

// The hint the toolkit shows when the pointer rests on the point of the control.
QString hintShownAt(QWidget* control, const QPoint& at) {
    QToolTip::hideText();
    QHelpEvent request(QEvent::ToolTip, at, control->mapToGlobal(at));
    QApplication::sendEvent(control, &request);
    const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
    // The hint goes before the test goes on, as it does when the pointer moves.
    QToolTip::hideText();
    QApplication::processEvents();
    return shown;
}
