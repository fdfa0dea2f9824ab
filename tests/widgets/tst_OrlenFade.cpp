#include "OrlenFade.h"

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <vector>

using Action = std::function<void(TOrlenFade&)>;
Q_DECLARE_METATYPE(Action)

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

QImage Solid(QSize size, QRgb color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QImage Noise(QSize size, unsigned seed) {
    std::mt19937 random(seed);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, 0xFF000000u | random());
        }
    }
    return image;
}

// The reference: every byte on its own, (from * (32 - w) + to * w) / 32.
std::uint32_t ByteBlend(std::uint32_t from, std::uint32_t to, int weight) {
    std::uint32_t word = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t a = (from >> shift) & 0xFF;
        const std::uint32_t b = (to >> shift) & 0xFF;
        word |= ((a * (32 - weight) + b * weight) / 32) << shift;
    }
    return word;
}

int CountPixels(const QImage& image, QRgb color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) == color ? 1 : 0;
        }
    }
    return count;
}

// A shown window with one fade control on it, and every frame it paints.
class Stage : public QObject {
public:
    QPointer<QWidget> ground = new QWidget;
    QPointer<TOrlenFade> fade = new TOrlenFade(ground);
    std::vector<QImage> frames;

    Stage() {
        ground->resize(200, 200);
        fade->move(20, 20);
        fade->installEventFilter(this);
    }
    ~Stage() override { delete ground; }

    bool Show() {
        ground->show();
        const bool exposed = QTest::qWaitForWindowExposed(ground);
        frames.clear();
        return exposed;
    }

    // Pictures that differ in every pixel, not stretched, so that the
    // control takes PicFrom's size.
    void SetRedToBlue(QSize fromSize, QSize toSize) {
        fade->SetStretchToFit(false);
        fade->SetPicFrom(Solid(fromSize, kRed));
        fade->SetPicTo(Solid(toSize, kBlue));
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            frames.push_back(fade->ShownImage().copy());
        }
        return false;
    }
};

} // namespace

class TOrlenFadeTest : public QObject {
    Q_OBJECT

private slots:
    void blendMatchesPerByteFormula_data() {
        QTest::addColumn<int>("weight");
        for (int weight = 0; weight <= 32; ++weight) {
            QTest::addRow("weight %d", weight) << weight;
        }
    }

    void blendMatchesPerByteFormula() {
        QFETCH(int, weight);
        std::mt19937 random(static_cast<unsigned>(weight));
        // Extreme words first: the carries of the word-wide arithmetic show there.
        std::vector<std::uint32_t> from{0xFFFFFFFF, 0x00000000, 0xFF00FF00, 0xC8C8C8C8};
        std::vector<std::uint32_t> to{0x00000000, 0xFFFFFFFF, 0x00FF00FF, 0x64646464};
        for (int i = 0; i < 4096; ++i) {
            from.push_back(random());
            to.push_back(random());
        }
        std::vector<std::uint32_t> output(from.size(), 0xDEADBEEF);
        BlendImages(from, to, weight, output);
        for (std::size_t i = 0; i < from.size(); ++i) {
            // Weight 0 writes nothing at all.
            const std::uint32_t expected =
                weight == 0 ? 0xDEADBEEF : ByteBlend(from[i], to[i], weight);
            QCOMPARE(output[i], expected);
        }
    }

    void ratesAreClamped_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("dissolve");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        const QSize start(75, 75);
        QTest::newRow("BlendRate 0") << start << false << 0 << 1;
        QTest::newRow("BlendRate -5") << start << false << -5 << 1;
        QTest::newRow("BlendRate 256") << start << false << 256 << 255;
        QTest::newRow("BlendRate 1000") << start << false << 1000 << 255;
        QTest::newRow("DisolvRate 0") << start << true << 0 << 1;
        QTest::newRow("DisolvRate 10000") << start << true << 10000 << 5625;
        QTest::newRow("DisolvRate on no pixels") << QSize(0, 0) << true << 50 << 1;
    }

    void ratesAreClamped() {
        QFETCH(QSize, size);
        QFETCH(bool, dissolve);
        QFETCH(int, value);
        QFETCH(int, expected);
        TOrlenFade fade;
        fade.resize(size);
        if (dissolve) {
            fade.SetDisolvRate(value);
            QCOMPARE(fade.DisolvRate(), expected);
        } else {
            fade.SetBlendRate(value);
            QCOMPARE(fade.BlendRate(), expected);
        }
    }

    void blendFramesFollowTheWeights_data() {
        QTest::addColumn<int>("rate");
        for (const int rate : {1, 32, 255}) {
            QTest::addRow("BlendRate %d", rate) << rate;
        }
    }

    void blendFramesFollowTheWeights() {
        QFETCH(int, rate);
        Stage stage;
        const QImage from = Noise({24, 16}, 1);
        const QImage to = Noise({24, 16}, 2);
        stage.fade->SetStretchToFit(false);
        stage.fade->SetPicFrom(from);
        stage.fade->SetPicTo(to);
        stage.fade->SetBlendRate(rate);
        QVERIFY(stage.Show());
        std::vector<std::size_t> framesAtEvents;
        const auto note = [&] {
            framesAtEvents.push_back(stage.frames.size());
        };
        connect(stage.fade, &TOrlenFade::OnBegin, this, note);
        connect(stage.fade, &TOrlenFade::OnEnd, this, note);
        QSignalSpy resets(stage.fade, &TOrlenFade::OnReset);

        stage.fade->Blend();

        QCOMPARE(stage.frames.size(), static_cast<std::size_t>(rate + 1));
        QCOMPARE(framesAtEvents, (std::vector<std::size_t>{0, stage.frames.size()}));
        QCOMPARE(resets.count(), 1);
        for (int frame = 0; frame <= rate; ++frame) {
            const int weight = frame * 32 / rate;
            const QImage& shown = stage.frames[static_cast<std::size_t>(frame)];
            for (int y = 0; y < from.height(); ++y) {
                for (int x = 0; x < from.width(); ++x) {
                    QCOMPARE(shown.pixel(x, y),
                             ByteBlend(from.pixel(x, y), to.pixel(x, y), weight));
                }
            }
        }
    }

    void resetShowsPicFromAgain_data() {
        QTest::addColumn<Action>("change");
        QTest::addColumn<QRgb>("shown");
        QTest::addColumn<bool>("reset");
        QTest::newRow("move") << Action([](TOrlenFade& f) { f.move(30, 30); }) << kRed << true;
        QTest::newRow("resize") << Action([](TOrlenFade& f) { f.resize(60, 50); }) << kRed << true;
        QTest::newRow("new PicFrom") << Action([](TOrlenFade& f) {
            f.SetPicFrom(Solid({40, 30}, kGreen));
        }) << kGreen << true;
        QTest::newRow("new PicTo") << Action([](TOrlenFade& f) {
            f.SetPicTo(Solid({40, 30}, kGreen));
        }) << kRed << true;
        QTest::newRow("new ColorTo")
            << Action([](TOrlenFade& f) { f.SetColorTo(Qt::gray); }) << kRed << true;
        QTest::newRow("stretching")
            << Action([](TOrlenFade& f) { f.SetStretchToFit(true); }) << kRed << true;
        QTest::newRow("same ColorFrom")
            << Action([](TOrlenFade& f) { f.SetColorFrom(Qt::black); }) << kBlue << false;
        QTest::newRow("same StretchToFit")
            << Action([](TOrlenFade& f) { f.SetStretchToFit(false); }) << kBlue << false;
    }

    void resetShowsPicFromAgain() {
        QFETCH(Action, change);
        QFETCH(QRgb, shown);
        QFETCH(bool, reset);
        Stage stage;
        stage.SetRedToBlue({40, 30}, {40, 30});
        stage.fade->SetBlendRate(1);
        QVERIFY(stage.Show());
        stage.fade->Blend();
        QCOMPARE(stage.fade->ShownImage().pixel(0, 0), kBlue);
        QSignalSpy resets(stage.fade, &TOrlenFade::OnReset);
        change(*stage.fade);
        QCOMPARE(stage.fade->ShownImage().pixel(0, 0), shown);
        QCOMPARE(resets.count() > 0, reset);
    }

    void picturesAndGroundsMakeTheEndFrames_data() {
        QTest::addColumn<bool>("stretch");
        QTest::addColumn<QImage>("from");
        QTest::addColumn<QImage>("to");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRgb>("firstNear");
        QTest::addColumn<QRgb>("firstFar");
        QTest::addColumn<QRgb>("lastNear");
        QTest::addColumn<QRgb>("lastFar");
        QImage icon(2, 2, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        icon.setPixel(0, 0, kGreen);
        QTest::newRow("only PicTo") << false << QImage() << Solid({40, 30}, kBlue) << QSize(40, 30)
                                    << kBlack << kBlack << kBlue << kBlue;
        QTest::newRow("no picture") << false << QImage() << QImage() << QSize(75, 75) << kBlack
                                    << kBlack << kWhite << kWhite;
        QTest::newRow("PicTo fitted to PicFrom")
            << false << Solid({40, 30}, kRed) << Solid({10, 10}, kBlue) << QSize(40, 30) << kRed
            << kRed << kBlue << kBlue;
        QTest::newRow("icon on its ground")
            << true << icon << QImage() << QSize(75, 75) << kGreen << kBlack << kWhite << kWhite;
    }

    void picturesAndGroundsMakeTheEndFrames() {
        QFETCH(bool, stretch);
        QFETCH(QImage, from);
        QFETCH(QImage, to);
        QFETCH(QSize, size);
        Stage stage;
        stage.fade->SetStretchToFit(stretch);
        stage.fade->SetPicFrom(from);
        stage.fade->SetPicTo(to);
        stage.fade->SetBlendRate(1);
        QVERIFY(stage.Show());
        stage.fade->Blend();
        QCOMPARE(stage.fade->size(), size);
        QCOMPARE(stage.frames.size(), std::size_t{2});
        const QPoint near(1, 1);
        const QPoint far(size.width() - 2, size.height() - 2);
        QTEST(stage.frames[0].pixel(near), "firstNear");
        QTEST(stage.frames[0].pixel(far), "firstFar");
        QTEST(stage.frames[1].pixel(near), "lastNear");
        QTEST(stage.frames[1].pixel(far), "lastFar");
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
        TOrlenFade& fade = *stage.fade;
        stage.SetRedToBlue({73, 54}, {10, 10});
        fade.SetStretchToFit(stretch);
        fade.SetDisolvRate(132);
        if (shrinkTo.isValid()) {
            fade.resize(shrinkTo);
        }
        const QImage from = fade.PicFrom();
        const QImage to = fade.PicTo();
        QVERIFY(stage.Show());
        QSignalSpy resets(&fade, &TOrlenFade::OnReset);
        QSignalSpy begins(&fade, &TOrlenFade::OnBegin);

        dissolve ? fade.DissolveBack() : fade.BlendBack();

        QCOMPARE(static_cast<int>(stage.frames.size()), frames);
        const int pixels = fade.width() * fade.height();
        for (int frame = 1; frame <= frames; ++frame) {
            const int red = CountPixels(stage.frames[static_cast<std::size_t>(frame - 1)], kRed);
            if (dissolve) {
                QCOMPARE(red, std::min(frame * step, pixels));
            } else if (frame == 1) {
                QCOMPARE(CountPixels(stage.frames[0], kBlue), pixels);
            }
            if (frame == frames) {
                QCOMPARE(red, pixels);
            }
        }
        QCOMPARE(resets.count(), 4);
        QCOMPARE(begins.count(), 0);
        QCOMPARE(fade.StretchToFit(), stretch);
        QCOMPARE(fade.PicFrom(), from);
        QCOMPARE(fade.PicTo(), to);
    }

    void autoReverseEndsAtRest_data() {
        QTest::addColumn<bool>("swapOnReverse");
        QTest::newRow("dissolving") << true;
        QTest::newRow("blending") << false;
    }

    void autoReverseEndsAtRest() {
        QFETCH(bool, swapOnReverse);
        Stage stage;
        stage.SetRedToBlue({30, 20}, {30, 20});
        stage.fade->SetBlendRate(4);
        stage.fade->SetAutoReverse(true);
        stage.fade->SetSwapOnReverse(swapOnReverse);
        stage.fade->SetSwapDelay(0);
        QVERIFY(stage.Show());
        std::vector<QRgb> shownAtEnd;
        connect(stage.fade, &TOrlenFade::OnEnd, this,
                [&] { shownAtEnd.push_back(stage.fade->ShownImage().pixel(0, 0)); });
        stage.fade->Blend();
        QCOMPARE(shownAtEnd, std::vector<QRgb>{kRed});
        QCOMPARE(CountPixels(stage.frames[4], kBlue), 30 * 20);
        QVERIFY(stage.frames.size() > 5);
    }

    // Events let through between frames may hide or destroy the control or
    // its window, or start another transition on it.
    void eventsBetweenFramesAreSurvived_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QString>("interruption");
        const char* const operations[] = {"Blend", "BlendBack", "DissolveBack"};
        for (int operation = 0; operation < 3; ++operation) {
            for (const char* interruption :
                 {"delete control", "delete window", "hide window", "nested BlendBack",
                  "nested DissolveBack", "set pictures and colours"}) {
                QTest::addRow("%s, %s", operations[operation], interruption)
                    << operation << QString::fromLatin1(interruption);
            }
        }
    }

    void eventsBetweenFramesAreSurvived() {
        QFETCH(int, operation);
        QFETCH(QString, interruption);
        auto stage = std::make_unique<Stage>();
        TOrlenFade* fade = stage->fade;
        stage->SetRedToBlue({30, 20}, {10, 10});
        fade->SetProcessMsgs(true);
        fade->SetBlendRate(16);
        fade->SetDisolvRate(50);
        QVERIFY(stage->Show());
        const std::map<QString, std::function<void()>> interruptions{
            {"delete control",
             [&] {
                 delete stage->fade;
             }},
            {"delete window",
             [&] {
                 delete stage->ground;
             }},
            {"hide window",
             [&] {
                 stage->ground->hide();
             }},
            {"nested BlendBack",
             [&] {
                 stage->fade->BlendBack();
             }},
            {"nested DissolveBack",
             [&] {
                 stage->fade->DissolveBack();
             }},
            {"set pictures and colours",
             [&] {
                 stage->fade->SetPicFrom(Solid({30, 20}, kGreen));
                 stage->fade->SetColorFrom(Qt::gray);
                 stage->fade->SetStretchToFit(true);
             }},
        };
        QTimer::singleShot(0, this, interruptions.at(interruption));
        int eventPasses = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ++eventPasses; });
        ticker.start(0);
        const std::function<void(TOrlenFade*)> operations[] = {
            &TOrlenFade::Blend, &TOrlenFade::BlendBack, &TOrlenFade::DissolveBack};
        operations[operation](fade);

        if (interruption.startsWith("delete")) {
            QVERIFY(stage->fade.isNull());
            return;
        }
        const bool changed = interruption.startsWith("set");
        QCOMPARE(fade->PicFrom().pixel(0, 0), changed ? kGreen : kRed);
        QCOMPARE(fade->PicTo().pixel(0, 0), kBlue);
        QCOMPARE(fade->ColorFrom(), changed ? QColor(Qt::gray) : QColor(Qt::black));
        QCOMPARE(fade->ColorTo(), QColor(Qt::white));
        QCOMPARE(fade->StretchToFit(), changed);
        if (interruption == "hide window") {
            // The frames stop once nothing of them can be seen.
            QCOMPARE(stage->frames.size(), std::size_t{1});
            QCOMPARE(eventPasses, 1);
            QCOMPARE(fade->ShownImage().pixel(0, 0), operation == 0 ? kBlue : kRed);
        }
    }

    // The notices wait for the running transition; then only where the
    // pointer is counts.
    void pointerNoticesWaitForTheTransition_data() {
        QTest::addColumn<bool>("comesBack");
        QTest::addColumn<QRgb>("shownAfter");
        QTest::newRow("leaves during the blend") << false << kRed;
        QTest::newRow("leaves and comes back") << true << kBlue;
    }

    void pointerNoticesWaitForTheTransition() {
        QFETCH(bool, comesBack);
        QFETCH(QRgb, shownAfter);
        Stage stage;
        TOrlenFade& fade = *stage.fade;
        stage.SetRedToBlue({30, 20}, {30, 20});
        fade.SetProcessMsgs(true);
        fade.SetBlendRate(8);
        QVERIFY(stage.Show());
        connect(&fade, &TOrlenFade::OnMouseEnter, &fade, &TOrlenFade::Blend);
        connect(&fade, &TOrlenFade::OnMouseLeave, &fade, &TOrlenFade::BlendBack);
        QSignalSpy enters(&fade, &TOrlenFade::OnMouseEnter);
        QSignalSpy leaves(&fade, &TOrlenFade::OnMouseLeave);
        QCoreApplication::postEvent(&fade, new QEvent(QEvent::Leave));
        if (comesBack) {
            QCoreApplication::postEvent(&fade, new QEnterEvent({1, 1}, {1, 1}, {1, 1}));
        }

        QEnterEvent enter({1, 1}, {1, 1}, {1, 1});
        QCoreApplication::sendEvent(&fade, &enter);
        QCOMPARE(stage.frames.size(), std::size_t{9});
        QCOMPARE(leaves.count(), 0);
        QCoreApplication::processEvents();

        QCOMPARE(enters.count(), 1);
        QCOMPARE(leaves.count(), comesBack ? 0 : 1);
        QCOMPARE(fade.ShownImage().pixel(0, 0), shownAfter);
    }

    void onlyALeftClickIsReported() {
        Stage stage;
        QVERIFY(stage.Show());
        QSignalSpy clicks(stage.fade, &TOrlenFade::OnClick);
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
    TOrlenFadeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_OrlenFade.moc"
