#pragma once

#include "MapShape.h"

#include <optional>
#include <string>

// A star-map shape that is not built yet, as the engine draws into it: it
// keeps the last value of every property the engine set and hands them on
// to the real shape once the star map is built, so that a map opened late
// shows what the engine drew while it was closed.
class TMapShapeRecord : public MapShape {
public:
    void SetOutlineColor(Color color) override { outline_ = color; }
    void SetFillColor(Color color) override { fill_ = color; }
    void SetFillSolid(bool solid) override { solid_ = solid; }
    void SetShapeVisible(bool visible) override { visible_ = visible; }
    void SetHint(const std::string& hint) override { hint_ = hint; }
    void SetColumn(int column) override { column_ = column; }
    void SetRow(int row) override { row_ = row; }

    // Sets on the shape what the engine set here, and nothing else.
    void HandOn(MapShape& shape) const {
        if (outline_) {
            shape.SetOutlineColor(*outline_);
        }
        if (fill_) {
            shape.SetFillColor(*fill_);
        }
        if (solid_) {
            shape.SetFillSolid(*solid_);
        }
        if (visible_) {
            shape.SetShapeVisible(*visible_);
        }
        if (hint_) {
            shape.SetHint(*hint_);
        }
        if (column_) {
            shape.SetColumn(*column_);
        }
        if (row_) {
            shape.SetRow(*row_);
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
