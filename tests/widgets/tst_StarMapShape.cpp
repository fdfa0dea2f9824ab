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
