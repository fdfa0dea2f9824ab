#pragma once

#include <cstdint>
#include <string>

// A colour as the layouts store it: 0x00BBGGRR.
using Color = std::uint32_t;

// The star map: a grid of sectors, each joined to its east and south
// neighbours by a divider, the link that shows a gate between them.
inline constexpr int MapGridSize = 8;
inline constexpr int MapSectorCount = MapGridSize * MapGridSize;
inline constexpr int MapDividerCount = 2 * MapGridSize * (MapGridSize - 1);
inline constexpr int MapShapeCount = MapSectorCount + MapDividerCount;

// The engine's numbering of the dividers, from 0: first the east-west ones,
// column by column, then the north-south ones.
// The divider between (column, row) and (column + 1, row).
constexpr int EastWestDividerIndex(int column, int row) {
    return MapGridSize * column + row;
}
// The divider between (column, row) and (column, row + 1).
constexpr int NorthSouthDividerIndex(int column, int row) {
    return MapGridSize * (MapGridSize - 1) + (MapGridSize - 1) * column + row;
}

// The star-map window's numbering of its shapes, from 1: the sectors row by
// row, then the north-south dividers row by row, then the east-west ones.
constexpr int SectorShapeNumber(int column, int row) {
    return 1 + MapGridSize * row + column;
}
constexpr int NorthSouthShapeNumber(int column, int row) {
    return 1 + MapSectorCount + MapGridSize * row + column;
}
constexpr int EastWestShapeNumber(int column, int row) {
    return 1 + MapSectorCount + MapGridSize * (MapGridSize - 1) + (MapGridSize - 1) * row + column;
}

// One shape of the star map as the engine sees it. The engine never owns a
// shape; it only recolours, shows and hides the shapes it has been bound to.
class MapShape {
public:
    virtual ~MapShape() = default;

    virtual void SetOutlineColor(Color color) = 0;
    virtual void SetFillColor(Color color) = 0;
    // Solid or clear fill: a clear fill shows the star field through the shape.
    virtual void SetFillSolid(bool solid) = 0;
    virtual void SetShapeVisible(bool visible) = 0;
    // The tooltip text; for a sector shape the system's name, as the file's bytes.
    virtual void SetHint(const std::string& hint) = 0;
    virtual void SetColumn(int column) = 0;
    virtual void SetRow(int row) = 0;
};
