#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPicture>
#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <span>
#include <stdexcept>

// Raised by the fade picture's own operations.
class FadePictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One step of a cross-fade over 32-bit pixel words: every byte of `output`
// becomes (from * (32 - weight) + to * weight) / 32, rounded down, taken from
// the bytes at the same place in the two inputs. Weight 0 writes nothing and
// weight 32 gives `to` exactly. Works over the words the three have in common.
void blendImages(std::span<const std::uint32_t> from, std::span<const std::uint32_t> to, int weight,
                 std::span<std::uint32_t> output);

// What a fade picture's picture holds: nothing, a raster image, an icon or a
// scalable drawing. An icon has one size of its own, the largest it offers
// unless one is named; a drawing's size is that of what it draws.
class FadeGraphic {
public:
    enum class Kind { None, Raster, Icon, Drawing };

    FadeGraphic() = default;
    FadeGraphic(const QImage& image);
    FadeGraphic(const QPixmap& pixmap);
    FadeGraphic(const QIcon& icon, QSize ownSize = {});
    FadeGraphic(const QPicture& drawing);

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::None; }
    QSize size() const;
    // The raster image, or the icon at its own size; null for a drawing.
    const QImage& image() const { return image_; }

    // At its own size, its top-left corner at the point.
    void draw(QPainter& painter, QPoint at) const;
    // Stretched over the rectangle.
    void drawStretched(QPainter& painter, const QRect& area) const;

private:
    Kind kind_ = Kind::None;
    QImage image_;
    QPicture drawing_;
};

// A picture that turns into a second picture in visible frames: a cross-fade
// forward (Blend), a cross-fade back (blendBack) and a random pixel-by-pixel
// dissolve back (dissolveBack). Each transition runs on the calling thread and
// returns when it is over; every frame is painted at once. With processMsgs the
// pending events are let through between frames, so a handler may hide or
// destroy the control meanwhile: the transition then stops early. Pointer
// notices that come during a transition wait until it is over and then come
// one by one in their order, each after the transition the one before it
// started. While a
// transition back runs, picFrom/picTo and colorFrom/colorTo read swapped and
// stretchToFit reads true; values set then still land where they were meant.
class FadePicture : public QWidget {
    Q_OBJECT

public:
    explicit FadePicture(QWidget* parent = nullptr);

    // The pictures, kept as given: a raster image, an icon or a drawing; an
    // empty one means no picture. Setting one rebuilds what the control
    // shows (see Reset). Stretched, an icon is drawn at its own size on its
    // colour and that square is stretched to the control; a drawing is
    // drawn on its colour at any size.
    const FadeGraphic& picFrom() const { return picFrom_; }
    void setPicFrom(const FadeGraphic& picture);
    const FadeGraphic& picTo() const { return picTo_; }
    void setPicTo(const FadeGraphic& picture);

    // The grounds shown where a picture is missing or transparent.
    QColor colorFrom() const { return colorFrom_; }
    void setColorFrom(const QColor& color);
    QColor colorTo() const { return colorTo_; }
    void setColorTo(const QColor& color);

    // Pixels revealed per frame of a dissolve are the pixel count divided by
    // this; kept between 1 and the control's pixel count at the time of setting.
    int disolvRate() const { return disolvRate_; }
    void setDisolvRate(int rate);
    // A cross-fade takes blendRate + 1 frames; kept between 1 and 255.
    int blendRate() const { return blendRate_; }
    void setBlendRate(int rate);

    // True: both pictures are stretched to the control. False: the control
    // takes the size of picFrom (or of picTo when only that is set).
    bool stretchToFit() const { return stretchToFit_; }
    void setStretchToFit(bool stretch);

    bool processMsgs() const { return processMsgs_; }
    void setProcessMsgs(bool process) { processMsgs_ = process; }
    // Blend runs the way back on its own after waiting swapDelay seconds,
    // as a dissolve when swapOnReverse is set, else as a cross-fade.
    bool autoReverse() const { return autoReverse_; }
    void setAutoReverse(bool reverse) { autoReverse_ = reverse; }
    bool swapOnReverse() const { return swapOnReverse_; }
    void setSwapOnReverse(bool swap) { swapOnReverse_ = swap; }
    int swapDelay() const { return swapDelay_; }
    void setSwapDelay(int seconds) { swapDelay_ = seconds; }

    // What the control paints, unscaled from its top-left corner.
    const QImage& shownImage() const { return shownImage_; }

    // Rebuilds the shown and the target image from the pictures and colours.
    void reset();
    void blend();
    void blendBack();
    void dissolveBack();

signals:
    void mouseEntered(FadePicture* sender);
    void mouseLeft(FadePicture* sender);
    void transitionStarted(FadePicture* sender);
    void transitionFinished(FadePicture* sender);
    void imagesReset(FadePicture* sender);
    // A left click; the plain mouse events are kept to the control.
    void clicked(FadePicture* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class TransitionScope;

    void assignPicture(FadeGraphic& kept, const FadeGraphic& picture);
    void assignColor(QColor& kept, const QColor& color);
    bool rebuildImages();
    bool setSizeFromPicture();
    void leaveReversal();
    bool enterReversal();
    bool runBlendFrames();
    void blendFrame(int weight);
    void revealPixels(std::span<const std::uint32_t> order);
    bool presentFrame(bool letEventsThrough);
    void waitSwapDelay() const;
    void notePointer(bool inside);
    void deliverHeldNotice();

    FadeGraphic picFrom_;
    FadeGraphic picTo_;
    QColor colorFrom_ = Qt::black;
    QColor colorTo_ = Qt::white;
    int disolvRate_ = 125;
    int blendRate_ = 32;
    bool stretchToFit_ = true;
    bool processMsgs_ = false;
    bool autoReverse_ = false;
    bool swapOnReverse_ = true;
    int swapDelay_ = 1;

    QImage shownImage_;
    QImage targetImage_;
    QImage startImage_;
    // True while a transition back runs on swapped pictures and colours.
    bool reversed_ = false;
    bool savedStretchToFit_ = true;

    int transitionDepth_ = 0;
    // Pointer notices held back while a transition runs, oldest first; true
    // for the pointer coming in.
    std::deque<bool> heldNotices_;
    bool leftPressed_ = false;
};
