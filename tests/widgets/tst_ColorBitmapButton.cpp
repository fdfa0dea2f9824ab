#include "ColorBitmapButton.h"
#include "GlyphStore.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QTest>
#include <optional>

namespace {

const QColor Face(48, 48, 48);
const QColor Accent(255, 190, 55);
const QColor Magenta(226, 0, 127); // the glyph's transparent colour
const QColor Blue(0, 0, 255);
constexpr int Slice = 8;
// A 30 by 30 button centres an 8 by 8 glyph in the face inside its edges.
const QPoint GlyphAt(11, 11);

// Small glyphs of one to four 8 by 8 images on a magenta ground. The up
// image: a black square at 3..4 and a blue top-left pixel; the disabled
// image: a white square at 1..2 and a grey one at 5..6.
QImage MakeGlyph(int images) {
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

QImage Rendered(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    widget.render(&image);
    return image;
}

std::optional<QPoint> FirstPixel(const QImage& image, const QColor& color) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color) {
                return QPoint(x, y);
            }
        }
    }
    return std::nullopt;
}

bool Any(const QImage& image, bool (*test)(const QColor&)) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (test(image.pixelColor(x, y))) {
                return true;
            }
        }
    }
    return false;
}

bool AccentLike(const QColor& color) {
    return color.red() - color.blue() > 100;
}

bool EngravedGrey(const QColor& color) {
    return color.red() == color.green() && color.green() == color.blue() && color.red() > 100 &&
           color.red() < 160;
}

} // namespace

class TBitBtnWithColorTest : public QObject {
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
        QTest::newRow("left, centred") << int(TBitBtnWithColor::blGlyphLeft) << -1 << 4 << glyph
                                       << caption << QPoint(13, 15) << QPoint(33, 18);
        QTest::newRow("right, centred") << int(TBitBtnWithColor::blGlyphRight) << -1 << 4 << glyph
                                        << caption << QPoint(37, 15) << QPoint(13, 18);
        QTest::newRow("top, centred") << int(TBitBtnWithColor::blGlyphTop) << -1 << 4 << glyph
                                      << caption << QPoint(25, 8) << QPoint(23, 28);
        QTest::newRow("bottom, centred") << int(TBitBtnWithColor::blGlyphBottom) << -1 << 4 << glyph
                                         << caption << QPoint(25, 22) << QPoint(23, 8);
        QTest::newRow("spread evenly") << int(TBitBtnWithColor::blGlyphLeft) << -1 << -1 << glyph
                                       << caption << QPoint(11, 15) << QPoint(35, 18);
        QTest::newRow("margin given, spread")
            << int(TBitBtnWithColor::blGlyphLeft) << 5 << -1 << glyph << caption << QPoint(8, 15)
            << QPoint(33, 18);
        QTest::newRow("both given") << int(TBitBtnWithColor::blGlyphLeft) << 2 << 3 << glyph
                                    << caption << QPoint(5, 15) << QPoint(24, 18);
        QTest::newRow("caption alone is centred, spacing aside")
            << int(TBitBtnWithColor::blGlyphLeft) << -1 << 4 << none << caption << QPoint(23, 23)
            << QPoint(23, 18);
        QTest::newRow("caption alone from the margin")
            << int(TBitBtnWithColor::blGlyphLeft) << 5 << 4 << none << caption << QPoint(8, 23)
            << QPoint(8, 18);
        QTest::newRow("glyph alone is centred")
            << int(TBitBtnWithColor::blGlyphLeft) << -1 << 4 << QSize(18, 18) << none
            << QPoint(24, 14) << QPoint(42, 23);
    }

    void layout() {
        QFETCH(int, layout);
        QFETCH(int, margin);
        QFETCH(int, spacing);
        QFETCH(QSize, glyph);
        QFETCH(QSize, caption);
        const TGlyphCaptionPlace place =
            LayoutGlyphAndCaption(QRect(3, 3, 60, 40), glyph, caption,
                                  TBitBtnWithColor::TButtonLayout(layout), margin, spacing);
        QTEST(place.Glyph, "glyphAt");
        QTEST(place.Caption.topLeft(), "captionAt");
        QCOMPARE(place.Caption.size(), caption);
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
        TBitBtnWithColor button;
        button.resize(30, 30);
        button.SetColor(Face);
        button.SetGlyph(MakeGlyph(images));
        button.setEnabled(enabled);
        const QColor expected = shows == "face"        ? Face
                                : shows == "blue"      ? Blue
                                : shows == "black"     ? QColor(Qt::black)
                                : shows == "highlight" ? button.palette().color(QPalette::Light)
                                                       : button.palette().color(QPalette::Dark);
        QCOMPARE(Rendered(button).pixelColor(GlyphAt + pixel), expected);
    }

    void pressedContentMovesDownRight() {
        TBitBtnWithColor button;
        button.resize(30, 30);
        button.SetGlyph(MakeGlyph(1));
        const auto up = FirstPixel(Rendered(button), Qt::black);
        button.setDown(true);
        const auto down = FirstPixel(Rendered(button), Qt::black);
        QVERIFY(up && down);
        QCOMPARE(*down - *up, QPoint(1, 1));
    }

    void disabledCaptionIsEngraved() {
        TBitBtnWithColor button;
        button.resize(52, 22);
        button.setText(QStringLiteral("Save"));
        button.SetColor(Face);
        QFont font = button.font();
        font.setPixelSize(12);
        button.setFont(font);
        QPalette colors = button.palette();
        colors.setColor(QPalette::ButtonText, Accent);
        button.setPalette(colors);
        const QImage enabled = Rendered(button);
        button.setEnabled(false);
        const QImage disabled = Rendered(button);
        QVERIFY(Any(enabled, AccentLike));
        QVERIFY(!Any(disabled, AccentLike));
        QVERIFY(Any(disabled, EngravedGrey));
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
        TBitBtnWithColor button;
        button.SetNumGlyphs(3);
        QImage glyph(bitmap, QImage::Format_RGB32);
        glyph.fill(Magenta);
        button.SetGlyph(glyph);
        QTEST(button.NumGlyphs(), "numGlyphs");
    }

    void settersKeepTheirRanges() {
        TBitBtnWithColor button;
        button.SetMargin(6);
        button.SetMargin(-2);
        QCOMPARE(button.Margin(), 6);
        button.SetNumGlyphs(7);
        QCOMPARE(button.NumGlyphs(), 4);
    }

    void kindHoldsUntilChanged_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("kind");

        QTest::newRow("untouched") << "" << int(TBitBtnWithColor::bkOK);
        QTest::newRow("colour") << "colour" << int(TBitBtnWithColor::bkCustom);
        QTest::newRow("default") << "default" << int(TBitBtnWithColor::bkCustom);
        QTest::newRow("cancel") << "cancel" << int(TBitBtnWithColor::bkCustom);
        QTest::newRow("modal result") << "modal result" << int(TBitBtnWithColor::bkCustom);
    }

    void kindHoldsUntilChanged() {
        QFETCH(QString, change);
        TBitBtnWithColor button;
        button.SetKind(TBitBtnWithColor::bkOK);
        QVERIFY(button.isDefault());
        QCOMPARE(button.ModalResult(), 1);
        QCOMPARE(button.NumGlyphs(), 2);
        QCOMPARE(button.Glyph().size(), QSize(36, 18));
        QVERIFY(!button.text().isEmpty());
        if (change == "colour") {
            button.SetColor(Qt::red);
        } else if (change == "default") {
            button.setDefault(false);
        } else if (change == "cancel") {
            button.SetCancel(true);
        } else if (change == "modal result") {
            button.SetModalResult(2);
        }
        QTEST(int(button.Kind()), "kind");
    }

    void keysFinishTheDialog() {
        QDialog dialog;
        auto* yes = new TBitBtnWithColor(&dialog);
        yes->SetKind(TBitBtnWithColor::bkYes);
        auto* cancel = new TBitBtnWithColor(&dialog);
        cancel->SetKind(TBitBtnWithColor::bkCancel);
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

    void glyphStoreSharesAndFreesSlots() {
        const int listsBefore = TGlyphStore::ListCount();
        {
            TBitBtnWithColor first;
            TBitBtnWithColor second;
            for (TBitBtnWithColor* button : {&first, &second}) {
                button->resize(30, 30);
                button->SetGlyph(MakeGlyph(1));
                Rendered(*button);
            }
            QCOMPARE(TGlyphStore::ListCount(), listsBefore + 1);
        }
        QCOMPARE(TGlyphStore::ListCount(), listsBefore);

        TGlyphList& list = TGlyphStore::ListFor({5, 5});
        const QImage image(5, 5, QImage::Format_RGB32);
        for (const int slot : {0, 1, 2}) {
            QCOMPARE(list.Add(image), slot);
        }
        list.Release(1);
        QCOMPARE(list.Add(image), 1);
        for (const int slot : {0, 1, 2}) {
            list.Release(slot);
        }
        TGlyphStore::LetGo(list);
        QCOMPARE(TGlyphStore::ListCount(), listsBefore);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    TBitBtnWithColorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ColorBitmapButton.moc"
