#pragma once

#include "MapShape.h"

#include <QColor>
#include <QWidget>
#include <string>

// A small filled shape of the star map: a rectangle or rounded rectangle with
// an outline pen and a fill brush. It carries the column and row of the sector
// it draws, and the system name as its hint.
class TMatrixShape : public QWidget, public MapShape {
    Q_OBJECT

public:
    enum class Kind { Rectangle, RoundRect };

    explicit TMatrixShape(QWidget* parent = nullptr);

    int Column() const { return column_; }
    int Row() const { return row_; }
    // The hint as the engine gave it: the file's bytes.
    const std::string& Hint() const { return hint_; }

    Kind ShapeKind() const { return kind_; }
    void SetShapeKind(Kind kind);
    int PenWidth() const { return penWidth_; }
    // 0 draws no outline at all.
    void SetPenWidth(int width);
    QColor OutlineColor() const { return outlineColor_; }
    QColor FillColor() const { return fillColor_; }
    bool FillSolid() const { return fillSolid_; }

    // The engine's drawing operations.
    void SetOutlineColor(Color color) override;
    void SetFillColor(Color color) override;
    void SetFillSolid(bool solid) override;
    void SetShapeVisible(bool visible) override;
    void SetHint(const std::string& hint) override;
    void SetColumn(int column) override { column_ = column; }
    void SetRow(int row) override { row_ = row; }

signals:
    // Any mouse button pressed on the shape.
    void MouseDown(TMatrixShape* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int column_ = 0;
    int row_ = 0;
    std::string hint_;
    Kind kind_ = Kind::Rectangle;
    int penWidth_ = 1;
    QColor outlineColor_ = Qt::black;
    QColor fillColor_ = Qt::white;
    bool fillSolid_ = true;
};
