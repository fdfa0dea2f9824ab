#include "Colors.h"
#include "StarMapShape.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace {

QImage rendered(StarMapShape& shape) {
    QImage image(shape.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    shape.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QRgb rgb(std::uint32_t bgr) {
    return fromBgr(bgr).rgb();
}

} // namespace

class StarMapShapeTest : public QObject {
    Q_OBJECT

private slots:
    void sectorShapeDrawsOutlineAndSolidFill() {
        StarMapShape shape;
        shape.resize(17, 17);
        shape.setShapeKind(StarMapShape::Kind::RoundRect);
        shape.setPenWidth(3);
        shape.setOutlineColor(Palette::Accent);
        shape.setFillColor(Palette::Green);
        shape.setFillSolid(true);
        const QImage image = rendered(shape);
        QCOMPARE(image.pixel(8, 8), rgb(Palette::Green));
        QCOMPARE(image.pixel(1, 8), rgb(Palette::Accent));
        QCOMPARE(image.pixel(15, 8), rgb(Palette::Accent));
        QCOMPARE(image.pixel(8, 1), rgb(Palette::Accent));
    }

    void clearFillLetsTheGroundShowThrough() {
        StarMapShape shape;
        shape.resize(17, 17);
        shape.setPenWidth(3);
        shape.setOutlineColor(Palette::Accent);
        shape.setFillColor(Palette::White);
        shape.setFillSolid(false);
        const QImage image = rendered(shape);
        QCOMPARE(image.pixel(8, 8), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(0, 8), rgb(Palette::Accent));
    }

    void penlessRectangleIsFilledToItsEdges() {
        StarMapShape shape;
        shape.resize(9, 4);
        shape.setPenWidth(0);
        shape.setOutlineColor(Palette::Red);
        shape.setFillColor(Palette::White);
        const QImage image = rendered(shape);
        for (const QPoint corner : {QPoint(0, 0), QPoint(8, 0), QPoint(0, 3), QPoint(8, 3)}) {
            QCOMPARE(image.pixel(corner), rgb(Palette::White));
        }
    }

    void hintKeepsTheBytesAndShowsTheDecodedName() {
        StarMapShape shape;
        const std::string bytes = "Caf\xe9 Meridian";
        shape.setHint(bytes);
        QCOMPARE(shape.hint(), bytes);
        QCOMPARE(shape.toolTip(), QStringLiteral("Caf\u00e9 Meridian"));
        QCOMPARE(shape.accessibleName(), QStringLiteral("Caf\u00e9 Meridian"));
    }

    // Notes put a mark on the shape that stands out on every fill and
    // outline the map uses (the way, the races, start and target, the star
    // field), and add their lines to the hint; without notes both go again.
    void notesMarkTheShapeOnEveryFill() {
        for (const std::uint32_t color :
             {Palette::White, RaceColor::Borons, RaceColor::Teladi, RaceColor::Split,
              RaceColor::Argons, RaceColor::Paranids, RaceColor::Xenon, Palette::Green}) {
            for (const bool solid : {true, false}) {
                StarMapShape shape;
                shape.resize(17, 17);
                shape.setShapeKind(StarMapShape::Kind::RoundRect);
                shape.setPenWidth(3);
                shape.setOutlineColor(color);
                shape.setFillColor(color);
                shape.setFillSolid(solid);
                shape.setHint("Caf\xe9 Meridian");
                const QImage plain = rendered(shape);
                shape.setNotes({QStringLiteral("Cheap ore"), QStringLiteral("  Buy at dawn")});
                const QImage marked = rendered(shape);
                // The mark stands in the top right corner, over outline and fill.
                const auto contrastTo = [&marked](QRgb around) {
                    int contrast = 0;
                    for (int y = 0; y < 6; ++y) {
                        for (int x = 11; x < 17; ++x) {
                            contrast = std::max(
                                contrast, std::abs(qGray(marked.pixel(x, y)) - qGray(around)));
                        }
                    }
                    return contrast;
                };
                QVERIFY2(contrastTo(rgb(color)) >= 128, qPrintable(fromBgr(color).name()));
                QVERIFY(contrastTo(solid ? rgb(color) : qRgb(0, 0, 0)) >= 128);
                QCOMPARE(shape.toolTip(),
                         QStringLiteral("Caf\u00e9 Meridian\nCheap ore\n  Buy at dawn"));
                shape.setNotes({});
                QCOMPARE(rendered(shape), plain);
                QCOMPARE(shape.toolTip(), QStringLiteral("Caf\u00e9 Meridian"));
            }
        }
    }

    void everyMouseButtonReportsTheShape() {
        QWidget ground;
        auto* shape = new StarMapShape(&ground);
        shape->setGeometry(10, 10, 17, 17);
        ground.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ground));
        QSignalSpy spy(shape, &StarMapShape::mouseDown);
        QTest::mousePress(shape, Qt::LeftButton);
        QTest::mousePress(shape, Qt::RightButton, Qt::ShiftModifier);
        QTest::mousePress(shape, Qt::MiddleButton);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(1).at(0).value<StarMapShape*>(), shape);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    StarMapShapeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_StarMapShape.moc"
