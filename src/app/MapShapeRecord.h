#pragma once

#include "MapShape.h"

#include <optional>
#include <string>

// A star-map shape that is not built yet, as the engine draws into it: it
// keeps the last value of every property the engine set and hands them on
// to the real shape once the star map is built, so that a map opened late
// shows what the engine drew while it was closed.
class MapShapeRecord : public MapShape {
public:
    void setOutlineColor(Color color) override { outline_ = color; }
    void setFillColor(Color color) override { fill_ = color; }
    void setFillSolid(bool solid) override { solid_ = solid; }
    void setShapeVisible(bool visible) override { visible_ = visible; }
    void setHint(const std::string& hint) override { hint_ = hint; }
    void setColumn(int column) override { column_ = column; }
    void setRow(int row) override { row_ = row; }

    // Sets on the shape what the engine set here, and nothing else.
    void handOn(MapShape& shape) const {
        if (outline_) {
            shape.setOutlineColor(*outline_);
        }
        if (fill_) {
            shape.setFillColor(*fill_);
        }
        if (solid_) {
            shape.setFillSolid(*solid_);
        }
        if (visible_) {
            shape.setShapeVisible(*visible_);
        }
        if (hint_) {
            shape.setHint(*hint_);
        }
        if (column_) {
            shape.setColumn(*column_);
        }
        if (row_) {
            shape.setRow(*row_);
        }
    }

private:
    std::optional<Color> outline_;
    std::optional<Color> fill_;
    std::optional<bool> solid_;
    std::optional<bool> visible_;
    std::optional<std::string> hint_;
    std::optional<int> column_;
    std::optional<int> row_;
};
