#include "Ausw.h"

#include "Colors.h"
#include "ErrorBox.h"
#include "Look.h"
#include "main.h"
#include "mappy.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace {

// The box's text is a darker red than the map's Xenon outline.
constexpr std::uint32_t XenonText = 0x0000D7;

struct RaceBox {
    QCheckBox* TForm3::*Member;
    const char* Name;
    const char* Caption;
    int Top;
    std::uint32_t TextColor;
};

// Top to bottom, which is also the tab order.
constexpr std::array<RaceBox, 6> RaceBoxes{{
    {&TForm3::Argonen, "Argonen", "Argons", 64, 33023},
    {&TForm3::Boronen, "Boronen", "Borons", 88, 55807},
    {&TForm3::Paraniden, "Paraniden", "Paranids", 112, 16563715},
    {&TForm3::Split, "Split", "Split", 136, Palette::Teal},
    {&TForm3::Teladi, "Teladi", "Teladi", 160, 16711808},
    {&TForm3::Xenon, "Xenon", "Xenon", 184, XenonText},
}};

} // namespace

TForm3::TForm3(TWindows& windows)
    : QWidget(windows.Form1, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , windows_(windows) {
    Panel1 = MakeSatellitePanel(this, "Form3", QStringLiteral("Avoid"), 104, 250);

    Label1 = new QLabel(QStringLiteral("Avoid contact with the following races..."), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(Label1->text());
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setFont(VantorFont(11));
    SetTextColor(Label1, Palette::Accent);
    Place(Label1, 9, 8, 89, 49);

    QWidget* previous = nullptr;
    for (const RaceBox& race : RaceBoxes) {
        auto* box = new QCheckBox(QString::fromLatin1(race.Caption), Panel1);
        box->setObjectName(QString::fromLatin1(race.Name));
        box->setAccessibleName(box->text());
        box->setFont(VantorFont(11, true));
        SetTextColor(box, race.TextColor);
        Place(box, 9, race.Top, 89, 17);
        connect(box, &QCheckBox::clicked, this, Guarded([this, box] { ArgonenClick(box); }));
        this->*race.Member = box;
        if (previous != nullptr) {
            setTabOrder(previous, box);
        }
        previous = box;
    }

    const TCloseFooter footer = MakeCloseFooter(Panel1, {7, 216, 91, 4}, {8, 225, 89, 17});
    Shape1 = footer.Bar;
    Way = footer.Button;
    connect(Way, &QToolButton::clicked, this, Guarded([this] { WayClick(); }));
}

AvoidFlags TForm3::Flags() const {
    return {Boronen->isChecked(), Teladi->isChecked(),    Split->isChecked(),
            Argonen->isChecked(), Paraniden->isChecked(), Xenon->isChecked()};
}

// The box has toggled already: the request runs with the new set of races.
void TForm3::ArgonenClick(QObject* sender) {
    windows_.Form1->WayClick(sender);
}

// The star map closes the gap this window leaves.
void TForm3::WayClick() {
    if (windows_.Form4->isVisible()) {
        windows_.Form1->PutAtSlot(windows_.Form4, TForm1::FirstSlot);
    }
    close();
}

void TForm3::FormActivate() {
    TForm1& main = *windows_.Form1;
    main.AvoidLeads = true;
    main.MainLeads = false;
    main.MapLeads = false;
}

// Dragging this window drags the main window along, and the star map takes its
// slot beside this window even while hidden.
void TForm3::FormMoved() {
    TForm1& main = *windows_.Form1;
    if (!main.AvoidLeads || !main.isVisible()) {
        return;
    }
    main.move(x() - TForm1::FirstSlot, y());
    main.PutAtSlot(windows_.Form4, TForm1::SecondSlot);
}

void TForm3::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    RunGuarded([this] { FormMoved(); });
}

void TForm3::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        RunGuarded([this] { FormActivate(); });
    }
}
