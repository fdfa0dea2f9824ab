#include "OwnDatabasePage.h"

#include "AutoLoadOption.h"
#include "Colors.h"
#include "Look.h"

TOwnDatabasePage::TOwnDatabasePage(QWidget* parent)
    : QWidget(parent)
    , autoLoad_(new TAutoLoadOption(this, "CheckBox2", 117, -2, 260, {})) {
    setObjectName(QStringLiteral("TabSheet5"));
    SetColors(this, Palette::DarkGround, Palette::Silver);
}
