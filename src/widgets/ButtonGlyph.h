#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <array>

class QPainter;
class TGlyphList;

// The colours a glyph image is made with: the button's face, and the light
// and dark of its disabled, embossed look.
struct TGlyphColors {
    QColor Face;
    QColor Highlight;
    QColor Shadow;
};

// The picture of a colour bitmap button: a bitmap of up to four images side
// by side (up, disabled, down, and a spare), whose transparent colour shows
// the face colour. The finished image of each state is made on first use and
// kept in the shared glyph store until the picture or its colours change.
class TButtonGlyph {
public:
    enum class TState { Up, Disabled, Down };

    TButtonGlyph() = default;
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    const QImage& Bitmap() const { return bitmap_; }
    // Takes the transparent colour from the new bitmap.
    void SetBitmap(const QImage& bitmap);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    QColor TransparentColor() const { return transparent_; }
    // The size of one image; empty without a bitmap.
    QSize ImageSize() const;

    // Drops the finished images, so that they are made again.
    void Invalidate();
    void Draw(QPainter& painter, QPoint at, TState state, const TGlyphColors& colors);

private:
    QImage bitmap_;
    int numGlyphs_ = 1;
    QColor transparent_ = QColor(128, 128, 0); // olive, until a bitmap comes
    std::array<int, 3> slots_{-1, -1, -1};
    TGlyphList* list_ = nullptr;
};

// A bitmap's transparent colour: white for a one-bit bitmap, else the colour
// of its bottom-left pixel.
QColor TransparentColorOf(const QImage& bitmap);

// The image of one state as the button shows it, made from the bitmap's
// slice for that state (the first slice when there are fewer).
QImage BuildGlyphImage(const QImage& bitmap, int numGlyphs, TButtonGlyph::TState state,
                       const QColor& transparent, const TGlyphColors& colors);
