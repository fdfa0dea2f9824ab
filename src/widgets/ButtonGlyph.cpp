#include "ButtonGlyph.h"

#include "GlyphStore.h"

#include <QPainter>
#include <algorithm>

namespace {

constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Grey = 0x808080;
constexpr QRgb Black = 0x000000;

QRgb RgbOf(QRgb pixel) {
    return pixel & 0xFFFFFF;
}

// Each pixel of the slice through `recolour`.
template <typename Recolour> QImage Recoloured(const QImage& slice, Recolour recolour) {
    QImage image(slice.size(), QImage::Format_RGB32);
    for (int y = 0; y < slice.height(); ++y) {
        for (int x = 0; x < slice.width(); ++x) {
            image.setPixel(x, y, recolour(RgbOf(slice.pixel(x, y))));
        }
    }
    return image;
}

// The shape of the slice's black pixels, raised out of the face: light one
// pixel down and right, dark in place.
QImage Embossed(const QImage& slice, const TGlyphColors& colors) {
    QImage image(slice.size(), QImage::Format_RGB32);
    image.fill(colors.Face);
    const QRgb highlight = colors.Highlight.rgb();
    const QRgb shadow = colors.Shadow.rgb();
    for (const auto& [offset, colour] : {std::pair{1, highlight}, std::pair{0, shadow}}) {
        for (int y = 0; y + offset < slice.height(); ++y) {
            for (int x = 0; x + offset < slice.width(); ++x) {
                if (RgbOf(slice.pixel(x, y)) == Black) {
                    image.setPixel(x + offset, y + offset, colour);
                }
            }
        }
    }
    return image;
}

} // namespace

QColor TransparentColorOf(const QImage& bitmap) {
    if (bitmap.format() == QImage::Format_Mono || bitmap.format() == QImage::Format_MonoLSB) {
        return Qt::white;
    }
    return bitmap.pixelColor(0, bitmap.height() - 1).toRgb();
}

QImage BuildGlyphImage(const QImage& bitmap, int numGlyphs, TButtonGlyph::TState state,
                       const QColor& transparent, const TGlyphColors& colors) {
    const int width = bitmap.width() / numGlyphs;
    int slice = static_cast<int>(state);
    if (slice >= numGlyphs) {
        slice = 0;
    }
    const QImage source =
        bitmap.copy(slice * width, 0, width, bitmap.height()).convertToFormat(QImage::Format_RGB32);
    const QRgb clear = RgbOf(transparent.rgb());
    const QRgb face = colors.Face.rgb();
    if (state != TButtonGlyph::TState::Disabled) {
        return Recoloured(source,
                          [&](QRgb pixel) { return pixel == clear ? face : pixel | 0xFF000000; });
    }
    if (numGlyphs == 1) {
        return Embossed(source, colors);
    }
    const QRgb highlight = colors.Highlight.rgb();
    const QRgb shadow = colors.Shadow.rgb();
    return Recoloured(source, [&](QRgb pixel) {
        if (pixel == clear) {
            return face;
        }
        if (pixel == White) {
            return highlight;
        }
        return pixel == Grey ? shadow : pixel | 0xFF000000;
    });
}

TButtonGlyph::~TButtonGlyph() {
    Invalidate();
}

void TButtonGlyph::SetBitmap(const QImage& bitmap) {
    bitmap_ = bitmap;
    if (!bitmap_.isNull()) {
        transparent_ = TransparentColorOf(bitmap_);
    }
    Invalidate();
}

void TButtonGlyph::SetNumGlyphs(int count) {
    numGlyphs_ = std::clamp(count, 1, 4);
    Invalidate();
}

QSize TButtonGlyph::ImageSize() const {
    if (bitmap_.isNull()) {
        return {0, 0};
    }
    return {bitmap_.width() / numGlyphs_, bitmap_.height()};
}

void TButtonGlyph::Invalidate() {
    if (!list_) {
        return;
    }
    for (int& slot : slots_) {
        list_->Release(slot);
        slot = -1;
    }
    TGlyphStore::LetGo(*list_);
    list_ = nullptr;
}

void TButtonGlyph::Draw(QPainter& painter, QPoint at, TState state, const TGlyphColors& colors) {
    const QSize size = ImageSize();
    if (size.isEmpty()) {
        return;
    }
    // Without a picture of its own, the down state looks like the up state.
    if (state == TState::Down && numGlyphs_ < 3) {
        state = TState::Up;
    }
    int& slot = slots_[static_cast<std::size_t>(state)];
    if (slot < 0) {
        if (!list_) {
            list_ = &TGlyphStore::ListFor(size);
        }
        slot = list_->Add(BuildGlyphImage(bitmap_, numGlyphs_, state, transparent_, colors));
    }
    painter.drawImage(at, list_->Image(slot));
}
