#include "FlatComboBox.h"

#include "Bevel.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyle>
#include <array>

// The flat combo box's own frame: its settings, how it follows the focus and
// the pointer, and the painting of the box's field and frame.

namespace {

Qt::Edges edgesOf(CustomFlatComboBox::FrameSides sides) {
    Qt::Edges edges;
    edges.setFlag(Qt::LeftEdge, sides.testFlag(CustomFlatComboBox::sdLeft));
    edges.setFlag(Qt::TopEdge, sides.testFlag(CustomFlatComboBox::sdTop));
    edges.setFlag(Qt::RightEdge, sides.testFlag(CustomFlatComboBox::sdRight));
    edges.setFlag(Qt::BottomEdge, sides.testFlag(CustomFlatComboBox::sdBottom));
    return edges;
}

// A frame style as up to two one-pixel rings, outer first: the colour roles
// of the left and top lines, then of the right and bottom lines.
struct Ring {
    QPalette::ColorRole topLeft;
    QPalette::ColorRole bottomRight;
};
struct FrameLook {
    int rings;
    std::array<Ring, 2> ring;
};

FrameLook lookOf(CustomFlatComboBox::FrameStyle style) {
    using P = QPalette;
    switch (style) {
    case CustomFlatComboBox::fsGroove:
        return {2, {{{P::Dark, P::Light}, {P::Light, P::Dark}}}};
    case CustomFlatComboBox::fsBump:
        return {2, {{{P::Light, P::Dark}, {P::Dark, P::Light}}}};
    case CustomFlatComboBox::fsLowered:
        return {2, {{{P::Dark, P::Light}, {P::Shadow, P::Midlight}}}};
    case CustomFlatComboBox::fsButtonDown:
        return {2, {{{P::Shadow, P::Light}, {P::Dark, P::Midlight}}}};
    case CustomFlatComboBox::fsRaised:
        return {2, {{{P::Light, P::Shadow}, {P::Midlight, P::Dark}}}};
    case CustomFlatComboBox::fsButtonUp:
        return {2, {{{P::Midlight, P::Shadow}, {P::Light, P::Dark}}}};
    case CustomFlatComboBox::fsStatus:
        return {1, {{{P::Dark, P::Light}, {}}}};
    case CustomFlatComboBox::fsPopup:
        return {1, {{{P::Light, P::Dark}, {}}}};
    default:
        return {0, {}};
    }
}

} // namespace

void CustomFlatComboBox::setFlatButtons(bool flat) {
    if (flat != flatButtons_) {
        flatButtons_ = flat;
        update();
    }
}

void CustomFlatComboBox::setFrameColor(const QColor& color) {
    if (color != frameColor_) {
        frameColor_ = color;
        update();
    }
}

void CustomFlatComboBox::setFrameFlat(bool flat) {
    frameFlat_ = flat;
    if (flat) {
        frameVisible_ = true;
        frameSides_ = FrameSides(sdLeft | sdTop | sdRight | sdBottom);
        frameStyle_ = frameFlatStyle_;
    }
    update();
}

void CustomFlatComboBox::setFrameFlatStyle(FrameStyle style) {
    if (style != frameFlatStyle_) {
        frameFlatStyle_ = style;
        update();
    }
}

void CustomFlatComboBox::setFrameFocusStyle(FrameStyle style) {
    if (style != frameFocusStyle_) {
        frameFocusStyle_ = style;
        update();
    }
}

void CustomFlatComboBox::setFrameSides(FrameSides sides) {
    if (sides != frameSides_) {
        frameSides_ = sides;
        update();
    }
}

void CustomFlatComboBox::setFrameStyle(FrameStyle style) {
    if (style != frameStyle_) {
        frameStyle_ = style;
        update();
    }
}

void CustomFlatComboBox::setFrameVisible(bool visible) {
    frameVisible_ = visible;
    update();
}

void CustomFlatComboBox::updateFrame() {
    if (view()->isVisible()) {
        return; // redrawn when the list closes
    }
    if (frameFlat_) {
        frameStyle_ = focused_ || hot_ ? frameFocusStyle_ : frameFlatStyle_;
        update();
    } else if (flatButtons_) {
        update(buttonArea());
    }
}

QRect CustomFlatComboBox::buttonArea() const {
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return QRect(width() - extent - 2, 0, extent + 2, height());
}

void CustomFlatComboBox::paintEvent(QPaintEvent* event) {
    if (ownerDrawn() && drawItem_) {
        paintOwnerDrawnFace();
        if (frameVisible_) {
            QPainter painter(this);
            paintOwnFrame(painter);
        }
        return;
    }
    if (style_ == csSimple) {
        QPainter painter(this);
        paintSimpleField(painter);
        if (frameVisible_) {
            paintOwnFrame(painter);
        }
        return;
    }
    QComboBox::paintEvent(event);
    if (frameVisible_) {
        QPainter painter(this);
        paintOwnFrame(painter);
    }
}

// The ground of the text field and, unless the own frame replaces it, a
// sunken border as a text box has.
void CustomFlatComboBox::paintSimpleField(QPainter& painter) {
    painter.fillRect(rect(), palette().brush(QPalette::Base));
    if (frameVisible_) {
        return;
    }
    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    if (!isEnabled()) {
        drawBevelRing(painter, outer, disabledColor_, disabledColor_);
        drawBevelRing(painter, inner, disabledColor_, disabledColor_);
        return;
    }
    const QPalette& colors = palette();
    drawBevelRing(painter, outer, colors.color(QPalette::Dark), colors.color(QPalette::Light));
    drawBevelRing(painter, inner, colors.color(QPalette::Shadow), colors.color(QPalette::Midlight));
}

void CustomFlatComboBox::paintOwnFrame(QPainter& painter) {
    const QColor ground = palette().color(QPalette::Base);
    // Cover the usual border.
    drawBevelRing(painter, rect(), ground, ground);
    drawBevelRing(painter, rect().adjusted(1, 1, -1, -1), ground, ground);

    const bool enabled = isEnabled();
    if (flatButtons_ && buttonShown() && !focused_ && !hot_) {
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

    const Qt::Edges edges = edgesOf(frameSides_);
    if (frameStyle_ == fsFlat) {
        const QColor line = enabled ? frameColor_ : disabledColor_;
        drawBevelRing(painter, rect(), line, line, edges);
        return;
    }
    const FrameLook look = lookOf(frameStyle_);
    QRect ring = rect();
    for (int index = 0; index < look.rings; ++index) {
        const QColor topLeft = enabled ? palette().color(look.ring[index].topLeft) : disabledColor_;
        const QColor bottomRight =
            enabled ? palette().color(look.ring[index].bottomRight) : disabledColor_;
        drawBevelRing(painter, ring, topLeft, bottomRight, edges);
        ring.adjust(1, 1, -1, -1);
    }
}
