// The fade picture: one blend step over the title picture, and the time
// between the frames of a whole blend, painted on Qt's offscreen platform.
// The pictures are the main window's own.
#include "Artwork.h"
#include "FadePicture.h"
#include "HeadlessMain.h"
#include "StarField.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <utility>
#include <vector>

namespace {

const QSize kTitleSize(394, 54);

std::span<const std::uint32_t> wordTable(const QImage& image) {
    return {reinterpret_cast<const std::uint32_t*>(image.constBits()),
            static_cast<std::size_t>(image.sizeInBytes()) / sizeof(std::uint32_t)};
}

void BlendStep(benchmark::State& state) {
    const QImage from = titleArtwork(kTitleSize).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage to = generateStarField(kTitleSize, 2);
    QImage output = from.copy();
    const std::span<std::uint32_t> words(reinterpret_cast<std::uint32_t*>(output.bits()),
                                         wordTable(output).size());
    int weight = 1;
    for (auto _ : state) {
        blendImages(wordTable(from), wordTable(to), weight, words);
        benchmark::DoNotOptimize(words.data());
        benchmark::ClobberMemory();
        weight = weight % 32 + 1;
    }
    state.SetItemsProcessed(state.iterations() * kTitleSize.width() * kTitleSize.height());
}
BENCHMARK(BlendStep)->Unit(benchmark::kMicrosecond);

// Notes the moment every frame is painted.
class FrameClock : public QObject {
public:
    QElapsedTimer clock;
    std::vector<qint64> paintedAt;

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            paintedAt.push_back(clock.nsecsElapsed());
        }
        return false;
    }
};

// The main window's pictures by size: the title (which has no second
// picture, so it fades to the plain ground) and the star-map picture.
std::pair<QPixmap, QPixmap> windowPictures(QSize size) {
    if (size == kTitleSize) {
        return {titleArtwork(size), QPixmap()};
    }
    return {starMapPicture(size), starMapPictureLit(size)};
}

// One iteration is one whole Blend at the main window's rates; the counters
// give the longest and the median time from one painted frame to the next
// (the first counted from the start of the Blend).
void WholeBlend(benchmark::State& state) {
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const auto [picFrom, picTo] = windowPictures(size);
    QWidget ground;
    ground.resize(size + QSize(20, 20));
    auto* fade = new FadePicture(&ground);
    fade->move(10, 10);
    fade->setStretchToFit(false);
    fade->setBlendRate(255);
    fade->setDisolvRate(132);
    fade->setProcessMsgs(true);
    fade->setPicFrom(picFrom);
    fade->setPicTo(picTo);
    ground.show();
    QApplication::processEvents();
    FrameClock frames;
    fade->installEventFilter(&frames);
    std::vector<double> frameMs;
    for (auto _ : state) {
        frames.paintedAt.clear();
        frames.clock.start();
        fade->blend();
        qint64 previous = 0;
        for (const qint64 paintedAt : frames.paintedAt) {
            frameMs.push_back(static_cast<double>(paintedAt - previous) / 1e6);
            previous = paintedAt;
        }
    }
    std::sort(frameMs.begin(), frameMs.end());
    state.counters["frames"] = static_cast<double>(frameMs.size()) / state.iterations();
    state.counters["frame_max_ms"] = frameMs.empty() ? 0 : frameMs.back();
    state.counters["frame_median_ms"] = frameMs.empty() ? 0 : frameMs[frameMs.size() / 2];
}
BENCHMARK(WholeBlend)
    ->Args({394, 54})
    ->Args({73, 54})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    return runHeadlessBenchmarks(argc, argv);
}
