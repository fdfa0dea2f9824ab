#pragma once

#include "MapShape.h"
#include "MapShapeRecord.h"

#include <QStringList>
#include <QWidget>
#include <array>

class QFrame;
class QLabel;
class QToolButton;
class StarMapShape;
class RouteEngine;

// The star map: 64 sector shapes and 112 gate links over a star field.
// Two clicks pick a start and a target; the navigation page then shows the
// way at once.
class StarMapWindow : public QWidget {
    Q_OBJECT

public:
    StarMapWindow(RouteEngine& engine, QWidget* parent);
    // The engine forgets the shapes before they go.
    ~StarMapWindow() override;

    // Points the engine at the 64 sector shapes and the 112 dividers.
    void bindShapes();

    // Shape number 1 ... 176 as the layout counts them; asking for one builds
    // the shapes if the map has not been shown yet.
    StarMapShape* shape(int number) const;

    // The first lines of the user's notes on each system, by cell (column * 8
    // + row): a system with notes carries a mark and names them in its hint.
    using SectorNotes = std::array<QStringList, MapSectorCount>;
    void setSystemNotes(const SectorNotes& notes);

    void setVisible(bool visible) override;

signals:
    void startPicked(int column, int row, const QString& name);
    void targetPicked(int column, int row, const QString& name);
    // The map was opened or closed by the program or the user, not the system.
    void opened();
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The tests reach a sector's shape and the pending pick through it.
    friend class ProgramAccess;

    void ensureShapes();
    void buildShapes();
    StarMapShape* newShape(int number);
    StarMapShape* newDivider(int number);
    void onShapeClicked(StarMapShape* sender);
    void markPicked(StarMapShape* shape, Color color);
    void onCloseClicked();

    RouteEngine& engine_;
    // Whether the next click picks the target; it survives closing the map.
    bool targetPending_ = false;
    QFrame* panel_ = nullptr;
    QLabel* starField_ = nullptr;
    // MatrixShape1 ... MatrixShape176 at index 0 ... 175, built when the map
    // first shows; until then the engine draws into the records.
    std::array<StarMapShape*, MapShapeCount> shapes_{};
    std::array<MapShapeRecord, MapShapeCount> records_;
    SectorNotes notes_;
    bool shapesBound_ = false;
    QFrame* footerBar_ = nullptr;
    QToolButton* closeButton_ = nullptr;
};
