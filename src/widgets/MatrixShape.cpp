// STUB: replaced by the star-map shape change.
#include "MatrixShape.h"

TMatrixShape::TMatrixShape(QWidget* parent)
    : QWidget(parent) {}
void TMatrixShape::SetShapeKind(Kind kind) { kind_ = kind; }
void TMatrixShape::SetPenWidth(int width) { penWidth_ = width; }
void TMatrixShape::SetOutlineColor(Color) {}
void TMatrixShape::SetFillColor(Color) {}
void TMatrixShape::SetFillSolid(bool solid) { fillSolid_ = solid; }
void TMatrixShape::SetShapeVisible(bool visible) { setVisible(visible); }
void TMatrixShape::SetHint(const std::string& hint) { hint_ = hint; }
void TMatrixShape::paintEvent(QPaintEvent*) {}
void TMatrixShape::mousePressEvent(QMouseEvent*) { emit MouseDown(this); }
