#pragma once

#include "ButtonGlyph.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <functional>

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
class ColorBitmapButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QImage Glyph READ glyph WRITE setGlyph)
    Q_PROPERTY(ButtonKind Kind READ kind WRITE setKind)
    Q_PROPERTY(ButtonLayout Layout READ glyphLayout WRITE setGlyphLayout)
    Q_PROPERTY(int Margin READ margin WRITE setMargin)
    Q_PROPERTY(int NumGlyphs READ numGlyphs WRITE setNumGlyphs)
    Q_PROPERTY(int Spacing READ spacing WRITE setSpacing)
    Q_PROPERTY(ButtonStyle Style READ buttonStyle WRITE setButtonStyle)
    Q_PROPERTY(int ModalResult READ modalResult WRITE setModalResult)
    Q_PROPERTY(bool Cancel READ cancel WRITE setCancel)

public:
    // The standard buttons: each sets Default, Cancel, ModalResult, the
    // glyph and the caption.
    enum ButtonKind {
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
    Q_ENUM(ButtonKind)

    // Where the glyph stands beside the caption.
    enum ButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    Q_ENUM(ButtonLayout)

    enum ButtonStyle { bsAutoDetect, bsWin31, bsNew };
    Q_ENUM(ButtonStyle)

    explicit ColorBitmapButton(QWidget* parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor& color);
    const QImage& glyph() const { return glyph_.bitmap(); }
    // A bitmap whose width is a multiple of its height holds that many
    // images when they are four at most.
    void setGlyph(const QImage& glyph);
    // Reads bkCustom once Default, Cancel, modalResult or the glyph no
    // longer are those of the kind.
    ButtonKind kind() const;
    void setKind(ButtonKind kind);
    ButtonLayout glyphLayout() const { return layout_; }
    void setGlyphLayout(ButtonLayout layout);
    // Pixels between the face's edge and the glyph; -1 centres the content.
    // Values below -1 are ignored.
    int margin() const { return margin_; }
    void setMargin(int margin);
    int numGlyphs() const { return glyph_.numGlyphs(); }
    void setNumGlyphs(int count);
    // Pixels between glyph and caption; -1 spreads them evenly.
    int spacing() const { return spacing_; }
    void setSpacing(int spacing);
    // Kept for the windows' layouts; the face looks the same in every style.
    ButtonStyle buttonStyle() const { return style_; }
    void setButtonStyle(ButtonStyle style);
    // What a click makes the result of the modal dialog the button is on;
    // 0 for nothing.
    int modalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }
    // Escape anywhere in the button's window clicks it.
    bool cancel() const { return cancel_; }
    void setCancel(bool cancel);

    // What a program offers as its help, shown for the control that asks
    // (a bkHelp button). Without one, a bkHelp button clicks as any other.
    // The handler runs inside the button's event: it must not throw.
    using HelpHandler = std::function<void(QWidget* asker)>;
    static void setHelpHandler(HelpHandler handler);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Runs at every click, just before the click is raised: a bkClose or
    // bkHelp button does its work here and raises no click.
    void nextCheckState() override;

private:
    bool actInsteadOfClick();
    void swallowThisClick();
    void watchWindowKeys();
    bool pressAsDefault(const QKeyEvent& key);
    void onClicked();
    void focusMoved(QWidget* now);
    void drawCaption(QPainter& painter, const QRect& area) const;
    void drawFocusMark(QPainter& painter) const;

    ButtonGlyph glyph_;
    QColor color_;
    mutable ButtonKind kind_ = bkCustom;
    ButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    ButtonStyle style_ = bsAutoDetect;
    int modalResult_ = 0;
    bool cancel_ = false;
    QShortcut* escape_ = nullptr;
    // The window whose Enter key presses this button while it is the default.
    QPointer<QWidget> keyWindow_;
    bool glyphSetExplicitly_ = false;
    // The button that Enter would press in its window: the focused one, or
    // the default one while the focus is on a control that is no button.
    bool activeButton_ = false;
};

// Where glyph and caption stand in the face area: the glyph's top-left
// corner and the caption's rectangle.
struct GlyphCaptionPlace {
    QPoint glyph;
    QRect caption;
};

GlyphCaptionPlace layoutGlyphAndCaption(const QRect& area, QSize glyph, QSize caption,
                                        ColorBitmapButton::ButtonLayout layout, int margin,
                                        int spacing);
