#include "AvoidWindow.h"

#include "ClickCheckBox.h"
#include "Colors.h"
#include "ErrorBox.h"
#include "Look.h"
#include "WindowStrip.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>

namespace {

// The box's text is a darker red than the map's Xenon outline.
constexpr std::uint32_t XenonText = 0x0000D7;

struct RaceBox {
    QCheckBox* AvoidWindow::*member;
    const char* name;
    const char* caption;
    int top;
    std::uint32_t textColor;
};

} // namespace

AvoidWindow::AvoidWindow(WindowStrip& strip, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , strip_(strip) {
    panel_ = makeSatellitePanel(this, "Form3", QStringLiteral("Avoid"), 104, 250);

    heading_ = new QLabel(QStringLiteral("Avoid contact with the following races..."), panel_);
    heading_->setObjectName(QStringLiteral("Label1"));
    heading_->setAccessibleName(heading_->text());
    heading_->setWordWrap(true);
    heading_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    heading_->setFont(vantorFont(11));
    setTextColor(heading_, Palette::Accent);
    place(heading_, 9, 8, 89, 49);

    // Top to bottom, which is also the tab order.
    static constexpr std::array<RaceBox, 6> raceBoxes{{
        {&AvoidWindow::argonsBox_, "Argonen", "Argons", 64, RaceColor::Argons},
        {&AvoidWindow::boronsBox_, "Boronen", "Borons", 88, RaceColor::Borons},
        {&AvoidWindow::paranidsBox_, "Paraniden", "Paranids", 112, RaceColor::Paranids},
        {&AvoidWindow::splitBox_, "Split", "Split", 136, RaceColor::Split},
        {&AvoidWindow::teladiBox_, "Teladi", "Teladi", 160, RaceColor::Teladi},
        {&AvoidWindow::xenonBox_, "Xenon", "Xenon", 184, XenonText},
    }};
    QWidget* previous = nullptr;
    for (const RaceBox& race : raceBoxes) {
        auto* box = new ClickCheckBox(QString::fromLatin1(race.caption), panel_);
        box->setObjectName(QString::fromLatin1(race.name));
        box->setAccessibleName(box->text());
        box->setFont(vantorFont(11, true));
        setTextColor(box, race.textColor);
        place(box, 9, race.top, 89, 17);
        // A click, Space or an assistive tool's action: the user's change.
        connect(box, &QCheckBox::clicked, this, guarded([this] { onRaceBoxClicked(); }));
        this->*race.member = box;
        if (previous != nullptr) {
            setTabOrder(previous, box);
        }
        previous = box;
    }

    const CloseFooter footer = makeCloseFooter(panel_, {7, 216, 91, 4}, {8, 225, 89, 17});
    footerBar_ = footer.bar;
    closeButton_ = footer.button;
    connect(closeButton_, &QToolButton::clicked, this, guarded([this] { onCloseClicked(); }));
}

AvoidFlags AvoidWindow::avoidFlags() const {
    return {boronsBox_->isChecked(), teladiBox_->isChecked(),   splitBox_->isChecked(),
            argonsBox_->isChecked(), paranidsBox_->isChecked(), xenonBox_->isChecked()};
}

// The box has toggled already: the request runs with the new set of races.
void AvoidWindow::onRaceBoxClicked() {
    emit racesChanged();
}

void AvoidWindow::onCloseClicked() {
    strip_.closeAvoid();
}
