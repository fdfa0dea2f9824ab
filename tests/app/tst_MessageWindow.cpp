#include "TestSupport.h"

#include "MainWindow.h"
#include "MessageWindow.h"

#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTextEdit>
#include <QToolButton>

namespace {

struct TShown {
    bool Visible = false;
    QRect Geometry;
    int SignLeft = -1;
    QString Sign;
    QString Caption;
    QString Text;
    bool LeftShown = false;
    bool RightShown = false;
    int RightHolderLeft = -1;
    QString LeftCaption;
    QString RightCaption;
};

// Presses Alt+key on the message window once it is up and notes what it
// showed; if the key does nothing the window is closed by Escape after a while
// so that the test fails instead of hanging.
void PressWithAlt(Qt::Key key, TShown& shown) {
    WhenModalShows([key, &shown](QWidget* modal) {
        auto* message = qobject_cast<TForm2*>(modal);
        QVERIFY(message != nullptr);
        shown.Visible = message->isVisible();
        shown.Geometry = message->frameGeometry();
        shown.SignLeft = Find(message, "Label1")->x();
        shown.Sign = Find<QLabel>(message, "Label1")->text();
        shown.Caption = Find<QLabel>(message, "Panel4")->text();
        shown.Text = Find<QTextEdit>(message, "RichEdit1")->toPlainText();
        shown.LeftShown = Find(message, "B01P")->isVisible();
        shown.RightShown = Find(message, "B02P")->isVisible();
        shown.RightHolderLeft = Find(message, "B02P")->x();
        shown.LeftCaption = Find<QToolButton>(message, "B01")->text();
        shown.RightCaption = Find<QToolButton>(message, "B02")->text();
        // Mnemonics answer only in the active window; keys go where typing goes.
        QVERIFY(QTest::qWaitForWindowActive(message));
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        QTimer::singleShot(1500, message, [message] {
            if (message->isVisible()) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            }
        });
    });
}

// Answers the next question with the key, sent where typing goes.
void AnswerWithKey(Qt::Key key) {
    WhenModalShows([key](QWidget* modal) {
        QVERIFY(QTest::qWaitForWindowActive(modal));
        QTest::keyClick(QApplication::focusWidget(), key);
    });
}

} // namespace

class TMessageWindowTest : public TProgramTest {
    Q_OBJECT

public:
    TMessageWindowTest()
        : TProgramTest(TStart::Only) {}

private slots:
    void windowFrameAndSize() {
        TForm2* message = Fixture().Form2();
        QCOMPARE(message->windowTitle(), QStringLiteral("Information"));
        QVERIFY(!message->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(message->size(), QSize(437, 138));
        QCOMPARE(Find(message, "RichEdit1")->accessibleName(), QStringLiteral("Message"));
        QVERIFY(message->isHidden());
    }

    // A notice with "&OK" alone: the right-hand button, true, Alt+O.
    void noticeWithOkAlone() {
        TForm1* main = Main();
        TShown shown;
        PressWithAlt(Qt::Key_O, shown);
        main->Showme(QStringLiteral("Saved."), QStringLiteral("Written to the program folder."), 0,
                     QString(), QStringLiteral("&OK"));
        QVERIFY(shown.Visible);
        QVERIFY(main->MessageResult());
        QVERIFY(Fixture().Form2()->isHidden());
        QCOMPARE(shown.Caption, QStringLiteral("Saved."));
        QCOMPARE(shown.Text, QStringLiteral("Written to the program folder."));
        QCOMPARE(shown.Sign, QStringLiteral("!"));
        QCOMPARE(shown.SignLeft, 10);
        QVERIFY(!shown.LeftShown);
        QVERIFY(shown.RightShown);
        QCOMPARE(shown.RightHolderLeft, 295);
        QCOMPARE(shown.RightCaption, QStringLiteral("&OK"));
        QCOMPARE(Find(Fixture().Form2(), "B02")->accessibleName(), QStringLiteral("OK"));
        // Centred on the screen, give or take the frame.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(shown.Geometry.center().x() - screen.center().x()) <= 4);
        QVERIFY(qAbs(shown.Geometry.center().y() - screen.center().y()) <= 4);
    }

    // The delete question: "&Yes" left answers true, "&No" right answers false.
    void questionYesAndNo() {
        TForm1* main = Main();
        const QString question = QStringLiteral("Are you sure you want to delete \"Corvane\"?");
        TShown yes;
        PressWithAlt(Qt::Key_Y, yes);
        main->Showme(QStringLiteral("Delete"), question, 1, QStringLiteral("&Yes"),
                     QStringLiteral("&No"));
        QVERIFY(main->MessageResult());
        QCOMPARE(yes.Sign, QStringLiteral("?"));
        QCOMPARE(yes.SignLeft, 6);
        QVERIFY(yes.LeftShown && yes.RightShown);
        QCOMPARE(yes.LeftCaption, QStringLiteral("&Yes"));
        QCOMPARE(yes.RightCaption, QStringLiteral("&No"));

        TShown no;
        PressWithAlt(Qt::Key_N, no);
        main->Showme(QStringLiteral("Delete"), question, 1, QStringLiteral("&Yes"),
                     QStringLiteral("&No"));
        QVERIFY(no.Visible);
        QVERIFY(!main->MessageResult());

        // A mouse click answers the same way.
        TMessageAnswerer answerer(QStringLiteral("&Yes"));
        main->Showme(QStringLiteral("Delete"), question, 1, QStringLiteral("&Yes"),
                     QStringLiteral("&No"));
        QCOMPARE(answerer.Seen.size(), 1);
        QVERIFY(main->MessageResult());
    }

    // Both holders are set again by every call; the sign only by kinds 0 to 2.
    void signAndButtonsFollowEachCall() {
        TForm1* main = Main();
        TMessageAnswerer answerer(QStringLiteral("&No"));
        main->Showme(QStringLiteral("Delete"), QStringLiteral("Sure?"), 1, QStringLiteral("&Yes"),
                     QStringLiteral("&No"));
        answerer.SetButton(QStringLiteral("&OK"));
        main->Showme(QStringLiteral("Odd."), QStringLiteral("Kind three."), 3, QString(),
                     QStringLiteral("&OK"));
        main->Showme(QStringLiteral("Saved."), QStringLiteral("Kind two."), 2, QString(),
                     QStringLiteral("&OK"));
        QCOMPARE(answerer.Seen.size(), 3);
        QCOMPARE(answerer.Seen[1].Sign, QStringLiteral("?"));
        QCOMPARE(answerer.Seen[1].LeftButton, QString());
        QCOMPARE(answerer.Seen[2].Sign, QStringLiteral(":"));
        QCOMPARE(Find(Fixture().Form2(), "Label1")->x(), 10);
    }

    // The left button alone answers false.
    void leftButtonAloneAnswersFalse() {
        TForm1* main = Main();
        TMessageAnswerer answerer(QStringLiteral("&Later"));
        main->Showme(QStringLiteral("Notice"), QStringLiteral("Left only."), 0,
                     QStringLiteral("&Later"), QString());
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].RightButton, QString());
        QVERIFY(!main->MessageResult());
    }

    // Only a button can say yes: after a "yes", Escape and Space (on the
    // focused right-hand button) both answer "no".
    void escapeAndSpaceAnswerNo() {
        TForm1* main = Main();
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Space}) {
            {
                TMessageAnswerer yes(QStringLiteral("&Yes"));
                main->Showme(QStringLiteral("Delete"), QStringLiteral("Sure?"), 1,
                             QStringLiteral("&Yes"), QStringLiteral("&No"));
            }
            QVERIFY(main->MessageResult());
            AnswerWithKey(key);
            main->Showme(QStringLiteral("Delete"), QStringLiteral("Sure?"), 1,
                         QStringLiteral("&Yes"), QStringLiteral("&No"));
            QVERIFY2(!main->MessageResult(), qPrintable(QKeySequence(key).toString()));
            QVERIFY(Fixture().Form2()->isHidden());
        }
        // A notice answered by Escape is no "yes" either.
        AnswerWithKey(Qt::Key_Escape);
        main->Showme(QStringLiteral("Saved."), QStringLiteral("Done."), 2, QString(),
                     QStringLiteral("&OK"));
        QVERIFY(!main->MessageResult());
    }

    // A long text wraps inside the fixed area and shows no scroll bar.
    void longTextWrapsWithoutScrollBars() {
        TForm1* main = Main();
        QString text;
        for (int word = 0; word < 120; ++word) {
            text += QStringLiteral("stargate ");
        }
        bool scrollBarShown = true;
        int documentHeight = 0;
        int viewportHeight = 0;
        WhenModalShows([&](QWidget* modal) {
            QTextEdit* box = Find<QTextEdit>(modal, "RichEdit1");
            scrollBarShown =
                box->verticalScrollBar()->isVisible() || box->horizontalScrollBar()->isVisible();
            documentHeight = qRound(box->document()->size().height());
            viewportHeight = box->viewport()->height();
            QTest::mouseClick(Find<QToolButton>(modal, "B02"), Qt::LeftButton);
        });
        main->Showme(QStringLiteral("Long."), text, 0, QString(), QStringLiteral("&OK"));
        QVERIFY(!scrollBarShown);
        QVERIFY(documentHeight > viewportHeight);
    }
};

VANTOR_GUI_TEST_MAIN(TMessageWindowTest)
#include "tst_MessageWindow.moc"
