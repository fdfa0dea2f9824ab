#include "FlatComboBox.h"
#include "ItemOrder.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

const QStringList Names{QStringLiteral("Alpha Base"), QStringLiteral("Amber Gate"),
                        QStringLiteral("Corvane"), QStringLiteral("Home Port")};
const QColor Ground(48, 48, 48);
const QColor Silver(192, 192, 192);

// The box on a shown window, with the keyboard focus, coloured as the main
// window colours its boxes (every colour group at once).
struct ShownBox {
    QWidget window;
    FlatComboBox* box = new FlatComboBox(&window);

    ShownBox() {
        // As the program's boxes are: a text field that completes.
        box->setComboStyle(FlatComboBox::csSimple);
        box->setGeometry(3, 17, 109, 21);
        box->addItems(Names);
        QPalette colors = box->palette();
        for (const auto role : {QPalette::Base, QPalette::Window, QPalette::Button}) {
            colors.setColor(role, Ground);
        }
        for (const auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
            colors.setColor(role, Silver);
        }
        box->setPalette(colors);
        window.resize(200, 60);
        window.show();
        window.activateWindow();
    }

    bool focused() {
        if (!QTest::qWaitForWindowActive(&window)) {
            return false;
        }
        box->setFocus();
        return QApplication::focusWidget() == box;
    }

    QImage rendered() const {
        QImage image(box->size(), QImage::Format_RGB32);
        box->render(&image);
        return image;
    }
};

// The brightest grey level of the text area, where the text is drawn.
int brightestText(const QImage& image) {
    int brightest = 0;
    for (int y = 4; y < image.height() - 4; ++y) {
        for (int x = 4; x < image.width() - 4; ++x) {
            brightest = std::max(brightest, qGray(image.pixel(x, y)));
        }
    }
    return brightest;
}

} // namespace

class FlatComboBoxTest : public QObject {
    Q_OBJECT

private slots:
    void typingThroughTheFocusWidget_data() {
        QTest::addColumn<bool>("allowEdit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");

        const int none = Qt::NoModifier;
        QTest::newRow("item's own spelling") << true << "corvane" << 0 << none << "Corvane";
        QTest::newRow("backspace")
            << true << "am" << int(Qt::Key_Backspace) << none << "Alpha Base";
        QTest::newRow("escape") << true << "am" << int(Qt::Key_Escape) << none << "";
        QTest::newRow("paste") << true << "" << int(Qt::Key_V) << int(Qt::ControlModifier)
                               << "Amber Gate";
        QTest::newRow("refused paste")
            << false << "" << int(Qt::Key_V) << int(Qt::ControlModifier) << "";
        QTest::newRow("refused shift+insert")
            << false << "" << int(Qt::Key_Insert) << int(Qt::ShiftModifier) << "";
    }

    void typingThroughTheFocusWidget() {
        QFETCH(bool, allowEdit);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QApplication::clipboard()->setText(QStringLiteral("amb"));
        ShownBox shown;
        shown.box->setAllowEdit(allowEdit);
        QVERIFY(shown.focused());
        QTest::keyClicks(QApplication::focusWidget(), typed);
        if (key != 0) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                            Qt::KeyboardModifiers(modifiers));
        }
        QTEST(shown.box->currentText(), "text");
    }

    // Without AllowEdit no paste reaches the text, also when a program sends
    // it straight to the text field; removals and whole texts still do.
    void pastesSentToTheFieldNeedAllowEdit_data() {
        QTest::addColumn<bool>("allowEdit");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("text");
        QTest::newRow("paste()") << false << "paste"
                                 << "Corvane";
        QTest::newRow("Ctrl+V to the field") << false << "ctrl+v"
                                             << "Corvane";
        QTest::newRow("insert()") << false << "insert"
                                  << "Corvane";
        QTest::newRow("paste() allowed") << true << "paste"
                                         << "Corvaneamb";
        QTest::newRow("removal") << false << "backspace"
                                 << "Corvan";
        QTest::newRow("whole text") << false << "set"
                                    << "Home Port";
    }
    void pastesSentToTheFieldNeedAllowEdit() {
        QFETCH(bool, allowEdit);
        QFETCH(QString, how);
        QApplication::clipboard()->setText(QStringLiteral("amb"));
        ShownBox shown;
        shown.box->setAllowEdit(allowEdit);
        shown.box->setEditText(QStringLiteral("Corvane"));
        QLineEdit* field = shown.box->lineEdit();
        field->end(false);
        if (how == "paste") {
            QMetaObject::invokeMethod(field, "paste");
        } else if (how == "ctrl+v") {
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        } else if (how == "insert") {
            field->insert(QStringLiteral("amb"));
        } else if (how == "backspace") {
            field->backspace();
        } else {
            shown.box->setEditText(QStringLiteral("Home Port"));
        }
        QTEST(shown.box->currentText(), "text");
    }

    // A program reads and sets the selection of the text field.
    void selectionStartAndLength() {
        FlatComboBox box;
        box.setEditText(QStringLiteral("Corvane"));
        box.setSelStart(2);
        box.setSelLength(3);
        QCOMPARE(box.lineEdit()->selectedText(), QStringLiteral("rva"));
        QCOMPARE(box.selStart(), 2);
        QCOMPARE(box.selLength(), 3);
        box.setSelStart(5);
        QCOMPARE(box.selLength(), 0);
        QCOMPARE(box.lineEdit()->cursorPosition(), 5);
    }

    // A box starts in the drop-down style. The owner-drawn styles pick an
    // item by typing its start and draw the items, in the list and the
    // current one in the face, through the owner's handler; the variable
    // style asks the owner for each item's height.
    void ownerDrawnStyles() {
        QCOMPARE(FlatComboBox().comboStyle(), FlatComboBox::csDropDown);
        ShownBox shown;
        FlatComboBox* box = shown.box;
        QList<int> inList;
        QList<int> inField;
        box->setDrawItemHandler([&](QPainter& painter, const QRect& rect, int index,
                                    FlatComboBox::ItemDrawState state) {
            (state.inField ? inField : inList) << index;
            painter.fillRect(rect, Qt::red);
        });
        box->setMeasureItemHandler([](int index) { return 10 + index; });
        box->setComboStyle(FlatComboBox::csOwnerDrawVariable);
        QVERIFY(!box->isEditable());
        QCOMPARE(box->view()->sizeHintForRow(3), 13);
        QVERIFY(shown.focused());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("co"));
        QCOMPARE(box->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(QColor(shown.rendered().pixel(10, 10)), QColor(Qt::red));
        QVERIFY(inField.contains(2));
        box->showPopup();
        QTRY_VERIFY(inList.contains(0) && inList.contains(3));
        box->hidePopup();
    }

    void returnReachesTheOwnerOnce() {
        ShownBox shown;
        QVERIFY(shown.focused());
        QSignalSpy returns(shown.box, &FlatComboBox::returnPressed);
        QList<QChar> reported;
        connect(shown.box, &FlatComboBox::keyPressed, this,
                [&reported](QChar& key) { reported << key; });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(returns.count(), 1);
        QCOMPARE(reported, (QList<QChar>{u'c', u'\r'}));
        QCOMPARE(shown.box->currentText(), QStringLiteral("Corvane"));
    }

    void tabLeavesTheBoxAndItIsNamed() {
        ShownBox shown;
        shown.box->setAccessibleName(QStringLiteral("From"));
        auto* next = new FlatComboBox(&shown.window);
        next->setGeometry(3, 40, 109, 21);
        next->show();
        QVERIFY(shown.focused());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
        const QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(shown.box);
        QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("From"));
    }

    void wheelStepsThroughTheItems() {
        ShownBox shown;
        shown.box->setCurrentIndex(1);
        QSignalSpy clicks(shown.box, &FlatComboBox::clicked);
        const QPointF inside(10, 10);
        QWheelEvent notchDown(inside, shown.box->mapToGlobal(inside), {}, {0, -120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(shown.box, &notchDown);
        QCOMPARE(shown.box->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(shown.box->lineEdit()->selectedText(), QStringLiteral("Corvane"));
        QCOMPARE(clicks.count(), 1);
    }

    void sortedBoxCompletesTheAlphabeticallyFirst() {
        FlatComboBox box;
        box.setSorted(true);
        box.addItems({QStringLiteral("home Port"), QStringLiteral("Hadal Rim")});
        box.addItem(QStringLiteral("Halo Drift"));
        QCOMPARE(box.itemText(0), QStringLiteral("Hadal Rim"));
        QCOMPARE(box.itemText(1), QStringLiteral("Halo Drift"));
        QCOMPARE(box.itemText(2), QStringLiteral("home Port"));
        QVERIFY(box.completeText(QStringLiteral("h")));
        QCOMPARE(box.currentText(), QStringLiteral("Hadal Rim"));
    }

    // A whole list set at once takes the order that adding it gives, equal
    // texts and letter case included, and replaces the items before.
    void aListSetAtOnceIsOrderedAsAddingOrders() {
        const QStringList texts{"home Port", "Hadal Rim", "b",    "Home port",
                                "\u00c4gir", "a",         "B",    "\u00e4gir",
                                "Hadal Rim", "Zulu",      "_dock"};
        for (const bool sorted : {true, false}) {
            FlatComboBox added;
            FlatComboBox set;
            for (FlatComboBox* box : {&added, &set}) {
                box->setSorted(sorted);
                box->addItem(QStringLiteral("old"));
            }
            added.clear();
            added.addItems(texts);
            set.setItems(texts);
            QCOMPARE(set.count(), texts.size());
            for (int index = 0; index < texts.size(); ++index) {
                QCOMPARE(set.itemText(index), added.itemText(index));
            }
        }
    }

    // The quick folding of plain ASCII folds as Unicode does.
    void sortKeysFoldAsUnicodeDoes() {
        for (const QString text :
             {"Zulu", "_dock [Z]", "MiXeD 12 @`{", "\u00c4GIR", "Stra\u00dfe"}) {
            QCOMPARE(foldedCase(text), text.toCaseFolded());
        }
    }

    void disabledBoxIsDimmed() {
        ShownBox shown;
        shown.box->setEditText(QStringLiteral("Corvane"));
        const QImage enabled = shown.rendered();
        shown.box->setEnabled(false);
        const QImage disabled = shown.rendered();
        const QColor dim = shown.box->disabledColor();
        QCOMPARE(QColor(disabled.pixel(0, 10)), dim);
        QCOMPARE_GT(brightestText(enabled), dim.lightness());
        QCOMPARE_LE(brightestText(disabled), dim.lightness());
        QCOMPARE_GT(brightestText(disabled), Ground.lightness());
    }

    void flatFrameOnTheChosenSides() {
        ShownBox shown;
        shown.box->setFrameVisible(true);
        shown.box->setFrameColor(Qt::red);
        shown.box->setFrameSides(FlatComboBox::sdLeft | FlatComboBox::sdTop);
        const QImage image = shown.rendered();
        QCOMPARE(QColor(image.pixel(0, 10)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(50, 0)), QColor(Qt::red));
        QCOMPARE(QColor(image.pixel(108, 10)), Ground);
        QCOMPARE(QColor(image.pixel(50, 20)), Ground);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    FlatComboBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_FlatComboBox.moc"
