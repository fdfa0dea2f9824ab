#include "TestSupport.h"

#include "AvoidWindow.h"
#include "Colors.h"
#include "StarMapShape.h"
#include "NavigationPage.h"
#include "WindowStrip.h"
#include "MainWindow.h"
#include "StarMapWindow.h"

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

// Whether the widget, as drawn, shows a pixel of exactly this colour.
bool Shows(QWidget* widget, const QColor& color) {
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() == color.rgb()) {
                return true;
            }
        }
    }
    return false;
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

class TNavigationTest : public TProgramTest {
    Q_OBJECT

    QComboBox* Von() const { return Find<QComboBox>(&Navigation(), "Von"); }
    QComboBox* Nach() const { return Find<QComboBox>(&Navigation(), "Nach"); }
    QTextEdit* Output() const { return Find<QTextEdit>(&Navigation(), "RichEdit1"); }
    void Click(const char* button) const {
        QTest::mouseClick(Find<QToolButton>(&Navigation(), button), Qt::LeftButton);
    }
    void FindWay(const QString& from, const QString& to) const {
        TypeInto(Von(), from);
        TypeInto(Nach(), to);
        Click("Way");
    }

private slots:
    // Sorted lists of the defined systems; the boxes start empty.
    void listsHoldTheSystemsSorted() {
        QStringList items;
        for (int index = 0; index < Von()->count(); ++index) {
            items << Von()->itemText(index);
            QCOMPARE(Nach()->itemText(index), items.last());
        }
        QCOMPARE(Nach()->count(), items.size());
        QCOMPARE(items.size(), 54);
        QVERIFY(!items.contains(QString()));
        QVERIFY(items.contains(QStringLiteral("Café Meridian")));
        for (int index = 1; index < items.size(); ++index) {
            QVERIFY2(QString::compare(items[index - 1], items[index], Qt::CaseInsensitive) < 0,
                     qPrintable(items[index]));
        }
        QCOMPARE(Von()->currentText(), QString());
        QCOMPARE(Nach()->currentText(), QString());
    }

    void bothBoxesEmptyGiveTwoMessages() {
        TMessageAnswerer answerer;
        Click("Way");
        QCOMPARE(answerer.Seen.size(), 2);
        QCOMPARE(answerer.Seen[0].Caption, QStringLiteral("General error occured."));
        QCOMPARE(answerer.Seen[0].Text, QStringLiteral("You forgot to enter a keyword / ... ."));
        QCOMPARE(answerer.Seen[0].Sign, QStringLiteral(":"));
        QCOMPARE(answerer.Seen[0].LeftButton, QString());
        QCOMPARE(answerer.Seen[0].RightButton, QStringLiteral("&OK"));
        QCOMPARE(answerer.Seen[1].Caption, QStringLiteral("Error."));
        QCOMPARE(answerer.Seen[1].Text, FromError);
        QCOMPARE(answerer.Seen[1].Sign, QStringLiteral("!"));
        QVERIFY(Output()->toPlainText().isEmpty());
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
        TypeInto(Von(), from);
        TypeInto(Nach(), to);
        TMessageAnswerer answerer;
        Click("Way");
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Text, FromError);
        QCOMPARE(Von()->currentText(), from);
        QVERIFY(!Navigation().From().Known());
    }

    // Completion ignores letter case and shows the listed spelling; a name
    // that no item begins with stays as typed and is reported.
    void typedNamesTakeTheListedSpelling() {
        TMessageAnswerer answerer;
        TypeInto(Von(), QStringLiteral("corvane"));
        PressEnter();
        TypeInto(Nach(), QStringLiteral("tallyhold"));
        PressEnter();
        QCOMPARE(Von()->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(Nach()->currentText(), QStringLiteral("Tallyhold"));
        QCOMPARE(Lines(Output()), CorvaneToTallyhold);
        QVERIFY(answerer.Seen.isEmpty());

        TypeInto(Von(), QStringLiteral("corvanes"));
        PressEnter();
        PressEnter();
        QCOMPARE(Von()->currentText(), QStringLiteral("corvanes"));
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Text, FromError);
        QVERIFY(Output()->toPlainText().isEmpty());
    }

    // A wrong target after a found way: the old way goes, one message comes.
    void wrongTargetClearsTheOutput() {
        TypeInto(Von(), QStringLiteral("Corvane"));
        TypeInto(Nach(), QStringLiteral("Tallyhold"));
        Click("Way");
        QCOMPARE(Lines(Output()).size(), 6);
        TypeInto(Nach(), QStringLiteral("Tallyholds"));
        TMessageAnswerer answerer;
        Click("Way");
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Caption, QStringLiteral("Error."));
        QCOMPARE(answerer.Seen[0].Text, ToError);
        QCOMPARE(Output()->toPlainText(), QString());
    }

    // Typed as a user types: Enter in From goes on to To, where typing goes
    // on; Enter in To finds the way.
    void enterInVonMovesOnEnterInNachSearches() {
        TMessageAnswerer answerer;
        TypeInto(Von(), QStringLiteral("Corvane"));
        PressEnter();
        QCOMPARE(QApplication::focusWidget(), Nach());
        for (const char key : QByteArray("Tallyhold")) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        QCOMPARE(Von()->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(Nach()->currentText(), QStringLiteral("Tallyhold"));
        QVERIFY(Output()->toPlainText().isEmpty());
        PressEnter();
        QCOMPARE(Lines(Output()), CorvaneToTallyhold);
        QVERIFY(answerer.Seen.isEmpty());
    }

    // One paragraph per line, bold and normal by turns from a bold first line;
    // the way is painted on the star map's shapes the engine was bound to.
    void fullWayIsWrittenAndPainted() {
        TypeInto(Von(), QStringLiteral("Corvane"));
        TypeInto(Nach(), QStringLiteral("Tallyhold"));
        Click("Way");
        QCOMPARE(Lines(Output()), CorvaneToTallyhold);
        QCOMPARE(BoldLines(Output()), (QList<bool>{true, false, true, false, true, false}));
        QCOMPARE(Output()->placeholderText(), QString());

        const TForm4* map = Fixture().Form4();
        const TMatrixShape* corvane = map->SectorShape(2, 1);
        QCOMPARE(corvane->Hint(), std::string("Corvane"));
        QVERIFY(corvane->FillSolid());
        QCOMPARE(corvane->FillColor(), QColor(Qt::white));
        // Corvane east to Cinder Array (3, 1), then south to Hex Cradle (3, 2).
        const TMatrixShape* eastLink = map->MatrixShape(EastWestShapeNumber(2, 1));
        const TMatrixShape* southLink = map->MatrixShape(NorthSouthShapeNumber(3, 1));
        QCOMPARE(eastLink->FillColor(), QColor(Qt::white));
        QCOMPARE(southLink->FillColor(), QColor(Qt::white));
        QVERIFY(!map->SectorShape(0, 0)->FillSolid());
    }

    void shortDescriptionReplacesTheFullOne() {
        TypeInto(Von(), QStringLiteral("Corvane"));
        TypeInto(Nach(), QStringLiteral("Tallyhold"));
        Click("Way");
        Click("SpeedButton3");
        QCOMPARE(Lines(Output()), (QStringList{"east-gate", "south-gate", "south-gate",
                                               "south-gate", "east-gate", "Tallyhold"}));
        QCOMPARE(BoldLines(Output()).first(), true);
    }

    // The file's byte 0xE9 shows as "é" in the lists and in the way, and the
    // typed name finds the system.
    void namesOutsideAsciiRoundTrip() {
        TypeInto(Von(), QStringLiteral("Café Meridian"));
        TypeInto(Nach(), QStringLiteral("Warbrand"));
        Click("Way");
        QCOMPARE(Lines(Output()), (QStringList{"Café Meridian through north-gate to", "Warbrand"}));
    }

    // Avoiding Xenon takes the long way round, or leaves the box empty with
    // a placeholder that says why.
    void avoidedRacesChangeTheWay() {
        TypeInto(Von(), QStringLiteral("Corvane"));
        TypeInto(Nach(), QStringLiteral("Tallyhold"));
        Find<QCheckBox>(Fixture().Form3(), "Xenon")->setChecked(true);
        Click("Way");
        const QStringList around = Lines(Output());
        QCOMPARE(around.size(), 14);
        QCOMPARE(around.first(), QStringLiteral("Corvane through north-gate to"));
        QCOMPARE(around.last(), QStringLiteral("Tallyhold"));

        TypeInto(Nach(), QStringLiteral("Hollow Orrery"));
        Click("Way");
        QCOMPARE(Output()->toPlainText(), QString());
        QCOMPARE(Output()->placeholderText(),
                 QStringLiteral("No way from Corvane to Hollow Orrery avoids the chosen races."));

        // The next request starts without the old explanation.
        Find<QCheckBox>(Fixture().Form3(), "Xenon")->setChecked(false);
        Click("Way");
        QCOMPARE(Output()->placeholderText(), QString());
        QCOMPARE(Lines(Output()).last(), QStringLiteral("Hollow Orrery"));
    }

    // With the star map shown the request takes the sectors picked there and
    // doesn't read the boxes, which are disabled and look it.
    void shownStarMapSuppliesTheSectors() {
        TypeInto(Von(), QStringLiteral("Nowhere"));
        Main()->Button1Click();
        const QColor dimmed(115, 115, 115);
        for (const char* name : {"Von", "Nach", "Way", "Label1", "Label2"}) {
            QWidget* control = Find(&Navigation(), name);
            QVERIFY2(!control->isEnabled(), name);
            QVERIFY2(!Shows(control, FromBgr(Palette::Accent)), name);
        }
        QVERIFY(Shows(Find(&Navigation(), "Label1"), dimmed));
        QVERIFY(Shows(Von(), dimmed));

        const TForm4* map = Fixture().Form4();
        QTest::mouseClick(map->SectorShape(2, 1), Qt::LeftButton); // Corvane
        QTest::mouseClick(map->SectorShape(4, 4), Qt::LeftButton); // Tallyhold
        TMessageAnswerer answerer;
        Click("SpeedButton3");
        QVERIFY(answerer.Seen.isEmpty());
        QCOMPARE(Lines(Output()).size(), 6);
        QCOMPARE(Lines(Output()).first(), QStringLiteral("east-gate"));

        Fixture().Form4()->close();
        QVERIFY(Shows(Find(&Navigation(), "Label1"), FromBgr(Palette::Accent)));
    }

    void clearButtonEmptiesTheBoxesAndTheOutput() {
        TypeInto(Von(), QStringLiteral("Corvane"));
        TypeInto(Nach(), QStringLiteral("Tallyhold"));
        Click("Way");
        Click("SpeedButton1");
        QCOMPARE(Output()->toPlainText(), QString());
        QCOMPARE(Von()->currentText(), QString());
        QCOMPARE(Nach()->currentText(), QString());
        // The picked sectors stay for the star map.
        QCOMPARE(Navigation().From(), (SectorPosition{2, 1}));
        QCOMPARE(Navigation().To(), (SectorPosition{4, 4}));
    }

    void avoidButtonOpensTheAvoidWindowBeside() {
        Click("SpeedButton5");
        TForm3* avoid = Fixture().Form3();
        QVERIFY(avoid->isVisible());
        QCOMPARE(avoid->pos(), Main()->pos() + QPoint(TWindowStrip::FirstSlot, 0));
    }
};

VANTOR_GUI_TEST_MAIN(TNavigationTest)
#include "tst_Navigation.moc"
