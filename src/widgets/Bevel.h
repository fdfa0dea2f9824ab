#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// One-pixel lines along the edges of `rect`, as a three-dimensional frame is
// built from: the left and top lines in `topLeft`, the right and bottom lines
// in `bottomRight`, on the given edges only.
void drawBevelRing(QPainter& painter, const QRect& rect, const QColor& topLeft,
                   const QColor& bottomRight,
                   Qt::Edges edges = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
