#include "StarMapShape.h"

#include "Colors.h"
#include "Cp1252Bytes.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

StarMapShape::StarMapShape(QWidget* parent)
    : QWidget(parent) {
    // A clear fill must let whatever lies below show through.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void StarMapShape::setShapeKind(Kind kind) {
    kind_ = kind;
    update();
}

void StarMapShape::setPenWidth(int width) {
    penWidth_ = std::max(0, width);
    update();
}

// The engine sets most values again as they are, every search: only a real
// change asks for a repaint.
void StarMapShape::setOutlineColor(Color color) {
    const QColor outline = fromBgr(color);
    if (outline != outlineColor_) {
        outlineColor_ = outline;
        update();
    }
}

void StarMapShape::setFillColor(Color color) {
    const QColor fill = fromBgr(color);
    if (fill != fillColor_) {
        fillColor_ = fill;
        update();
    }
}

void StarMapShape::setFillSolid(bool solid) {
    if (solid != fillSolid_) {
        fillSolid_ = solid;
        update();
    }
}

void StarMapShape::setShapeVisible(bool visible) {
    setVisible(visible);
}

void StarMapShape::setHint(const std::string& hint) {
    hint_ = hint;
    QString text;
    text.reserve(static_cast<qsizetype>(hint.size()));
    for (const char byte : hint) {
        text.append(QChar(decodeCp1252Byte(static_cast<unsigned char>(byte))));
    }
    setToolTip(text);
    setAccessibleName(text);
}

void StarMapShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The pen is centred on the outline's path: inset the path by half the
    // pen so that the whole outline stays inside the shape's bounds.
    const int inset = penWidth_ / 2;
    const int extent = std::max(penWidth_, 1);
    const QRectF body(inset, inset, width() - extent, height() - extent);
    if (penWidth_ > 0) {
        QPen pen(outlineColor_, penWidth_);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(fillSolid_ ? QBrush(fillColor_) : QBrush(Qt::NoBrush));
    if (kind_ == Kind::RoundRect) {
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal radius = std::min(body.width(), body.height()) / 8.0;
        painter.drawRoundedRect(body, radius, radius);
    } else if (penWidth_ > 0) {
        painter.drawRect(body);
    } else {
        // Without a pen a rectangle covers every pixel of the shape.
        painter.fillRect(rect(), painter.brush());
    }
}

void StarMapShape::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit mouseDown(this);
}
