#include "NotepadPage.h"

#include "AutoLoadOption.h"
#include "Colors.h"
#include "Look.h"

TNotepadPage::TNotepadPage(QWidget* parent)
    : QWidget(parent)
    , autoLoad_(new TAutoLoadOption(this, "CheckBox1", 2, 2, 255, {})) {
    setObjectName(QStringLiteral("TabSheet4"));
    SetColors(this, Palette::DarkGround, Palette::Silver);
}
