#include "Bevel.h"

#include <QPainter>

void drawBevelRing(QPainter& painter, const QRect& rect, const QColor& topLeft,
                   const QColor& bottomRight, Qt::Edges edges) {
    if (rect.isEmpty()) {
        return;
    }
    // fillRect rather than lines: exact pixels whatever the painter's pen.
    if (edges & Qt::LeftEdge) {
        painter.fillRect(rect.left(), rect.top(), 1, rect.height(), topLeft);
    }
    if (edges & Qt::TopEdge) {
        painter.fillRect(rect.left(), rect.top(), rect.width(), 1, topLeft);
    }
    if (edges & Qt::RightEdge) {
        painter.fillRect(rect.right(), rect.top(), 1, rect.height(), bottomRight);
    }
    if (edges & Qt::BottomEdge) {
        painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottomRight);
    }
}
