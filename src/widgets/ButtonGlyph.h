#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <array>

class QPainter;
class GlyphList;

// The colours a glyph image is made with: the button's face, and the light
// and dark of its disabled, embossed look.
struct GlyphColors {
    QColor face;
    QColor highlight;
    QColor shadow;
};

// The picture of a colour bitmap button: a bitmap of up to four images side
// by side (up, disabled, down, and a spare), whose transparent colour shows
// the face colour. The finished image of each state is made on first use and
// kept in the shared glyph store until the picture or its colours change.
class ButtonGlyph {
public:
    enum class State { Up, Disabled, Down };

    ButtonGlyph() = default;
    ~ButtonGlyph();
    ButtonGlyph(const ButtonGlyph&) = delete;
    ButtonGlyph& operator=(const ButtonGlyph&) = delete;

    const QImage& bitmap() const { return bitmap_; }
    // Takes the transparent colour from the new bitmap.
    void setBitmap(const QImage& bitmap);
    int numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int count);
    QColor transparentColor() const { return transparent_; }
    // The size of one image; empty without a bitmap.
    QSize imageSize() const;

    // Drops the finished images, so that they are made again.
    void invalidate();
    void draw(QPainter& painter, QPoint at, State state, const GlyphColors& colors);

private:
    QImage bitmap_;
    int numGlyphs_ = 1;
    QColor transparent_ = QColor(128, 128, 0); // olive, until a bitmap comes
    std::array<int, 3> slots_{-1, -1, -1};
    GlyphList* list_ = nullptr;
};

// A bitmap's transparent colour: white for a one-bit bitmap, else the colour
// of its bottom-left pixel.
QColor transparentColorOf(const QImage& bitmap);

// The image of one state as the button shows it, made from the bitmap's
// slice for that state (the first slice when there are fewer).
QImage buildGlyphImage(const QImage& bitmap, int numGlyphs, ButtonGlyph::State state,
                       const QColor& transparent, const GlyphColors& colors);
