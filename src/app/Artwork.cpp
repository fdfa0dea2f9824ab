#include "Artwork.h"

#include "Colors.h"
#include "Look.h"
#include "StarField.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QResource>
#include <cmath>
#include <cstring>

namespace {

QPixmap transparentPixmap(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// The pictures stand on the same seeded star field as the star map; a fixed
// seed keeps each the same from run to run.
void drawNightSky(QPainter& painter, QSize size, std::uint32_t seed) {
    painter.drawImage(0, 0, generateStarField(size, seed));
}

QPainterPath fourPointedStar(QPointF centre, double outer, double inner) {
    QPainterPath star;
    for (int point = 0; point < 8; ++point) {
        const double radius = point % 2 == 0 ? outer : inner;
        const double angle = point * 3.14159265358979 / 4.0 - 3.14159265358979 / 2.0;
        const QPointF corner(centre.x() + radius * std::cos(angle),
                             centre.y() + radius * std::sin(angle));
        if (point == 0) {
            star.moveTo(corner);
        } else {
            star.lineTo(corner);
        }
    }
    star.closeSubpath();
    return star;
}

void drawNotepad(QPainter& painter) {
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(QColor(245, 240, 210));
    painter.drawRect(QRectF(3.5, 1.5, 10, 13));
    painter.setPen(QColor(80, 110, 190));
    for (int line = 0; line < 4; ++line) {
        painter.drawLine(QPointF(5.5, 4.5 + 2.5 * line), QPointF(11.5, 4.5 + 2.5 * line));
    }
}

void drawNavigation(QPainter& painter) {
    painter.setPen(QPen(fromBgr(Palette::Accent), 1.2));
    painter.setBrush(QColor(30, 30, 40));
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QPainterPath needle;
    needle.moveTo(8, 3);
    needle.lineTo(10, 8);
    needle.lineTo(8, 13);
    needle.lineTo(6, 8);
    needle.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 60, 50));
    painter.drawPath(needle);
}

void drawSystemDatabase(QPainter& painter) {
    painter.setPen(QColor(40, 70, 120));
    painter.setBrush(QColor(110, 160, 230));
    for (int disc = 2; disc >= 0; --disc) {
        painter.drawEllipse(QRectF(2.5, 2.5 + 4 * disc, 11, 5));
    }
}

void drawOwnDatabase(QPainter& painter) {
    drawSystemDatabase(painter);
    painter.setPen(QPen(QColor(250, 200, 60), 2));
    painter.drawLine(QPointF(8, 14), QPointF(14, 8));
}

void drawSearch(QPainter& painter) {
    painter.setPen(QPen(QColor(200, 200, 200), 1.6));
    painter.setBrush(QColor(150, 190, 230, 120));
    painter.drawEllipse(QRectF(2.5, 2.5, 8, 8));
    painter.setPen(QPen(QColor(200, 160, 60), 2.2));
    painter.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
}

} // namespace

QPixmap titleArtwork(QSize size) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawNightSky(painter, size, 1103);

    QFont lettering = vantorFont(size.height() * 3 / 4, true);
    lettering.setLetterSpacing(QFont::AbsoluteSpacing, size.height() / 8.0);
    QPainterPath word;
    word.addText(0, 0, lettering, QStringLiteral("VANTOR"));
    const QRectF bounds = word.boundingRect();
    word.translate(14 - bounds.left(), (size.height() - bounds.height()) / 2 - bounds.top());

    QLinearGradient metal(0, 0, 0, size.height());
    metal.setColorAt(0.0, QColor(255, 232, 170));
    metal.setColorAt(0.5, fromBgr(Palette::Accent));
    metal.setColorAt(1.0, QColor(150, 90, 20));
    painter.setPen(QPen(QColor(20, 10, 0, 200), 1.5));
    painter.setBrush(metal);
    painter.drawPath(word);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 245, 220));
    painter.drawPath(fourPointedStar(QPointF(size.width() - 30, size.height() / 2.0),
                                     size.height() / 3.0, size.height() / 12.0));
    return pixmap;
}

namespace {

enum class GridLight { Resting, Lit };

// A 4 by 3 patch of the sector grid with its links. Lit, the links glow and
// a way of white sectors runs across the patch, as the star map shows one.
QPixmap sectorPatch(QSize size, GridLight light) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawNightSky(painter, size, 4711);
    const bool lit = light == GridLight::Lit;
    const double step = qMin(size.width() / 4.5, size.height() / 3.3);
    const QPointF origin((size.width() - 3 * step) / 2, (size.height() - 2 * step) / 2);
    const auto centreOf = [&](int column, int row) {
        return origin + QPointF(column * step, row * step);
    };
    // The way: along the top row, down the last column.
    const auto onWay = [](int column, int row) {
        return row == 0 || column == 3;
    };

    const QColor link = lit ? QColor(255, 225, 150) : fromBgr(Palette::Accent);
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 3; ++row) {
            const QPointF centre = centreOf(column, row);
            if (column < 3) {
                const bool wayLink = lit && row == 0;
                painter.setPen(QPen(wayLink ? fromBgr(Palette::White) : link, wayLink ? 2.0 : 1.5));
                painter.drawLine(centre + QPointF(4, 0), centre + QPointF(step - 4, 0));
            }
            if (row < 2 && ((column + row) % 2 == 0 || column == 3)) {
                const bool wayLink = lit && column == 3;
                painter.setPen(QPen(wayLink ? fromBgr(Palette::White) : link, wayLink ? 2.0 : 1.5));
                painter.drawLine(centre + QPointF(0, 4), centre + QPointF(0, step - 4));
            }
        }
    }
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 3; ++row) {
            const QRectF cell(centreOf(column, row) - QPointF(4, 4), QSizeF(8, 8));
            if (lit && onWay(column, row)) {
                painter.setPen(QPen(fromBgr(Palette::White), 1.5));
                painter.setBrush(fromBgr(Palette::White));
            } else {
                painter.setPen(QPen(link, 1.5));
                painter.setBrush(lit ? QBrush(QColor(255, 190, 55, 90)) : QBrush(Qt::NoBrush));
            }
            painter.drawRoundedRect(cell, 2, 2);
        }
    }
    return pixmap;
}

// A ringed planet low on the left, lit from the upper right.
void drawRingedPlanet(QPainter& painter, QPointF centre, double radius) {
    const QRectF ring(centre.x() - radius * 1.9, centre.y() - radius * 0.45, radius * 3.8,
                      radius * 0.9);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 210, 140, 150), radius * 0.12));
    painter.drawArc(ring, 0, 180 * 16); // the far half, behind the planet

    QRadialGradient surface(centre + QPointF(radius * 0.4, -radius * 0.4), radius * 1.4);
    surface.setColorAt(0.0, QColor(255, 214, 150));
    surface.setColorAt(0.45, fromBgr(Palette::SubTitle));
    surface.setColorAt(1.0, QColor(40, 14, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(surface);
    painter.drawEllipse(centre, radius, radius);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 225, 170, 210), radius * 0.12));
    painter.drawArc(ring, 180 * 16, 180 * 16); // the near half, in front
}

} // namespace

QPixmap starMapPicture(QSize size) {
    return sectorPatch(size, GridLight::Resting);
}

QPixmap starMapPictureLit(QSize size) {
    return sectorPatch(size, GridLight::Lit);
}

QPixmap infoColumnArtwork(QSize size) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawNightSky(painter, size, 2203);
    drawRingedPlanet(painter, QPointF(size.width() * 0.38, size.height() * 0.66),
                     size.width() * 0.2);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 245, 220));
    painter.drawPath(fourPointedStar(QPointF(size.width() * 0.76, size.height() * 0.24),
                                     size.width() * 0.13, size.width() * 0.03));

    painter.setFont(vantorFont(qMax(8, size.height() / 10), true));
    painter.setPen(fromBgr(Palette::Accent));
    painter.drawText(QRectF(0, size.height() * 0.84, size.width(), size.height() * 0.16),
                     Qt::AlignCenter, QStringLiteral("VANTOR"));
    return pixmap;
}

QIcon imageListPicture(int index) {
    QPixmap pixmap = transparentPixmap(QSize(16, 16));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        drawNotepad(painter);
        break;
    case 1:
        drawNavigation(painter);
        break;
    case 2:
        drawSystemDatabase(painter);
        break;
    case 3:
        drawOwnDatabase(painter);
        break;
    default:
        drawSearch(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

QIcon deleteGlyph() {
    QPixmap pixmap = transparentPixmap(QSize(16, 16));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(210, 40, 40), 2.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4, 4), QPointF(12, 12));
    painter.drawLine(QPointF(12, 4), QPointF(4, 12));
    painter.end();
    return QIcon(pixmap);
}

QImage optionsGlyph() {
    // The key colour marks the glyph's transparent pixels; drawn without
    // smoothing, so that no pixel is a blend of the key and the gear.
    const QColor key(226, 0, 127);
    QImage glyph(18, 18, QImage::Format_RGB32);
    glyph.fill(key);
    QPainter painter(&glyph);
    painter.setPen(QPen(fromBgr(Palette::Accent), 2, Qt::SolidLine, Qt::FlatCap));
    const QPointF centre(9, 9);
    for (int tooth = 0; tooth < 8; ++tooth) {
        painter.save();
        painter.translate(centre);
        painter.rotate(tooth * 45.0);
        painter.drawLine(QPointF(0, -5), QPointF(0, -8));
        painter.restore();
    }
    painter.drawEllipse(centre, 4.5, 4.5);
    painter.end();
    return glyph;
}

QPixmap programIconPicture(int side) {
    QPixmap pixmap = transparentPixmap(QSize(side, side));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(24, 20, 40));
    painter.drawRoundedRect(QRectF(0, 0, side, side), side / 6.0, side / 6.0);
    painter.setBrush(fromBgr(Palette::Accent));
    painter.drawPath(fourPointedStar(QPointF(side / 2.0, side / 2.0), side * 0.44, side * 0.12));
    painter.end();
    return pixmap;
}

QIcon programIcon() {
    QIcon icon;
    for (const int side : {16, 32, 64}) {
        icon.addPixmap(programIconPicture(side));
    }
    return icon;
}

namespace {

constexpr QSize titleSize(394, 54);
constexpr QSize starMapButtonSize(73, 54);
constexpr QSize starFieldSize(196, 247);
constexpr QSize infoColumnSize(131, 144);
constexpr std::uint32_t StarMapFieldSeed = 1703;

} // namespace

QString shippedPictureFile(ShippedPicture picture) {
    switch (picture) {
    case ShippedPicture::Title:
        return QStringLiteral("title.pixels");
    case ShippedPicture::StarMapButton:
        return QStringLiteral("starmap.pixels");
    case ShippedPicture::StarMapLit:
        return QStringLiteral("starmaplit.pixels");
    case ShippedPicture::StarField:
        return QStringLiteral("starfield.pixels");
    case ShippedPicture::InfoColumn:
        break;
    }
    return QStringLiteral("infocolumn.pixels");
}

QPixmap drawShippedPicture(ShippedPicture picture) {
    switch (picture) {
    case ShippedPicture::Title:
        return titleArtwork(titleSize);
    case ShippedPicture::StarMapButton:
        return starMapPicture(starMapButtonSize);
    case ShippedPicture::StarMapLit:
        return starMapPictureLit(starMapButtonSize);
    case ShippedPicture::StarField:
        return QPixmap::fromImage(generateStarField(starFieldSize, StarMapFieldSeed));
    case ShippedPicture::InfoColumn:
        break;
    }
    return infoColumnArtwork(infoColumnSize);
}

QByteArray shippedPictureBytes(const QImage& picture) {
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const std::array<std::uint32_t, 2> size{static_cast<std::uint32_t>(pixels.width()),
                                            static_cast<std::uint32_t>(pixels.height())};
    QByteArray bytes(reinterpret_cast<const char*>(size.data()), sizeof size);
    for (int y = 0; y < pixels.height(); ++y) {
        bytes.append(reinterpret_cast<const char*>(pixels.constScanLine(y)),
                     static_cast<qsizetype>(pixels.width()) * 4);
    }
    return bytes;
}

QPixmap shippedPicture(ShippedPicture picture) {
    const QResource resource(QStringLiteral(":/artwork/") + shippedPictureFile(picture));
    const QByteArray bytes = resource.uncompressedData();
    std::array<std::uint32_t, 2> size{};
    if (bytes.size() < static_cast<qsizetype>(sizeof size)) {
        return {};
    }
    std::memcpy(size.data(), bytes.constData(), sizeof size);
    const auto width = static_cast<int>(size[0]);
    const auto height = static_cast<int>(size[1]);
    if (bytes.size() != static_cast<qsizetype>(sizeof size) + qsizetype{4} * width * height) {
        return {};
    }
    const QImage pixels(reinterpret_cast<const uchar*>(bytes.constData()) + sizeof size, width,
                        height, qsizetype{4} * width, QImage::Format_ARGB32_Premultiplied);
    return QPixmap::fromImage(pixels);
}
