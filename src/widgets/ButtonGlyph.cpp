#include "ButtonGlyph.h"

#include "GlyphStore.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Grey = 0x808080;
constexpr QRgb Black = 0x000000;

QRgb rgbOf(QRgb pixel) {
    return pixel & 0xFFFFFF;
}

// Each pixel of the slice through `recolour`.
template <typename Recolour> QImage recoloured(const QImage& slice, Recolour recolour) {
    QImage image(slice.size(), QImage::Format_RGB32);
    for (int y = 0; y < slice.height(); ++y) {
        for (int x = 0; x < slice.width(); ++x) {
            image.setPixel(x, y, recolour(rgbOf(slice.pixel(x, y))));
        }
    }
    return image;
}

// The shape of the slice's black pixels, raised out of the face: light one
// pixel down and right, dark in place.
QImage embossed(const QImage& slice, const GlyphColors& colors) {
    QImage image(slice.size(), QImage::Format_RGB32);
    image.fill(colors.face);
    const QRgb highlight = colors.highlight.rgb();
    const QRgb shadow = colors.shadow.rgb();
    for (const auto& [offset, colour] : {std::pair{1, highlight}, std::pair{0, shadow}}) {
        for (int y = 0; y + offset < slice.height(); ++y) {
            for (int x = 0; x + offset < slice.width(); ++x) {
                if (rgbOf(slice.pixel(x, y)) == Black) {
                    image.setPixel(x + offset, y + offset, colour);
                }
            }
        }
    }
    return image;
}

} // namespace

QColor transparentColorOf(const QImage& bitmap) {
    if (bitmap.format() == QImage::Format_Mono || bitmap.format() == QImage::Format_MonoLSB) {
        return Qt::white;
    }
    return bitmap.pixelColor(0, bitmap.height() - 1).toRgb();
}

QImage buildGlyphImage(const QImage& bitmap, int numGlyphs, ButtonGlyph::State state,
                       const QColor& transparent, const GlyphColors& colors) {
    const int width = bitmap.width() / numGlyphs;
    int slice = static_cast<int>(state);
    if (slice >= numGlyphs) {
        slice = 0;
    }
    const QImage source =
        bitmap.copy(slice * width, 0, width, bitmap.height()).convertToFormat(QImage::Format_RGB32);
    const QRgb clear = rgbOf(transparent.rgb());
    const QRgb face = colors.face.rgb();
    if (state != ButtonGlyph::State::Disabled) {
        return recoloured(source,
                          [&](QRgb pixel) { return pixel == clear ? face : pixel | 0xFF000000; });
    }
    if (numGlyphs == 1) {
        return embossed(source, colors);
    }
    const QRgb highlight = colors.highlight.rgb();
    const QRgb shadow = colors.shadow.rgb();
    return recoloured(source, [&](QRgb pixel) {
        if (pixel == clear) {
            return face;
        }
        if (pixel == White) {
            return highlight;
        }
        return pixel == Grey ? shadow : pixel | 0xFF000000;
    });
}

ButtonGlyph::~ButtonGlyph() {
    invalidate();
}

void ButtonGlyph::setBitmap(const QImage& bitmap) {
    bitmap_ = bitmap;
    if (!bitmap_.isNull()) {
        transparent_ = transparentColorOf(bitmap_);
    }
    invalidate();
}

void ButtonGlyph::setNumGlyphs(int count) {
    numGlyphs_ = std::clamp(count, 1, 4);
    invalidate();
}

QSize ButtonGlyph::imageSize() const {
    if (bitmap_.isNull()) {
        return {0, 0};
    }
    return {bitmap_.width() / numGlyphs_, bitmap_.height()};
}

void ButtonGlyph::invalidate() {
    if (!list_) {
        return;
    }
    for (int& slot : slots_) {
        list_->release(slot);
        slot = -1;
    }
    GlyphStore::letGo(*list_);
    list_ = nullptr;
}

void ButtonGlyph::draw(QPainter& painter, QPoint at, State state, const GlyphColors& colors) {
    const QSize size = imageSize();
    if (size.isEmpty()) {
        return;
    }
    // Without a picture of its own, the down state looks like the up state.
    if (state == State::Down && numGlyphs_ < 3) {
        state = State::Up;
    }
    int& slot = slots_[static_cast<std::size_t>(state)];
    if (slot < 0) {
        if (!list_) {
            list_ = &GlyphStore::listFor(size);
        }
        slot = list_->add(buildGlyphImage(bitmap_, numGlyphs_, state, transparent_, colors));
    }
    painter.drawImage(at, list_->image(slot));
}
