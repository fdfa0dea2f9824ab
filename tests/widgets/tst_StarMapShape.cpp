#include "Colors.h"
#include "StarMapShape.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

namespace {

QImage Rendered(TMatrixShape& shape) {
    QImage image(shape.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    shape.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QRgb Rgb(std::uint32_t bgr) {
    return FromBgr(bgr).rgb();
}

} // namespace

class TMatrixShapeTest : public QObject {
    Q_OBJECT

private slots:
    void sectorShapeDrawsOutlineAndSolidFill() {
        TMatrixShape shape;
        shape.resize(17, 17);
        shape.SetShapeKind(TMatrixShape::Kind::RoundRect);
        shape.SetPenWidth(3);
        shape.SetOutlineColor(Palette::Accent);
        shape.SetFillColor(Palette::Green);
        shape.SetFillSolid(true);
        const QImage image = Rendered(shape);
        QCOMPARE(image.pixel(8, 8), Rgb(Palette::Green));
        QCOMPARE(image.pixel(1, 8), Rgb(Palette::Accent));
        QCOMPARE(image.pixel(15, 8), Rgb(Palette::Accent));
        QCOMPARE(image.pixel(8, 1), Rgb(Palette::Accent));
    }

    void clearFillLetsTheGroundShowThrough() {
        TMatrixShape shape;
        shape.resize(17, 17);
        shape.SetPenWidth(3);
        shape.SetOutlineColor(Palette::Accent);
        shape.SetFillColor(Palette::White);
        shape.SetFillSolid(false);
        const QImage image = Rendered(shape);
        QCOMPARE(image.pixel(8, 8), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(0, 8), Rgb(Palette::Accent));
    }

    void penlessRectangleIsFilledToItsEdges() {
        TMatrixShape shape;
        shape.resize(9, 4);
        shape.SetPenWidth(0);
        shape.SetOutlineColor(Palette::Red);
        shape.SetFillColor(Palette::White);
        const QImage image = Rendered(shape);
        for (const QPoint corner : {QPoint(0, 0), QPoint(8, 0), QPoint(0, 3), QPoint(8, 3)}) {
            QCOMPARE(image.pixel(corner), Rgb(Palette::White));
        }
    }

    void hintKeepsTheBytesAndShowsTheDecodedName() {
        TMatrixShape shape;
        const std::string bytes = "Caf\xe9 Meridian";
        shape.SetHint(bytes);
        QCOMPARE(shape.Hint(), bytes);
        QCOMPARE(shape.toolTip(), QStringLiteral("Caf\u00e9 Meridian"));
        QCOMPARE(shape.accessibleName(), QStringLiteral("Caf\u00e9 Meridian"));
    }

    void everyMouseButtonReportsTheShape() {
        QWidget ground;
        auto* shape = new TMatrixShape(&ground);
        shape->setGeometry(10, 10, 17, 17);
        ground.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ground));
        QSignalSpy spy(shape, &TMatrixShape::MouseDown);
        QTest::mousePress(shape, Qt::LeftButton);
        QTest::mousePress(shape, Qt::RightButton, Qt::ShiftModifier);
        QTest::mousePress(shape, Qt::MiddleButton);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(1).at(0).value<TMatrixShape*>(), shape);
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    TMatrixShapeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_StarMapShape.moc"
