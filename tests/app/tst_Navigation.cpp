#include "TestSupport.h"

#include "Ausw.h"
#include "MatrixShape.h"
#include "main.h"
#include "mappy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

namespace {

const QString FromError =
    QStringLiteral("You have entered a wrong \"from-system\". Please correct your entry!");
const QString ToError =
    QStringLiteral("You have entered a wrong \"to-system\". Please correct your entry!");

const QStringList CorvaneToTallyhold{
    QStringLiteral("Corvane through east-gate to"),
    QStringLiteral("Cinder Array through south-gate to"),
    QStringLiteral("Hex Cradle through south-gate to"),
    QStringLiteral("Vector Ossuary through south-gate to"),
    QStringLiteral("Ledger's Rest through east-gate to"),
    QStringLiteral("Tallyhold"),
};

// Types the text key by key; a character beyond ASCII comes as the text of
// a key without a key code, as an input method hands it over.
void TypeInto(QComboBox* box, const QString& text) {
    QLineEdit* edit = box->lineEdit();
    edit->clear();
    for (const QChar character : text) {
        if (character.unicode() < 128) {
            QTest::keyClick(edit, character.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        }
    }
}

QStringList Lines(const QTextEdit* box) {
    const QString text = box->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

// The weight each paragraph shows, as the document holds it.
QList<bool> BoldLines(const QTextEdit* box) {
    QList<bool> bold;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        bold << (block.begin().fragment().charFormat().fontWeight() == QFont::Bold);
    }
    return bold;
}

} // namespace

class TNavigationTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        fixture_ = std::make_unique<TProgramFixture>();
        fixture_->StartAndShow();
        main_ = fixture_->Form1();
        QVERIFY(QTest::qWaitForWindowActive(main_));
    }
    void cleanup() {
        fixture_.reset();
        main_ = nullptr;
    }

    // Sorted lists of the defined systems; the boxes start empty.
    void listsHoldTheSystemsSorted() {
        QStringList items;
        for (int index = 0; index < main_->Von->count(); ++index) {
            items << main_->Von->itemText(index);
            QCOMPARE(main_->Nach->itemText(index), items.last());
        }
        QCOMPARE(main_->Nach->count(), items.size());
        QCOMPARE(items.size(), 54);
        QVERIFY(!items.contains(QString()));
        QVERIFY(items.contains(QStringLiteral("Café Meridian")));
        for (int index = 1; index < items.size(); ++index) {
            QVERIFY2(QString::compare(items[index - 1], items[index], Qt::CaseInsensitive) < 0,
                     qPrintable(items[index]));
        }
        QCOMPARE(main_->Von->currentText(), QString());
        QCOMPARE(main_->Nach->currentText(), QString());
    }

    void bothBoxesEmptyGiveTwoMessages() {
        TMessageAnswerer answerer;
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QCOMPARE(answerer.Seen.size(), 2);
        QCOMPARE(answerer.Seen[0].Caption, QStringLiteral("General error occured."));
        QCOMPARE(answerer.Seen[0].Text, QStringLiteral("You forgot to enter a keyword / ... ."));
        QCOMPARE(answerer.Seen[0].Sign, QStringLiteral(":"));
        QCOMPARE(answerer.Seen[0].LeftButton, QString());
        QCOMPARE(answerer.Seen[0].RightButton, QStringLiteral("&OK"));
        QCOMPARE(answerer.Seen[1].Caption, QStringLiteral("Error."));
        QCOMPARE(answerer.Seen[1].Text, FromError);
        QCOMPARE(answerer.Seen[1].Sign, QStringLiteral("!"));
        QVERIFY(main_->RichEdit1->toPlainText().isEmpty());
    }

    // Only the start is reported when both names are wrong; names match
    // exactly, letter case included.
    void wrongStartIsReportedOnce_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("unknown start") << QStringLiteral("Nowhere") << QStringLiteral("Tallyhold");
        QTest::newRow("both unknown") << QStringLiteral("Nowhere") << QStringLiteral("Nothing");
    }
    void wrongStartIsReportedOnce() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        TypeInto(main_->Von, from);
        TypeInto(main_->Nach, to);
        TMessageAnswerer answerer;
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Text, FromError);
        QCOMPARE(main_->Von->currentText(), from);
        QCOMPARE(main_->FromColumn, 255);
    }

    // Leaving the box by Enter must not turn the typed name into the listed one.
    void nameInWrongLetterCaseIsWrong() {
        TMessageAnswerer answerer;
        main_->Von->setFocus();
        TypeInto(main_->Von, QStringLiteral("corvane"));
        QTest::keyClick(main_->Von->lineEdit(), Qt::Key_Return);
        TypeInto(main_->Nach, QStringLiteral("Tallyhold"));
        QTest::keyClick(main_->Nach->lineEdit(), Qt::Key_Return);
        QCOMPARE(main_->Von->currentText(), QStringLiteral("corvane"));
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Text, FromError);
        QVERIFY(main_->RichEdit1->toPlainText().isEmpty());
    }

    // A wrong target after a found way: the old way goes, one message comes.
    void wrongTargetClearsTheOutput() {
        TypeInto(main_->Von, QStringLiteral("Corvane"));
        TypeInto(main_->Nach, QStringLiteral("Tallyhold"));
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QCOMPARE(Lines(main_->RichEdit1).size(), 6);
        TypeInto(main_->Nach, QStringLiteral("tallyhold"));
        TMessageAnswerer answerer;
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Caption, QStringLiteral("Error."));
        QCOMPARE(answerer.Seen[0].Text, ToError);
        QCOMPARE(main_->RichEdit1->toPlainText(), QString());
    }

    void enterInVonMovesOnEnterInNachSearches() {
        TMessageAnswerer answerer;
        main_->Von->setFocus();
        TypeInto(main_->Von, QStringLiteral("Corvane"));
        QTest::keyClick(main_->Von->lineEdit(), Qt::Key_Return);
        QVERIFY(main_->Nach->lineEdit()->hasFocus());
        QVERIFY(main_->RichEdit1->toPlainText().isEmpty());
        QVERIFY(answerer.Seen.isEmpty());
        TypeInto(main_->Nach, QStringLiteral("Tallyhold"));
        QTest::keyClick(main_->Nach->lineEdit(), Qt::Key_Return);
        QCOMPARE(Lines(main_->RichEdit1), CorvaneToTallyhold);
        QVERIFY(answerer.Seen.isEmpty());
    }

    // One paragraph per line, bold and normal by turns from a bold first line;
    // the way is painted on the star map's shapes the engine was bound to.
    void fullWayIsWrittenAndPainted() {
        TypeInto(main_->Von, QStringLiteral("Corvane"));
        TypeInto(main_->Nach, QStringLiteral("Tallyhold"));
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QCOMPARE(Lines(main_->RichEdit1), CorvaneToTallyhold);
        QCOMPARE(BoldLines(main_->RichEdit1), (QList<bool>{true, false, true, false, true, false}));
        QCOMPARE(main_->RichEdit1->placeholderText(), QString());

        const TForm4* map = fixture_->Form4();
        const TMatrixShape* corvane = map->SectorShape(2, 1);
        QCOMPARE(corvane->Hint(), std::string("Corvane"));
        QVERIFY(corvane->FillSolid());
        QCOMPARE(corvane->FillColor(), QColor(Qt::white));
        // Corvane east to Cinder Array (3, 1), then south to Hex Cradle (3, 2).
        const TMatrixShape* eastLink = map->MatrixShape(121 + 7 * 1 + 2);
        const TMatrixShape* southLink = map->MatrixShape(65 + 8 * 1 + 3);
        QCOMPARE(eastLink->FillColor(), QColor(Qt::white));
        QCOMPARE(southLink->FillColor(), QColor(Qt::white));
        QVERIFY(!map->SectorShape(0, 0)->FillSolid());
    }

    void shortDescriptionReplacesTheFullOne() {
        TypeInto(main_->Von, QStringLiteral("Corvane"));
        TypeInto(main_->Nach, QStringLiteral("Tallyhold"));
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QTest::mouseClick(main_->SpeedButton3, Qt::LeftButton);
        QCOMPARE(Lines(main_->RichEdit1), (QStringList{"east-gate", "south-gate", "south-gate",
                                                       "south-gate", "east-gate", "Tallyhold"}));
        QCOMPARE(BoldLines(main_->RichEdit1).first(), true);
    }

    // The file's byte 0xE9 shows as "é" in the lists and in the way, and the
    // typed name finds the system.
    void namesOutsideAsciiRoundTrip() {
        TypeInto(main_->Von, QStringLiteral("Café Meridian"));
        TypeInto(main_->Nach, QStringLiteral("Warbrand"));
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QCOMPARE(Lines(main_->RichEdit1),
                 (QStringList{"Café Meridian through north-gate to", "Warbrand"}));
    }

    // Avoiding Xenon takes the long way round, or leaves the box empty with
    // a placeholder that says why.
    void avoidedRacesChangeTheWay() {
        TypeInto(main_->Von, QStringLiteral("Corvane"));
        TypeInto(main_->Nach, QStringLiteral("Tallyhold"));
        fixture_->Form3()->Xenon->setChecked(true);
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        const QStringList around = Lines(main_->RichEdit1);
        QCOMPARE(around.size(), 14);
        QCOMPARE(around.first(), QStringLiteral("Corvane through north-gate to"));
        QCOMPARE(around.last(), QStringLiteral("Tallyhold"));

        TypeInto(main_->Nach, QStringLiteral("Hollow Orrery"));
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QCOMPARE(main_->RichEdit1->toPlainText(), QString());
        QCOMPARE(main_->RichEdit1->placeholderText(),
                 QStringLiteral("No way from Corvane to Hollow Orrery avoids the chosen races."));

        // The next request starts without the old explanation.
        fixture_->Form3()->Xenon->setChecked(false);
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QCOMPARE(main_->RichEdit1->placeholderText(), QString());
        QCOMPARE(Lines(main_->RichEdit1).last(), QStringLiteral("Hollow Orrery"));
    }

    // With the star map shown the request takes the sectors picked there and
    // doesn't read the boxes.
    void shownStarMapSuppliesTheSectors() {
        TypeInto(main_->Von, QStringLiteral("Nowhere"));
        fixture_->Form4()->show();
        main_->FromColumn = 2; // Corvane
        main_->FromRow = 1;
        main_->ToColumn = 4; // Tallyhold
        main_->ToRow = 4;
        TMessageAnswerer answerer;
        QTest::mouseClick(main_->SpeedButton3, Qt::LeftButton);
        QVERIFY(answerer.Seen.isEmpty());
        QCOMPARE(Lines(main_->RichEdit1).size(), 6);
        QCOMPARE(Lines(main_->RichEdit1).first(), QStringLiteral("east-gate"));
        fixture_->Form4()->close();
    }

    void clearButtonEmptiesTheBoxesAndTheOutput() {
        TypeInto(main_->Von, QStringLiteral("Corvane"));
        TypeInto(main_->Nach, QStringLiteral("Tallyhold"));
        QTest::mouseClick(main_->Way, Qt::LeftButton);
        QTest::mouseClick(main_->SpeedButton1, Qt::LeftButton);
        QCOMPARE(main_->RichEdit1->toPlainText(), QString());
        QCOMPARE(main_->Von->currentText(), QString());
        QCOMPARE(main_->Nach->currentText(), QString());
        // The picked sectors stay for the star map.
        QCOMPARE(main_->FromColumn, 2);
        QCOMPARE(main_->ToRow, 4);
    }

    void avoidButtonOpensTheAvoidWindowBeside() {
        QTest::mouseClick(main_->SpeedButton5, Qt::LeftButton);
        TForm3* avoid = fixture_->Form3();
        QVERIFY(avoid->isVisible());
        QCOMPARE(avoid->pos(), main_->pos() + QPoint(TForm1::FirstSlot, 0));
    }

private:
    std::unique_ptr<TProgramFixture> fixture_;
    TForm1* main_ = nullptr;
};

VANTOR_GUI_TEST_MAIN(TNavigationTest)
#include "tst_Navigation.moc"
