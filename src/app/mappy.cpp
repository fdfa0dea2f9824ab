// STUB: replaced by the star-map window change.
#include "mappy.h"

TForm4::TForm4(TWindows& windows)
    : windows_(windows) {}
TMatrixShape* TForm4::MatrixShape(int number) const { return MatrixShapes.at(number - 1); }
TMatrixShape* TForm4::SectorShape(int column, int row) const {
    return MatrixShape(1 + 8 * row + column);
}
void TForm4::MatrixShape1MouseDown(TMatrixShape*) {}
void TForm4::WayClick() {}
void TForm4::FormShow() {}
void TForm4::FormClose() {}
void TForm4::FormActivate() {}
void TForm4::FormMoved() {}
void TForm4::showEvent(QShowEvent*) {}
void TForm4::hideEvent(QHideEvent*) {}
void TForm4::moveEvent(QMoveEvent*) {}
void TForm4::changeEvent(QEvent*) {}
