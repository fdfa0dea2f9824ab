#include "SystemDatabasePage.h"

#include "Colors.h"
#include "Look.h"

TSystemDatabasePage::TSystemDatabasePage(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet1"));
    SetColors(this, Palette::DarkGround, Palette::Silver);
}
