#include "TestSupport.h"

#include "Ausw.h"
#include "Colors.h"
#include "MatrixShape.h"
#include "main.h"
#include "mappy.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTextEdit>
#include <QToolButton>

namespace {

QStringList WayLines(TForm1* main) {
    return main->RichEdit1->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

// The avoid-races window beside the main window, driven with mouse clicks on
// its boxes; the shipped universe.
class TAvoidWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TProgramFixture> fixture_;
    TForm1* main_ = nullptr;
    TForm3* avoid_ = nullptr;

    void AskForTheWay(const QString& from, const QString& to) {
        main_->Von->setCurrentText(from);
        main_->Nach->setCurrentText(to);
        QTest::mouseClick(main_->Way, Qt::LeftButton);
    }

private slots:
    void init() {
        fixture_ = std::make_unique<TProgramFixture>();
        fixture_->StartAndShow();
        main_ = fixture_->Form1();
        avoid_ = fixture_->Form3();
        QTest::mouseClick(main_->SpeedButton5, Qt::LeftButton);
        QVERIFY(avoid_->isVisible());
    }

    void cleanup() { fixture_.reset(); }

    void boxesStandInTheirOrderWithTheirRaces() {
        QCOMPARE(avoid_->windowTitle(), QStringLiteral("Avoid"));
        QCOMPARE(avoid_->size(), QSize(104, 250));
        const QList<QCheckBox*> boxes{avoid_->Argonen, avoid_->Boronen, avoid_->Paraniden,
                                      avoid_->Split,   avoid_->Teladi,  avoid_->Xenon};
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
        QCOMPARE(avoid_->Xenon->palette().color(QPalette::WindowText), FromBgr(0x0000D7));
        QCOMPARE(avoid_->Teladi->palette().color(QPalette::WindowText), FromBgr(16711808));
    }

    void flagsFollowTheRaceNumbers() {
        TMessageAnswerer answerer; // the names are empty
        QTest::mouseClick(avoid_->Argonen, Qt::LeftButton);
        QTest::mouseClick(avoid_->Xenon, Qt::LeftButton);
        const AvoidFlags expected{false, false, false, true, false, true};
        QCOMPARE(avoid_->Flags(), expected);
    }

    void everyClickRewritesTheWay() {
        AskForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        QCOMPARE(WayLines(main_).size(), 6);
        QTest::mouseClick(avoid_->Xenon, Qt::LeftButton);
        QVERIFY(avoid_->Xenon->isChecked());
        const QStringList around = WayLines(main_);
        QCOMPARE(around.size(), 14);
        QVERIFY(!around.join(QLatin1Char('\n')).contains(QStringLiteral("Hex Cradle")));
        QTest::mouseClick(avoid_->Xenon, Qt::LeftButton);
        QCOMPARE(WayLines(main_).size(), 6);
    }

    void aCutOffTargetLeavesTheBoxEmpty() {
        AskForTheWay(QStringLiteral("Corvane"), QStringLiteral("Hollow Orrery"));
        QCOMPARE(WayLines(main_).size(), 4);
        QTest::mouseClick(avoid_->Xenon, Qt::LeftButton);
        QCOMPARE(WayLines(main_), QStringList());
    }

    void emptyNamesRaiseBothMessages() {
        TMessageAnswerer answerer;
        QTest::mouseClick(avoid_->Teladi, Qt::LeftButton);
        QCOMPARE(answerer.Seen.size(), 2);
        QCOMPARE(answerer.Seen[0].Caption, QStringLiteral("General error occured."));
        QCOMPARE(answerer.Seen[1].Caption, QStringLiteral("Error."));
        QCOMPARE(answerer.Seen[1].Text,
                 QStringLiteral("You have entered a wrong \"from-system\". Please correct your "
                                "entry!"));
    }

    void closedWindowKeepsAvoiding() {
        AskForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        QTest::mouseClick(avoid_->Xenon, Qt::LeftButton);
        QTest::mouseClick(avoid_->Way, Qt::LeftButton);
        QVERIFY(!avoid_->isVisible());
        QVERIFY(avoid_->Xenon->isChecked());
        AskForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        QCOMPARE(WayLines(main_).size(), 14);
    }

    void withTheMapShownTheClickUsesThePickedSectors() {
        main_->Button1Click();
        TForm4* map = fixture_->Form4();
        QTest::mouseClick(map->SectorShape(2, 1), Qt::LeftButton);
        QTest::mouseClick(map->SectorShape(4, 4), Qt::LeftButton);
        QCOMPARE(WayLines(main_).size(), 6);
        QTest::mouseClick(avoid_->Xenon, Qt::LeftButton);
        QCOMPARE(WayLines(main_).size(), 14);
    }
};

VANTOR_GUI_TEST_MAIN(TAvoidWindowTest)
#include "tst_AvoidWindow.moc"
