#pragma once

#include <cstddef>
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

// The engine's numbering of the sectors, from 0: column by column.
constexpr std::size_t mapCellIndex(int column, int row) {
    return static_cast<std::size_t>(MapGridSize) * static_cast<std::size_t>(column) +
           static_cast<std::size_t>(row);
}

// The engine's numbering of the dividers, from 0: first the east-west ones,
// column by column, then the north-south ones.
// The divider between (column, row) and (column + 1, row).
constexpr int eastWestDividerIndex(int column, int row) {
    return MapGridSize * column + row;
}
// The divider between (column, row) and (column, row + 1).
constexpr int northSouthDividerIndex(int column, int row) {
    return MapGridSize * (MapGridSize - 1) + (MapGridSize - 1) * column + row;
}

// The star-map window's numbering of its shapes, from 1: the sectors row by
// row, then the north-south dividers row by row, then the east-west ones.
constexpr int sectorShapeNumber(int column, int row) {
    return 1 + MapGridSize * row + column;
}
constexpr int northSouthShapeNumber(int column, int row) {
    return 1 + MapSectorCount + MapGridSize * row + column;
}
constexpr int eastWestShapeNumber(int column, int row) {
    return 1 + MapSectorCount + MapGridSize * (MapGridSize - 1) + (MapGridSize - 1) * row + column;
}

// One shape of the star map as the engine sees it. The engine never owns a
// shape; it only recolours, shows and hides the shapes it has been bound to.
class MapShape {
public:
    virtual ~MapShape() = default;

    virtual void setOutlineColor(Color color) = 0;
    virtual void setFillColor(Color color) = 0;
    // Solid or clear fill: a clear fill shows the star field through the shape.
    virtual void setFillSolid(bool solid) = 0;
    virtual void setShapeVisible(bool visible) = 0;
    // The tooltip text; for a sector shape the system's name, as the file's bytes.
    virtual void setHint(const std::string& hint) = 0;
    virtual void setColumn(int column) = 0;
    virtual void setRow(int row) = 0;
};
