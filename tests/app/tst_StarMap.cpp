#include "TestSupport.h"

#include "Colors.h"
#include "MainWindow.h"
#include "NavigationPage.h"
#include "StarMapShape.h"
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
class StarMapTest : public ProgramTest {
    Q_OBJECT

    StarMapWindow* map() const { return fixture().starMapWindow(); }
    StarMapShape* sectorAt(int column, int row) const {
        return ProgramAccess::sectorShape(map(), column, row);
    }
    QColor Color(std::uint32_t bgr) const { return fromBgr(bgr); }
    const RouteEngine& engine() const { return fixture().parts().engine(); }
    QComboBox* box(const char* name) const { return findControl<QComboBox>(&navigation(), name); }
    QTextEdit* output() const { return findControl<QTextEdit>(&navigation(), "RichEdit1"); }
    // The lines of the way box, as the user reads them.
    QStringList wayLines() const {
        return output()->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void closeMap() const {
        QTest::mouseClick(findControl<QToolButton>(map(), "Way"), Qt::LeftButton);
    }
    void reopenMap() const {
        closeMap();
        fixture().strip().showMap();
    }

    void prepare() override {
        fixture().strip().showMap();
        QVERIFY(map()->isVisible());
    }

private slots:

    void layoutNumbersAndPlacesEveryShape() {
        QCOMPARE(map()->windowTitle(), QStringLiteral("Starmap"));
        QCOMPARE(map()->size(), QSize(200, 250));
        QCOMPARE(findControl<QLabel>(map(), "Image1")->pixmap().size(), QSize(196, 247));
        for (int number = 1; number <= 176; ++number) {
            QCOMPARE(map()->shape(number)->objectName(),
                     QStringLiteral("MatrixShape%1").arg(number));
        }
        QCOMPARE(sectorAt(0, 0)->geometry(), QRect(9, 9, 17, 17));
        QCOMPARE(sectorAt(3, 5)->geometry(), QRect(81, 129, 17, 17));
        QCOMPARE(sectorAt(7, 2)->geometry(), QRect(176, 57, 17, 17));
        QCOMPARE(map()->shape(northSouthShapeNumber(3, 2))->geometry(), QRect(88, 73, 4, 9));
        QCOMPARE(map()->shape(eastWestShapeNumber(6, 4))->geometry(), QRect(169, 112, 9, 4));
        QCOMPARE(findControl(map(), "Way")->geometry(), QRect(8, 226, 185, 17));
        QCOMPARE(findControl<QToolButton>(map(), "Way")->text(), QStringLiteral("Close"));
    }

    void loadedSectorsCarryNameCoordinatesAndRaceOutline() {
        StarMapShape* corvane = sectorAt(2, 1);
        QCOMPARE(corvane->toolTip(), QStringLiteral("Corvane"));
        QCOMPARE(corvane->accessibleName(), QStringLiteral("Corvane"));
        QCOMPARE(corvane->column(), 2);
        QCOMPARE(corvane->row(), 1);
        QCOMPARE(corvane->outlineColor(), Color(engine().race4Color()));
        // A name outside ASCII arrives decoded.
        QCOMPARE(sectorAt(5, 5)->toolTip(), QStringLiteral("Caf\u00e9 Meridian"));
    }

    void emptyCellsStayHidden() {
        const QList<QPoint> empty{{7, 0}, {7, 1}, {7, 4}, {7, 5}, {7, 6},
                                  {0, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}};
        for (int column = 0; column < 8; ++column) {
            for (int row = 0; row < 8; ++row) {
                const bool hidden = empty.contains(QPoint(column, row));
                QCOMPARE(sectorAt(column, row)->isVisible(), !hidden);
            }
        }
        // Reopening and searching do not bring them back.
        reopenMap();
        QTest::mouseClick(sectorAt(2, 1), Qt::LeftButton);
        QTest::mouseClick(sectorAt(4, 4), Qt::LeftButton);
        for (const QPoint& cell : empty) {
            QVERIFY(!sectorAt(cell.x(), cell.y())->isVisible());
        }
    }

    void firstClickPicksTheStart() {
        output()->setPlainText(QStringLiteral("an earlier way"));
        sectorAt(3, 3)->setFillSolid(true); // an earlier highlight
        StarMapShape* corvane = sectorAt(2, 1);
        QTest::mouseClick(corvane, Qt::LeftButton);
        QCOMPARE(box("Von")->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(navigation().from(), (SectorPosition{2, 1}));
        QVERIFY(ProgramAccess::targetPending(map()));
        QVERIFY(corvane->fillSolid());
        QCOMPARE(corvane->fillColor(), Color(Palette::Green));
        QCOMPARE(corvane->outlineColor(), Color(Palette::Green));
        QVERIFY(!sectorAt(3, 3)->fillSolid());
        QCOMPARE(output()->toPlainText(), QStringLiteral("an earlier way"));
    }

    void secondClickPicksTheTargetAndShowsTheWay() {
        QTest::mouseClick(sectorAt(2, 1), Qt::LeftButton);
        // The mouse button doesn't matter.
        QTest::mouseClick(sectorAt(4, 4), Qt::RightButton);
        QCOMPARE(box("Nach")->currentText(), QStringLiteral("Tallyhold"));
        QCOMPARE(navigation().to(), (SectorPosition{4, 4}));
        QVERIFY(!ProgramAccess::targetPending(map()));
        const QStringList lines = wayLines();
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.first(), QStringLiteral("Corvane through east-gate to"));
        QCOMPARE(lines.last(), QStringLiteral("Tallyhold"));
        // The way replaces the start and target fills; the outlines show the races again.
        for (StarMapShape* end : {sectorAt(2, 1), sectorAt(4, 4)}) {
            QVERIFY(end->fillSolid());
            QCOMPARE(end->fillColor(), Color(engine().wayPointColor()));
        }
        QCOMPARE(sectorAt(2, 1)->outlineColor(), Color(engine().race4Color()));
        QCOMPARE(sectorAt(4, 4)->outlineColor(), Color(engine().race2Color()));
        // The third click begins a new pair.
        QTest::mouseClick(sectorAt(0, 0), Qt::LeftButton);
        QVERIFY(ProgramAccess::targetPending(map()));
        QVERIFY(!sectorAt(4, 4)->fillSolid());
        QCOMPARE(wayLines().size(), 6);
    }

    void sameSectorTwiceNamesItAlone() {
        QTest::mouseClick(sectorAt(2, 1), Qt::LeftButton);
        QTest::mouseClick(sectorAt(2, 1), Qt::LeftButton);
        QCOMPARE(wayLines(), QStringList{QStringLiteral("Corvane")});
    }

    void navigationBoxesGiveWayWhileTheMapIsOpen() {
        for (const char* name : NavigationControls) {
            QVERIFY2(!findControl(&navigation(), name)->isEnabled(), name);
        }
        // Short description, "X", "Print" and "Avoid contact with" stay usable.
        for (const char* name : {"SpeedButton3", "SpeedButton1", "SpeedButton4", "SpeedButton5"}) {
            QVERIFY2(findControl(&navigation(), name)->isEnabled(), name);
        }
        closeMap();
        QVERIFY(!map()->isVisible());
        for (const char* name : NavigationControls) {
            QVERIFY2(findControl(&navigation(), name)->isEnabled(), name);
        }
    }

    void pickedStartSurvivesClosingTheMap() {
        QTest::mouseClick(sectorAt(2, 1), Qt::LeftButton);
        reopenMap();
        QVERIFY(ProgramAccess::targetPending(map()));
        QTest::mouseClick(sectorAt(4, 4), Qt::LeftButton);
        QCOMPARE(wayLines().size(), 6);
    }

    // A request from the boxes between the two clicks can leave the picked
    // start as "no such system"; the target click then reports the start
    // instead of failing inside the map.
    // The shapes are built when the map first opens: a map opened only after
    // a search shows what one opened before it shows.
    void aMapOpenedLateShowsWhatTheEngineDrew() {
        closeMap();
        ProgramFixture late;
        late.startAndShow();
        for (ProgramFixture* fixture : {&fixture(), &late}) {
            NavigationPage& navigation = fixture->navigation();
            findControl<QComboBox>(&navigation, "Von")->setCurrentText(QStringLiteral("Corvane"));
            findControl<QComboBox>(&navigation, "Nach")
                ->setCurrentText(QStringLiteral("Tallyhold"));
            QTest::mouseClick(findControl<QToolButton>(&navigation, "Way"), Qt::LeftButton);
            fixture->strip().showMap();
        }
        for (int number = 1; number <= MapShapeCount; ++number) {
            const StarMapShape* early = map()->shape(number);
            const StarMapShape* opened = late.starMapWindow()->shape(number);
            QCOMPARE(opened->isVisible(), early->isVisible());
            QCOMPARE(opened->fillColor(), early->fillColor());
            QCOMPARE(opened->outlineColor(), early->outlineColor());
            QCOMPARE(opened->fillSolid(), early->fillSolid());
            QCOMPARE(opened->toolTip(), early->toolTip());
        }
        QVERIFY(ProgramAccess::sectorShape(late.starMapWindow(), 2, 1)->fillSolid());
    }

    void targetAfterAFailedBoxRequestReportsTheStart() {
        MessageAnswerer answerer;
        ErrorBoxRecorder errors;
        QTest::mouseClick(sectorAt(2, 1), Qt::LeftButton);
        closeMap();
        box("Von")->setCurrentText(QStringLiteral("Nowhere"));
        box("Nach")->setCurrentText(QStringLiteral("Tallyhold"));
        QTest::mouseClick(findControl<QToolButton>(&navigation(), "Way"), Qt::LeftButton);
        QVERIFY(!navigation().from().known());
        fixture().strip().showMap();
        QTest::mouseClick(sectorAt(4, 4), Qt::LeftButton);
        QCOMPARE(answerer.seenMessages.size(), 2);
        QVERIFY(answerer.seenMessages.last().text.contains(QStringLiteral("\"from-system\"")));
        QCOMPARE(errors.texts, QStringList());
    }
};

VANTOR_GUI_TEST_MAIN(StarMapTest)
#include "tst_StarMap.moc"
