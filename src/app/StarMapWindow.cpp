#include "StarMapWindow.h"

#include "Artwork.h"
#include "Colors.h"
#include "Cp1252.h"
#include "ErrorBox.h"
#include "Look.h"
#include "StarMapShape.h"
#include "RouteEngine.h"

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
bool IsEmptyCell(int column, int row) {
    static constexpr std::array<std::pair<int, int>, 10> empty{
        {{7, 0}, {7, 1}, {7, 4}, {7, 5}, {7, 6}, {0, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}}};
    for (const auto& [x, y] : empty) {
        if (x == column && y == row) {
            return true;
        }
    }
    return false;
}

int SectorLeft(int column, int row) {
    return column == 7 && row >= 1 ? LastColumnLeft : 9 + 24 * column;
}

} // namespace

TForm4::TForm4(TNinjaMatrix& engine, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , engine_(engine) {
    Panel1 = MakeSatellitePanel(this, "Form4", QStringLiteral("Starmap"), 200, 250);

    Image1 =
        LazyPicture(Panel1, "Image1", [] { return ShippedPicture(TShippedPicture::StarField); });
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(Image1, 2, 2, 196, 246);

    const TCloseFooter footer = MakeCloseFooter(Panel1, {7, 217, 186, 4}, {8, 226, 185, 17});
    Shape1 = footer.Bar;
    Way = footer.Button;
    // A flat button: the star field shows around its caption.
    Way->setAutoFillBackground(false);
    connect(Way, &QToolButton::clicked, this, Guarded([this] { WayClick(); }));
}

TForm4::~TForm4() {
    engine_.UnbindShapes();
}

// The 176 shapes are built when the map first shows (or a shape is asked
// for), which most starts of the program never need; they take on what the
// engine drew into their records meanwhile.
void TForm4::EnsureShapes() {
    if (MatrixShapes.front() != nullptr) {
        return;
    }
    BuildShapes();
    for (std::size_t index = 0; index < MatrixShapes.size(); ++index) {
        records_.at(index).HandOn(*MatrixShapes.at(index));
    }
    // The close bar and button stay above the shapes, as when built first.
    Shape1->raise();
    Way->raise();
    if (shapesBound_) {
        BindShapes();
    }
}

void TForm4::setVisible(bool visible) {
    if (visible) {
        EnsureShapes();
    }
    QWidget::setVisible(visible);
}

void TForm4::BuildShapes() {
    for (int row = 0; row < MapGridSize; ++row) {
        for (int column = 0; column < MapGridSize; ++column) {
            TMatrixShape* shape = NewShape(SectorShapeNumber(column, row));
            shape->SetShapeKind(TMatrixShape::Kind::RoundRect);
            shape->SetPenWidth(3);
            shape->SetOutlineColor(Palette::Accent);
            shape->SetFillSolid(false);
            Place(shape, SectorLeft(column, row), 9 + 24 * row, SectorSize, SectorSize);
            shape->setVisible(!IsEmptyCell(column, row));
            connect(shape, &TMatrixShape::MouseDown, this,
                    Guarded([this, shape] { MatrixShape1MouseDown(shape); }));
        }
    }
    // Links between a sector and the one below it, then between a sector and
    // the one east of it; the engine shows, hides and colours them.
    for (int row = 0; row < MapGridSize - 1; ++row) {
        for (int column = 0; column < MapGridSize; ++column) {
            Place(NewDivider(NorthSouthShapeNumber(column, row)), 16 + 24 * column, 25 + 24 * row,
                  4, 9);
        }
    }
    for (int row = 0; row < MapGridSize; ++row) {
        for (int column = 0; column < MapGridSize - 1; ++column) {
            Place(NewDivider(EastWestShapeNumber(column, row)), 25 + 24 * column, 16 + 24 * row, 9,
                  4);
        }
    }
}

TMatrixShape* TForm4::NewShape(int number) {
    auto* shape = new TMatrixShape(Panel1);
    shape->setObjectName(QStringLiteral("MatrixShape%1").arg(number));
    MatrixShapes.at(static_cast<std::size_t>(number - 1)) = shape;
    return shape;
}

TMatrixShape* TForm4::NewDivider(int number) {
    TMatrixShape* divider = NewShape(number);
    divider->SetShapeKind(TMatrixShape::Kind::Rectangle);
    divider->SetPenWidth(0);
    divider->SetFillColor(Palette::Accent);
    divider->SetFillSolid(true);
    return divider;
}

TMatrixShape* TForm4::MatrixShape(int number) const {
    // Building changes nothing the map shows.
    const_cast<TForm4*>(this)->EnsureShapes();
    return MatrixShapes.at(static_cast<std::size_t>(number - 1));
}

TMatrixShape* TForm4::SectorShape(int column, int row) const {
    return MatrixShape(SectorShapeNumber(column, row));
}

void TForm4::BindShapes() {
    shapesBound_ = true;
    const bool built = MatrixShapes.front() != nullptr;
    const auto shape = [this, built](int number) -> MapShape* {
        const auto index = static_cast<std::size_t>(number - 1);
        return built ? static_cast<MapShape*>(MatrixShapes.at(index)) : &records_.at(index);
    };
    for (int x = 0; x < MapGridSize; ++x) {
        for (int y = 0; y < MapGridSize; ++y) {
            engine_.BindSectorShape(x, y, shape(SectorShapeNumber(x, y)));
        }
    }
    for (int x = 0; x < MapGridSize; ++x) {
        for (int y = 0; y < MapGridSize - 1; ++y) {
            engine_.BindDivider(NorthSouthDividerIndex(x, y), shape(NorthSouthShapeNumber(x, y)));
        }
    }
    for (int y = 0; y < MapGridSize; ++y) {
        for (int x = 0; x < MapGridSize - 1; ++x) {
            engine_.BindDivider(EastWestDividerIndex(x, y), shape(EastWestShapeNumber(x, y)));
        }
    }
}

// The first click of a pair picks the start and clears the last way; the
// second picks the target, and the navigation page finds the way.
void TForm4::MatrixShape1MouseDown(TMatrixShape* sender) {
    const QString name = DecodeCp1252(sender->Hint());
    if (!targetPending_) {
        engine_.ResetMatrix();
        targetPending_ = true;
        MarkPicked(sender, engine_.StartPointColor());
        emit StartPicked(sender->Column(), sender->Row(), name);
        return;
    }
    targetPending_ = false;
    MarkPicked(sender, engine_.TargetPointColor());
    emit TargetPicked(sender->Column(), sender->Row(), name);
}

void TForm4::MarkPicked(TMatrixShape* shape, Color color) {
    shape->SetFillSolid(true);
    shape->SetFillColor(color);
    shape->SetOutlineColor(color);
}

void TForm4::WayClick() {
    close();
}

void TForm4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored by the system was not opened anew.
    if (!event->spontaneous()) {
        emit Opened();
    }
}

void TForm4::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        emit Closed();
    }
}
