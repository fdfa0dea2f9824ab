#include "StarField.h"

#include <QColor>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A well-mixed 32-bit hash: the picture must not depend on any library's
// random generator, so that it stays the same from one build to the next.
std::uint32_t mix(std::uint32_t value) {
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    value ^= value >> 16;
    return value;
}

double latticeValue(int x, int y, std::uint32_t seed) {
    const std::uint32_t key = mix(static_cast<std::uint32_t>(x) * 0x9E3779B1u ^
                                  mix(static_cast<std::uint32_t>(y) + seed));
    return static_cast<double>(key) / 4294967296.0;
}

double smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

// Bilinear value noise over a lattice `cell` pixels wide, for one rectangle
// of pixels. The lattice values it needs are hashed once, and each pixel
// column's and row's place between lattice lines is worked out once, not for
// every pixel; every value is the same as working it out on the spot.
class ValueNoise {
public:
    ValueNoise(double cell, std::uint32_t seed, QRect pixels)
        : columns_(places(pixels.left(), pixels.width(), cell))
        , rows_(places(pixels.top(), pixels.height(), cell))
        , latticeLeft_(columns_.front().lattice)
        , latticeTop_(rows_.front().lattice)
        , latticeWidth_(columns_.back().lattice - latticeLeft_ + 2) {
        const int latticeHeight = rows_.back().lattice - latticeTop_ + 2;
        lattice_.resize(static_cast<std::size_t>(latticeWidth_) *
                        static_cast<std::size_t>(latticeHeight));
        for (int row = 0; row < latticeHeight; ++row) {
            for (int column = 0; column < latticeWidth_; ++column) {
                const int index = row * latticeWidth_ + column;
                lattice_[static_cast<std::size_t>(index)] =
                    latticeValue(latticeLeft_ + column, latticeTop_ + row, seed);
            }
        }
    }

    // The noise at the rectangle's pixel (column, row), counted from its corner.
    double at(int column, int row) const {
        const Place& x = columns_[static_cast<std::size_t>(column)];
        const Place& y = rows_[static_cast<std::size_t>(row)];
        const int index = (y.lattice - latticeTop_) * latticeWidth_ + (x.lattice - latticeLeft_);
        const double* above = &lattice_[static_cast<std::size_t>(index)];
        const double* below = above + latticeWidth_;
        const double top = above[0] * (1 - x.weight) + above[1] * x.weight;
        const double bottom = below[0] * (1 - x.weight) + below[1] * x.weight;
        return top * (1 - y.weight) + bottom * y.weight;
    }

private:
    // A pixel's lattice line before it and its smoothed weight toward the next.
    struct Place {
        int lattice;
        double weight;
    };

    static std::vector<Place> places(int first, int count, double cell) {
        std::vector<Place> places;
        places.reserve(static_cast<std::size_t>(std::max(count, 1)));
        for (int pixel = first; pixel < first + std::max(count, 1); ++pixel) {
            const double position = pixel / cell;
            const int lattice = static_cast<int>(std::floor(position));
            places.push_back({lattice, smooth(position - lattice)});
        }
        return places;
    }

    std::vector<Place> columns_;
    std::vector<Place> rows_;
    int latticeLeft_;
    int latticeTop_;
    int latticeWidth_;
    std::vector<double> lattice_;
};

// Four octaves of noise, coarse to fine: clouds with ragged edges.
class Clouds {
public:
    Clouds(std::uint32_t seed, QRect pixels) {
        double cell = 64;
        for (int octave = 0; octave < 4; ++octave) {
            octaves_.emplace_back(cell, seed + static_cast<std::uint32_t>(octave) * 7919u, pixels);
            cell /= 2;
        }
    }

    double at(int column, int row) const {
        double sum = 0;
        double weight = 0.5;
        for (const ValueNoise& octave : octaves_) {
            sum += weight * octave.at(column, row);
            weight /= 2;
        }
        return sum / 0.9375;
    }

private:
    std::vector<ValueNoise> octaves_;
};

int channel(double value) {
    return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
}

// A second field, shifted, tints the hue between violet and a bluish purple.
constexpr QPoint tintShift(311, 173);

// (x, y) counts from the picture's corner; the tint field lies shifted.

QRgb nebulaPixel(int x, int y, const Clouds& clouds, const Clouds& tints) {
    const double density = std::pow(std::clamp((clouds.at(x, y) - 0.40) * 2.2, 0.0, 1.0), 1.6);
    const double tint = tints.at(x, y);
    const double red = 6 + density * (70 + 40 * tint);
    const double green = 3 + density * (12 + 10 * tint);
    const double blue = 14 + density * (95 + 30 * (1 - tint));
    return qRgb(channel(red), channel(green), channel(blue));
}

QRgb lighter(QRgb ground, int amount) {
    return qRgb(std::min(255, qRed(ground) + amount), std::min(255, qGreen(ground) + amount),
                std::min(255, qBlue(ground) + amount));
}

void sprinkleStars(QImage& image, std::uint32_t seed) {
    const int count = image.width() * image.height() / 90;
    std::uint32_t state = mix(seed ^ 0xA511E9B3u);
    const auto next = [&state]() {
        return state = mix(state + 0x6D2B79F5u);
    };
    for (int star = 0; star < count; ++star) {
        const int x = static_cast<int>(next() % static_cast<std::uint32_t>(image.width()));
        const int y = static_cast<int>(next() % static_cast<std::uint32_t>(image.height()));
        // Most stars are faint; a few are bright enough to get a small glow.
        const std::uint32_t roll = next() % 100;
        const int brightness = roll < 80 ? 60 + static_cast<int>(next() % 80) : 200;
        image.setPixel(x, y, lighter(image.pixel(x, y), brightness));
        if (roll >= 95) {
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int gx = x + dx;
                const int gy = y + dy;
                if (image.rect().contains(gx, gy)) {
                    image.setPixel(gx, gy, lighter(image.pixel(gx, gy), 70));
                }
            }
        }
    }
}

} // namespace

QImage generateStarField(QSize size, std::uint32_t seed) {
    QImage image(size, QImage::Format_RGB32);
    const QRect pixels(QPoint(0, 0), size);
    const Clouds clouds(seed, pixels);
    const Clouds tints(seed ^ 0x5BD1E995u, pixels.translated(tintShift));
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            line[x] = nebulaPixel(x, y, clouds, tints);
        }
    }
    sprinkleStars(image, seed);
    return image;
}
