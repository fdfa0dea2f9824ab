#pragma once

#include "Windows.h"

#include <QWidget>
#include <array>

class QFrame;
class QLabel;
class QToolButton;
class TMatrixShape;

// The star map: 64 sector shapes and 112 gate links over a star field.
// Two clicks pick a start and a target and show the way at once.
class TForm4 : public QWidget {
    Q_OBJECT

public:
    explicit TForm4(TWindows& windows);

    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    // MatrixShape1 ... MatrixShape176 at index 0 ... 175.
    std::array<TMatrixShape*, 176> MatrixShapes{};
    QFrame* Shape1 = nullptr;
    QToolButton* Way = nullptr; // "Close"

    // Shape number 1 ... 176 as the layout counts them.
    TMatrixShape* MatrixShape(int number) const;
    TMatrixShape* SectorShape(int column, int row) const;

    void MatrixShape1MouseDown(TMatrixShape* sender);
    void WayClick();
    void FormShow();
    void FormClose();
    void FormActivate();
    void FormMoved();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildShapes();
    TMatrixShape* NewShape(int number);
    TMatrixShape* NewDivider(int number);
    void RestoreRaceColor(int column, int row);
    void SetNavigationBoxesEnabled(bool enabled);

    TWindows& windows_;
};
