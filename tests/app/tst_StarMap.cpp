#include "TestSupport.h"

#include "Colors.h"
#include "StarMapShape.h"
#include "NavigationPage.h"
#include "MainWindow.h"
#include "StarMapWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>

namespace {

const QList<const char*> NavigationControls{"Von", "Nach", "Way", "Label1", "Label2"};

} // namespace

// The star map as the user drives it: the real windows, mouse presses on the
// sector shapes, the shipped universe.
class TStarMapTest : public TProgramTest {
    Q_OBJECT

    TForm4* Map() const { return Fixture().Form4(); }
    TMatrixShape* Sector(int column, int row) const { return Map()->SectorShape(column, row); }
    QColor Color(std::uint32_t bgr) const { return FromBgr(bgr); }
    const TNinjaMatrix& Engine() const { return Main()->Engine(); }
    QComboBox* Box(const char* name) const { return Find<QComboBox>(&Navigation(), name); }
    QTextEdit* Output() const { return Find<QTextEdit>(&Navigation(), "RichEdit1"); }
    // The lines of the way box, as the user reads them.
    QStringList WayLines() const {
        return Output()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void CloseMap() const { QTest::mouseClick(Find<QToolButton>(Map(), "Way"), Qt::LeftButton); }
    void ReopenMap() const {
        CloseMap();
        Main()->Button1Click();
    }

    void Prepare() override {
        Main()->Button1Click();
        QVERIFY(Map()->isVisible());
    }

private slots:

    void layoutNumbersAndPlacesEveryShape() {
        QCOMPARE(Map()->windowTitle(), QStringLiteral("Starmap"));
        QCOMPARE(Map()->size(), QSize(200, 250));
        QCOMPARE(Find<QLabel>(Map(), "Image1")->pixmap().size(), QSize(196, 247));
        for (int number = 1; number <= 176; ++number) {
            QCOMPARE(Map()->MatrixShape(number)->objectName(),
                     QStringLiteral("MatrixShape%1").arg(number));
        }
        QCOMPARE(Sector(0, 0)->geometry(), QRect(9, 9, 17, 17));
        QCOMPARE(Sector(3, 5)->geometry(), QRect(81, 129, 17, 17));
        QCOMPARE(Sector(7, 2)->geometry(), QRect(176, 57, 17, 17));
        QCOMPARE(Map()->MatrixShape(NorthSouthShapeNumber(3, 2))->geometry(), QRect(88, 73, 4, 9));
        QCOMPARE(Map()->MatrixShape(EastWestShapeNumber(6, 4))->geometry(), QRect(169, 112, 9, 4));
        QCOMPARE(Find(Map(), "Way")->geometry(), QRect(8, 226, 185, 17));
        QCOMPARE(Find<QToolButton>(Map(), "Way")->text(), QStringLiteral("Close"));
    }

    void loadedSectorsCarryNameCoordinatesAndRaceOutline() {
        TMatrixShape* corvane = Sector(2, 1);
        QCOMPARE(corvane->toolTip(), QStringLiteral("Corvane"));
        QCOMPARE(corvane->accessibleName(), QStringLiteral("Corvane"));
        QCOMPARE(corvane->Column(), 2);
        QCOMPARE(corvane->Row(), 1);
        QCOMPARE(corvane->OutlineColor(), Color(Engine().Race4Color()));
        // A name outside ASCII arrives decoded.
        QCOMPARE(Sector(5, 5)->toolTip(), QStringLiteral("Caf\u00e9 Meridian"));
    }

    void emptyCellsStayHidden() {
        const QList<QPoint> empty{{7, 0}, {7, 1}, {7, 4}, {7, 5}, {7, 6},
                                  {0, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}};
        for (int column = 0; column < 8; ++column) {
            for (int row = 0; row < 8; ++row) {
                const bool hidden = empty.contains(QPoint(column, row));
                QCOMPARE(Sector(column, row)->isVisible(), !hidden);
            }
        }
        // Reopening and searching do not bring them back.
        ReopenMap();
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        QTest::mouseClick(Sector(4, 4), Qt::LeftButton);
        for (const QPoint& cell : empty) {
            QVERIFY(!Sector(cell.x(), cell.y())->isVisible());
        }
    }

    void firstClickPicksTheStart() {
        Output()->setPlainText(QStringLiteral("an earlier way"));
        Sector(3, 3)->SetFillSolid(true); // an earlier highlight
        TMatrixShape* corvane = Sector(2, 1);
        QTest::mouseClick(corvane, Qt::LeftButton);
        QCOMPARE(Box("Von")->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(Navigation().From(), (SectorPosition{2, 1}));
        QVERIFY(Map()->TargetPending());
        QVERIFY(corvane->FillSolid());
        QCOMPARE(corvane->FillColor(), Color(Palette::Green));
        QCOMPARE(corvane->OutlineColor(), Color(Palette::Green));
        QVERIFY(!Sector(3, 3)->FillSolid());
        QCOMPARE(Output()->toPlainText(), QStringLiteral("an earlier way"));
    }

    void secondClickPicksTheTargetAndShowsTheWay() {
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        // The mouse button doesn't matter.
        QTest::mouseClick(Sector(4, 4), Qt::RightButton);
        QCOMPARE(Box("Nach")->currentText(), QStringLiteral("Tallyhold"));
        QCOMPARE(Navigation().To(), (SectorPosition{4, 4}));
        QVERIFY(!Map()->TargetPending());
        const QStringList lines = WayLines();
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.first(), QStringLiteral("Corvane through east-gate to"));
        QCOMPARE(lines.last(), QStringLiteral("Tallyhold"));
        // The way replaces the start and target fills; the outlines show the races again.
        for (TMatrixShape* end : {Sector(2, 1), Sector(4, 4)}) {
            QVERIFY(end->FillSolid());
            QCOMPARE(end->FillColor(), Color(Engine().WayPointColor()));
        }
        QCOMPARE(Sector(2, 1)->OutlineColor(), Color(Engine().Race4Color()));
        QCOMPARE(Sector(4, 4)->OutlineColor(), Color(Engine().Race2Color()));
        // The third click begins a new pair.
        QTest::mouseClick(Sector(0, 0), Qt::LeftButton);
        QVERIFY(Map()->TargetPending());
        QVERIFY(!Sector(4, 4)->FillSolid());
        QCOMPARE(WayLines().size(), 6);
    }

    void sameSectorTwiceNamesItAlone() {
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        QCOMPARE(WayLines(), QStringList{QStringLiteral("Corvane")});
    }

    void navigationBoxesGiveWayWhileTheMapIsOpen() {
        for (const char* name : NavigationControls) {
            QVERIFY2(!Find(&Navigation(), name)->isEnabled(), name);
        }
        // Short description, "X", "Print" and "Avoid contact with" stay usable.
        for (const char* name : {"SpeedButton3", "SpeedButton1", "SpeedButton4", "SpeedButton5"}) {
            QVERIFY2(Find(&Navigation(), name)->isEnabled(), name);
        }
        CloseMap();
        QVERIFY(!Map()->isVisible());
        for (const char* name : NavigationControls) {
            QVERIFY2(Find(&Navigation(), name)->isEnabled(), name);
        }
    }

    void pickedStartSurvivesClosingTheMap() {
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        ReopenMap();
        QVERIFY(Map()->TargetPending());
        QTest::mouseClick(Sector(4, 4), Qt::LeftButton);
        QCOMPARE(WayLines().size(), 6);
    }

    // A request from the boxes between the two clicks can leave the picked
    // start as "no such system"; the target click then reports the start
    // instead of failing inside the map.
    // The shapes are built when the map first opens: a map opened only after
    // a search shows what one opened before it shows.
    void aMapOpenedLateShowsWhatTheEngineDrew() {
        CloseMap();
        TProgramFixture late;
        late.StartAndShow();
        for (TProgramFixture* fixture : {&Fixture(), &late}) {
            TNavigationPage& navigation = fixture->Navigation();
            Find<QComboBox>(&navigation, "Von")->setCurrentText(QStringLiteral("Corvane"));
            Find<QComboBox>(&navigation, "Nach")->setCurrentText(QStringLiteral("Tallyhold"));
            QTest::mouseClick(Find<QToolButton>(&navigation, "Way"), Qt::LeftButton);
            fixture->Form1()->Button1Click();
        }
        for (int number = 1; number <= MapShapeCount; ++number) {
            const TMatrixShape* early = Map()->MatrixShape(number);
            const TMatrixShape* opened = late.Form4()->MatrixShape(number);
            QCOMPARE(opened->isVisible(), early->isVisible());
            QCOMPARE(opened->FillColor(), early->FillColor());
            QCOMPARE(opened->OutlineColor(), early->OutlineColor());
            QCOMPARE(opened->FillSolid(), early->FillSolid());
            QCOMPARE(opened->toolTip(), early->toolTip());
        }
        QVERIFY(late.Form4()->SectorShape(2, 1)->FillSolid());
    }

    void targetAfterAFailedBoxRequestReportsTheStart() {
        TMessageAnswerer answerer;
        TErrorBoxRecorder errors;
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        CloseMap();
        Box("Von")->setCurrentText(QStringLiteral("Nowhere"));
        Box("Nach")->setCurrentText(QStringLiteral("Tallyhold"));
        QTest::mouseClick(Find<QToolButton>(&Navigation(), "Way"), Qt::LeftButton);
        QVERIFY(!Navigation().From().Known());
        Main()->Button1Click();
        QTest::mouseClick(Sector(4, 4), Qt::LeftButton);
        QCOMPARE(answerer.Seen.size(), 2);
        QVERIFY(answerer.Seen.last().Text.contains(QStringLiteral("\"from-system\"")));
        QCOMPARE(errors.Texts, QStringList());
    }
};

VANTOR_GUI_TEST_MAIN(TStarMapTest)
#include "tst_StarMap.moc"
