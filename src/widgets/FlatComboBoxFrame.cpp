#include "FlatComboBox.h"

#include "Bevel.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyle>
#include <array>

// The flat combo box's own frame: its settings, how it follows the focus and
// the pointer, and the painting of the box's field and frame.

namespace {

Qt::Edges EdgesOf(TCustomFlatComboBox::TSides sides) {
    Qt::Edges edges;
    edges.setFlag(Qt::LeftEdge, sides.testFlag(TCustomFlatComboBox::sdLeft));
    edges.setFlag(Qt::TopEdge, sides.testFlag(TCustomFlatComboBox::sdTop));
    edges.setFlag(Qt::RightEdge, sides.testFlag(TCustomFlatComboBox::sdRight));
    edges.setFlag(Qt::BottomEdge, sides.testFlag(TCustomFlatComboBox::sdBottom));
    return edges;
}

// A frame style as up to two one-pixel rings, outer first: the colour roles
// of the left and top lines, then of the right and bottom lines.
struct TRing {
    QPalette::ColorRole TopLeft;
    QPalette::ColorRole BottomRight;
};
struct TFrameLook {
    int Rings;
    std::array<TRing, 2> Ring;
};

TFrameLook LookOf(TCustomFlatComboBox::TFrameStyle style) {
    using P = QPalette;
    switch (style) {
    case TCustomFlatComboBox::fsGroove:
        return {2, {{{P::Dark, P::Light}, {P::Light, P::Dark}}}};
    case TCustomFlatComboBox::fsBump:
        return {2, {{{P::Light, P::Dark}, {P::Dark, P::Light}}}};
    case TCustomFlatComboBox::fsLowered:
        return {2, {{{P::Dark, P::Light}, {P::Shadow, P::Midlight}}}};
    case TCustomFlatComboBox::fsButtonDown:
        return {2, {{{P::Shadow, P::Light}, {P::Dark, P::Midlight}}}};
    case TCustomFlatComboBox::fsRaised:
        return {2, {{{P::Light, P::Shadow}, {P::Midlight, P::Dark}}}};
    case TCustomFlatComboBox::fsButtonUp:
        return {2, {{{P::Midlight, P::Shadow}, {P::Light, P::Dark}}}};
    case TCustomFlatComboBox::fsStatus:
        return {1, {{{P::Dark, P::Light}, {}}}};
    case TCustomFlatComboBox::fsPopup:
        return {1, {{{P::Light, P::Dark}, {}}}};
    default:
        return {0, {}};
    }
}

} // namespace

void TCustomFlatComboBox::SetFlatButtons(bool flat) {
    if (flat != flatButtons_) {
        flatButtons_ = flat;
        update();
    }
}

void TCustomFlatComboBox::SetFrameColor(const QColor& color) {
    if (color != frameColor_) {
        frameColor_ = color;
        update();
    }
}

void TCustomFlatComboBox::SetFrameFlat(bool flat) {
    frameFlat_ = flat;
    if (flat) {
        frameVisible_ = true;
        frameSides_ = TSides(sdLeft | sdTop | sdRight | sdBottom);
        frameStyle_ = frameFlatStyle_;
    }
    update();
}

void TCustomFlatComboBox::SetFrameFlatStyle(TFrameStyle style) {
    if (style != frameFlatStyle_) {
        frameFlatStyle_ = style;
        update();
    }
}

void TCustomFlatComboBox::SetFrameFocusStyle(TFrameStyle style) {
    if (style != frameFocusStyle_) {
        frameFocusStyle_ = style;
        update();
    }
}

void TCustomFlatComboBox::SetFrameSides(TSides sides) {
    if (sides != frameSides_) {
        frameSides_ = sides;
        update();
    }
}

void TCustomFlatComboBox::SetFrameStyle(TFrameStyle style) {
    if (style != frameStyle_) {
        frameStyle_ = style;
        update();
    }
}

void TCustomFlatComboBox::SetFrameVisible(bool visible) {
    frameVisible_ = visible;
    update();
}

void TCustomFlatComboBox::UpdateFrame() {
    if (view()->isVisible()) {
        return; // redrawn when the list closes
    }
    if (frameFlat_) {
        frameStyle_ = focused_ || hot_ ? frameFocusStyle_ : frameFlatStyle_;
        update();
    } else if (flatButtons_) {
        update(ButtonArea());
    }
}

QRect TCustomFlatComboBox::ButtonArea() const {
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QRect(width() - extent - 2, 0, extent + 2, height());
}

void TCustomFlatComboBox::paintEvent(QPaintEvent* event) {
    if (style_ == csSimple) {
        QPainter painter(this);
        PaintSimpleField(painter);
        if (frameVisible_) {
            PaintOwnFrame(painter);
        }
        return;
    }
    QComboBox::paintEvent(event);
    if (frameVisible_) {
        QPainter painter(this);
        PaintOwnFrame(painter);
    }
}

// The ground of the text field and, unless the own frame replaces it, a
// sunken border as a text box has.
void TCustomFlatComboBox::PaintSimpleField(QPainter& painter) {
    painter.fillRect(rect(), palette().brush(QPalette::Base));
    if (frameVisible_) {
        return;
    }
    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    if (!isEnabled()) {
        DrawBevelRing(painter, outer, disabledColor_, disabledColor_);
        DrawBevelRing(painter, inner, disabledColor_, disabledColor_);
        return;
    }
    const QPalette& colors = palette();
    DrawBevelRing(painter, outer, colors.color(QPalette::Dark), colors.color(QPalette::Light));
    DrawBevelRing(painter, inner, colors.color(QPalette::Shadow), colors.color(QPalette::Midlight));
}

void TCustomFlatComboBox::PaintOwnFrame(QPainter& painter) {
    const QColor ground = palette().color(QPalette::Base);
    // Cover the usual border.
    DrawBevelRing(painter, rect(), ground, ground);
    DrawBevelRing(painter, rect().adjusted(1, 1, -1, -1), ground, ground);

    const bool enabled = isEnabled();
    if (flatButtons_ && ButtonShown() && !focused_ && !hot_) {
        const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        const QRect button(width() - extent - 2, 2, extent, height() - 4);
        painter.fillRect(button, ground);
        const int x = extent / 2 + button.left() - 1;
        const int y = height() / 2 + 2;
        const std::array<QPoint, 3> arrow{QPoint(x, y), QPoint(x - 5, y - 5), QPoint(x + 5, y - 5)};
        const QColor arrowColor = enabled ? QColor(Qt::black) : disabledColor_;
        painter.setPen(arrowColor);
        painter.setBrush(arrowColor);
        painter.drawPolygon(arrow.data(), static_cast<int>(arrow.size()));
    }

    const Qt::Edges edges = EdgesOf(frameSides_);
    if (frameStyle_ == fsFlat) {
        const QColor line = enabled ? frameColor_ : disabledColor_;
        DrawBevelRing(painter, rect(), line, line, edges);
        return;
    }
    const TFrameLook look = LookOf(frameStyle_);
    QRect ring = rect();
    for (int index = 0; index < look.Rings; ++index) {
        const QColor topLeft = enabled ? palette().color(look.Ring[index].TopLeft) : disabledColor_;
        const QColor bottomRight =
            enabled ? palette().color(look.Ring[index].BottomRight) : disabledColor_;
        DrawBevelRing(painter, ring, topLeft, bottomRight, edges);
        ring.adjust(1, 1, -1, -1);
    }
}
