#include "ColorBitmapButton.h"
#include "GlyphStore.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <optional>

namespace {

const QColor face(48, 48, 48);
const QColor Accent(255, 190, 55);
const QColor Magenta(226, 0, 127); // the glyph's transparent colour
const QColor Blue(0, 0, 255);
constexpr int Slice = 8;
// A 30 by 30 button centres an 8 by 8 glyph in the face inside its edges.
const QPoint glyphAt(11, 11);

// Small glyphs of one to four 8 by 8 images on a magenta ground. The up
// image: a black square at 3..4 and a blue top-left pixel; the disabled
// image: a white square at 1..2 and a grey one at 5..6.
QImage makeGlyph(int images) {
    QImage glyph(images * Slice, Slice, QImage::Format_RGB32);
    glyph.fill(Magenta);
    glyph.setPixelColor(0, 0, Blue);
    for (const QPoint at : {QPoint(3, 3), QPoint(4, 3), QPoint(3, 4), QPoint(4, 4)}) {
        glyph.setPixelColor(at, Qt::black);
        if (images > 1) {
            glyph.setPixelColor(at + QPoint(Slice - 2, -2), Qt::white);
            glyph.setPixelColor(at + QPoint(Slice + 2, 2), QColor(128, 128, 128));
        }
    }
    return glyph;
}

QImage rendered(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    widget.render(&image);
    return image;
}

std::optional<QPoint> firstPixel(const QImage& image, const QColor& color) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color) {
                return QPoint(x, y);
            }
        }
    }
    return std::nullopt;
}

bool any(const QImage& image, bool (*test)(const QColor&)) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (test(image.pixelColor(x, y))) {
                return true;
            }
        }
    }
    return false;
}

bool accentLike(const QColor& color) {
    return color.red() - color.blue() > 100;
}

bool engravedGrey(const QColor& color) {
    return color.red() == color.green() && color.green() == color.blue() && color.red() > 100 &&
           color.red() < 160;
}

} // namespace

class ColorBitmapButtonTest : public QObject {
    Q_OBJECT

private slots:
    void layout_data() {
        QTest::addColumn<int>("layout");
        QTest::addColumn<int>("margin");
        QTest::addColumn<int>("spacing");
        QTest::addColumn<QSize>("glyph");
        QTest::addColumn<QSize>("caption");
        QTest::addColumn<QPoint>("glyphAt");
        QTest::addColumn<QPoint>("captionAt");

        // The face area is 60 by 40 at 3, 3.
        const QSize glyph(16, 16);
        const QSize caption(20, 10);
        const QSize none(0, 0);
        QTest::newRow("left, centred") << int(ColorBitmapButton::blGlyphLeft) << -1 << 4 << glyph
                                       << caption << QPoint(13, 15) << QPoint(33, 18);
        QTest::newRow("right, centred") << int(ColorBitmapButton::blGlyphRight) << -1 << 4 << glyph
                                        << caption << QPoint(37, 15) << QPoint(13, 18);
        QTest::newRow("top, centred") << int(ColorBitmapButton::blGlyphTop) << -1 << 4 << glyph
                                      << caption << QPoint(25, 8) << QPoint(23, 28);
        QTest::newRow("bottom, centred") << int(ColorBitmapButton::blGlyphBottom) << -1 << 4
                                         << glyph << caption << QPoint(25, 22) << QPoint(23, 8);
        QTest::newRow("spread evenly") << int(ColorBitmapButton::blGlyphLeft) << -1 << -1 << glyph
                                       << caption << QPoint(11, 15) << QPoint(35, 18);
        QTest::newRow("margin given, spread")
            << int(ColorBitmapButton::blGlyphLeft) << 5 << -1 << glyph << caption << QPoint(8, 15)
            << QPoint(33, 18);
        QTest::newRow("both given") << int(ColorBitmapButton::blGlyphLeft) << 2 << 3 << glyph
                                    << caption << QPoint(5, 15) << QPoint(24, 18);
        QTest::newRow("caption alone is centred, spacing aside")
            << int(ColorBitmapButton::blGlyphLeft) << -1 << 4 << none << caption << QPoint(23, 23)
            << QPoint(23, 18);
        QTest::newRow("caption alone from the margin")
            << int(ColorBitmapButton::blGlyphLeft) << 5 << 4 << none << caption << QPoint(8, 23)
            << QPoint(8, 18);
        QTest::newRow("glyph alone is centred")
            << int(ColorBitmapButton::blGlyphLeft) << -1 << 4 << QSize(18, 18) << none
            << QPoint(24, 14) << QPoint(42, 23);
    }

    void layout() {
        QFETCH(int, layout);
        QFETCH(int, margin);
        QFETCH(int, spacing);
        QFETCH(QSize, glyph);
        QFETCH(QSize, caption);
        const GlyphCaptionPlace place =
            layoutGlyphAndCaption(QRect(3, 3, 60, 40), glyph, caption,
                                  ColorBitmapButton::ButtonLayout(layout), margin, spacing);
        QTEST(place.glyph, "glyphAt");
        QTEST(place.caption.topLeft(), "captionAt");
        QCOMPARE(place.caption.size(), caption);
    }

    void glyphColours_data() {
        QTest::addColumn<int>("images");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QString>("shows");

        QTest::newRow("transparent shows the face") << 1 << true << QPoint(7, 7) << "face";
        QTest::newRow("top-left pixel is picture") << 1 << true << QPoint(0, 0) << "blue";
        QTest::newRow("picture kept") << 1 << true << QPoint(3, 3) << "black";
        QTest::newRow("embossed: dark in place") << 1 << false << QPoint(3, 3) << "shadow";
        QTest::newRow("embossed: light below right") << 1 << false << QPoint(5, 5) << "highlight";
        QTest::newRow("embossed: only black pixels") << 1 << false << QPoint(0, 0) << "face";
        QTest::newRow("up image of two") << 2 << true << QPoint(3, 3) << "black";
        QTest::newRow("disabled image: white lightens")
            << 2 << false << QPoint(1, 1) << "highlight";
        QTest::newRow("disabled image: grey darkens") << 2 << false << QPoint(5, 5) << "shadow";
        QTest::newRow("disabled image: transparent") << 2 << false << QPoint(3, 3) << "face";
    }

    void glyphColours() {
        QFETCH(int, images);
        QFETCH(bool, enabled);
        QFETCH(QPoint, pixel);
        QFETCH(QString, shows);
        ColorBitmapButton button;
        button.resize(30, 30);
        button.setColor(face);
        button.setGlyph(makeGlyph(images));
        button.setEnabled(enabled);
        const QColor expected = shows == "face"        ? face
                                : shows == "blue"      ? Blue
                                : shows == "black"     ? QColor(Qt::black)
                                : shows == "highlight" ? button.palette().color(QPalette::Light)
                                                       : button.palette().color(QPalette::Dark);
        QCOMPARE(rendered(button).pixelColor(glyphAt + pixel), expected);
    }

    void pressedContentMovesDownRight() {
        ColorBitmapButton button;
        button.resize(30, 30);
        button.setGlyph(makeGlyph(1));
        const auto up = firstPixel(rendered(button), Qt::black);
        button.setDown(true);
        const auto down = firstPixel(rendered(button), Qt::black);
        QVERIFY(up && down);
        QCOMPARE(*down - *up, QPoint(1, 1));
    }

    void disabledCaptionIsEngraved() {
        ColorBitmapButton button;
        button.resize(52, 22);
        button.setText(QStringLiteral("Save"));
        button.setColor(face);
        QFont font = button.font();
        font.setPixelSize(12);
        button.setFont(font);
        QPalette colors = button.palette();
        colors.setColor(QPalette::ButtonText, Accent);
        button.setPalette(colors);
        const QImage enabled = rendered(button);
        button.setEnabled(false);
        const QImage disabled = rendered(button);
        QVERIFY(any(enabled, accentLike));
        QVERIFY(!any(disabled, accentLike));
        QVERIFY(any(disabled, engravedGrey));
    }

    void glyphCount_data() {
        QTest::addColumn<QSize>("bitmap");
        QTest::addColumn<int>("numGlyphs");

        QTest::newRow("two images") << QSize(36, 18) << 2;
        QTest::newRow("four images") << QSize(72, 18) << 4;
        QTest::newRow("five is too many") << QSize(90, 18) << 1;
        QTest::newRow("no multiple keeps the count") << QSize(20, 18) << 3;
        QTest::newRow("empty keeps the count") << QSize(0, 0) << 3;
    }

    void glyphCount() {
        QFETCH(QSize, bitmap);
        ColorBitmapButton button;
        button.setNumGlyphs(3);
        QImage glyph(bitmap, QImage::Format_RGB32);
        glyph.fill(Magenta);
        button.setGlyph(glyph);
        QTEST(button.numGlyphs(), "numGlyphs");
    }

    void settersKeepTheirRanges() {
        ColorBitmapButton button;
        button.setMargin(6);
        button.setMargin(-2);
        QCOMPARE(button.margin(), 6);
        button.setNumGlyphs(7);
        QCOMPARE(button.numGlyphs(), 4);
    }

    void kindHoldsUntilChanged_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("kind");

        QTest::newRow("untouched") << "" << int(ColorBitmapButton::bkOK);
        QTest::newRow("colour") << "colour" << int(ColorBitmapButton::bkCustom);
        QTest::newRow("default") << "default" << int(ColorBitmapButton::bkCustom);
        QTest::newRow("cancel") << "cancel" << int(ColorBitmapButton::bkCustom);
        QTest::newRow("modal result") << "modal result" << int(ColorBitmapButton::bkCustom);
    }

    void kindHoldsUntilChanged() {
        QFETCH(QString, change);
        ColorBitmapButton button;
        button.setKind(ColorBitmapButton::bkOK);
        QVERIFY(button.isDefault());
        QCOMPARE(button.modalResult(), 1);
        QCOMPARE(button.numGlyphs(), 2);
        QCOMPARE(button.glyph().size(), QSize(36, 18));
        QVERIFY(!button.text().isEmpty());
        if (change == "colour") {
            button.setColor(Qt::red);
        } else if (change == "default") {
            button.setDefault(false);
        } else if (change == "cancel") {
            button.setCancel(true);
        } else if (change == "modal result") {
            button.setModalResult(2);
        }
        QTEST(int(button.kind()), "kind");
    }

    void keysFinishTheDialog() {
        QDialog dialog;
        auto* yes = new ColorBitmapButton(&dialog);
        yes->setKind(ColorBitmapButton::bkYes);
        auto* cancel = new ColorBitmapButton(&dialog);
        cancel->setKind(ColorBitmapButton::bkCancel);
        cancel->move(0, 40);

        dialog.open();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        yes->setFocus();
        QCOMPARE(QApplication::focusWidget(), yes);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(dialog.result(), 6);
        QVERIFY(!dialog.isVisible());

        dialog.open();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        yes->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(dialog.result(), 2);
    }

    // A bkClose button closes its window, a bkHelp button opens the
    // program's help where there is one; neither then raises a click, however
    // it was clicked. Without help, bkHelp clicks as any other button.
    void kindsThatActInsteadOfClicking_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("programHasHelp");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<int>("helps");
        QTest::addColumn<bool>("windowShown");
        using B = ColorBitmapButton;
        QTest::newRow("close, mouse") << int(B::bkClose) << false << "mouse" << 0 << 0 << false;
        QTest::newRow("close, Space") << int(B::bkClose) << false << "space" << 0 << 0 << false;
        QTest::newRow("close, click()") << int(B::bkClose) << false << "call" << 0 << 0 << false;
        QTest::newRow("help") << int(B::bkHelp) << true << "mouse" << 0 << 1 << true;
        QTest::newRow("help, Space") << int(B::bkHelp) << true << "space" << 0 << 1 << true;
        QTest::newRow("help without help") << int(B::bkHelp) << false << "mouse" << 1 << 0 << true;
        QTest::newRow("custom") << int(B::bkCustom) << true << "mouse" << 1 << 0 << true;
    }
    void kindsThatActInsteadOfClicking() {
        QFETCH(int, kind);
        QFETCH(bool, programHasHelp);
        QFETCH(QString, how);
        QWidget window;
        auto* button = new ColorBitmapButton(&window);
        button->setKind(static_cast<ColorBitmapButton::ButtonKind>(kind));
        button->resize(80, 24);
        int helps = 0;
        if (programHasHelp) {
            ColorBitmapButton::setHelpHandler(
                [&helps, button](QWidget* asker) { helps += asker == button ? 1 : 100; });
        }
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        if (how == "mouse") {
            QTest::mouseClick(button, Qt::LeftButton);
        } else if (how == "space") {
            button->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        } else {
            button->click();
        }
        ColorBitmapButton::setHelpHandler({});
        QTEST(int(clicks.count()), "clicks");
        QTEST(helps, "helps");
        QTEST(window.isVisible(), "windowShown");
        // The next click is raised again.
        QCoreApplication::processEvents();
        QVERIFY(!button->signalsBlocked());
    }

    // Enter in a window that is no dialog presses its default button, unless
    // another button has the focus.
    void enterPressesTheDefaultButtonInAnyWindow() {
        QWidget window;
        auto* field = new QLineEdit(&window);
        auto* ok = new ColorBitmapButton(&window);
        ok->setDefault(true);
        ok->setGeometry(0, 30, 60, 24);
        auto* other = new ColorBitmapButton(&window);
        other->setGeometry(0, 60, 60, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy okClicks(ok, &QAbstractButton::clicked);
        QSignalSpy otherClicks(other, &QAbstractButton::clicked);
        field->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(okClicks.count(), 1);
        other->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(okClicks.count(), 1);
        QCOMPARE(otherClicks.count(), 0);
    }

    void glyphStoreSharesAndFreesSlots() {
        const int listsBefore = GlyphStore::listCount();
        {
            ColorBitmapButton first;
            ColorBitmapButton second;
            for (ColorBitmapButton* button : {&first, &second}) {
                button->resize(30, 30);
                button->setGlyph(makeGlyph(1));
                rendered(*button);
            }
            QCOMPARE(GlyphStore::listCount(), listsBefore + 1);
        }
        QCOMPARE(GlyphStore::listCount(), listsBefore);

        GlyphList& list = GlyphStore::listFor({5, 5});
        const QImage image(5, 5, QImage::Format_RGB32);
        for (const int slot : {0, 1, 2}) {
            QCOMPARE(list.add(image), slot);
        }
        list.release(1);
        QCOMPARE(list.add(image), 1);
        for (const int slot : {0, 1, 2}) {
            list.release(slot);
        }
        GlyphStore::letGo(list);
        QCOMPARE(GlyphStore::listCount(), listsBefore);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ColorBitmapButtonTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ColorBitmapButton.moc"
