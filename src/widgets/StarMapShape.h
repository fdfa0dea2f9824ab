#pragma once

#include "MapShape.h"

#include <QColor>
#include <QStringList>
#include <QWidget>
#include <string>

// The hint of a system with notes: its name, then one line per note.
QString hintWithNotes(const QString& name, const QStringList& notes);

// A small filled shape of the star map: a rectangle or rounded rectangle with
// an outline pen and a fill brush. It carries the column and row of the sector
// it draws, and the system name as its hint.
class StarMapShape : public QWidget, public MapShape {
    Q_OBJECT

public:
    enum class Kind { Rectangle, RoundRect };

    explicit StarMapShape(QWidget* parent = nullptr);

    int column() const { return column_; }
    int row() const { return row_; }
    // The hint as the engine gave it: the file's bytes.
    const std::string& hint() const { return hint_; }

    Kind shapeKind() const { return kind_; }
    void setShapeKind(Kind kind);
    int penWidth() const { return penWidth_; }
    // 0 draws no outline at all.
    void setPenWidth(int width);
    QColor outlineColor() const { return outlineColor_; }
    QColor fillColor() const { return fillColor_; }
    bool fillSolid() const { return fillSolid_; }

    // The engine's drawing operations.
    void setOutlineColor(Color color) override;
    void setFillColor(Color color) override;
    void setFillSolid(bool solid) override;
    void setShapeVisible(bool visible) override;
    void setHint(const std::string& hint) override;
    void setColumn(int column) override { column_ = column; }
    void setRow(int row) override { row_ = row; }

    // The first lines of the user's notes on the sector's system: with any,
    // the shape carries a small mark and its hint adds them after the name.
    const QStringList& notes() const { return notes_; }
    void setNotes(const QStringList& notes);

signals:
    // Any mouse button pressed on the shape.
    void mouseDown(StarMapShape* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void updateHint();
    void drawNoteMark(QPainter& painter) const;

    int column_ = 0;
    int row_ = 0;
    std::string hint_;
    QStringList notes_;
    Kind kind_ = Kind::Rectangle;
    int penWidth_ = 1;
    QColor outlineColor_ = Qt::black;
    QColor fillColor_ = Qt::white;
    bool fillSolid_ = true;
};
