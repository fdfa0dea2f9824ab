#include "TestSupport.h"

#include "AvoidWindow.h"
#include "WindowStrip.h"
#include "MainWindow.h"
#include "StarMapWindow.h"

#include <QToolButton>

// The strip of windows: main window, avoid-races window, star map, with a
// common top edge; whichever window leads drags the others along.
class TPlacementTest : public TProgramTest {
    Q_OBJECT

    TForm3* Avoid() const { return Fixture().Form3(); }
    TForm4* Map() const { return Fixture().Form4(); }
    TLeader Leader() const { return Fixture().Strip().Leader(); }

    // The main window's frame position plus an offset.
    QPoint Slot(int offset) const { return Main()->pos() + QPoint(offset, 0); }

    // The user activates a window before dragging it.
    void Activate(QWidget* window) {
        window->activateWindow();
        QTRY_VERIFY(window->isActiveWindow());
    }

    void Drag(QWidget* window, QPoint to) {
        window->move(to);
        QApplication::processEvents();
    }

    void ShowAvoid() const {
        QTest::mouseClick(Find<QToolButton>(&Navigation(), "SpeedButton5"), Qt::LeftButton);
    }
    void CloseMap() const { QTest::mouseClick(Find<QToolButton>(Map(), "Way"), Qt::LeftButton); }

    void ShowBothSatellites() {
        ShowAvoid();
        Main()->Button1Click();
        QVERIFY(Avoid()->isVisible());
        QVERIFY(Map()->isVisible());
    }

    void Prepare() override { Drag(Main(), QPoint(40, 30)); }

    void showingPutsTheSatellitesIntoTheirSlots() {
        Main()->Button1Click();
        QCOMPARE(Map()->pos(), Slot(TWindowStrip::FirstSlot));
        ShowAvoid();
        QCOMPARE(Avoid()->pos(), Slot(TWindowStrip::FirstSlot));
        QCOMPARE(Map()->pos(), Slot(TWindowStrip::SecondSlot));
        CloseMap();
        Main()->Button1Click();
        QCOMPARE(Map()->pos(), Slot(TWindowStrip::SecondSlot));
    }

private slots:

    void theWindowJustShownLeads() {
        Main()->Button1Click();
        QTRY_COMPARE(Leader(), TLeader::Map);
        ShowAvoid();
        QTRY_COMPARE(Leader(), TLeader::Avoid);
        Activate(Main());
        QCOMPARE(Leader(), TLeader::Main);
    }

    void draggingTheMainWindowKeepsTheStripClosed() {
        ShowBothSatellites();
        Activate(Main());
        for (const QPoint to : {QPoint(300, 200), QPoint(5, 700), QPoint(1500, 5)}) {
            Drag(Main(), to);
            QCOMPARE(Main()->pos(), to);
            QCOMPARE(Avoid()->pos(), to + QPoint(492, 0));
            QCOMPARE(Map()->pos(), to + QPoint(602, 0));
        }
    }

    void draggingTheMainWindowMovesALoneMapToTheFirstSlot() {
        Main()->Button1Click();
        Activate(Main());
        Drag(Main(), QPoint(120, 90));
        QCOMPARE(Map()->pos(), QPoint(612, 90));
        QVERIFY(!Avoid()->isVisible());
    }

    void draggingTheMapDragsTheMainWindow() {
        Main()->Button1Click();
        Activate(Map());
        Drag(Map(), QPoint(800, 300));
        QCOMPARE(Main()->pos(), QPoint(308, 300));
        QCOMPARE(Map()->pos(), QPoint(800, 300));
    }

    void draggingTheMapDragsBothOthers() {
        ShowBothSatellites();
        Activate(Map());
        Drag(Map(), QPoint(900, 100));
        QCOMPARE(Main()->pos(), QPoint(298, 100));
        QCOMPARE(Avoid()->pos(), QPoint(790, 100));
    }

    void draggingTheAvoidWindowPlacesEvenTheHiddenMap() {
        ShowAvoid();
        Activate(Avoid());
        Drag(Avoid(), QPoint(700, 200));
        QCOMPARE(Main()->pos(), QPoint(208, 200));
        QVERIFY(!Map()->isVisible());
        QCOMPARE(Map()->pos(), QPoint(810, 200));
    }

    void closingTheAvoidWindowClosesTheGap() {
        ShowBothSatellites();
        QCOMPARE(Map()->pos(), Slot(TWindowStrip::SecondSlot));
        QTest::mouseClick(Find<QToolButton>(Avoid(), "Way"), Qt::LeftButton);
        QVERIFY(!Avoid()->isVisible());
        QCOMPARE(Map()->pos(), Slot(TWindowStrip::FirstSlot));
    }

    void followersDoNotDragTheLeader() {
        ShowBothSatellites();
        Activate(Main());
        // A program move of a follower: only the leader reacts to its own moves.
        Drag(Avoid(), QPoint(10, 10));
        Drag(Map(), QPoint(20, 20));
        QCOMPARE(Main()->pos(), QPoint(40, 30));
    }
};

VANTOR_GUI_TEST_MAIN(TPlacementTest)
#include "tst_Placement.moc"
