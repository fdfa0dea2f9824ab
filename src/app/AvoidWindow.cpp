#include "AvoidWindow.h"

#include "Colors.h"
#include "ErrorBox.h"
#include "Look.h"
#include "WindowStrip.h"

#include <QCheckBox>
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

} // namespace

TForm3::TForm3(TWindowStrip& strip, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , strip_(strip) {
    Panel1 = MakeSatellitePanel(this, "Form3", QStringLiteral("Avoid"), 104, 250);

    Label1 = new QLabel(QStringLiteral("Avoid contact with the following races..."), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(Label1->text());
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setFont(VantorFont(11));
    SetTextColor(Label1, Palette::Accent);
    Place(Label1, 9, 8, 89, 49);

    // Top to bottom, which is also the tab order.
    static constexpr std::array<RaceBox, 6> raceBoxes{{
        {&TForm3::Argonen, "Argonen", "Argons", 64, RaceColor::Argons},
        {&TForm3::Boronen, "Boronen", "Borons", 88, RaceColor::Borons},
        {&TForm3::Paraniden, "Paraniden", "Paranids", 112, RaceColor::Paranids},
        {&TForm3::Split, "Split", "Split", 136, RaceColor::Split},
        {&TForm3::Teladi, "Teladi", "Teladi", 160, RaceColor::Teladi},
        {&TForm3::Xenon, "Xenon", "Xenon", 184, XenonText},
    }};
    QWidget* previous = nullptr;
    for (const RaceBox& race : raceBoxes) {
        auto* box = new QCheckBox(QString::fromLatin1(race.Caption), Panel1);
        box->setObjectName(QString::fromLatin1(race.Name));
        box->setAccessibleName(box->text());
        box->setFont(VantorFont(11, true));
        SetTextColor(box, race.TextColor);
        Place(box, 9, race.Top, 89, 17);
        connect(box, &QCheckBox::clicked, this, Guarded([this] { ArgonenClick(); }));
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
void TForm3::ArgonenClick() {
    emit RacesChanged();
}

void TForm3::WayClick() {
    strip_.CloseAvoid();
}
