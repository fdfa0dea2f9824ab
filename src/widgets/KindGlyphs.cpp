#include "KindGlyphs.h"

#include <QPainter>
#include <QPolygon>
#include <map>
#include <vector>

namespace {

constexpr int ImageWidth = 18;
// Colours of the sixteen-colour palette the pictures keep to.
const QColor Olive(128, 128, 0);
const QColor Green(0, 128, 0);
const QColor Maroon(128, 0, 0);
const QColor Navy(0, 0, 128);
const QColor Teal(0, 128, 128);
const QColor Grey(128, 128, 128);

struct Picture {
    int height;
    QColor Color;
    std::vector<QPolygon> strokes;
};

const std::map<QString, Picture>& pictures() {
    const QPolygon check{{3, 9}, {7, 13}, {14, 4}};
    const QPolygon ring{{6, 3},  {11, 3}, {14, 6}, {14, 11}, {11, 14},
                        {6, 14}, {3, 11}, {3, 6},  {6, 3}};
    static const std::map<QString, Picture> pictures{
        {QStringLiteral("BBCOK"), {18, Green, {check}}},
        {QStringLiteral("BBCCANCEL"),
         {18, Maroon, {QPolygon{{4, 4}, {13, 13}}, QPolygon{{13, 4}, {4, 13}}}}},
        {QStringLiteral("BBCHELP"),
         {18,
          Navy,
          {QPolygon{{5, 6}, {6, 4}, {8, 3}, {11, 3}, {13, 5}, {13, 7}, {9, 10}, {9, 12}},
           QPolygon{{9, 14}, {9, 15}}}}},
        {QStringLiteral("BBCYES"), {18, Green, {check}}},
        {QStringLiteral("BBCNO"), {18, Maroon, {ring, QPolygon{{5, 5}, {12, 12}}}}},
        {QStringLiteral("BBCCLOSE"),
         {18,
          Teal,
          {QPolygon{{4, 2}, {13, 2}, {13, 15}, {4, 15}, {4, 2}}, QPolygon{{10, 8}, {10, 9}}}}},
        {QStringLiteral("BBCABORT"), {18, Maroon, {ring, QPolygon{{6, 8}, {11, 8}}}}},
        {QStringLiteral("BBCRETRY"),
         {18,
          Navy,
          {QPolygon{{13, 6}, {11, 4}, {7, 4}, {4, 7}, {4, 11}, {7, 14}, {11, 14}, {13, 12}},
           QPolygon{{13, 2}, {13, 6}, {9, 6}}}}},
        {QStringLiteral("BBCIGNORE"),
         {18,
          Navy,
          {QPolygon{{3, 12}, {6, 6}, {10, 6}, {13, 12}}, QPolygon{{10, 11}, {13, 12}, {15, 9}},
           QPolygon{{3, 15}, {14, 15}}}}},
        {QStringLiteral("BBCALL"),
         {19, Green, {QPolygon{{2, 10}, {5, 13}, {10, 5}}, QPolygon{{7, 10}, {10, 13}, {15, 5}}}}},
    };
    return pictures;
}

void drawStrokes(QPainter& painter, const Picture& picture, QPoint offset, const QColor& color) {
    painter.setPen(QPen(color, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (const QPolygon& stroke : picture.strokes) {
        painter.drawPolyline(stroke.translated(offset));
    }
}

// The normal image in the picture's colour; beside it the disabled one,
// grey on a white shadow, which the button recolours to its own light and
// dark.
QImage drawnPicture(const Picture& picture) {
    QImage image(2 * ImageWidth, picture.height, QImage::Format_RGB32);
    image.fill(Olive);
    QPainter painter(&image);
    drawStrokes(painter, picture, {0, 0}, picture.Color);
    drawStrokes(painter, picture, {ImageWidth + 1, 1}, Qt::white);
    drawStrokes(painter, picture, {ImageWidth, 0}, Grey);
    return image;
}

} // namespace

const QImage& kindGlyph(QStringView name) {
    static std::map<QString, QImage> drawn;
    static const QImage none;
    const QString key = name.toString();
    if (const auto known = drawn.find(key); known != drawn.end()) {
        return known->second;
    }
    const auto picture = pictures().find(key);
    if (picture == pictures().end()) {
        return none;
    }
    return drawn.emplace(key, drawnPicture(picture->second)).first->second;
}
