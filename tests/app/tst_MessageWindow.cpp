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

struct Shown {
    bool visible = false;
    QRect geometry;
    int signLeft = -1;
    QString sign;
    QString caption;
    QString text;
    bool leftShown = false;
    bool rightShown = false;
    int rightHolderLeft = -1;
    QString leftCaption;
    QString rightCaption;
};

// Presses Alt+key on the message window once it is up and notes what it
// showed; if the key does nothing the window is closed by Escape after a while
// so that the test fails instead of hanging.
void pressWithAlt(Qt::Key key, Shown& shown) {
    whenModalShows([key, &shown](QWidget* modal) {
        auto* message = qobject_cast<MessageWindow*>(modal);
        QVERIFY(message != nullptr);
        shown.visible = message->isVisible();
        shown.geometry = message->frameGeometry();
        shown.signLeft = findControl(message, "Label1")->x();
        shown.sign = findControl<QLabel>(message, "Label1")->text();
        shown.caption = findControl<QLabel>(message, "Panel4")->text();
        shown.text = findControl<QTextEdit>(message, "RichEdit1")->toPlainText();
        shown.leftShown = findControl(message, "B01P")->isVisible();
        shown.rightShown = findControl(message, "B02P")->isVisible();
        shown.rightHolderLeft = findControl(message, "B02P")->x();
        shown.leftCaption = findControl<QToolButton>(message, "B01")->text();
        shown.rightCaption = findControl<QToolButton>(message, "B02")->text();
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
void answerWithKey(Qt::Key key) {
    whenModalShows([key](QWidget* modal) {
        QVERIFY(QTest::qWaitForWindowActive(modal));
        QTest::keyClick(QApplication::focusWidget(), key);
    });
}

} // namespace

class MessageWindowTest : public ProgramTest {
    Q_OBJECT

public:
    MessageWindowTest()
        : ProgramTest(Start::Only) {}

private slots:
    void windowFrameAndSize() {
        MessageWindow* message = fixture().messageWindow();
        QCOMPARE(message->windowTitle(), QStringLiteral("Information"));
        QVERIFY(!message->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QCOMPARE(message->size(), QSize(437, 138));
        QCOMPARE(findControl(message, "RichEdit1")->accessibleName(), QStringLiteral("Message"));
        QVERIFY(message->isHidden());
    }

    // A notice with "&OK" alone: the right-hand button, true, Alt+O.
    void noticeWithOkAlone() {
        Shown shown;
        pressWithAlt(Qt::Key_O, shown);
        fixture().parts().messenger().showMessage(QStringLiteral("Saved."),
                                                  QStringLiteral("Written to the program folder."),
                                                  0, QString(), QStringLiteral("&OK"));
        QVERIFY(shown.visible);
        QVERIFY(fixture().parts().messenger().messageResult());
        QVERIFY(fixture().messageWindow()->isHidden());
        QCOMPARE(shown.caption, QStringLiteral("Saved."));
        QCOMPARE(shown.text, QStringLiteral("Written to the program folder."));
        QCOMPARE(shown.sign, QStringLiteral("!"));
        QCOMPARE(shown.signLeft, 10);
        QVERIFY(!shown.leftShown);
        QVERIFY(shown.rightShown);
        QCOMPARE(shown.rightHolderLeft, 295);
        QCOMPARE(shown.rightCaption, QStringLiteral("&OK"));
        QCOMPARE(findControl(fixture().messageWindow(), "B02")->accessibleName(),
                 QStringLiteral("OK"));
        // Centred on the screen, give or take the frame.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(shown.geometry.center().x() - screen.center().x()) <= 4);
        QVERIFY(qAbs(shown.geometry.center().y() - screen.center().y()) <= 4);
    }

    // The delete question: "&Yes" left answers true, "&No" right answers false.
    void questionYesAndNo() {
        const QString question = QStringLiteral("Are you sure you want to delete \"Corvane\"?");
        Shown yes;
        pressWithAlt(Qt::Key_Y, yes);
        fixture().parts().messenger().showMessage(QStringLiteral("Delete"), question, 1,
                                                  QStringLiteral("&Yes"), QStringLiteral("&No"));
        QVERIFY(fixture().parts().messenger().messageResult());
        QCOMPARE(yes.sign, QStringLiteral("?"));
        QCOMPARE(yes.signLeft, 6);
        QVERIFY(yes.leftShown && yes.rightShown);
        QCOMPARE(yes.leftCaption, QStringLiteral("&Yes"));
        QCOMPARE(yes.rightCaption, QStringLiteral("&No"));

        Shown no;
        pressWithAlt(Qt::Key_N, no);
        fixture().parts().messenger().showMessage(QStringLiteral("Delete"), question, 1,
                                                  QStringLiteral("&Yes"), QStringLiteral("&No"));
        QVERIFY(no.visible);
        QVERIFY(!fixture().parts().messenger().messageResult());

        // A mouse click answers the same way.
        MessageAnswerer answerer(QStringLiteral("&Yes"));
        fixture().parts().messenger().showMessage(QStringLiteral("Delete"), question, 1,
                                                  QStringLiteral("&Yes"), QStringLiteral("&No"));
        QCOMPARE(answerer.seenMessages.size(), 1);
        QVERIFY(fixture().parts().messenger().messageResult());
    }

    // Both holders are set again by every call; the sign only by kinds 0 to 2.
    void signAndButtonsFollowEachCall() {
        MessageAnswerer answerer(QStringLiteral("&No"));
        fixture().parts().messenger().showMessage(QStringLiteral("Delete"), QStringLiteral("Sure?"),
                                                  1, QStringLiteral("&Yes"), QStringLiteral("&No"));
        answerer.setButton(QStringLiteral("&OK"));
        fixture().parts().messenger().showMessage(QStringLiteral("Odd."),
                                                  QStringLiteral("Kind three."), 3, QString(),
                                                  QStringLiteral("&OK"));
        fixture().parts().messenger().showMessage(QStringLiteral("Saved."),
                                                  QStringLiteral("Kind two."), 2, QString(),
                                                  QStringLiteral("&OK"));
        QCOMPARE(answerer.seenMessages.size(), 3);
        QCOMPARE(answerer.seenMessages[1].sign, QStringLiteral("?"));
        QCOMPARE(answerer.seenMessages[1].leftButton, QString());
        QCOMPARE(answerer.seenMessages[2].sign, QStringLiteral(":"));
        QCOMPARE(findControl(fixture().messageWindow(), "Label1")->x(), 10);
    }

    // The left button alone answers false.
    void leftButtonAloneAnswersFalse() {
        MessageAnswerer answerer(QStringLiteral("&Later"));
        fixture().parts().messenger().showMessage(QStringLiteral("Notice"),
                                                  QStringLiteral("Left only."), 0,
                                                  QStringLiteral("&Later"), QString());
        QCOMPARE(answerer.seenMessages.size(), 1);
        QCOMPARE(answerer.seenMessages[0].rightButton, QString());
        QVERIFY(!fixture().parts().messenger().messageResult());
    }

    // Only a button can say yes: after a "yes", Escape and Space (on the
    // focused right-hand button) both answer "no".
    void escapeAndSpaceAnswerNo() {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Space}) {
            {
                MessageAnswerer yes(QStringLiteral("&Yes"));
                fixture().parts().messenger().showMessage(
                    QStringLiteral("Delete"), QStringLiteral("Sure?"), 1, QStringLiteral("&Yes"),
                    QStringLiteral("&No"));
            }
            QVERIFY(fixture().parts().messenger().messageResult());
            answerWithKey(key);
            fixture().parts().messenger().showMessage(
                QStringLiteral("Delete"), QStringLiteral("Sure?"), 1, QStringLiteral("&Yes"),
                QStringLiteral("&No"));
            QVERIFY2(!fixture().parts().messenger().messageResult(),
                     qPrintable(QKeySequence(key).toString()));
            QVERIFY(fixture().messageWindow()->isHidden());
        }
        // A notice answered by Escape is no "yes" either.
        answerWithKey(Qt::Key_Escape);
        fixture().parts().messenger().showMessage(QStringLiteral("Saved."), QStringLiteral("Done."),
                                                  2, QString(), QStringLiteral("&OK"));
        QVERIFY(!fixture().parts().messenger().messageResult());
    }

    // A question with two answers and a way out: the first answer has the
    // keyboard, Escape answers neither.
    void aChoiceOfTwoAnswersAndAWayOut() {
        const struct {
            QKeyCombination keys;
            Choice answer;
        } rows[] = {{Qt::ALT | Qt::Key_S, Choice::First},
                    {Qt::ALT | Qt::Key_D, Choice::Second},
                    {QKeyCombination(Qt::Key_Escape), Choice::Neither},
                    {QKeyCombination(Qt::Key_Space), Choice::First}};
        for (const auto& row : rows) {
            QString focused;
            whenModalShows([&](QWidget* modal) {
                QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                            QApplication::focusWidget()->window() == modal);
                focused = QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), row.keys.key(),
                                row.keys.keyboardModifiers());
            });
            const Choice choice = fixture().parts().messenger().choose(
                QStringLiteral("Unsaved changes."), QStringLiteral("Save the notepad?"), 1,
                QStringLiteral("&Save"), QStringLiteral("&Discard"));
            QCOMPARE(focused, QStringLiteral("B01"));
            QVERIFY2(choice == row.answer, qPrintable(QKeySequence(row.keys).toString()));
            QVERIFY(fixture().messageWindow()->isHidden());
        }
    }

    // A long text wraps inside the fixed area and shows no scroll bar.
    void longTextWrapsWithoutScrollBars() {
        QString text;
        for (int word = 0; word < 120; ++word) {
            text += QStringLiteral("stargate ");
        }
        bool scrollBarShown = true;
        int documentHeight = 0;
        int viewportHeight = 0;
        whenModalShows([&](QWidget* modal) {
            QTextEdit* box = findControl<QTextEdit>(modal, "RichEdit1");
            scrollBarShown =
                box->verticalScrollBar()->isVisible() || box->horizontalScrollBar()->isVisible();
            documentHeight = qRound(box->document()->size().height());
            viewportHeight = box->viewport()->height();
            QTest::mouseClick(findControl<QToolButton>(modal, "B02"), Qt::LeftButton);
        });
        fixture().parts().messenger().showMessage(QStringLiteral("Long."), text, 0, QString(),
                                                  QStringLiteral("&OK"));
        QVERIFY(!scrollBarShown);
        QVERIFY(documentHeight > viewportHeight);
    }
};

VANTOR_GUI_TEST_MAIN(MessageWindowTest)
#include "tst_MessageWindow.moc"
