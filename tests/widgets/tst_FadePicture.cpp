#include "FadePicture.h"

#include <QApplication>
#include <QPainter>
#include <QPicture>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using Action = std::function<void(FadePicture&)>;
Q_DECLARE_METATYPE(Action)

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kGreen = 0xFF00FF00;

QImage solid(QSize size, QColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QImage noise(QSize size, unsigned seed) {
    std::mt19937 random(seed);
    QImage image(size, QImage::Format_RGB32);
    auto* pixels = reinterpret_cast<QRgb*>(image.bits());
    std::generate(pixels, pixels + size.width() * size.height(),
                  [&random] { return 0xFF000000u | random(); });
    return image;
}

// The reference: every byte on its own, (from * (32 - w) + to * w) / 32.
std::uint32_t byteBlend(std::uint32_t from, std::uint32_t to, int weight) {
    std::uint32_t word = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t a = (from >> shift) & 0xFF;
        const std::uint32_t b = (to >> shift) & 0xFF;
        word |= ((a * (32 - weight) + b * weight) / 32) << shift;
    }
    return word;
}

QImage blended(const QImage& from, const QImage& to, int weight) {
    QImage image(from.size(), QImage::Format_RGB32);
    for (int y = 0; y < from.height(); ++y) {
        for (int x = 0; x < from.width(); ++x) {
            image.setPixel(x, y, byteBlend(from.pixel(x, y), to.pixel(x, y), weight));
        }
    }
    return image;
}

int countPixels(const QImage& image, QRgb color) {
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return static_cast<int>(std::count(pixels, pixels + image.width() * image.height(), color));
}

// A shown window with one fade control on it, and every frame the control paints.
class Stage : public QObject {
public:
    QPointer<QWidget> ground = new QWidget;
    QPointer<FadePicture> fade = new FadePicture(ground);
    std::vector<QImage> frames;

    Stage() {
        ground->resize(200, 200);
        fade->move(20, 20);
        fade->installEventFilter(this);
    }
    ~Stage() override { delete ground; }

    bool show() {
        ground->show();
        const bool exposed = QTest::qWaitForWindowExposed(ground);
        frames.clear();
        return exposed;
    }

    // Pictures that differ in every pixel; the control takes picFrom's size.
    void setRedToBlue(QSize fromSize, QSize toSize) {
        fade->setStretchToFit(false);
        fade->setPicFrom(solid(fromSize, kRed));
        fade->setPicTo(solid(toSize, kBlue));
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            frames.push_back(fade->shownImage().copy());
        }
        return false;
    }
};

} // namespace

class FadePictureTest : public QObject {
    Q_OBJECT

private slots:
    void blendMatchesPerByteFormula() {
        std::mt19937 random(7);
        // Extreme words first: carries between the bytes of a word show there.
        std::vector<std::uint32_t> from{0xFFFFFFFF, 0x00000000, 0xFF00FF00, 0xC8C8C8C8};
        std::vector<std::uint32_t> to{0x00000000, 0xFFFFFFFF, 0x00FF00FF, 0x64646464};
        for (int i = 0; i < 4096; ++i) {
            from.push_back(random());
            to.push_back(random());
        }
        for (int weight = 0; weight <= 32; ++weight) {
            std::vector<std::uint32_t> output(from.size(), 0xDEADBEEF);
            blendImages(from, to, weight, output);
            for (std::size_t i = 0; i < from.size(); ++i) {
                // Weight 0 writes nothing at all.
                QCOMPARE(output[i], weight == 0 ? 0xDEADBEEF : byteBlend(from[i], to[i], weight));
            }
        }
    }

    void ratesAreClamped() {
        struct Case {
            int side;
            bool dissolve;
            int value;
            int expected;
        };
        for (const Case& c :
             {Case{75, false, 0, 1}, Case{75, false, -5, 1}, Case{75, false, 256, 255},
              Case{75, false, 1000, 255}, Case{75, true, 0, 1}, Case{75, true, 10000, 5625},
              Case{0, true, 50, 1}}) {
            FadePicture fade;
            fade.resize(c.side, c.side);
            c.dissolve ? fade.setDisolvRate(c.value) : fade.setBlendRate(c.value);
            QCOMPARE(c.dissolve ? fade.disolvRate() : fade.blendRate(), c.expected);
        }
    }

    void blendRunsFromStartToEnd_data() {
        QTest::addColumn<bool>("stretch");
        QTest::addColumn<QImage>("from");
        QTest::addColumn<QImage>("to");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QImage>("start");
        QTest::addColumn<QImage>("end");
        const QImage noise1 = noise({24, 16}, 1);
        const QImage noise2 = noise({24, 16}, 2);
        for (const int rate : {1, 32, 255}) {
            QTest::addRow("BlendRate %d", rate)
                << false << noise1 << noise2 << rate << noise1 << noise2;
        }
        const QSize area(40, 30);
        QTest::newRow("only PicTo") << false << QImage() << solid(area, kBlue) << 1
                                    << solid(area, Qt::black) << solid(area, kBlue);
        QTest::newRow("no picture") << false << QImage() << QImage() << 1
                                    << solid({75, 75}, Qt::black) << solid({75, 75}, Qt::white);
        QTest::newRow("PicTo fitted to PicFrom")
            << false << solid(area, kRed) << solid({10, 10}, kBlue) << 1 << solid(area, kRed)
            << solid(area, kBlue);
        QImage clear(8, 8, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QTest::newRow("transparent picture")
            << true << clear << QImage() << 1 << solid({75, 75}, Qt::black)
            << solid({75, 75}, Qt::white);
    }

    void blendRunsFromStartToEnd() {
        QFETCH(bool, stretch);
        QFETCH(QImage, from);
        QFETCH(QImage, to);
        QFETCH(int, rate);
        QFETCH(QImage, start);
        QFETCH(QImage, end);
        Stage stage;
        stage.fade->setStretchToFit(stretch);
        stage.fade->setPicFrom(from);
        stage.fade->setPicTo(to);
        stage.fade->setBlendRate(rate);
        QVERIFY(stage.show());
        std::vector<std::size_t> framesAtEvents;
        const auto note = [&] {
            framesAtEvents.push_back(stage.frames.size());
        };
        connect(stage.fade, &FadePicture::transitionStarted, this, note);
        connect(stage.fade, &FadePicture::transitionFinished, this, note);
        QSignalSpy resets(stage.fade, &FadePicture::imagesReset);

        stage.fade->blend();

        QCOMPARE(stage.fade->size(), start.size());
        QCOMPARE(stage.frames.size(), static_cast<std::size_t>(rate + 1));
        QCOMPARE(framesAtEvents, (std::vector<std::size_t>{0, stage.frames.size()}));
        QCOMPARE(resets.count(), 1);
        for (int frame = 0; frame <= rate; ++frame) {
            QCOMPARE(stage.frames[static_cast<std::size_t>(frame)],
                     blended(start, end, frame * 32 / rate));
        }
    }

    void resetShowsPicFromAgain_data() {
        QTest::addColumn<Action>("change");
        QTest::addColumn<QRgb>("shown");
        QTest::addColumn<bool>("reset");
        const auto row = [](const char* name, QRgb shown, bool reset, Action change) {
            QTest::newRow(name) << change << shown << reset;
        };
        row("move", kRed, true, [](FadePicture& f) { f.move(30, 30); });
        row("resize", kRed, true, [](FadePicture& f) { f.resize(60, 50); });
        row("new PicFrom", kGreen, true, [](FadePicture& f) {
            f.setPicFrom(solid({9, 9}, kGreen));
        });
        row("new PicTo", kRed, true, [](FadePicture& f) { f.setPicTo(solid({9, 9}, kGreen)); });
        row("new ColorTo", kRed, true, [](FadePicture& f) { f.setColorTo(Qt::gray); });
        row("stretching", kRed, true, [](FadePicture& f) { f.setStretchToFit(true); });
        row("same ColorFrom", kBlue, false, [](FadePicture& f) { f.setColorFrom(Qt::black); });
        row("same StretchToFit", kBlue, false, [](FadePicture& f) { f.setStretchToFit(false); });
    }

    void resetShowsPicFromAgain() {
        QFETCH(Action, change);
        QFETCH(QRgb, shown);
        Stage stage;
        stage.setRedToBlue({40, 30}, {40, 30});
        stage.fade->setBlendRate(1);
        QVERIFY(stage.show());
        stage.fade->blend();
        QCOMPARE(stage.fade->shownImage().pixel(0, 0), kBlue);
        QSignalSpy resets(stage.fade, &FadePicture::imagesReset);
        change(*stage.fade);
        QCOMPARE(stage.fade->shownImage().pixel(0, 0), shown);
        QTEST(resets.count() > 0, "reset");
    }

    void transitionsBackRevealPicFrom_data() {
        QTest::addColumn<bool>("dissolve");
        QTest::addColumn<bool>("stretch");
        QTest::addColumn<QSize>("shrinkTo");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("step");
        QTest::newRow("BlendBack") << false << false << QSize() << 33 << 0;
        QTest::newRow("DissolveBack") << true << false << QSize() << 136 << 29;
        QTest::newRow("DissolveBack below DisolvRate") << true << true << QSize(5, 5) << 26 << 1;
    }

    void transitionsBackRevealPicFrom() {
        QFETCH(bool, dissolve);
        QFETCH(bool, stretch);
        QFETCH(QSize, shrinkTo);
        QFETCH(int, frames);
        QFETCH(int, step);
        Stage stage;
        FadePicture& fade = *stage.fade;
        // picTo is smaller: a transition back stretches it to the control.
        stage.setRedToBlue({73, 54}, {10, 10});
        fade.setStretchToFit(stretch);
        fade.setDisolvRate(132);
        if (shrinkTo.isValid()) {
            fade.resize(shrinkTo);
        }
        const QImage from = fade.picFrom().image();
        const QImage to = fade.picTo().image();
        QVERIFY(stage.show());
        QSignalSpy resets(&fade, &FadePicture::imagesReset);
        QSignalSpy begins(&fade, &FadePicture::transitionStarted);

        dissolve ? fade.dissolveBack() : fade.blendBack();

        // A dissolve reveals `step` more pixels of picFrom a frame; a blend
        // shows picFrom's pixels only on its last frame.
        QCOMPARE(static_cast<int>(stage.frames.size()), frames);
        const int pixels = fade.width() * fade.height();
        for (int frame = 1; frame <= frames; ++frame) {
            QCOMPARE(countPixels(stage.frames[static_cast<std::size_t>(frame - 1)], kRed),
                     frame == frames ? pixels : std::min(frame * step, pixels));
        }
        QCOMPARE(resets.count(), 4);
        QCOMPARE(begins.count(), 0);
        QCOMPARE(fade.stretchToFit(), stretch);
        QCOMPARE(fade.picFrom().image(), from);
        QCOMPARE(fade.picTo().image(), to);
    }

    void autoReverseEndsAtRest() {
        for (const bool swapOnReverse : {true, false}) {
            Stage stage;
            stage.setRedToBlue({30, 20}, {30, 20});
            stage.fade->setBlendRate(4);
            stage.fade->setAutoReverse(true);
            stage.fade->setSwapOnReverse(swapOnReverse);
            stage.fade->setSwapDelay(0);
            QVERIFY(stage.show());
            std::vector<QRgb> shownAtEnd;
            connect(stage.fade, &FadePicture::transitionFinished, this,
                    [&] { shownAtEnd.push_back(stage.fade->shownImage().pixel(0, 0)); });
            stage.fade->blend();
            QCOMPARE(countPixels(stage.frames[4], kBlue), 30 * 20);
            QVERIFY(stage.frames.size() > 5);
            QCOMPARE(shownAtEnd, std::vector<QRgb>{kRed});
        }
    }

    // Events let through between frames may destroy or hide the control or
    // its window, start another transition or set the pictures.
    void eventsBetweenFramesAreSurvived_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("interruption");
        QTest::addColumn<Action>("interrupt");
        const char* const operations[] = {"Blend", "BlendBack", "DissolveBack"};
        for (int operation = 0; operation < 3; ++operation) {
            const auto row = [&](const char* interruption, Action interrupt) {
                QTest::addRow("%s, %s", operations[operation], interruption)
                    << operation << QString::fromLatin1(interruption) << interrupt;
            };
            row("delete control", [](FadePicture& f) { delete &f; });
            row("delete window", [](FadePicture& f) { delete f.parentWidget(); });
            row("hide window", [](FadePicture& f) { f.window()->hide(); });
            row("nested BlendBack", [](FadePicture& f) { f.blendBack(); });
            row("nested DissolveBack", [](FadePicture& f) { f.dissolveBack(); });
            row("set", [](FadePicture& f) {
                f.setPicFrom(solid({30, 20}, kGreen));
                f.setColorFrom(Qt::gray);
                f.setStretchToFit(true);
            });
        }
    }

    void eventsBetweenFramesAreSurvived() {
        QFETCH(int, operation);
        QFETCH(QString, interruption);
        QFETCH(Action, interrupt);
        auto stage = std::make_unique<Stage>();
        FadePicture* fade = stage->fade;
        stage->setRedToBlue({30, 20}, {10, 10});
        fade->setProcessMsgs(true);
        fade->setBlendRate(16);
        fade->setDisolvRate(50);
        QVERIFY(stage->show());
        QTimer::singleShot(0, fade, [fade, interrupt] { interrupt(*fade); });
        int eventPasses = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++eventPasses; });
        ticker.start(0);
        const std::function<void(FadePicture*)> operations[] = {
            &FadePicture::blend, &FadePicture::blendBack, &FadePicture::dissolveBack};

        operations[operation](fade);

        if (interruption.startsWith("delete")) {
            QVERIFY(stage->fade.isNull());
            return;
        }
        // At rest, with every value where it was set.
        const bool set = interruption == "set";
        QCOMPARE(fade->picFrom().image().pixel(0, 0), set ? kGreen : kRed);
        QCOMPARE(fade->picTo().image().pixel(0, 0), kBlue);
        QCOMPARE(fade->colorFrom(), set ? QColor(Qt::gray) : QColor(Qt::black));
        QCOMPARE(fade->colorTo(), QColor(Qt::white));
        QCOMPARE(fade->stretchToFit(), set);
        if (interruption == "hide window") {
            // The frames stop once nothing of them can be seen.
            QCOMPARE(stage->frames.size(), std::size_t{1});
            QCOMPARE(eventPasses, 1);
            QCOMPARE(fade->shownImage().pixel(0, 0), operation == 0 ? kBlue : kRed);
        }
    }

    // Pointer notices wait for the running transition and then come in their
    // order, each after the transition the one before it started.
    void pointerNoticesWaitAndKeepTheirOrder_data() {
        QTest::addColumn<QString>("during");
        QTest::addColumn<QRgb>("endsOn");
        QTest::newRow("leave") << "L" << kRed;
        QTest::newRow("leave, enter") << "LE" << kBlue;
        QTest::newRow("leave, enter, leave") << "LEL" << kRed;
    }
    void pointerNoticesWaitAndKeepTheirOrder() {
        QFETCH(QString, during);
        Stage stage;
        FadePicture& fade = *stage.fade;
        stage.setRedToBlue({30, 20}, {30, 20});
        fade.setProcessMsgs(true);
        fade.setBlendRate(8);
        QVERIFY(stage.show());
        QString heard;
        connect(&fade, &FadePicture::mouseEntered, &fade, [&] {
            heard += u'E';
            fade.blend();
        });
        connect(&fade, &FadePicture::mouseLeft, &fade, [&] {
            heard += u'L';
            fade.blendBack();
        });
        for (const QChar notice : during) {
            if (notice == u'E') {
                QCoreApplication::postEvent(&fade, new QEnterEvent({1, 1}, {1, 1}, {1, 1}));
            } else {
                QCoreApplication::postEvent(&fade, new QEvent(QEvent::Leave));
            }
        }

        QEnterEvent enter({1, 1}, {1, 1}, {1, 1});
        QCoreApplication::sendEvent(&fade, &enter);
        QCOMPARE(stage.frames.size(), std::size_t{9});
        QCOMPARE(heard, QStringLiteral("E"));
        QTRY_COMPARE(heard, u'E' + during);
        QTEST(fade.shownImage().pixel(0, 0), "endsOn");
    }

    // An icon is drawn at its own size on its colour and that square is
    // stretched; a drawing is drawn at any size; unstretched, the control
    // takes the picture's size.
    void iconsAndDrawingsArePictures_data() {
        QTest::addColumn<bool>("icon");
        QTest::addColumn<bool>("stretch");
        QTest::addColumn<QSize>("size");
        QTest::newRow("icon, stretched") << true << true << QSize(32, 32);
        QTest::newRow("icon, own size") << true << false << QSize(16, 16);
        QTest::newRow("drawing, stretched") << false << true << QSize(32, 32);
        QTest::newRow("drawing, own size") << false << false << QSize(16, 16);
    }
    void iconsAndDrawingsArePictures() {
        QFETCH(bool, icon);
        QFETCH(bool, stretch);
        QFETCH(QSize, size);
        // Left half red, right half blue; the icon's top-left pixel is clear.
        QImage halves(16, 16, QImage::Format_ARGB32);
        halves.fill(kRed);
        QPicture drawing;
        {
            QPainter painter(&drawing);
            painter.fillRect(QRect(0, 0, 8, 16), QColor(kRed));
            painter.fillRect(QRect(8, 0, 8, 16), QColor(kBlue));
        }
        for (int y = 0; y < 16; ++y) {
            for (int x = 8; x < 16; ++x) {
                halves.setPixel(x, y, kBlue);
            }
        }
        halves.setPixel(0, 0, qRgba(0, 0, 0, 0));
        FadePicture fade;
        fade.resize(32, 32);
        fade.setColorFrom(QColor(kGreen));
        fade.setStretchToFit(stretch);
        if (icon) {
            fade.setPicFrom(QIcon(QPixmap::fromImage(halves)));
        } else {
            fade.setPicFrom(drawing);
        }
        QCOMPARE(fade.size(), size);
        const QImage shown = fade.shownImage();
        const int last = size.width() - 1;
        QCOMPARE(shown.pixel(0, 0), icon ? kGreen : kRed);
        QCOMPARE(shown.pixel(last / 2 - 1, last), kRed);
        QCOMPARE(shown.pixel(last, last), kBlue);
        if (icon && stretch) {
            QCOMPARE(shown.pixel(1, 1), kGreen); // one pixel of the icon, two of the control
        }
    }

    void onlyALeftClickIsReported() {
        Stage stage;
        QVERIFY(stage.show());
        QSignalSpy clicks(stage.fade, &FadePicture::clicked);
        QTest::mouseClick(stage.fade, Qt::RightButton);
        QTest::mouseClick(stage.fade, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    FadePictureTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_FadePicture.moc"
