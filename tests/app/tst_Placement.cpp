#include "TestSupport.h"

#include "Ausw.h"
#include "main.h"
#include "mappy.h"

#include <QToolButton>

// The strip of windows: main window, avoid-races window, star map, with a
// common top edge; whichever window leads drags the others along.
class TPlacementTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TProgramFixture> fixture_;
    TForm1* main_ = nullptr;
    TForm3* avoid_ = nullptr;
    TForm4* map_ = nullptr;

    // The main window's frame position plus an offset.
    QPoint Slot(int offset) const { return main_->pos() + QPoint(offset, 0); }

    // The user activates a window before dragging it.
    void Activate(QWidget* window) {
        window->activateWindow();
        QTRY_VERIFY(window->isActiveWindow());
    }

    void Drag(QWidget* window, QPoint to) {
        window->move(to);
        QApplication::processEvents();
    }

    void ShowBothSatellites() {
        QTest::mouseClick(main_->SpeedButton5, Qt::LeftButton);
        main_->Button1Click();
        QVERIFY(avoid_->isVisible());
        QVERIFY(map_->isVisible());
    }

private slots:
    void init() {
        fixture_ = std::make_unique<TProgramFixture>();
        fixture_->StartAndShow();
        main_ = fixture_->Form1();
        avoid_ = fixture_->Form3();
        map_ = fixture_->Form4();
        Drag(main_, QPoint(40, 30));
    }

    void cleanup() { fixture_.reset(); }

    void showingPutsTheSatellitesIntoTheirSlots() {
        main_->Button1Click();
        QCOMPARE(map_->pos(), Slot(TForm1::FirstSlot));
        QTest::mouseClick(main_->SpeedButton5, Qt::LeftButton);
        QCOMPARE(avoid_->pos(), Slot(TForm1::FirstSlot));
        QCOMPARE(map_->pos(), Slot(TForm1::SecondSlot));
        map_->WayClick();
        main_->Button1Click();
        QCOMPARE(map_->pos(), Slot(TForm1::SecondSlot));
    }

    void theWindowJustShownLeads() {
        main_->Button1Click();
        QTRY_VERIFY(main_->MapLeads);
        QVERIFY(!main_->MainLeads && !main_->AvoidLeads);
        QTest::mouseClick(main_->SpeedButton5, Qt::LeftButton);
        QTRY_VERIFY(main_->AvoidLeads);
        QVERIFY(!main_->MainLeads && !main_->MapLeads);
        Activate(main_);
        QVERIFY(main_->MainLeads && !main_->AvoidLeads && !main_->MapLeads);
    }

    void draggingTheMainWindowKeepsTheStripClosed() {
        ShowBothSatellites();
        Activate(main_);
        for (const QPoint to : {QPoint(300, 200), QPoint(5, 700), QPoint(1500, 5)}) {
            Drag(main_, to);
            QCOMPARE(main_->pos(), to);
            QCOMPARE(avoid_->pos(), to + QPoint(492, 0));
            QCOMPARE(map_->pos(), to + QPoint(602, 0));
        }
    }

    void draggingTheMainWindowMovesALoneMapToTheFirstSlot() {
        main_->Button1Click();
        Activate(main_);
        Drag(main_, QPoint(120, 90));
        QCOMPARE(map_->pos(), QPoint(612, 90));
        QVERIFY(!avoid_->isVisible());
    }

    void draggingTheMapDragsTheMainWindow() {
        main_->Button1Click();
        Activate(map_);
        Drag(map_, QPoint(800, 300));
        QCOMPARE(main_->pos(), QPoint(308, 300));
        QCOMPARE(map_->pos(), QPoint(800, 300));
    }

    void draggingTheMapDragsBothOthers() {
        ShowBothSatellites();
        Activate(map_);
        Drag(map_, QPoint(900, 100));
        QCOMPARE(main_->pos(), QPoint(298, 100));
        QCOMPARE(avoid_->pos(), QPoint(790, 100));
    }

    void draggingTheAvoidWindowPlacesEvenTheHiddenMap() {
        QTest::mouseClick(main_->SpeedButton5, Qt::LeftButton);
        Activate(avoid_);
        Drag(avoid_, QPoint(700, 200));
        QCOMPARE(main_->pos(), QPoint(208, 200));
        QVERIFY(!map_->isVisible());
        QCOMPARE(map_->pos(), QPoint(810, 200));
    }

    void closingTheAvoidWindowClosesTheGap() {
        ShowBothSatellites();
        QCOMPARE(map_->pos(), Slot(TForm1::SecondSlot));
        QTest::mouseClick(avoid_->Way, Qt::LeftButton);
        QVERIFY(!avoid_->isVisible());
        QCOMPARE(map_->pos(), Slot(TForm1::FirstSlot));
    }

    void followersDoNotDragTheLeader() {
        ShowBothSatellites();
        Activate(main_);
        // A program move of a follower: only the leader reacts to its own moves.
        Drag(avoid_, QPoint(10, 10));
        Drag(map_, QPoint(20, 20));
        QCOMPARE(main_->pos(), QPoint(40, 30));
    }
};

VANTOR_GUI_TEST_MAIN(TPlacementTest)
#include "tst_Placement.moc"
