#include "Artwork.h"

#include "Colors.h"
#include "Look.h"
#include "StarField.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

QPixmap TransparentPixmap(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// The pictures stand on the same seeded star field as the star map; a fixed
// seed keeps each the same from run to run.
void DrawNightSky(QPainter& painter, QSize size, std::uint32_t seed) {
    painter.drawImage(0, 0, GenerateStarField(size, seed));
}

QPainterPath FourPointedStar(QPointF centre, double outer, double inner) {
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

void DrawNotepad(QPainter& painter) {
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(QColor(245, 240, 210));
    painter.drawRect(QRectF(3.5, 1.5, 10, 13));
    painter.setPen(QColor(80, 110, 190));
    for (int line = 0; line < 4; ++line) {
        painter.drawLine(QPointF(5.5, 4.5 + 2.5 * line), QPointF(11.5, 4.5 + 2.5 * line));
    }
}

void DrawNavigation(QPainter& painter) {
    painter.setPen(QPen(FromBgr(Palette::Accent), 1.2));
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

void DrawSystemDatabase(QPainter& painter) {
    painter.setPen(QColor(40, 70, 120));
    painter.setBrush(QColor(110, 160, 230));
    for (int disc = 2; disc >= 0; --disc) {
        painter.drawEllipse(QRectF(2.5, 2.5 + 4 * disc, 11, 5));
    }
}

void DrawOwnDatabase(QPainter& painter) {
    DrawSystemDatabase(painter);
    painter.setPen(QPen(QColor(250, 200, 60), 2));
    painter.drawLine(QPointF(8, 14), QPointF(14, 8));
}

void DrawSearch(QPainter& painter) {
    painter.setPen(QPen(QColor(200, 200, 200), 1.6));
    painter.setBrush(QColor(150, 190, 230, 120));
    painter.drawEllipse(QRectF(2.5, 2.5, 8, 8));
    painter.setPen(QPen(QColor(200, 160, 60), 2.2));
    painter.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
}

} // namespace

QPixmap TitleArtwork(QSize size) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawNightSky(painter, size, 1103);

    QFont lettering = VantorFont(size.height() * 3 / 4, true);
    lettering.setLetterSpacing(QFont::AbsoluteSpacing, size.height() / 8.0);
    QPainterPath word;
    word.addText(0, 0, lettering, QStringLiteral("VANTOR"));
    const QRectF bounds = word.boundingRect();
    word.translate(14 - bounds.left(), (size.height() - bounds.height()) / 2 - bounds.top());

    QLinearGradient metal(0, 0, 0, size.height());
    metal.setColorAt(0.0, QColor(255, 232, 170));
    metal.setColorAt(0.5, FromBgr(Palette::Accent));
    metal.setColorAt(1.0, QColor(150, 90, 20));
    painter.setPen(QPen(QColor(20, 10, 0, 200), 1.5));
    painter.setBrush(metal);
    painter.drawPath(word);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 245, 220));
    painter.drawPath(FourPointedStar(QPointF(size.width() - 30, size.height() / 2.0),
                                     size.height() / 3.0, size.height() / 12.0));
    return pixmap;
}

QPixmap StarMapPicture(QSize size) {
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawNightSky(painter, size, 4711);
    // A 4 by 3 patch of the grid with its links.
    const double step = qMin(size.width() / 4.5, size.height() / 3.3);
    const QPointF origin((size.width() - 3 * step) / 2, (size.height() - 2 * step) / 2);
    painter.setPen(QPen(FromBgr(Palette::Accent), 1.5));
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 3; ++row) {
            const QPointF centre = origin + QPointF(column * step, row * step);
            if (column < 3) {
                painter.drawLine(centre + QPointF(4, 0), centre + QPointF(step - 4, 0));
            }
            if (row < 2 && (column + row) % 2 == 0) {
                painter.drawLine(centre + QPointF(0, 4), centre + QPointF(0, step - 4));
            }
        }
    }
    painter.setBrush(Qt::NoBrush);
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 3; ++row) {
            const QPointF centre = origin + QPointF(column * step, row * step);
            painter.drawRoundedRect(QRectF(centre - QPointF(4, 4), QSizeF(8, 8)), 2, 2);
        }
    }
    return pixmap;
}

QIcon ImageListPicture(int index) {
    QPixmap pixmap = TransparentPixmap(QSize(16, 16));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        DrawNotepad(painter);
        break;
    case 1:
        DrawNavigation(painter);
        break;
    case 2:
        DrawSystemDatabase(painter);
        break;
    case 3:
        DrawOwnDatabase(painter);
        break;
    default:
        DrawSearch(painter);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}

QImage OptionsGlyph() {
    // The key colour marks the glyph's transparent pixels; drawn without
    // smoothing, so that no pixel is a blend of the key and the gear.
    const QColor key(226, 0, 127);
    QImage glyph(18, 18, QImage::Format_RGB32);
    glyph.fill(key);
    QPainter painter(&glyph);
    painter.setPen(QPen(FromBgr(Palette::Accent), 2, Qt::SolidLine, Qt::FlatCap));
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

QPixmap ProgramIconPicture(int side) {
    QPixmap pixmap = TransparentPixmap(QSize(side, side));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(24, 20, 40));
    painter.drawRoundedRect(QRectF(0, 0, side, side), side / 6.0, side / 6.0);
    painter.setBrush(FromBgr(Palette::Accent));
    painter.drawPath(FourPointedStar(QPointF(side / 2.0, side / 2.0), side * 0.44, side * 0.12));
    painter.end();
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int side : {16, 32, 64}) {
        icon.addPixmap(ProgramIconPicture(side));
    }
    return icon;
}
