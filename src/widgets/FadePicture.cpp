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
// over it, so that transparent parts of a picture show the ground and no
// pixel is left undefined. A stretched icon is drawn at its own size on its
// ground first, and that square is stretched as a whole.
QImage composed(const FadeGraphic& picture, const QColor& ground, QSize size, Fit fit) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(ground);
    if (picture.isNull() || image.isNull()) {
        return image;
    }
    QPainter painter(&image);
    if (fit == Fit::Unscaled) {
        picture.draw(painter, {0, 0});
    } else if (picture.kind() == FadeGraphic::Kind::Icon) {
        painter.drawImage(image.rect(), composed(picture, ground, picture.size(), Fit::Unscaled));
    } else {
        picture.drawStretched(painter, image.rect());
    }
    painter.end();
    return image;
}

// A 32-bit image's lines have no padding, so its pixels are one run of words.
std::span<const std::uint32_t> pixelWords(const QImage& image) {
    return {reinterpret_cast<const std::uint32_t*>(image.constBits()),
            static_cast<std::size_t>(image.sizeInBytes()) / sizeof(std::uint32_t)};
}

std::span<std::uint32_t> writablePixelWords(QImage& image) {
    return {reinterpret_cast<std::uint32_t*>(image.bits()),
            static_cast<std::size_t>(image.sizeInBytes()) / sizeof(std::uint32_t)};
}

// Every pixel index once, in an order shuffled afresh at every call.
std::vector<std::uint32_t> shuffledPixelOrder(std::size_t count) {
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::mt19937 generator(
        static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    std::shuffle(order.begin(), order.end(), generator);
    return order;
}

} // namespace

FadeGraphic::FadeGraphic(const QImage& image)
    : kind_(image.isNull() ? Kind::None : Kind::Raster)
    , image_(image) {
}

FadeGraphic::FadeGraphic(const QPixmap& pixmap)
    : FadeGraphic(pixmap.toImage()) {
}

FadeGraphic::FadeGraphic(const QIcon& icon, QSize ownSize) {
    if (icon.isNull()) {
        return;
    }
    if (ownSize.isEmpty()) {
        const QList<QSize> offered = icon.availableSizes();
        ownSize = offered.isEmpty()
                      ? QSize(32, 32)
                      : *std::max_element(offered.begin(), offered.end(), [](QSize a, QSize b) {
                            return a.width() * a.height() < b.width() * b.height();
                        });
    }
    // Exactly the own size, whatever the screen's pixel ratio.
    QImage image(ownSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, image.rect());
    painter.end();
    kind_ = Kind::Icon;
    image_ = image;
}

FadeGraphic::FadeGraphic(const QPicture& drawing)
    : kind_(drawing.boundingRect().isEmpty() ? Kind::None : Kind::Drawing)
    , drawing_(drawing) {
}

QSize FadeGraphic::size() const {
    return kind_ == Kind::Drawing ? drawing_.boundingRect().size() : image_.size();
}

void FadeGraphic::draw(QPainter& painter, QPoint at) const {
    if (kind_ == Kind::Drawing) {
        painter.drawPicture(at - drawing_.boundingRect().topLeft(), drawing_);
    } else if (!image_.isNull()) {
        painter.drawImage(at, image_);
    }
}

void FadeGraphic::drawStretched(QPainter& painter, const QRect& area) const {
    if (kind_ != Kind::Drawing) {
        if (!image_.isNull()) {
            painter.drawImage(area, image_);
        }
        return;
    }
    const QRect bounds = drawing_.boundingRect();
    painter.save();
    painter.translate(area.topLeft());
    painter.scale(double(area.width()) / bounds.width(), double(area.height()) / bounds.height());
    painter.drawPicture(-bounds.topLeft(), drawing_);
    painter.restore();
}

void blendImages(std::span<const std::uint32_t> from, std::span<const std::uint32_t> to, int weight,
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
// the outermost one ends, the pointer notices held back meanwhile are
// delivered from the event loop.
class FadePicture::TransitionScope {
public:
    explicit TransitionScope(FadePicture* fade)
        : fade_(fade) {
        ++fade->transitionDepth_;
    }
    ~TransitionScope() {
        if (fade_ && --fade_->transitionDepth_ == 0 && !fade_->heldNotices_.empty()) {
            QMetaObject::invokeMethod(fade_, &FadePicture::deliverHeldNotice, Qt::QueuedConnection);
        }
    }
    TransitionScope(const TransitionScope&) = delete;
    TransitionScope& operator=(const TransitionScope&) = delete;

private:
    QPointer<FadePicture> fade_;
};

FadePicture::FadePicture(QWidget* parent)
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
    shownImage_ = composed({}, colorFrom_, size(), Fit::Unscaled);
    targetImage_ = composed({}, colorTo_, size(), Fit::Unscaled);
    startImage_ = shownImage_.copy();
}

// While a transition back runs, pictures and colours are swapped; the final
// Reset swaps them back. A value set meanwhile therefore goes where its
// property returns to, so that it is not handed to the other one.
void FadePicture::setPicFrom(const FadeGraphic& picture) {
    assignPicture(reversed_ ? picTo_ : picFrom_, picture);
}

void FadePicture::setPicTo(const FadeGraphic& picture) {
    assignPicture(reversed_ ? picFrom_ : picTo_, picture);
}

void FadePicture::assignPicture(FadeGraphic& kept, const FadeGraphic& picture) {
    kept = picture;
    // The running transition back keeps its frames; its final Reset shows the picture.
    if (!reversed_) {
        reset();
    }
}

void FadePicture::setColorFrom(const QColor& color) {
    assignColor(reversed_ ? colorTo_ : colorFrom_, color);
}

void FadePicture::setColorTo(const QColor& color) {
    assignColor(reversed_ ? colorFrom_ : colorTo_, color);
}

void FadePicture::assignColor(QColor& kept, const QColor& color) {
    if (kept != color) {
        kept = color;
        reset();
    }
}

void FadePicture::setDisolvRate(int rate) {
    const long long pixels = static_cast<long long>(width()) * height();
    // At least one: the dissolve divides the pixel count by it.
    disolvRate_ = static_cast<int>(std::max(1LL, std::min<long long>(rate, pixels)));
}

void FadePicture::setBlendRate(int rate) {
    blendRate_ = std::clamp(rate, 1, 255);
}

void FadePicture::setStretchToFit(bool stretch) {
    // While a transition back forces stretching, the caller's choice is the saved one.
    bool& kept = reversed_ ? savedStretchToFit_ : stretchToFit_;
    if (kept != stretch) {
        kept = stretch;
        reset();
    }
}

void FadePicture::reset() {
    if (reversed_) {
        leaveReversal();
    }
    if (!rebuildImages()) {
        return;
    }
    // Only the size of the start image matters until a blend fills it; a copy
    // keeps its content defined meanwhile.
    if (startImage_.size() != shownImage_.size()) {
        startImage_ = shownImage_.copy();
    }
    update();
    emit imagesReset(this);
}

// Draws the shown image from picFrom and the target image from picTo. When
// the pictures are not stretched, the control first takes the size of
// picFrom (or of picTo when only that is set), and picTo is fitted to it.
// False when the control did not survive its own resizing.
bool FadePicture::rebuildImages() {
    if (!stretchToFit_ && !setSizeFromPicture()) {
        return false;
    }
    const bool fitPicTo = stretchToFit_ || !picFrom_.isNull();
    shownImage_ =
        composed(picFrom_, colorFrom_, size(), stretchToFit_ ? Fit::Stretch : Fit::Unscaled);
    targetImage_ = composed(picTo_, colorTo_, size(), fitPicTo ? Fit::Stretch : Fit::Unscaled);
    return true;
}

bool FadePicture::setSizeFromPicture() {
    const QSize pictureSize = picFrom_.isNull() ? picTo_.size() : picFrom_.size();
    if (pictureSize.isEmpty() || pictureSize == size()) {
        return true;
    }
    // A shown control resets once more from its resize event, and a handler of
    // that reset may destroy it.
    const QPointer<FadePicture> alive(this);
    resize(pictureSize);
    return !alive.isNull();
}

void FadePicture::leaveReversal() {
    std::swap(picFrom_, picTo_);
    std::swap(colorFrom_, colorTo_);
    stretchToFit_ = savedStretchToFit_;
    reversed_ = false;
}

// Turns pictures and colours round so that the forward blend runs back to
// picFrom, with both pictures stretched to the control. False when the
// control did not survive the resets on the way.
bool FadePicture::enterReversal() {
    const QPointer<FadePicture> alive(this);
    // A transition back started from within another one starts at rest;
    // otherwise it would save the forced stretching as the caller's choice.
    if (reversed_) {
        reset();
        if (!alive) {
            return false;
        }
    }
    savedStretchToFit_ = stretchToFit_;
    stretchToFit_ = true;
    std::swap(colorFrom_, colorTo_);
    const FadeGraphic formerPicFrom = picFrom_;
    setPicFrom(picTo_);
    if (!alive) {
        return false;
    }
    setPicTo(formerPicFrom);
    if (!alive) {
        return false;
    }
    reset();
    if (!alive) {
        return false;
    }
    reversed_ = true;
    startImage_ = shownImage_.copy();
    return true;
}

void FadePicture::blend() {
    const TransitionScope scope(this);
    const QPointer<FadePicture> alive(this);
    reset();
    if (!alive) {
        return;
    }
    // The setter keeps the rate in range; the frame weights divide by it.
    if (blendRate_ < 1) {
        throw FadePictureError("BlendRate must be between 0 and 256");
    }
    emit transitionStarted(this);
    if (!alive) {
        return;
    }
    startImage_ = shownImage_.copy();
    if (!runBlendFrames()) {
        return;
    }
    if (autoReverse_) {
        waitSwapDelay();
        if (swapOnReverse_) {
            dissolveBack();
        } else {
            blendBack();
        }
        if (!alive) {
            return;
        }
    }
    emit transitionFinished(this);
}

void FadePicture::blendBack() {
    const TransitionScope scope(this);
    if (enterReversal() && runBlendFrames()) {
        reset();
    }
}

void FadePicture::dissolveBack() {
    const TransitionScope scope(this);
    if (!enterReversal()) {
        return;
    }
    const QSize area = shownImage_.size();
    const auto coversArea = [this, area] {
        return shownImage_.size() == area && targetImage_.size() == area;
    };
    const std::vector<std::uint32_t> order =
        shuffledPixelOrder(static_cast<std::size_t>(area.width()) * area.height());
    // A control made smaller than disolvRate pixels after setting it would
    // otherwise get no step at all.
    const std::size_t step =
        std::max<std::size_t>(1, order.size() / static_cast<std::size_t>(disolvRate_));
    const std::size_t frames = order.size() / step;
    std::span<const std::uint32_t> rest(order);
    // A hidden control has nothing to show: it goes straight to the last
    // frame. A control resized meanwhile no longer matches the order.
    for (std::size_t frame = 0; frame < frames && isVisible() && coversArea(); ++frame) {
        revealPixels(rest.first(step));
        rest = rest.subspan(step);
        if (!presentFrame(true)) {
            return;
        }
    }
    if (coversArea()) {
        revealPixels(rest);
    }
    if (presentFrame(false)) {
        reset();
    }
}

// The cross-fade from the start image to the target image in blendRate + 1
// frames. A control hidden meanwhile has nothing to show: it goes straight to
// the last frame. False when the control was destroyed.
bool FadePicture::runBlendFrames() {
    const int rate = blendRate_;
    for (int frame = 0; frame <= rate; ++frame) {
        if (!isVisible()) {
            blendFrame(32);
            return true;
        }
        blendFrame(frame * 32 / rate);
        if (!presentFrame(true)) {
            return false;
        }
    }
    return true;
}

void FadePicture::blendFrame(int weight) {
    blendImages(pixelWords(startImage_), pixelWords(targetImage_), weight,
                writablePixelWords(shownImage_));
}

void FadePicture::revealPixels(std::span<const std::uint32_t> order) {
    const std::span<const std::uint32_t> target = pixelWords(targetImage_);
    const std::span<std::uint32_t> shown = writablePixelWords(shownImage_);
    for (const std::uint32_t pixel : order) {
        shown[pixel] = target[pixel];
    }
}

// Paints the frame at once and, with processMsgs, lets the pending events
// through. False when those events destroyed the control.
bool FadePicture::presentFrame(bool letEventsThrough) {
    const QPointer<FadePicture> alive(this);
    repaint();
    if (alive && letEventsThrough && processMsgs_) {
        QCoreApplication::processEvents();
    }
    return !alive.isNull();
}

// The pause before the way back lets no events through: the picture stands
// still, as does the rest of the program.
void FadePicture::waitSwapDelay() const {
    std::this_thread::sleep_for(std::chrono::seconds(swapDelay_));
}

// A transition lets events through between its frames, but a notice that the
// pointer came or went would start another transition inside it. The notices
// wait until the transition is over and then come one at a time, in their
// order: each waits for the transition the one before it started.
void FadePicture::notePointer(bool inside) {
    if (transitionDepth_ > 0 || !heldNotices_.empty()) {
        heldNotices_.push_back(inside);
        return;
    }
    if (inside) {
        emit mouseEntered(this);
    } else {
        emit mouseLeft(this);
    }
}

void FadePicture::deliverHeldNotice() {
    if (transitionDepth_ > 0 || heldNotices_.empty()) {
        return;
    }
    const bool inside = heldNotices_.front();
    heldNotices_.pop_front();
    const QPointer<FadePicture> alive(this);
    if (inside) {
        emit mouseEntered(this);
    } else {
        emit mouseLeft(this);
    }
    // A handler that started no transition leaves the next notice to come now.
    if (alive && transitionDepth_ == 0 && !heldNotices_.empty()) {
        QMetaObject::invokeMethod(this, &FadePicture::deliverHeldNotice, Qt::QueuedConnection);
    }
}

void FadePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // A control resized while hidden gets its new images only from the resize
    // event on showing; until then, nothing of the region may stay undrawn.
    if (shownImage_.size() != size()) {
        painter.fillRect(rect(), colorFrom_);
    }
    painter.drawImage(0, 0, shownImage_);
}

void FadePicture::moveEvent(QMoveEvent* event) {
    reset();
    QWidget::moveEvent(event);
}

void FadePicture::resizeEvent(QResizeEvent* event) {
    reset();
    QWidget::resizeEvent(event);
}

void FadePicture::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    notePointer(true);
}

void FadePicture::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    notePointer(false);
}

void FadePicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = true;
    }
    event->accept();
}

void FadePicture::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void FadePicture::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const bool click = leftPressed_ && rect().contains(event->position().toPoint());
    leftPressed_ = false;
    if (click) {
        emit clicked(this);
    }
}
