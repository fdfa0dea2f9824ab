#include "TestSupport.h"

#include "AvoidWindow.h"
#include "Colors.h"
#include "MainWindow.h"
#include "StarMapShape.h"
#include "StarMapWindow.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QTextEdit>
#include <QToolButton>

// The avoid-races window beside the main window, driven with mouse clicks on
// its boxes; the shipped universe.
class AvoidWindowTest : public ProgramTest {
    Q_OBJECT

    AvoidWindow* avoid() const { return fixture().avoidWindow(); }
    QCheckBox* box(const char* name) const { return findControl<QCheckBox>(avoid(), name); }
    void clickBox(const char* name) const { QTest::mouseClick(box(name), Qt::LeftButton); }
    QStringList wayLines() const {
        return findControl<QTextEdit>(&navigation(), "RichEdit1")
            ->toPlainText()
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void askForTheWay(const QString& from, const QString& to) const {
        findControl<QComboBox>(&navigation(), "Von")->setCurrentText(from);
        findControl<QComboBox>(&navigation(), "Nach")->setCurrentText(to);
        QTest::mouseClick(findControl<QToolButton>(&navigation(), "Way"), Qt::LeftButton);
    }

    void prepare() override {
        QTest::mouseClick(findControl<QToolButton>(&navigation(), "SpeedButton5"), Qt::LeftButton);
        QVERIFY(avoid()->isVisible());
    }

private slots:

    void boxesStandInTheirOrderWithTheirRaces() {
        QCOMPARE(avoid()->windowTitle(), QStringLiteral("Avoid"));
        QCOMPARE(avoid()->size(), QSize(104, 250));
        const QList<QCheckBox*> boxes{box("Argonen"), box("Boronen"), box("Paraniden"),
                                      box("Split"),   box("Teladi"),  box("Xenon")};
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
        QCOMPARE(box("Xenon")->palette().color(QPalette::WindowText), fromBgr(0x0000D7));
        QCOMPARE(box("Teladi")->palette().color(QPalette::WindowText), fromBgr(RaceColor::Teladi));
    }

    void flagsFollowTheRaceNumbers() {
        MessageAnswerer answerer; // the names are empty
        clickBox("Argonen");
        clickBox("Xenon");
        const AvoidFlags expected{false, false, false, true, false, true};
        QCOMPARE(avoid()->avoidFlags(), expected);
    }

    void everyClickRewritesTheWay() {
        askForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        QCOMPARE(wayLines().size(), 6);
        clickBox("Xenon");
        QVERIFY(box("Xenon")->isChecked());
        const QStringList around = wayLines();
        QCOMPARE(around.size(), 14);
        QVERIFY(!around.join(QLatin1Char('\n')).contains(QStringLiteral("Hex Cradle")));
        clickBox("Xenon");
        QCOMPARE(wayLines().size(), 6);
    }

    void aCutOffTargetLeavesTheBoxEmpty() {
        askForTheWay(QStringLiteral("Corvane"), QStringLiteral("Hollow Orrery"));
        QCOMPARE(wayLines().size(), 4);
        clickBox("Xenon");
        QCOMPARE(wayLines(), QStringList());
    }

    // However the user changes a box, with the mouse, the Space key or an
    // assistive tool's action, the way is found again once; a change the
    // program makes finds nothing.
    void everyChangeByTheUserSearchesOnce_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("searches");
        QTest::newRow("mouse") << "mouse" << 1;
        QTest::newRow("space") << "space" << 1;
        QTest::newRow("toggle action") << "toggle" << 1;
        QTest::newRow("press action") << "press" << 1;
        QTest::newRow("program") << "program" << 0;
    }
    void everyChangeByTheUserSearchesOnce() {
        QFETCH(QString, how);
        askForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        QCheckBox* xenon = box("Xenon");
        QSignalSpy searches(avoid(), &AvoidWindow::racesChanged);
        QAccessibleActionInterface* actions =
            QAccessible::queryAccessibleInterface(xenon)->actionInterface();
        if (how == "mouse") {
            clickBox("Xenon");
        } else if (how == "space") {
            QTest::qWait(10); // the click on "Find a way..." has done its work
            avoid()->activateWindow();
            QTRY_VERIFY(avoid()->isActiveWindow());
            xenon->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), xenon);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        } else if (how == "toggle") {
            actions->doAction(QAccessibleActionInterface::toggleAction());
        } else if (how == "press") {
            actions->doAction(QAccessibleActionInterface::pressAction());
        } else {
            xenon->setChecked(true);
        }
        QVERIFY(xenon->isChecked());
        QTEST(int(searches.count()), "searches");
        QCOMPARE(wayLines().size(), searches.count() == 1 ? 14 : 6);
    }

    void emptyNamesRaiseBothMessages() {
        MessageAnswerer answerer;
        clickBox("Teladi");
        QCOMPARE(answerer.seenMessages.size(), 2);
        QCOMPARE(answerer.seenMessages[0].caption, QStringLiteral("General error occured."));
        QCOMPARE(answerer.seenMessages[1].caption, QStringLiteral("Error."));
        QCOMPARE(answerer.seenMessages[1].text,
                 QStringLiteral("You have entered a wrong \"from-system\". Please correct your "
                                "entry!"));
    }

    void closedWindowKeepsAvoiding() {
        askForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        clickBox("Xenon");
        QTest::mouseClick(findControl<QToolButton>(avoid(), "Way"), Qt::LeftButton);
        QVERIFY(!avoid()->isVisible());
        QVERIFY(box("Xenon")->isChecked());
        askForTheWay(QStringLiteral("Corvane"), QStringLiteral("Tallyhold"));
        QCOMPARE(wayLines().size(), 14);
    }

    void withTheMapShownTheClickUsesThePickedSectors() {
        fixture().strip().showMap();
        StarMapWindow* map = fixture().starMapWindow();
        QTest::mouseClick(ProgramAccess::sectorShape(map, 2, 1), Qt::LeftButton);
        QTest::mouseClick(ProgramAccess::sectorShape(map, 4, 4), Qt::LeftButton);
        QCOMPARE(wayLines().size(), 6);
        clickBox("Xenon");
        QCOMPARE(wayLines().size(), 14);
    }
};

VANTOR_GUI_TEST_MAIN(AvoidWindowTest)
#include "tst_AvoidWindow.moc"
