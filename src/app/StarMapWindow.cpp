#include "StarMapWindow.h"

#include "Artwork.h"
#include "Colors.h"
#include "Cp1252.h"
#include "ErrorBox.h"
#include "Look.h"
#include "RouteEngine.h"
#include "StarMapShape.h"

#include <QFrame>
#include <QHideEvent>
#include <QLabel>
#include <QPixmap>
#include <QShowEvent>
#include <QToolButton>

namespace {

constexpr int SectorSize = 17;
// The last column would sit at 177; the layout keeps rows 1 to 7 at 176.
constexpr int LastColumnLeft = 176;

// Cells the universe leaves empty: their shapes never show.
bool isEmptyCell(int column, int row) {
    static constexpr std::array<std::pair<int, int>, 10> empty{
        {{7, 0}, {7, 1}, {7, 4}, {7, 5}, {7, 6}, {0, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}}};
    for (const auto& [x, y] : empty) {
        if (x == column && y == row) {
            return true;
        }
    }
    return false;
}

int sectorLeft(int column, int row) {
    return column == 7 && row >= 1 ? LastColumnLeft : 9 + 24 * column;
}

} // namespace

StarMapWindow::StarMapWindow(RouteEngine& engine, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , engine_(engine) {
    panel_ = makeSatellitePanel(this, "Form4", QStringLiteral("Starmap"), 200, 250);

    starField_ =
        lazyPicture(panel_, "Image1", [] { return shippedPicture(ShippedPicture::StarField); });
    starField_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(starField_, 2, 2, 196, 246);

    const CloseFooter footer = makeCloseFooter(panel_, {7, 217, 186, 4}, {8, 226, 185, 17});
    footerBar_ = footer.bar;
    closeButton_ = footer.button;
    // A flat button: the star field shows around its caption.
    closeButton_->setAutoFillBackground(false);
    connect(closeButton_, &QToolButton::clicked, this, guarded([this] { onCloseClicked(); }));
}

StarMapWindow::~StarMapWindow() {
    engine_.unbindShapes();
}

// The 176 shapes are built when the map first shows (or a shape is asked
// for), which most starts of the program never need; they take on what the
// engine drew into their records meanwhile.
void StarMapWindow::ensureShapes() {
    if (shapes_.front() != nullptr) {
        return;
    }
    buildShapes();
    for (std::size_t index = 0; index < shapes_.size(); ++index) {
        records_.at(index).handOn(*shapes_.at(index));
    }
    setSystemNotes(notes_);
    // The close bar and button stay above the shapes, as when built first.
    footerBar_->raise();
    closeButton_->raise();
    if (shapesBound_) {
        bindShapes();
    }
}

void StarMapWindow::setVisible(bool visible) {
    if (visible) {
        ensureShapes();
    }
    QWidget::setVisible(visible);
}

void StarMapWindow::buildShapes() {
    for (int row = 0; row < MapGridSize; ++row) {
        for (int column = 0; column < MapGridSize; ++column) {
            StarMapShape* shape = newShape(sectorShapeNumber(column, row));
            shape->setShapeKind(StarMapShape::Kind::RoundRect);
            shape->setPenWidth(3);
            shape->setOutlineColor(Palette::Accent);
            shape->setFillSolid(false);
            place(shape, sectorLeft(column, row), 9 + 24 * row, SectorSize, SectorSize);
            shape->setVisible(!isEmptyCell(column, row));
            connect(shape, &StarMapShape::mouseDown, this,
                    guarded([this, shape] { onShapeClicked(shape); }));
        }
    }
    // Links between a sector and the one below it, then between a sector and
    // the one east of it; the engine shows, hides and colours them.
    for (int row = 0; row < MapGridSize - 1; ++row) {
        for (int column = 0; column < MapGridSize; ++column) {
            place(newDivider(northSouthShapeNumber(column, row)), 16 + 24 * column, 25 + 24 * row,
                  4, 9);
        }
    }
    for (int row = 0; row < MapGridSize; ++row) {
        for (int column = 0; column < MapGridSize - 1; ++column) {
            place(newDivider(eastWestShapeNumber(column, row)), 25 + 24 * column, 16 + 24 * row, 9,
                  4);
        }
    }
}

StarMapShape* StarMapWindow::newShape(int number) {
    auto* shape = new StarMapShape(panel_);
    shape->setObjectName(QStringLiteral("MatrixShape%1").arg(number));
    shapes_.at(static_cast<std::size_t>(number - 1)) = shape;
    return shape;
}

StarMapShape* StarMapWindow::newDivider(int number) {
    StarMapShape* divider = newShape(number);
    divider->setShapeKind(StarMapShape::Kind::Rectangle);
    divider->setPenWidth(0);
    divider->setFillColor(Palette::Accent);
    divider->setFillSolid(true);
    return divider;
}

StarMapShape* StarMapWindow::shape(int number) const {
    // Building changes nothing the map shows.
    const_cast<StarMapWindow*>(this)->ensureShapes();
    return shapes_.at(static_cast<std::size_t>(number - 1));
}

void StarMapWindow::setSystemNotes(const SectorNotes& notes) {
    notes_ = notes;
    if (shapes_.front() == nullptr) {
        return;
    }
    for (int x = 0; x < MapGridSize; ++x) {
        for (int y = 0; y < MapGridSize; ++y) {
            shapes_.at(static_cast<std::size_t>(sectorShapeNumber(x, y) - 1))
                ->setNotes(notes.at(mapCellIndex(x, y)));
        }
    }
}

void StarMapWindow::bindShapes() {
    shapesBound_ = true;
    const bool built = shapes_.front() != nullptr;
    const auto shape = [this, built](int number) -> MapShape* {
        const auto index = static_cast<std::size_t>(number - 1);
        return built ? static_cast<MapShape*>(shapes_.at(index)) : &records_.at(index);
    };
    for (int x = 0; x < MapGridSize; ++x) {
        for (int y = 0; y < MapGridSize; ++y) {
            engine_.bindSectorShape(x, y, shape(sectorShapeNumber(x, y)));
        }
    }
    for (int x = 0; x < MapGridSize; ++x) {
        for (int y = 0; y < MapGridSize - 1; ++y) {
            engine_.bindDivider(northSouthDividerIndex(x, y), shape(northSouthShapeNumber(x, y)));
        }
    }
    for (int y = 0; y < MapGridSize; ++y) {
        for (int x = 0; x < MapGridSize - 1; ++x) {
            engine_.bindDivider(eastWestDividerIndex(x, y), shape(eastWestShapeNumber(x, y)));
        }
    }
}

// The first click of a pair picks the start and clears the last way; the
// second picks the target, and the navigation page finds the way.
void StarMapWindow::onShapeClicked(StarMapShape* sender) {
    const QString name = decodeCp1252(sender->hint());
    if (!targetPending_) {
        engine_.resetMatrix();
        targetPending_ = true;
        markPicked(sender, engine_.startPointColor());
        emit startPicked(sender->column(), sender->row(), name);
        return;
    }
    targetPending_ = false;
    markPicked(sender, engine_.targetPointColor());
    emit targetPicked(sender->column(), sender->row(), name);
}

void StarMapWindow::markPicked(StarMapShape* shape, Color color) {
    shape->setFillSolid(true);
    shape->setFillColor(color);
    shape->setOutlineColor(color);
}

void StarMapWindow::onCloseClicked() {
    close();
}

void StarMapWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored by the system was not opened anew.
    if (!event->spontaneous()) {
        emit opened();
    }
}

void StarMapWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        emit closed();
    }
}
