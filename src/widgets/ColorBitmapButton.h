#pragma once

#include "ButtonGlyph.h"

#include <QColor>
#include <QImage>
#include <QPushButton>

class QShortcut;

// A push button whose face is painted in a colour of its own instead of the
// style's button colour, with an optional picture (glyph) beside its
// caption whose transparent parts show the face colour too. It draws itself
// completely: face, raised or pressed edge, glyph, caption and focus mark.
//
// The glyph bitmap holds one to four images side by side, for the up,
// disabled and down states; its transparent colour is the colour of its
// bottom-left pixel. Without an image of its own the disabled state shows
// the glyph's black pixels embossed. A disabled caption is drawn engraved, in
// grey on a white shadow.
class TBitBtnWithColor : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QImage Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(TBitBtnWithColorKind Kind READ Kind WRITE SetKind)
    Q_PROPERTY(TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_PROPERTY(TButtonStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)

public:
    // The standard buttons: each sets Default, Cancel, ModalResult, the
    // glyph and the caption.
    enum TBitBtnWithColorKind {
        bkCustom,
        bkOK,
        bkCancel,
        bkHelp,
        bkYes,
        bkNo,
        bkClose,
        bkAbort,
        bkRetry,
        bkIgnore,
        bkAll,
    };
    Q_ENUM(TBitBtnWithColorKind)

    // Where the glyph stands beside the caption.
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    Q_ENUM(TButtonLayout)

    enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
    Q_ENUM(TButtonStyle)

    explicit TBitBtnWithColor(QWidget* parent = nullptr);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    const QImage& Glyph() const { return glyph_.Bitmap(); }
    // A bitmap whose width is a multiple of its height holds that many
    // images when they are four at most.
    void SetGlyph(const QImage& glyph);
    // Reads bkCustom once Default, Cancel, ModalResult or the glyph no
    // longer are those of the kind.
    TBitBtnWithColorKind Kind() const;
    void SetKind(TBitBtnWithColorKind kind);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    // Pixels between the face's edge and the glyph; -1 centres the content.
    // Values below -1 are ignored.
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int count);
    // Pixels between glyph and caption; -1 spreads them evenly.
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    // Kept for the windows' layouts; the face looks the same in every style.
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle style);
    // What a click makes the result of the modal dialog the button is on;
    // 0 for nothing.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Escape anywhere in the button's window clicks it.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Clicked();
    void FocusMoved(QWidget* now);
    void DrawCaption(QPainter& painter, const QRect& area) const;
    void DrawFocusMark(QPainter& painter) const;

    TButtonGlyph glyph_;
    QColor color_;
    mutable TBitBtnWithColorKind kind_ = bkCustom;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    TButtonStyle style_ = bsAutoDetect;
    int modalResult_ = 0;
    bool cancel_ = false;
    QShortcut* escape_ = nullptr;
    bool glyphSetExplicitly_ = false;
    // The button that Enter would press in its window: the focused one, or
    // the default one while the focus is on a control that is no button.
    bool activeButton_ = false;
};

// Where glyph and caption stand in the face area: the glyph's top-left
// corner and the caption's rectangle.
struct TGlyphCaptionPlace {
    QPoint Glyph;
    QRect Caption;
};

TGlyphCaptionPlace LayoutGlyphAndCaption(const QRect& area, QSize glyph, QSize caption,
                                         TBitBtnWithColor::TButtonLayout layout, int margin,
                                         int spacing);
