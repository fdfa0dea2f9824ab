#include "TestSupport.h"

#include "AvoidWindow.h"
#include "ErrorBox.h"
#include "NavigationPage.h"
#include "MainWindow.h"
#include "StarMapWindow.h"
#include "MessageWindow.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

void PrepareGuiTestEnvironment() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

TScopedEnvironment::TScopedEnvironment(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        saved_.append({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
    }
}

TScopedEnvironment::~TScopedEnvironment() {
    for (const TSaved& saved : saved_) {
        if (saved.Set) {
            qputenv(saved.Name, saved.Value);
        } else {
            qunsetenv(saved.Name);
        }
    }
}

void TypeKeys(const QString& text) {
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

void TypeInto(QWidget* control, const QString& text) {
    control->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    TypeKeys(text);
}

void PressEnter() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

TProgramFixture::TProgramFixture(bool copyData) {
    qputenv("XDG_CONFIG_HOME", configDir_.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", dataDir_.path().toLocal8Bit());
    if (copyData) {
        const QString from = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        for (const char* name : {"core.vr", "vantor.vr"}) {
            QFile::copy(from + QLatin1String(name), ProgramFolder() + QLatin1String(name));
        }
    }
}

TProgramFixture::~TProgramFixture() {
    program_.reset();
}

void TProgramFixture::Start() {
    program_ = std::make_unique<TVantorProgram>(TStartOptions{ProgramFolder()});
}

void TProgramFixture::StartAndShow() {
    Start();
    Show();
}

void TProgramFixture::Show() {
    program_->ShowMainWindow();
    QApplication::processEvents();
}

QString TProgramFixture::SettingsFile() const {
    return configDir_.path() + QStringLiteral("/Tessaly/Vantor.conf");
}

TForm1* TProgramFixture::Form1() const {
    return program_->Windows().Form1;
}
TForm2* TProgramFixture::Form2() const {
    return program_->Windows().Form2;
}
TForm3* TProgramFixture::Form3() const {
    return program_->Windows().Form3;
}
TForm4* TProgramFixture::Form4() const {
    return program_->Windows().Form4;
}
TNavigationPage& TProgramFixture::Navigation() const {
    return Form1()->Navigation();
}
TWindowStrip& TProgramFixture::Strip() const {
    return program_->Strip();
}

void TProgramTest::init() {
    fixture_ = std::make_unique<TProgramFixture>();
    if (start_ == TStart::Only) {
        fixture_->Start();
    } else {
        fixture_->StartAndShow();
        QVERIFY(QTest::qWaitForWindowActive(fixture_->Form1()));
    }
    Prepare();
}

void TProgramTest::cleanup() {
    fixture_.reset();
}

TForm1* TProgramTest::Main() const {
    return fixture_->Form1();
}

TNavigationPage& TProgramTest::Navigation() const {
    return fixture_->Navigation();
}

void WhenModalShows(std::function<void(QWidget*)> answer, int timeoutMs) {
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

void AnswerFileDialog(const QString& path, QString* seen) {
    WhenModalShows([path, seen](QWidget* modal) {
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

TMessageAnswerer::TMessageAnswerer(QString buttonCaption)
    : button_(std::move(buttonCaption))
    , timer_(new QTimer) {
    timer_->setInterval(5);
    QObject::connect(timer_, &QTimer::timeout, [this]() { Poll(); });
    timer_->start();
}

TMessageAnswerer::~TMessageAnswerer() {
    delete timer_;
}

void TMessageAnswerer::Poll() {
    auto* message = qobject_cast<TForm2*>(QApplication::activeModalWidget());
    if (message == nullptr || !message->isVisible() || answering_) {
        return;
    }
    const auto shownCaption = [message](const char* holder, const char* button) {
        return Find(message, holder)->isVisibleTo(message)
                   ? Find<QToolButton>(message, button)->text()
                   : QString();
    };
    TSeenMessage seen;
    seen.Caption = Find<QLabel>(message, "Panel4")->text();
    seen.Text = Find<QTextEdit>(message, "RichEdit1")->toPlainText();
    seen.Sign = Find<QLabel>(message, "Label1")->text();
    seen.LeftButton = shownCaption("B01P", "B01");
    seen.RightButton = shownCaption("B02P", "B02");
    Seen << seen;
    answering_ = true;
    QList<QToolButton*> shown;
    for (QToolButton* button :
         {Find<QToolButton>(message, "B01"), Find<QToolButton>(message, "B02")}) {
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

TErrorBoxRecorder::TErrorBoxRecorder() {
    SetErrorBoxHook([this](const QString& text) { Texts << text; });
}

TErrorBoxRecorder::~TErrorBoxRecorder() {
    SetErrorBoxHook({});
}
