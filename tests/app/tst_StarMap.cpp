#include "TestSupport.h"

#include "Colors.h"
#include "MatrixShape.h"
#include "main.h"
#include "mappy.h"

#include <QComboBox>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>

namespace {

// The lines of the way box, as the user reads them.
QStringList WayLines(TForm1* main) {
    return main->RichEdit1->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QList<QWidget*> NavigationControls(TForm1* main) {
    return {main->Von, main->Nach, main->Way, main->Label1, main->Label2};
}

} // namespace

// The star map as the user drives it: the real windows, mouse presses on the
// sector shapes, the shipped universe.
class TStarMapTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TProgramFixture> fixture_;
    TForm1* main_ = nullptr;
    TForm4* map_ = nullptr;

    TMatrixShape* Sector(int column, int row) const { return map_->SectorShape(column, row); }
    QColor Color(std::uint32_t bgr) const { return FromBgr(bgr); }
    const TNinjaMatrix& Engine() const { return main_->NinjaMatrix1; }

private slots:
    void init() {
        fixture_ = std::make_unique<TProgramFixture>();
        fixture_->StartAndShow();
        main_ = fixture_->Form1();
        map_ = fixture_->Form4();
        main_->Button1Click();
        QVERIFY(map_->isVisible());
    }

    void cleanup() { fixture_.reset(); }

    void layoutNumbersAndPlacesEveryShape() {
        QCOMPARE(map_->windowTitle(), QStringLiteral("Starmap"));
        QCOMPARE(map_->size(), QSize(200, 250));
        QCOMPARE(map_->Image1->pixmap().size(), QSize(196, 247));
        for (int number = 1; number <= 176; ++number) {
            QCOMPARE(map_->MatrixShape(number)->objectName(),
                     QStringLiteral("MatrixShape%1").arg(number));
        }
        QCOMPARE(Sector(0, 0)->geometry(), QRect(9, 9, 17, 17));
        QCOMPARE(Sector(3, 5)->geometry(), QRect(81, 129, 17, 17));
        QCOMPARE(Sector(7, 2)->geometry(), QRect(176, 57, 17, 17));
        QCOMPARE(map_->MatrixShape(65 + 8 * 2 + 3)->geometry(), QRect(88, 73, 4, 9));
        QCOMPARE(map_->MatrixShape(121 + 7 * 4 + 6)->geometry(), QRect(169, 112, 9, 4));
        QCOMPARE(map_->Way->geometry(), QRect(8, 226, 185, 17));
        QCOMPARE(map_->Way->text(), QStringLiteral("Close"));
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
        map_->WayClick();
        main_->Button1Click();
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        QTest::mouseClick(Sector(4, 4), Qt::LeftButton);
        for (const QPoint& cell : empty) {
            QVERIFY(!Sector(cell.x(), cell.y())->isVisible());
        }
    }

    void firstClickPicksTheStart() {
        main_->RichEdit1->setPlainText(QStringLiteral("an earlier way"));
        Sector(3, 3)->SetFillSolid(true); // an earlier highlight
        TMatrixShape* corvane = Sector(2, 1);
        QTest::mouseClick(corvane, Qt::LeftButton);
        QCOMPARE(main_->Von->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(main_->FromColumn, 2);
        QCOMPARE(main_->FromRow, 1);
        QVERIFY(main_->TargetPending);
        QVERIFY(corvane->FillSolid());
        QCOMPARE(corvane->FillColor(), Color(Palette::Green));
        QCOMPARE(corvane->OutlineColor(), Color(Palette::Green));
        QVERIFY(!Sector(3, 3)->FillSolid());
        QCOMPARE(main_->RichEdit1->toPlainText(), QStringLiteral("an earlier way"));
    }

    void secondClickPicksTheTargetAndShowsTheWay() {
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        // The mouse button doesn't matter.
        QTest::mouseClick(Sector(4, 4), Qt::RightButton);
        QCOMPARE(main_->Nach->currentText(), QStringLiteral("Tallyhold"));
        QCOMPARE(main_->ToColumn, 4);
        QCOMPARE(main_->ToRow, 4);
        QVERIFY(!main_->TargetPending);
        const QStringList lines = WayLines(main_);
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
        QVERIFY(main_->TargetPending);
        QVERIFY(!Sector(4, 4)->FillSolid());
        QCOMPARE(WayLines(main_).size(), 6);
    }

    void sameSectorTwiceNamesItAlone() {
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        QCOMPARE(WayLines(main_), QStringList{QStringLiteral("Corvane")});
    }

    void navigationBoxesGiveWayWhileTheMapIsOpen() {
        for (QWidget* control : NavigationControls(main_)) {
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        }
        // Short description, "X", "Print" and "Avoid contact with" stay usable.
        QVERIFY(main_->SpeedButton3->isEnabled());
        QVERIFY(main_->SpeedButton5->isEnabled());
        QTest::mouseClick(map_->Way, Qt::LeftButton);
        QVERIFY(!map_->isVisible());
        for (QWidget* control : NavigationControls(main_)) {
            QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
        }
    }

    void pickedStartSurvivesClosingTheMap() {
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        map_->WayClick();
        main_->Button1Click();
        QVERIFY(main_->TargetPending);
        QTest::mouseClick(Sector(4, 4), Qt::LeftButton);
        QCOMPARE(WayLines(main_).size(), 6);
    }

    // A request from the boxes between the two clicks can leave the picked
    // start as "no such system"; the target click then reports the start
    // instead of failing inside the map.
    void targetAfterAFailedBoxRequestReportsTheStart() {
        TMessageAnswerer answerer;
        TErrorBoxRecorder errors;
        QTest::mouseClick(Sector(2, 1), Qt::LeftButton);
        map_->WayClick();
        main_->Von->setCurrentText(QStringLiteral("Nowhere"));
        main_->Nach->setCurrentText(QStringLiteral("Tallyhold"));
        main_->WayClick(main_->Way);
        QCOMPARE(main_->FromColumn, 255);
        main_->Button1Click();
        QTest::mouseClick(Sector(4, 4), Qt::LeftButton);
        QCOMPARE(answerer.Seen.size(), 2);
        QVERIFY(answerer.Seen.last().Text.contains(QStringLiteral("\"from-system\"")));
        QCOMPARE(errors.Texts, QStringList());
    }
};

VANTOR_GUI_TEST_MAIN(TStarMapTest)
#include "tst_StarMap.moc"
