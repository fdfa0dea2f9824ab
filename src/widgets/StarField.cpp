#include "StarField.h"

#include <QColor>
#include <algorithm>
#include <cmath>

namespace {

// A well-mixed 32-bit hash: the picture must not depend on any library's
// random generator, so that it stays the same from one build to the next.
std::uint32_t Mix(std::uint32_t value) {
    value ^= value >> 16;
    value *= 0x7FEB352Du;
    value ^= value >> 15;
    value *= 0x846CA68Bu;
    value ^= value >> 16;
    return value;
}

double LatticeValue(int x, int y, std::uint32_t seed) {
    const std::uint32_t key = Mix(static_cast<std::uint32_t>(x) * 0x9E3779B1u ^
                                  Mix(static_cast<std::uint32_t>(y) + seed));
    return static_cast<double>(key) / 4294967296.0;
}

double Smooth(double t) {
    return t * t * (3.0 - 2.0 * t);
}

// Bilinear value noise over a lattice `cell` pixels wide.
double ValueNoise(double x, double y, double cell, std::uint32_t seed) {
    const double fx = x / cell;
    const double fy = y / cell;
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const double tx = Smooth(fx - x0);
    const double ty = Smooth(fy - y0);
    const double top = LatticeValue(x0, y0, seed) * (1 - tx) + LatticeValue(x0 + 1, y0, seed) * tx;
    const double bottom =
        LatticeValue(x0, y0 + 1, seed) * (1 - tx) + LatticeValue(x0 + 1, y0 + 1, seed) * tx;
    return top * (1 - ty) + bottom * ty;
}

// Four octaves of noise, coarse to fine: clouds with ragged edges.
double Clouds(double x, double y, std::uint32_t seed) {
    double sum = 0;
    double weight = 0.5;
    double cell = 64;
    for (int octave = 0; octave < 4; ++octave) {
        sum += weight * ValueNoise(x, y, cell, seed + static_cast<std::uint32_t>(octave) * 7919u);
        weight /= 2;
        cell /= 2;
    }
    return sum / 0.9375;
}

int Channel(double value) {
    return std::clamp(static_cast<int>(value + 0.5), 0, 255);
}

QRgb NebulaPixel(int x, int y, std::uint32_t seed) {
    const double density = std::pow(std::clamp((Clouds(x, y, seed) - 0.40) * 2.2, 0.0, 1.0), 1.6);
    // A second field shifts the hue between violet and a bluish purple.
    const double tint = Clouds(x + 311, y + 173, seed ^ 0x5BD1E995u);
    const double red = 6 + density * (70 + 40 * tint);
    const double green = 3 + density * (12 + 10 * tint);
    const double blue = 14 + density * (95 + 30 * (1 - tint));
    return qRgb(Channel(red), Channel(green), Channel(blue));
}

QRgb Lighter(QRgb ground, int amount) {
    return qRgb(std::min(255, qRed(ground) + amount), std::min(255, qGreen(ground) + amount),
                std::min(255, qBlue(ground) + amount));
}

void SprinkleStars(QImage& image, std::uint32_t seed) {
    const int count = image.width() * image.height() / 90;
    std::uint32_t state = Mix(seed ^ 0xA511E9B3u);
    const auto next = [&state]() {
        return state = Mix(state + 0x6D2B79F5u);
    };
    for (int star = 0; star < count; ++star) {
        const int x = static_cast<int>(next() % static_cast<std::uint32_t>(image.width()));
        const int y = static_cast<int>(next() % static_cast<std::uint32_t>(image.height()));
        // Most stars are faint; a few are bright enough to get a small glow.
        const std::uint32_t roll = next() % 100;
        const int brightness = roll < 80 ? 60 + static_cast<int>(next() % 80) : 200;
        image.setPixel(x, y, Lighter(image.pixel(x, y), brightness));
        if (roll >= 95) {
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int gx = x + dx;
                const int gy = y + dy;
                if (image.rect().contains(gx, gy)) {
                    image.setPixel(gx, gy, Lighter(image.pixel(gx, gy), 70));
                }
            }
        }
    }
}

} // namespace

QImage GenerateStarField(QSize size, std::uint32_t seed) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, NebulaPixel(x, y, seed));
        }
    }
    SprinkleStars(image, seed);
    return image;
}
