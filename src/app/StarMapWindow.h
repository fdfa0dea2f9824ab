#pragma once

#include "MapShape.h"
#include "MapShapeRecord.h"

#include <QWidget>
#include <array>

class QFrame;
class QLabel;
class QToolButton;
class TMatrixShape;
class TNinjaMatrix;

// The star map: 64 sector shapes and 112 gate links over a star field.
// Two clicks pick a start and a target; the navigation page then shows the
// way at once.
class TForm4 : public QWidget {
    Q_OBJECT

public:
    TForm4(TNinjaMatrix& engine, QWidget* parent);
    // The engine forgets the shapes before they go.
    ~TForm4() override;

    // Points the engine at the 64 sector shapes and the 112 dividers.
    void BindShapes();

    // Shape number 1 ... 176 as the layout counts them; asking for one builds
    // the shapes if the map has not been shown yet.
    TMatrixShape* MatrixShape(int number) const;
    TMatrixShape* SectorShape(int column, int row) const;

    // Whether the next click picks the target; it survives closing the map.
    bool TargetPending() const { return targetPending_; }

    void setVisible(bool visible) override;

signals:
    void StartPicked(int column, int row, const QString& name);
    void TargetPicked(int column, int row, const QString& name);
    // The map was opened or closed by the program or the user, not the system.
    void Opened();
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void EnsureShapes();
    void BuildShapes();
    TMatrixShape* NewShape(int number);
    TMatrixShape* NewDivider(int number);
    void MatrixShape1MouseDown(TMatrixShape* sender);
    void MarkPicked(TMatrixShape* shape, Color color);
    void WayClick();

    TNinjaMatrix& engine_;
    bool targetPending_ = false;
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    // MatrixShape1 ... MatrixShape176 at index 0 ... 175, built when the map
    // first shows; until then the engine draws into the records.
    std::array<TMatrixShape*, MapShapeCount> MatrixShapes{};
    std::array<TMapShapeRecord, MapShapeCount> records_;
    bool shapesBound_ = false;
    QFrame* Shape1 = nullptr;
    QToolButton* Way = nullptr; // "Close"
};
