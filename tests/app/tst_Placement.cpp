#include "TestSupport.h"

#include "AvoidWindow.h"
#include "MainWindow.h"
#include "StarMapWindow.h"
#include "WindowStrip.h"

#include <QToolButton>

// The strip of windows: main window, avoid-races window, star map, with a
// common top edge; whichever window leads drags the others along.
class PlacementTest : public ProgramTest {
    Q_OBJECT

    AvoidWindow* avoid() const { return fixture().avoidWindow(); }
    StarMapWindow* map() const { return fixture().starMapWindow(); }
    Leader leader() const { return fixture().strip().leader(); }

    // The main window's frame position plus an offset.
    QPoint slot(int offset) const { return mainWindow()->pos() + QPoint(offset, 0); }

    // The user activates a window before dragging it.
    void activate(QWidget* window) {
        window->activateWindow();
        QTRY_VERIFY(window->isActiveWindow());
    }

    void drag(QWidget* window, QPoint to) {
        window->move(to);
        QApplication::processEvents();
    }

    void showAvoid() const {
        QTest::mouseClick(findControl<QToolButton>(&navigation(), "SpeedButton5"), Qt::LeftButton);
    }
    void closeMap() const {
        QTest::mouseClick(findControl<QToolButton>(map(), "Way"), Qt::LeftButton);
    }

    void showBothSatellites() {
        showAvoid();
        fixture().strip().showMap();
        QVERIFY(avoid()->isVisible());
        QVERIFY(map()->isVisible());
    }

    void prepare() override { drag(mainWindow(), QPoint(40, 30)); }

    void showingPutsTheSatellitesIntoTheirSlots() {
        fixture().strip().showMap();
        QCOMPARE(map()->pos(), slot(WindowStrip::FirstSlot));
        showAvoid();
        QCOMPARE(avoid()->pos(), slot(WindowStrip::FirstSlot));
        QCOMPARE(map()->pos(), slot(WindowStrip::SecondSlot));
        closeMap();
        fixture().strip().showMap();
        QCOMPARE(map()->pos(), slot(WindowStrip::SecondSlot));
    }

private slots:

    void theWindowJustShownLeads() {
        fixture().strip().showMap();
        QTRY_COMPARE(leader(), Leader::Map);
        showAvoid();
        QTRY_COMPARE(leader(), Leader::Avoid);
        activate(mainWindow());
        QCOMPARE(leader(), Leader::Main);
    }

    void draggingTheMainWindowKeepsTheStripClosed() {
        showBothSatellites();
        activate(mainWindow());
        for (const QPoint to : {QPoint(300, 200), QPoint(5, 700), QPoint(1500, 5)}) {
            drag(mainWindow(), to);
            QCOMPARE(mainWindow()->pos(), to);
            QCOMPARE(avoid()->pos(), to + QPoint(492, 0));
            QCOMPARE(map()->pos(), to + QPoint(602, 0));
        }
    }

    void draggingTheMainWindowMovesALoneMapToTheFirstSlot() {
        fixture().strip().showMap();
        activate(mainWindow());
        drag(mainWindow(), QPoint(120, 90));
        QCOMPARE(map()->pos(), QPoint(612, 90));
        QVERIFY(!avoid()->isVisible());
    }

    void draggingTheMapDragsTheMainWindow() {
        fixture().strip().showMap();
        activate(map());
        drag(map(), QPoint(800, 300));
        QCOMPARE(mainWindow()->pos(), QPoint(308, 300));
        QCOMPARE(map()->pos(), QPoint(800, 300));
    }

    void draggingTheMapDragsBothOthers() {
        showBothSatellites();
        activate(map());
        drag(map(), QPoint(900, 100));
        QCOMPARE(mainWindow()->pos(), QPoint(298, 100));
        QCOMPARE(avoid()->pos(), QPoint(790, 100));
    }

    void draggingTheAvoidWindowPlacesEvenTheHiddenMap() {
        showAvoid();
        activate(avoid());
        drag(avoid(), QPoint(700, 200));
        QCOMPARE(mainWindow()->pos(), QPoint(208, 200));
        QVERIFY(!map()->isVisible());
        QCOMPARE(map()->pos(), QPoint(810, 200));
    }

    void closingTheAvoidWindowClosesTheGap() {
        showBothSatellites();
        QCOMPARE(map()->pos(), slot(WindowStrip::SecondSlot));
        QTest::mouseClick(findControl<QToolButton>(avoid(), "Way"), Qt::LeftButton);
        QVERIFY(!avoid()->isVisible());
        QCOMPARE(map()->pos(), slot(WindowStrip::FirstSlot));
    }

    void followersDoNotDragTheLeader() {
        showBothSatellites();
        activate(mainWindow());
        // A program move of a follower: only the leader reacts to its own moves.
        drag(avoid(), QPoint(10, 10));
        drag(map(), QPoint(20, 20));
        QCOMPARE(mainWindow()->pos(), QPoint(40, 30));
    }
};

VANTOR_GUI_TEST_MAIN(PlacementTest)
#include "tst_Placement.moc"
