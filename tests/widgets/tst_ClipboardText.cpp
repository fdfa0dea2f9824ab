#include "FlatComboBox.h"
#include "RichTextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <functional>

namespace {

// What the clipboard may hold when the user pastes.
enum class Clipboard { Text, EmptyData, OwnerGone, PictureOnly };

void fill(Clipboard kind) {
    QClipboard* clipboard = QApplication::clipboard();
    switch (kind) {
    case Clipboard::Text:
        clipboard->setText(QStringLiteral("Corvane"));
        break;
    case Clipboard::EmptyData:
        clipboard->setMimeData(new QMimeData);
        break;
    case Clipboard::OwnerGone:
        // What is left once the program that copied has ended.
        clipboard->setText(QStringLiteral("gone"));
        clipboard->clear();
        break;
    case Clipboard::PictureOnly: {
        auto* picture = new QMimeData;
        picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
        clipboard->setMimeData(picture);
        break;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(Clipboard)

// Our editable text boxes take only text from the clipboard; whatever else
// it holds, a paste changes nothing and never brings the program down.
class ClipboardTextTest : public QObject {
    Q_OBJECT

private slots:
    void onlyTextIsPasted_data() {
        QTest::addColumn<bool>("notes");
        QTest::addColumn<Clipboard>("clipboard");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        const int ctrlV = Qt::Key_V;
        const int shiftInsert = Qt::Key_Insert;
        const int ctrl = Qt::ControlModifier;
        const int shift = Qt::ShiftModifier;
        for (const bool notes : {true, false}) {
            const char* box = notes ? "notes" : "combo box";
            QTest::addRow("%s, text", box)
                << notes << Clipboard::Text << ctrlV << ctrl << "xCorvane";
            QTest::addRow("%s, empty data", box)
                << notes << Clipboard::EmptyData << ctrlV << ctrl << "x";
            QTest::addRow("%s, empty data, shift+insert", box)
                << notes << Clipboard::EmptyData << shiftInsert << shift << "x";
            QTest::addRow("%s, owner gone", box)
                << notes << Clipboard::OwnerGone << ctrlV << ctrl << "x";
            QTest::addRow("%s, owner gone, shift+insert", box)
                << notes << Clipboard::OwnerGone << shiftInsert << shift << "x";
            QTest::addRow("%s, picture only", box)
                << notes << Clipboard::PictureOnly << ctrlV << ctrl << "x";
        }
    }

    void onlyTextIsPasted() {
        QFETCH(bool, notes);
        QFETCH(Clipboard, clipboard);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QWidget window;
        QWidget* box = nullptr;
        std::function<QString()> text;
        if (notes) {
            auto* edit = new RichTextBox(&window);
            text = [edit] {
                return edit->toPlainText();
            };
            box = edit;
        } else {
            auto* combo = new FlatComboBox(&window);
            text = [combo] {
                return combo->currentText();
            };
            box = combo;
        }
        box->setGeometry(0, 0, 200, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        fill(clipboard);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        QTEST(text(), "text");
    }
};

QTEST_MAIN(ClipboardTextTest)

#include "tst_ClipboardText.moc"
