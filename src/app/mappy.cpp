#include "mappy.h"

#include "Ausw.h"
#include "Colors.h"
#include "Cp1252.h"
#include "ErrorBox.h"
#include "Look.h"
#include "MatrixShape.h"
#include "StarField.h"
#include "main.h"

#include <QComboBox>
#include <QEvent>
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
constexpr std::uint32_t StarFieldSeed = 1703;

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

TForm4::TForm4(TWindows& windows)
    : QWidget(windows.Form1, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , windows_(windows) {
    Panel1 = MakeSatellitePanel(this, "Form4", QStringLiteral("Starmap"), 200, 250);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap::fromImage(GenerateStarField(QSize(196, 247), StarFieldSeed)));
    Place(Image1, 2, 2, 196, 246);

    BuildShapes();

    const TCloseFooter footer = MakeCloseFooter(Panel1, {7, 217, 186, 4}, {8, 226, 185, 17});
    Shape1 = footer.Bar;
    Way = footer.Button;
    // A flat button: the star field shows around its caption.
    Way->setAutoFillBackground(false);
    connect(Way, &QToolButton::clicked, this, Guarded([this] { WayClick(); }));
}

void TForm4::BuildShapes() {
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            TMatrixShape* shape = NewShape(1 + 8 * row + column);
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
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 8; ++column) {
            Place(NewDivider(65 + 8 * row + column), 16 + 24 * column, 25 + 24 * row, 4, 9);
        }
    }
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 7; ++column) {
            Place(NewDivider(121 + 7 * row + column), 25 + 24 * column, 16 + 24 * row, 9, 4);
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
    return MatrixShapes.at(static_cast<std::size_t>(number - 1));
}

TMatrixShape* TForm4::SectorShape(int column, int row) const {
    return MatrixShape(1 + 8 * row + column);
}

void TForm4::MatrixShape1MouseDown(TMatrixShape* sender) {
    TForm1& main = *windows_.Form1;
    TNinjaMatrix& engine = main.NinjaMatrix1;
    const QString name = DecodeCp1252(sender->Hint());
    if (!main.TargetPending) {
        engine.ResetMatrix();
        main.Von->setCurrentText(name);
        main.FromColumn = sender->Column();
        main.FromRow = sender->Row();
        main.TargetPending = true;
        sender->SetFillSolid(true);
        sender->SetFillColor(engine.StartPointColor());
        sender->SetOutlineColor(engine.StartPointColor());
        return;
    }
    main.Nach->setCurrentText(name);
    main.ToColumn = sender->Column();
    main.ToRow = sender->Row();
    main.TargetPending = false;
    sender->SetFillSolid(true);
    sender->SetFillColor(engine.TargetPointColor());
    sender->SetOutlineColor(engine.TargetPointColor());
    // A request from the boxes may have replaced the picked start by "no such
    // system" (255) since the first click; the way request then reports it.
    RestoreRaceColor(main.FromColumn, main.FromRow);
    RestoreRaceColor(main.ToColumn, main.ToRow);
    main.WayClick(sender);
}

void TForm4::RestoreRaceColor(int column, int row) {
    const bool onGrid =
        column >= 0 && column < TNinjaMatrix::GridSize && row >= 0 && row < TNinjaMatrix::GridSize;
    if (onGrid) {
        windows_.Form1->NinjaMatrix1.SetRaceColor(column, row);
    }
}

void TForm4::WayClick() {
    close();
}

// While the map picks the sectors, the navigation page's name boxes give way to it.
void TForm4::FormShow() {
    SetNavigationBoxesEnabled(false);
}

void TForm4::FormClose() {
    SetNavigationBoxesEnabled(true);
}

void TForm4::SetNavigationBoxesEnabled(bool enabled) {
    TForm1* main = windows_.Form1;
    if (main == nullptr) {
        return;
    }
    for (QWidget* control : {static_cast<QWidget*>(main->Von), static_cast<QWidget*>(main->Nach),
                             static_cast<QWidget*>(main->Way), static_cast<QWidget*>(main->Label1),
                             static_cast<QWidget*>(main->Label2)}) {
        if (control != nullptr) {
            control->setEnabled(enabled);
        }
    }
}

void TForm4::FormActivate() {
    TForm1& main = *windows_.Form1;
    main.MapLeads = true;
    main.MainLeads = false;
    main.AvoidLeads = false;
}

// Only the leading window drags the others along; their own moves then change
// nothing, as they don't lead.
void TForm4::FormMoved() {
    TForm1& main = *windows_.Form1;
    if (!main.MapLeads || !main.isVisible()) {
        return;
    }
    TForm3* avoid = windows_.Form3;
    const bool avoidShown = avoid->isVisible();
    main.move(x() - (avoidShown ? TForm1::SecondSlot : TForm1::FirstSlot), y());
    if (avoidShown) {
        main.PutAtSlot(avoid, TForm1::FirstSlot);
    }
}

void TForm4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored by the system was not opened anew.
    if (!event->spontaneous()) {
        RunGuarded([this] { FormShow(); });
    }
}

void TForm4::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) {
        RunGuarded([this] { FormClose(); });
    }
}

void TForm4::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    RunGuarded([this] { FormMoved(); });
}

void TForm4::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        RunGuarded([this] { FormActivate(); });
    }
}
