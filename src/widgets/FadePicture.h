#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <span>
#include <stdexcept>

// Raised by the fade picture's own operations.
class EOrlenFade : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One step of a cross-fade over 32-bit pixel words: every byte of `output`
// becomes (from * (32 - weight) + to * weight) / 32, rounded down, taken from
// the bytes at the same place in the two inputs. Weight 0 writes nothing and
// weight 32 gives `to` exactly. Works over the words the three have in common.
void BlendImages(std::span<const std::uint32_t> from, std::span<const std::uint32_t> to, int weight,
                 std::span<std::uint32_t> output);

// A picture that turns into a second picture in visible frames: a cross-fade
// forward (Blend), a cross-fade back (BlendBack) and a random pixel-by-pixel
// dissolve back (DissolveBack). Each transition runs on the calling thread and
// returns when it is over; every frame is painted at once. With ProcessMsgs the
// pending events are let through between frames, so a handler may hide or
// destroy the control meanwhile: the transition then stops early. Pointer
// notices that come during a transition wait until it is over. While a
// transition back runs, PicFrom/PicTo and ColorFrom/ColorTo read swapped and
// StretchToFit reads true; values set then still land where they were meant.
class TOrlenFade : public QWidget {
    Q_OBJECT

public:
    explicit TOrlenFade(QWidget* parent = nullptr);

    // The pictures, kept as given; an empty image means no picture. Setting
    // one rebuilds what the control shows (see Reset).
    const QImage& PicFrom() const { return picFrom_; }
    void SetPicFrom(const QImage& picture);
    void SetPicFrom(const QPixmap& picture) { SetPicFrom(picture.toImage()); }
    const QImage& PicTo() const { return picTo_; }
    void SetPicTo(const QImage& picture);
    void SetPicTo(const QPixmap& picture) { SetPicTo(picture.toImage()); }

    // The grounds shown where a picture is missing or transparent.
    QColor ColorFrom() const { return colorFrom_; }
    void SetColorFrom(const QColor& color);
    QColor ColorTo() const { return colorTo_; }
    void SetColorTo(const QColor& color);

    // Pixels revealed per frame of a dissolve are the pixel count divided by
    // this; kept between 1 and the control's pixel count at the time of setting.
    int DisolvRate() const { return disolvRate_; }
    void SetDisolvRate(int rate);
    // A cross-fade takes BlendRate + 1 frames; kept between 1 and 255.
    int BlendRate() const { return blendRate_; }
    void SetBlendRate(int rate);

    // True: both pictures are stretched to the control. False: the control
    // takes the size of PicFrom (or of PicTo when only that is set).
    bool StretchToFit() const { return stretchToFit_; }
    void SetStretchToFit(bool stretch);

    bool ProcessMsgs() const { return processMsgs_; }
    void SetProcessMsgs(bool process) { processMsgs_ = process; }
    // Blend runs the way back on its own after waiting SwapDelay seconds,
    // as a dissolve when SwapOnReverse is set, else as a cross-fade.
    bool AutoReverse() const { return autoReverse_; }
    void SetAutoReverse(bool reverse) { autoReverse_ = reverse; }
    bool SwapOnReverse() const { return swapOnReverse_; }
    void SetSwapOnReverse(bool swap) { swapOnReverse_ = swap; }
    int SwapDelay() const { return swapDelay_; }
    void SetSwapDelay(int seconds) { swapDelay_ = seconds; }

    // What the control paints, unscaled from its top-left corner.
    const QImage& ShownImage() const { return shownImage_; }

    // Rebuilds the shown and the target image from the pictures and colours.
    void Reset();
    void Blend();
    void BlendBack();
    void DissolveBack();

signals:
    void OnMouseEnter(TOrlenFade* sender);
    void OnMouseLeave(TOrlenFade* sender);
    void OnBegin(TOrlenFade* sender);
    void OnEnd(TOrlenFade* sender);
    void OnReset(TOrlenFade* sender);
    // A left click; the plain mouse events are kept to the control.
    void OnClick(TOrlenFade* sender);

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

    void AssignPicture(QImage& kept, const QImage& picture);
    void AssignColor(QColor& kept, const QColor& color);
    bool RebuildImages();
    bool SetSizeFromPicture();
    void LeaveReversal();
    bool EnterReversal();
    bool RunBlendFrames();
    void BlendFrame(int weight);
    void RevealPixels(std::span<const std::uint32_t> order);
    bool PresentFrame(bool letEventsThrough);
    void WaitSwapDelay() const;
    void ReportPointer();

    QImage picFrom_;
    QImage picTo_;
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
    bool pointerInside_ = false;
    bool reportedInside_ = false;
    bool leftPressed_ = false;
};
