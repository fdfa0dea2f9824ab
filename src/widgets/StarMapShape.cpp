#include "StarMapShape.h"

#include "Colors.h"
#include "Cp1252Bytes.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

// The note mark: a dark ring round a light core, one of which stands out on
// any fill and outline the map uses.
constexpr int NoteMarkSize = 6;
const QColor NoteMarkRing(0, 0, 0);
const QColor NoteMarkCore(255, 236, 140);

// Sector names are stored as code page 1252 bytes.
QString decodeCp1252(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char byte : bytes) {
        text.append(QChar(decodeCp1252Byte(static_cast<unsigned char>(byte))));
    }
    return text;
}

} // namespace

QString hintWithNotes(const QString& name, const QStringList& notes) {
    return notes.isEmpty() ? name : name + u'\n' + notes.join(u'\n');
}

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
    setAccessibleName(decodeCp1252(hint));
    updateHint();
}

void StarMapShape::setNotes(const QStringList& notes) {
    if (notes == notes_) {
        return;
    }
    notes_ = notes;
    setAccessibleDescription(notes.join(u'\n'));
    updateHint();
    update();
}

void StarMapShape::updateHint() {
    setToolTip(hintWithNotes(decodeCp1252(hint_), notes_));
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
    if (!notes_.isEmpty()) {
        drawNoteMark(painter);
    }
}

// In the top right corner, over the outline, where it hides no fill.
void StarMapShape::drawNoteMark(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect mark(width() - NoteMarkSize, 0, NoteMarkSize, NoteMarkSize);
    painter.fillRect(mark, NoteMarkRing);
    painter.fillRect(mark.adjusted(1, 1, -1, -1), NoteMarkCore);
}

void StarMapShape::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit mouseDown(this);
}
