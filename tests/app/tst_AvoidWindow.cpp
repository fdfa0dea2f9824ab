#include "TestSupport.h"

#include "AvoidWindow.h"
#include "Colors.h"
#include "StarMapShape.h"
#include "MainWindow.h"
#include "StarMapWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTextEdit>
#include <QToolButton>

// The avoid-races window beside the main window, driven with mouse clicks on
// its boxes; the shipped universe.
class TAvoidWindowTest : public TProgramTest {
    Q_OBJECT

    TForm3* Avoid() const { return Fixture().Form3(); }
    QCheckBox* Box(const char* name) const { return Find<QCheckBox>(Avoid(), name); }
    void ClickBox(const char* name) const { QTest::mouseClick(Box(name), Qt::LeftButton); }
    QStringList WayLines() const {
        return Find<QTextEdit>(&Navigation(), "RichEdit1")
            ->toPlainText()
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void AskForTheWay(const QString& from, const QString& to) const {
        Find<QComboBox>(&Navigation(), "Von")->setCurrentText(from);
        Find<QComboBox>(&Navigation(), "Nach")->setCurrentText(to);
        QTest::mouseClick(Find<QToolButton>(&Navigation(), "Way"), Qt::LeftButton);
    }

    void Prepare() override {
        QTest::mouseClick(Find<QToolButton>(&Navigation(), "SpeedButton5"), Qt::LeftButton);
        QVERIFY(Avoid()->isVisible());
    }

private slots:

    void boxesStandInTheirOrderWithTheirRaces() {
        QCOMPARE(Avoid()->windowTitle(), QStringLiteral("Avoid"));
        QCOMPARE(Avoid()->size(), QSize(104, 250));
        const QList<QCheckBox*> boxes{Box("Argonen"), Box("Boronen"), Box("Paraniden"),
                                      Box("Split"),   Box("Teladi"),  Box("Xenon")};
        const QStringList captions{"Argons", "Borons", "Paranids", "Split", "Teladi", "Xenon"};
        for (int index = 0; index < boxes.size(); ++index) {
            QCheckBox* box = boxes[index];
            QCOMPARE(box->text(), captions[index]);
            QCOMPARE(box->accessibleName(), captions[index]);
            QCOMPARE(box->geometry(), QRect(9, 64 + 24 * index, 89, 17));
            QVERIFY(!box->isChecked());
            QVERIFY(box->font().bold());
            if (index > 0) {
                QCOMPARE(boxes[index - 1]->nextInFocusChain(), box);
            }
        }
        QCOMPARE(Box("Xenon")->palette().color(QPalette::WindowText), FromBgr(0x0000D7));
        QCOMPARE(Box("Teladi")->palette().color(QPalette::WindowText), FromBgr(RaceColor::Teladi));
    }

    void flagsFollowTheRaceNumbers() {
        TMessageAnswerer answerer; // the names are empty
        ClickBox("Argonen");
        ClickBox("Xenon");
        const AvoidFlags expected{false, false, false, true, false, true};
        QCOMPARE(Avoid()->Flags(), expected);
    }

    void everyClickRewritesTheWay() {
        AskForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        QCOMPARE(WayLines().size(), 6);
        ClickBox("Xenon");
        QVERIFY(Box("Xenon")->isChecked());
        const QStringList around = WayLines();
        QCOMPARE(around.size(), 14);
        QVERIFY(!around.join(QLatin1Char('\n')).contains(QStringLiteral("Hex Cradle")));
        ClickBox("Xenon");
        QCOMPARE(WayLines().size(), 6);
    }

    void aCutOffTargetLeavesTheBoxEmpty() {
        AskForTheWay(QStringLiteral("Corvane"), QStringLiteral("Hollow Orrery"));
        QCOMPARE(WayLines().size(), 4);
        ClickBox("Xenon");
        QCOMPARE(WayLines(), QStringList());
    }

    void emptyNamesRaiseBothMessages() {
        TMessageAnswerer answerer;
        ClickBox("Teladi");
        QCOMPARE(answerer.Seen.size(), 2);
        QCOMPARE(answerer.Seen[0].Caption, QStringLiteral("General error occured."));
        QCOMPARE(answerer.Seen[1].Caption, QStringLiteral("Error."));
        QCOMPARE(answerer.Seen[1].Text,
                 QStringLiteral("You have entered a wrong \"from-system\". Please correct your "
                                "entry!"));
    }

    void closedWindowKeepsAvoiding() {
        AskForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        ClickBox("Xenon");
        QTest::mouseClick(Find<QToolButton>(Avoid(), "Way"), Qt::LeftButton);
        QVERIFY(!Avoid()->isVisible());
        QVERIFY(Box("Xenon")->isChecked());
        AskForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        QCOMPARE(WayLines().size(), 14);
    }

    void withTheMapShownTheClickUsesThePickedSectors() {
        Main()->Button1Click();
        TForm4* map = Fixture().Form4();
        QTest::mouseClick(map->SectorShape(2, 1), Qt::LeftButton);
        QTest::mouseClick(map->SectorShape(4, 4), Qt::LeftButton);
        QCOMPARE(WayLines().size(), 6);
        ClickBox("Xenon");
        QCOMPARE(WayLines().size(), 14);
    }
};

VANTOR_GUI_TEST_MAIN(TAvoidWindowTest)
#include "tst_AvoidWindow.moc"
