#pragma once

#include <cstdint>
#include <string>

// A colour as the layouts store it: 0x00BBGGRR.
using Color = std::uint32_t;

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
