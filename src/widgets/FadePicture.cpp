#include "FadePicture.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <chrono>
#include <numeric>
#include <random>
#include <thread>
#include <utility>
#include <vector>

namespace {

enum class Fit { Unscaled, Stretch };

// A 32-bit image of the given size: the ground colour with the picture drawn
// over it, so that transparent parts of a picture (an icon, say) show the
// ground and no pixel is left undefined.
QImage Composed(const QImage& picture, const QColor& ground, QSize size, Fit fit) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(ground);
    if (!picture.isNull() && !image.isNull()) {
        QPainter painter(&image);
        if (fit == Fit::Stretch) {
            painter.drawImage(image.rect(), picture);
        } else {
            painter.drawImage(0, 0, picture);
        }
    }
    return image;
}

// A 32-bit image's lines have no padding, so its pixels are one run of words.
std::span<const std::uint32_t> PixelWords(const QImage& image) {
    return {reinterpret_cast<const std::uint32_t*>(image.constBits()),
            static_cast<std::size_t>(image.sizeInBytes()) / sizeof(std::uint32_t)};
}

std::span<std::uint32_t> WritablePixelWords(QImage& image) {
    return {reinterpret_cast<std::uint32_t*>(image.bits()),
            static_cast<std::size_t>(image.sizeInBytes()) / sizeof(std::uint32_t)};
}

// Every pixel index once, in an order shuffled afresh at every call.
std::vector<std::uint32_t> ShuffledPixelOrder(std::size_t count) {
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::mt19937 generator(
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    std::shuffle(order.begin(), order.end(), generator);
    return order;
}

} // namespace

void BlendImages(std::span<const std::uint32_t> from, std::span<const std::uint32_t> to, int weight,
                 std::span<std::uint32_t> output) {
    if (weight <= 0) {
        return;
    }
    const std::uint32_t toWeight = static_cast<std::uint32_t>(std::min(weight, 32));
    const std::uint32_t fromWeight = 32 - toWeight;
    const std::size_t count = std::min({from.size(), to.size(), output.size()});
    for (std::size_t i = 0; i < count; ++i) {
        // Two bytes of each half at a time. The weights sum to 32, so a
        // weighted byte stays below 8192 and never carries into its neighbour.
        const std::uint32_t low =
            (((from[i] & 0x00FF00FFu) * fromWeight + (to[i] & 0x00FF00FFu) * toWeight) >> 5) &
            0x00FF00FFu;
        const std::uint32_t high = (((from[i] & 0xFF00FF00u) >> 5) * fromWeight +
                                    ((to[i] & 0xFF00FF00u) >> 5) * toWeight) &
                                   0xFF00FF00u;
        output[i] = low | high;
    }
}

// Counts the transitions running on the control, nested ones included. When
// the outermost one ends, a pointer notice held back meanwhile is delivered
// from the event loop, as if the pointer had only just come or gone.
class TOrlenFade::TransitionScope {
public:
    explicit TransitionScope(TOrlenFade* fade)
        : fade_(fade) {
        ++fade->transitionDepth_;
    }
    ~TransitionScope() {
        if (fade_ && --fade_->transitionDepth_ == 0 &&
            fade_->pointerInside_ != fade_->reportedInside_) {
            QMetaObject::invokeMethod(fade_, &TOrlenFade::ReportPointer, Qt::QueuedConnection);
        }
    }
    TransitionScope(const TransitionScope&) = delete;
    TransitionScope& operator=(const TransitionScope&) = delete;

private:
    QPointer<TOrlenFade> fade_;
};

TOrlenFade::TOrlenFade(QWidget* parent)
    : QWidget(parent) {
    // The picture covers the whole control: nothing beneath needs erasing,
    // so a frame can be painted at once.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    // Presses, moves and releases stay with the picture; only a click is reported.
    setAttribute(Qt::WA_NoMousePropagation);
    setAccessibleName(QStringLiteral("Fade picture"));
    resize(75, 75);
    shownImage_ = Composed({}, colorFrom_, size(), Fit::Unscaled);
    targetImage_ = Composed({}, colorTo_, size(), Fit::Unscaled);
    startImage_ = shownImage_.copy();
}

// While a transition back runs, pictures and colours are swapped; the final
// Reset swaps them back. A value set meanwhile therefore goes where its
// property returns to, so that it is not handed to the other one.
void TOrlenFade::SetPicFrom(const QImage& picture) {
    AssignPicture(reversed_ ? picTo_ : picFrom_, picture);
}

void TOrlenFade::SetPicTo(const QImage& picture) {
    AssignPicture(reversed_ ? picFrom_ : picTo_, picture);
}

void TOrlenFade::AssignPicture(QImage& kept, const QImage& picture) {
    kept = picture;
    // The running transition back keeps its frames; its final Reset shows the picture.
    if (!reversed_) {
        Reset();
    }
}

void TOrlenFade::SetColorFrom(const QColor& color) {
    AssignColor(reversed_ ? colorTo_ : colorFrom_, color);
}

void TOrlenFade::SetColorTo(const QColor& color) {
    AssignColor(reversed_ ? colorFrom_ : colorTo_, color);
}

void TOrlenFade::AssignColor(QColor& kept, const QColor& color) {
    if (kept != color) {
        kept = color;
        Reset();
    }
}

void TOrlenFade::SetDisolvRate(int rate) {
    const long long pixels = static_cast<long long>(width()) * height();
    // At least one: the dissolve divides the pixel count by it.
    disolvRate_ = static_cast<int>(std::max(1LL, std::min<long long>(rate, pixels)));
}

void TOrlenFade::SetBlendRate(int rate) {
    blendRate_ = std::clamp(rate, 1, 255);
}

void TOrlenFade::SetStretchToFit(bool stretch) {
    // While a transition back forces stretching, the caller's choice is the saved one.
    bool& kept = reversed_ ? savedStretchToFit_ : stretchToFit_;
    if (kept != stretch) {
        kept = stretch;
        Reset();
    }
}

void TOrlenFade::Reset() {
    if (reversed_) {
        LeaveReversal();
    }
    if (!RebuildImages()) {
        return;
    }
    // Only the size of the start image matters until a blend fills it; a copy
    // keeps its content defined meanwhile.
    if (startImage_.size() != shownImage_.size()) {
        startImage_ = shownImage_.copy();
    }
    update();
    emit OnReset(this);
}

// Draws the shown image from PicFrom and the target image from PicTo. When
// the pictures are not stretched, the control first takes the size of
// PicFrom (or of PicTo when only that is set), and PicTo is fitted to it.
// False when the control did not survive its own resizing.
bool TOrlenFade::RebuildImages() {
    if (!stretchToFit_ && !SetSizeFromPicture()) {
        return false;
    }
    const bool fitPicTo = stretchToFit_ || !picFrom_.isNull();
    shownImage_ =
        Composed(picFrom_, colorFrom_, size(), stretchToFit_ ? Fit::Stretch : Fit::Unscaled);
    targetImage_ = Composed(picTo_, colorTo_, size(), fitPicTo ? Fit::Stretch : Fit::Unscaled);
    return true;
}

bool TOrlenFade::SetSizeFromPicture() {
    const QSize pictureSize = picFrom_.isNull() ? picTo_.size() : picFrom_.size();
    if (pictureSize.isEmpty() || pictureSize == size()) {
        return true;
    }
    // A shown control resets once more from its resize event, and a handler of
    // that reset may destroy it.
    const QPointer<TOrlenFade> alive(this);
    resize(pictureSize);
    return !alive.isNull();
}

void TOrlenFade::LeaveReversal() {
    std::swap(picFrom_, picTo_);
    std::swap(colorFrom_, colorTo_);
    stretchToFit_ = savedStretchToFit_;
    reversed_ = false;
}

// Turns pictures and colours round so that the forward blend runs back to
// PicFrom, with both pictures stretched to the control. False when the
// control did not survive the resets on the way.
bool TOrlenFade::EnterReversal() {
    const QPointer<TOrlenFade> alive(this);
    // A transition back started from within another one starts at rest;
    // otherwise it would save the forced stretching as the caller's choice.
    if (reversed_) {
        Reset();
        if (!alive) {
            return false;
        }
    }
    savedStretchToFit_ = stretchToFit_;
    stretchToFit_ = true;
    std::swap(colorFrom_, colorTo_);
    const QImage formerPicFrom = picFrom_;
    SetPicFrom(picTo_);
    if (!alive) {
        return false;
    }
    SetPicTo(formerPicFrom);
    if (!alive) {
        return false;
    }
    Reset();
    if (!alive) {
        return false;
    }
    reversed_ = true;
    startImage_ = shownImage_.copy();
    return true;
}

void TOrlenFade::Blend() {
    const TransitionScope scope(this);
    const QPointer<TOrlenFade> alive(this);
    Reset();
    if (!alive) {
        return;
    }
    // The setter keeps the rate in range; the frame weights divide by it.
    if (blendRate_ < 1) {
        throw EOrlenFade("BlendRate must be between 0 and 256");
    }
    emit OnBegin(this);
    if (!alive) {
        return;
    }
    startImage_ = shownImage_.copy();
    if (!RunBlendFrames()) {
        return;
    }
    if (autoReverse_) {
        WaitSwapDelay();
        if (swapOnReverse_) {
            DissolveBack();
        } else {
            BlendBack();
        }
        if (!alive) {
            return;
        }
    }
    emit OnEnd(this);
}

void TOrlenFade::BlendBack() {
    const TransitionScope scope(this);
    if (EnterReversal() && RunBlendFrames()) {
        Reset();
    }
}

void TOrlenFade::DissolveBack() {
    const TransitionScope scope(this);
    if (!EnterReversal()) {
        return;
    }
    const QSize area = shownImage_.size();
    const auto coversArea = [this, area] {
        return shownImage_.size() == area && targetImage_.size() == area;
    };
    const std::vector<std::uint32_t> order =
        ShuffledPixelOrder(static_cast<std::size_t>(area.width()) * area.height());
    // A control made smaller than DisolvRate pixels after setting it would
    // otherwise get no step at all.
    const std::size_t step =
        std::max<std::size_t>(1, order.size() / static_cast<std::size_t>(disolvRate_));
    const std::size_t frames = order.size() / step;
    std::span<const std::uint32_t> rest(order);
    // A hidden control has nothing to show: it goes straight to the last
    // frame. A control resized meanwhile no longer matches the order.
    for (std::size_t frame = 0; frame < frames && isVisible() && coversArea(); ++frame) {
        RevealPixels(rest.first(step));
        rest = rest.subspan(step);
        if (!PresentFrame(true)) {
            return;
        }
    }
    if (coversArea()) {
        RevealPixels(rest);
    }
    if (PresentFrame(false)) {
        Reset();
    }
}

// The cross-fade from the start image to the target image in BlendRate + 1
// frames. A control hidden meanwhile has nothing to show: it goes straight to
// the last frame. False when the control was destroyed.
bool TOrlenFade::RunBlendFrames() {
    const int rate = blendRate_;
    for (int frame = 0; frame <= rate; ++frame) {
        if (!isVisible()) {
            BlendFrame(32);
            return true;
        }
        BlendFrame(frame * 32 / rate);
        if (!PresentFrame(true)) {
            return false;
        }
    }
    return true;
}

void TOrlenFade::BlendFrame(int weight) {
    BlendImages(PixelWords(startImage_), PixelWords(targetImage_), weight,
                WritablePixelWords(shownImage_));
}

void TOrlenFade::RevealPixels(std::span<const std::uint32_t> order) {
    const std::span<const std::uint32_t> target = PixelWords(targetImage_);
    const std::span<std::uint32_t> shown = WritablePixelWords(shownImage_);
    for (const std::uint32_t pixel : order) {
        shown[pixel] = target[pixel];
    }
}

// Paints the frame at once and, with ProcessMsgs, lets the pending events
// through. False when those events destroyed the control.
bool TOrlenFade::PresentFrame(bool letEventsThrough) {
    const QPointer<TOrlenFade> alive(this);
    repaint();
    if (alive && letEventsThrough && processMsgs_) {
        QCoreApplication::processEvents();
    }
    return !alive.isNull();
}

// The pause before the way back lets no events through: the picture stands
// still, as does the rest of the program.
void TOrlenFade::WaitSwapDelay() const {
    std::this_thread::sleep_for(std::chrono::seconds(swapDelay_));
}

// A transition lets events through between its frames, but a notice that the
// pointer came or went would start another transition inside it. The notices
// wait until the transition is over, and then only where the pointer is
// counts, however often it came and went meanwhile.
void TOrlenFade::ReportPointer() {
    if (transitionDepth_ > 0 || pointerInside_ == reportedInside_) {
        return;
    }
    reportedInside_ = pointerInside_;
    if (reportedInside_) {
        emit OnMouseEnter(this);
    } else {
        emit OnMouseLeave(this);
    }
}

void TOrlenFade::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A control resized while hidden gets its new images only from the resize
    // event on showing; until then, nothing of the region may stay undrawn.
    if (shownImage_.size() != size()) {
        painter.fillRect(rect(), colorFrom_);
    }
    painter.drawImage(0, 0, shownImage_);
}

void TOrlenFade::moveEvent(QMoveEvent* event) {
    Reset();
    QWidget::moveEvent(event);
}

void TOrlenFade::resizeEvent(QResizeEvent* event) {
    Reset();
    QWidget::resizeEvent(event);
}

void TOrlenFade::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    pointerInside_ = true;
    ReportPointer();
}

void TOrlenFade::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    pointerInside_ = false;
    ReportPointer();
}

void TOrlenFade::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = true;
    }
    event->accept();
}

void TOrlenFade::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void TOrlenFade::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const bool click = leftPressed_ && rect().contains(event->position().toPoint());
    leftPressed_ = false;
    if (click) {
        emit OnClick(this);
    }
}
