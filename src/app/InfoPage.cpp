#include "InfoPage.h"

#include "Colors.h"
#include "Look.h"

TInfoPage::TInfoPage(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet2"));
    SetColors(this, Palette::DarkGround, Palette::Silver);
}
