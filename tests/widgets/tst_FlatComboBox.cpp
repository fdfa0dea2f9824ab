#include "FlatComboBox.h"
#include "ItemOrder.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
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
struct TShownBox {
    QWidget window;
    TFlatComboBox* box = new TFlatComboBox(&window);

    TShownBox() {
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

    bool Focused() {
        if (!QTest::qWaitForWindowActive(&window)) {
            return false;
        }
        box->setFocus();
        return QApplication::focusWidget() == box;
    }

    QImage Rendered() const {
        QImage image(box->size(), QImage::Format_RGB32);
        box->render(&image);
        return image;
    }
};

// The brightest grey level of the text area, where the text is drawn.
int BrightestText(const QImage& image) {
    int brightest = 0;
    for (int y = 4; y < image.height() - 4; ++y) {
        for (int x = 4; x < image.width() - 4; ++x) {
            brightest = std::max(brightest, qGray(image.pixel(x, y)));
        }
    }
    return brightest;
}

} // namespace

class TFlatComboBoxTest : public QObject {
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
        TShownBox shown;
        shown.box->SetAllowEdit(allowEdit);
        QVERIFY(shown.Focused());
        QTest::keyClicks(QApplication::focusWidget(), typed);
        if (key != 0) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                            Qt::KeyboardModifiers(modifiers));
        }
        QTEST(shown.box->currentText(), "text");
    }

    void returnReachesTheOwnerOnce() {
        TShownBox shown;
        QVERIFY(shown.Focused());
        QSignalSpy returns(shown.box, &TFlatComboBox::ReturnPressed);
        QList<QChar> reported;
        connect(shown.box, &TFlatComboBox::KeyPress, this,
                [&reported](QChar& key) { reported << key; });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(returns.count(), 1);
        QCOMPARE(reported, (QList<QChar>{u'c', u'\r'}));
        QCOMPARE(shown.box->currentText(), QStringLiteral("Corvane"));
    }

    void tabLeavesTheBoxAndItIsNamed() {
        TShownBox shown;
        shown.box->setAccessibleName(QStringLiteral("From"));
        auto* next = new TFlatComboBox(&shown.window);
        next->setGeometry(3, 40, 109, 21);
        next->show();
        QVERIFY(shown.Focused());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
        const QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(shown.box);
        QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("From"));
    }

    void wheelStepsThroughTheItems() {
        TShownBox shown;
        shown.box->setCurrentIndex(1);
        QSignalSpy clicks(shown.box, &TFlatComboBox::Click);
        const QPointF inside(10, 10);
        QWheelEvent notchDown(inside, shown.box->mapToGlobal(inside), {}, {0, -120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(shown.box, &notchDown);
        QCOMPARE(shown.box->currentText(), QStringLiteral("Corvane"));
        QCOMPARE(shown.box->lineEdit()->selectedText(), QStringLiteral("Corvane"));
        QCOMPARE(clicks.count(), 1);
    }

    void sortedBoxCompletesTheAlphabeticallyFirst() {
        TFlatComboBox box;
        box.SetSorted(true);
        box.addItems({QStringLiteral("home Port"), QStringLiteral("Hadal Rim")});
        box.addItem(QStringLiteral("Halo Drift"));
        QCOMPARE(box.itemText(0), QStringLiteral("Hadal Rim"));
        QCOMPARE(box.itemText(1), QStringLiteral("Halo Drift"));
        QCOMPARE(box.itemText(2), QStringLiteral("home Port"));
        QVERIFY(box.CompleteText(QStringLiteral("h")));
        QCOMPARE(box.currentText(), QStringLiteral("Hadal Rim"));
    }

    // A whole list set at once takes the order that adding it gives, equal
    // texts and letter case included, and replaces the items before.
    void aListSetAtOnceIsOrderedAsAddingOrders() {
        const QStringList texts{"home Port", "Hadal Rim", "b",    "Home port",
                                "\u00c4gir", "a",         "B",    "\u00e4gir",
                                "Hadal Rim", "Zulu",      "_dock"};
        for (const bool sorted : {true, false}) {
            TFlatComboBox added;
            TFlatComboBox set;
            for (TFlatComboBox* box : {&added, &set}) {
                box->SetSorted(sorted);
                box->addItem(QStringLiteral("old"));
            }
            added.clear();
            added.addItems(texts);
            set.SetItems(texts);
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
            QCOMPARE(FoldedCase(text), text.toCaseFolded());
        }
    }

    void disabledBoxIsDimmed() {
        TShownBox shown;
        shown.box->setEditText(QStringLiteral("Corvane"));
        const QImage enabled = shown.Rendered();
        shown.box->setEnabled(false);
        const QImage disabled = shown.Rendered();
        const QColor dim = shown.box->DisabledColor();
        QCOMPARE(QColor(disabled.pixel(0, 10)), dim);
        QCOMPARE_GT(BrightestText(enabled), dim.lightness());
        QCOMPARE_LE(BrightestText(disabled), dim.lightness());
        QCOMPARE_GT(BrightestText(disabled), Ground.lightness());
    }

    void flatFrameOnTheChosenSides() {
        TShownBox shown;
        shown.box->SetFrameVisible(true);
        shown.box->SetFrameColor(Qt::red);
        shown.box->SetFrameSides(TFlatComboBox::sdLeft | TFlatComboBox::sdTop);
        const QImage image = shown.Rendered();
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
    TFlatComboBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_FlatComboBox.moc"
