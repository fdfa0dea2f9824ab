#include "TestSupport.h"

#include "AvoidWindow.h"
#include "Colors.h"
#include "MainWindow.h"
#include "NavigationPage.h"
#include "StarMapShape.h"
#include "StarMapWindow.h"
#include "WindowStrip.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
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
bool shows(QWidget* widget, const QColor& color) {
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

QStringList wayLines(const QTextEdit* box) {
    const QString text = box->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

// The weight each paragraph shows, as the document holds it.
QList<bool> boldLines(const QTextEdit* box) {
    QList<bool> bold;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        bold << (block.begin().fragment().charFormat().fontWeight() == QFont::Bold);
    }
    return bold;
}

} // namespace

class NavigationTest : public ProgramTest {
    Q_OBJECT

    QComboBox* fromBox() const { return findControl<QComboBox>(&navigation(), "Von"); }
    QComboBox* toBox() const { return findControl<QComboBox>(&navigation(), "Nach"); }
    QTextEdit* output() const { return findControl<QTextEdit>(&navigation(), "RichEdit1"); }
    void click(const char* button) const {
        QTest::mouseClick(findControl<QToolButton>(&navigation(), button), Qt::LeftButton);
    }
    void findWay(const QString& from, const QString& to) const {
        typeInto(fromBox(), from);
        typeInto(toBox(), to);
        click("Way");
    }
    // The way box's popup menu, as a right click opens it.
    QMenu* openWayMenu() const {
        const QPoint at(20, 20);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at,
                                  output()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(output()->viewport(), &request);
        auto* menu = findControl<QMenu>(&navigation(), "PopupMenu1");
        return QTest::qWaitForWindowExposed(menu) ? menu : nullptr;
    }
    void chooseFromWayMenu(const char* item) const {
        QMenu* menu = openWayMenu();
        QVERIFY(menu != nullptr);
        QAction* action = findControl<QAction>(menu, item);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }

private slots:
    // Sorted lists of the defined systems; the boxes start empty.
    void listsHoldTheSystemsSorted() {
        QStringList items;
        for (int index = 0; index < fromBox()->count(); ++index) {
            items << fromBox()->itemText(index);
            QCOMPARE(toBox()->itemText(index), items.last());
        }
        QCOMPARE(toBox()->count(), items.size());
        QCOMPARE(items.size(), 54);
        QVERIFY(!items.contains(QString()));
        QVERIFY(items.contains(QStringLiteral("Café Meridian")));
        for (int index = 1; index < items.size(); ++index) {
            QVERIFY2(QString::compare(items[index - 1], items[index], Qt::CaseInsensitive) < 0,
                     qPrintable(items[index]));
        }
        QCOMPARE(fromBox()->currentText(), QString());
        QCOMPARE(toBox()->currentText(), QString());
    }

    void bothBoxesEmptyGiveTwoMessages() {
        MessageAnswerer answerer;
        click("Way");
        QCOMPARE(answerer.seenMessages.size(), 2);
        QCOMPARE(answerer.seenMessages[0].caption, QStringLiteral("General error occured."));
        QCOMPARE(answerer.seenMessages[0].text,
                 QStringLiteral("You forgot to enter a keyword / ... ."));
        QCOMPARE(answerer.seenMessages[0].sign, QStringLiteral(":"));
        QCOMPARE(answerer.seenMessages[0].leftButton, QString());
        QCOMPARE(answerer.seenMessages[0].rightButton, QStringLiteral("&OK"));
        QCOMPARE(answerer.seenMessages[1].caption, QStringLiteral("Error."));
        QCOMPARE(answerer.seenMessages[1].text, FromError);
        QCOMPARE(answerer.seenMessages[1].sign, QStringLiteral("!"));
        QVERIFY(output()->toPlainText().isEmpty());
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
        typeInto(fromBox(), from);
        typeInto(toBox(), to);
        MessageAnswerer answerer;
        click("Way");
        QCOMPARE(answerer.seenMessages.size(), 1);
        QCOMPARE(answerer.seenMessages[0].text, FromError);
        QCOMPARE(fromBox()->currentText(), from);
        QVERIFY(!navigation().from().known());
    }

    // Completion ignores letter case and shows the listed spelling; a name
    // that no item begins with stays as typed and is reported.
    void typedNamesTakeTheListedSpelling() {
        MessageAnswerer answerer;
        typeInto(fromBox(), QStringLiteral("corvane"));
        pressEnter();
        typeInto(toBox(), QStringLiteral("tallyhold"));
        pressEnter();
        QCOMPARE(fromBox()->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(toBox()->currentText(), QStringLiteral("Tallyhold"));
        QCOMPARE(wayLines(output()), CorvaneToTallyhold);
        QVERIFY(answerer.seenMessages.isEmpty());

        typeInto(fromBox(), QStringLiteral("corvanes"));
        pressEnter();
        pressEnter();
        QCOMPARE(fromBox()->currentText(), QStringLiteral("corvanes"));
        QCOMPARE(answerer.seenMessages.size(), 1);
        QCOMPARE(answerer.seenMessages[0].text, FromError);
        QVERIFY(output()->toPlainText().isEmpty());
    }

    // A wrong target after a found way: the old way goes, one message comes.
    void wrongTargetClearsTheOutput() {
        typeInto(fromBox(), QStringLiteral("Corvane"));
        typeInto(toBox(), QStringLiteral("Tallyhold"));
        click("Way");
        QCOMPARE(wayLines(output()).size(), 6);
        typeInto(toBox(), QStringLiteral("Tallyholds"));
        MessageAnswerer answerer;
        click("Way");
        QCOMPARE(answerer.seenMessages.size(), 1);
        QCOMPARE(answerer.seenMessages[0].caption, QStringLiteral("Error."));
        QCOMPARE(answerer.seenMessages[0].text, ToError);
        QCOMPARE(output()->toPlainText(), QString());
    }

    // Typed as a user types: Enter in From goes on to To, where typing goes
    // on; Enter in To finds the way.
    void enterInVonMovesOnEnterInNachSearches() {
        MessageAnswerer answerer;
        typeInto(fromBox(), QStringLiteral("Corvane"));
        pressEnter();
        QCOMPARE(QApplication::focusWidget(), toBox());
        for (const char key : QByteArray("Tallyhold")) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        QCOMPARE(fromBox()->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(toBox()->currentText(), QStringLiteral("Tallyhold"));
        QVERIFY(output()->toPlainText().isEmpty());
        pressEnter();
        QCOMPARE(wayLines(output()), CorvaneToTallyhold);
        QVERIFY(answerer.seenMessages.isEmpty());
    }

    // One paragraph per line, bold and normal by turns from a bold first line;
    // the way is painted on the star map's shapes the engine was bound to.
    void fullWayIsWrittenAndPainted() {
        typeInto(fromBox(), QStringLiteral("Corvane"));
        typeInto(toBox(), QStringLiteral("Tallyhold"));
        click("Way");
        QCOMPARE(wayLines(output()), CorvaneToTallyhold);
        QCOMPARE(boldLines(output()), (QList<bool>{true, false, true, false, true, false}));
        QCOMPARE(output()->placeholderText(), QString());

        const StarMapWindow* map = fixture().starMapWindow();
        const StarMapShape* corvane = ProgramAccess::sectorShape(map, 2, 1);
        QCOMPARE(corvane->hint(), std::string("Corvane"));
        QVERIFY(corvane->fillSolid());
        QCOMPARE(corvane->fillColor(), QColor(Qt::white));
        // Corvane east to Cinder Array (3, 1), then south to Hex Cradle (3, 2).
        const StarMapShape* eastLink = map->shape(eastWestShapeNumber(2, 1));
        const StarMapShape* southLink = map->shape(northSouthShapeNumber(3, 1));
        QCOMPARE(eastLink->fillColor(), QColor(Qt::white));
        QCOMPARE(southLink->fillColor(), QColor(Qt::white));
        QVERIFY(!ProgramAccess::sectorShape(map, 0, 0)->fillSolid());
    }

    void shortDescriptionReplacesTheFullOne() {
        typeInto(fromBox(), QStringLiteral("Corvane"));
        typeInto(toBox(), QStringLiteral("Tallyhold"));
        click("Way");
        click("SpeedButton3");
        QCOMPARE(wayLines(output()), (QStringList{"east-gate", "south-gate", "south-gate",
                                                  "south-gate", "east-gate", "Tallyhold"}));
        QCOMPARE(boldLines(output()).first(), true);
    }

    // The file's byte 0xE9 shows as "é" in the lists and in the way, and the
    // typed name finds the system.
    void namesOutsideAsciiRoundTrip() {
        typeInto(fromBox(), QStringLiteral("Café Meridian"));
        typeInto(toBox(), QStringLiteral("Warbrand"));
        click("Way");
        QCOMPARE(wayLines(output()),
                 (QStringList{"Café Meridian through north-gate to", "Warbrand"}));
    }

    // Avoiding Xenon takes the long way round, or leaves the box empty with
    // a placeholder that says why.
    void avoidedRacesChangeTheWay() {
        typeInto(fromBox(), QStringLiteral("Corvane"));
        typeInto(toBox(), QStringLiteral("Tallyhold"));
        findControl<QCheckBox>(fixture().avoidWindow(), "Xenon")->setChecked(true);
        click("Way");
        const QStringList around = wayLines(output());
        QCOMPARE(around.size(), 14);
        QCOMPARE(around.first(), QStringLiteral("Corvane through north-gate to"));
        QCOMPARE(around.last(), QStringLiteral("Tallyhold"));

        typeInto(toBox(), QStringLiteral("Hollow Orrery"));
        click("Way");
        QCOMPARE(output()->toPlainText(), QString());
        QCOMPARE(output()->placeholderText(),
                 QStringLiteral("No way from Corvane to Hollow Orrery avoids the chosen races. "
                                "The best way enters 1 of their systems (Grey Quorum)."));

        // The next request starts without the old explanation.
        findControl<QCheckBox>(fixture().avoidWindow(), "Xenon")->setChecked(false);
        click("Way");
        QCOMPARE(output()->placeholderText(), QString());
        QCOMPARE(wayLines(output()).last(), QStringLiteral("Hollow Orrery"));
    }

    // With the star map shown the request takes the sectors picked there and
    // doesn't read the boxes, which are disabled and look it.
    void shownStarMapSuppliesTheSectors() {
        typeInto(fromBox(), QStringLiteral("Nowhere"));
        fixture().strip().showMap();
        const QColor dimmed(115, 115, 115);
        for (const char* name : {"Von", "Nach", "Way", "Label1", "Label2"}) {
            QWidget* control = findControl(&navigation(), name);
            QVERIFY2(!control->isEnabled(), name);
            QVERIFY2(!shows(control, fromBgr(Palette::Accent)), name);
        }
        QVERIFY(shows(findControl(&navigation(), "Label1"), dimmed));
        QVERIFY(shows(fromBox(), dimmed));

        const StarMapWindow* map = fixture().starMapWindow();
        QTest::mouseClick(ProgramAccess::sectorShape(map, 2, 1), Qt::LeftButton); // Corvane
        QTest::mouseClick(ProgramAccess::sectorShape(map, 4, 4), Qt::LeftButton); // Tallyhold
        MessageAnswerer answerer;
        click("SpeedButton3");
        QVERIFY(answerer.seenMessages.isEmpty());
        QCOMPARE(wayLines(output()).size(), 6);
        QCOMPARE(wayLines(output()).first(), QStringLiteral("east-gate"));

        fixture().starMapWindow()->close();
        QVERIFY(shows(findControl(&navigation(), "Label1"), fromBgr(Palette::Accent)));
    }

    // "Copy way" copies the way as shown, one line per system, each ended;
    // Ctrl+C in the box copies the selection, or without one the whole way.
    void theWayIsCopiedAsText() {
        const QString full = CorvaneToTallyhold.join(u'\n') + u'\n';
        const QString gates =
            QStringLiteral("east-gate\nsouth-gate\nsouth-gate\nsouth-gate\neast-gate\nTallyhold\n");
        struct Row {
            const char* request;
            std::function<void()> copy;
            QString copied;
        };
        const auto ctrlC = [this](QList<QKeyCombination> moves) {
            QTest::mouseClick(output()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::ControlModifier);
            for (const QKeyCombination move : moves) {
                QTest::keyClick(QApplication::focusWidget(), move.key(), move.keyboardModifiers());
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        };
        const Row rows[] = {
            {"Way", [this] { chooseFromWayMenu("CopyWay"); }, full},
            {"Way", [&] { ctrlC({}); }, full},
            {"Way",
             [&] {
                 ctrlC({Qt::Key_Down, Qt::ShiftModifier | Qt::Key_End});
             },
             QStringLiteral("Cinder Array through south-gate to")},
            {"SpeedButton3", [this] { chooseFromWayMenu("CopyWay"); }, gates},
            {"SpeedButton1", [&] { ctrlC({}); }, QStringLiteral("left as it was")},
        };
        typeInto(fromBox(), QStringLiteral("Corvane"));
        typeInto(toBox(), QStringLiteral("Tallyhold"));
        for (const Row& row : rows) {
            click(row.request);
            QGuiApplication::clipboard()->setText(QStringLiteral("left as it was"));
            row.copy();
            QCOMPARE(QGuiApplication::clipboard()->text(), row.copied);
        }
        // With nothing to copy the menu offers no copy.
        QVERIFY(!findControl<QAction>(openWayMenu(), "CopyWay")->isEnabled());
        findControl<QMenu>(&navigation(), "PopupMenu1")->close();
    }

    // Where no way avoids the chosen races, the explanation names what the
    // best way through their systems costs, and the offer (its button, or
    // Ctrl+Enter in the way box) writes that way in the form last asked for
    // and paints it, the avoided systems on it red. Avoided ends count.
    void theWayThroughTheFewestAvoidedSystemsIsOffered() {
        struct Row {
            QString from;
            QString to;
            const char* request;
            bool byKey;
            QString cost;
            QStringList lines;
            QList<QPoint> way;
            QList<QPoint> avoided;
        };
        const Row rows[] = {
            {"Corvane",
             "Hollow Orrery",
             "Way",
             false,
             "1 of their systems (Grey Quorum)",
             {"Corvane through north-gate to", "Halvard's Reach through east-gate to",
              "Wanderer's Lee through east-gate to", "Obelisk Vigil through east-gate to",
              "Trine Sanctum through south-gate to", "Vesper Tetrad through west-gate to",
              "Grey Quorum through south-gate to", "Hollow Orrery"},
             {{2, 1}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {5, 1}, {4, 1}, {4, 2}},
             {{4, 1}}},
            {"Corvane",
             "Hex Cradle",
             "SpeedButton3",
             true,
             "2 of their systems (Cinder Array, Hex Cradle)",
             {"east-gate", "south-gate", "Hex Cradle"},
             {{2, 1}, {3, 1}, {3, 2}},
             {{3, 1}, {3, 2}}},
            {"Hex Cradle",
             "Tallyhold",
             "Way",
             true,
             "2 of their systems (Hex Cradle, Vector Ossuary)",
             {"Hex Cradle through south-gate to", "Vector Ossuary through south-gate to",
              "Ledger's Rest through east-gate to", "Tallyhold"},
             {{3, 2}, {3, 3}, {3, 4}, {4, 4}},
             {{3, 2}, {3, 3}}},
        };
        findControl<QCheckBox>(fixture().avoidWindow(), "Xenon")->setChecked(true);
        auto* offer = findControl<QToolButton>(&navigation(), "FewestAvoided");
        const StarMapWindow* map = fixture().starMapWindow();
        for (const Row& row : rows) {
            typeInto(fromBox(), row.from);
            typeInto(toBox(), row.to);
            click(row.request);
            QCOMPARE(output()->toPlainText(), QString());
            QCOMPARE(output()->placeholderText(),
                     "No way from " + row.from + " to " + row.to +
                         " avoids the chosen races. The best way enters " + row.cost + ".");
            QVERIFY(offer->isVisible());
            QCOMPARE(offer->accessibleName(),
                     QStringLiteral("Show the way through the fewest avoided systems"));
            if (row.byKey) {
                QTest::mouseClick(output()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
            } else {
                QTest::mouseClick(offer, Qt::LeftButton);
            }
            QCOMPARE(wayLines(output()), row.lines);
            QCOMPARE(boldLines(output()).first(), true);
            QCOMPARE(output()->placeholderText(), QString());
            QVERIFY(!offer->isVisible());
            for (const QPoint sector : row.way) {
                QCOMPARE(ProgramAccess::sectorShape(map, sector.x(), sector.y())->fillColor(),
                         row.avoided.contains(sector) ? fromBgr(Palette::Red) : QColor(Qt::white));
            }
        }
        // A way that avoids them needs no offer, and Ctrl+Enter leaves it be.
        typeInto(fromBox(), QStringLiteral("Corvane"));
        typeInto(toBox(), QStringLiteral("Tallyhold"));
        click("Way");
        QVERIFY(!offer->isVisible());
        QTest::mouseClick(output()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(wayLines(output()).size(), 14);
    }

    void clearButtonEmptiesTheBoxesAndTheOutput() {
        typeInto(fromBox(), QStringLiteral("Corvane"));
        typeInto(toBox(), QStringLiteral("Tallyhold"));
        click("Way");
        click("SpeedButton1");
        QCOMPARE(output()->toPlainText(), QString());
        QCOMPARE(fromBox()->currentText(), QString());
        QCOMPARE(toBox()->currentText(), QString());
        // The picked sectors stay for the star map.
        QCOMPARE(navigation().from(), (SectorPosition{2, 1}));
        QCOMPARE(navigation().to(), (SectorPosition{4, 4}));
    }

    void avoidButtonOpensTheAvoidWindowBeside() {
        click("SpeedButton5");
        AvoidWindow* avoid = fixture().avoidWindow();
        QVERIFY(avoid->isVisible());
        QCOMPARE(avoid->pos(), mainWindow()->pos() + QPoint(WindowStrip::FirstSlot, 0));
    }
};

VANTOR_GUI_TEST_MAIN(NavigationTest)
#include "tst_Navigation.moc"
