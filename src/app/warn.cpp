// STUB: replaced by the message window change.
#include "warn.h"

TForm2::TForm2(TWindows& windows)
    : windows_(windows) {}
void TForm2::Show(const QString&, const QString&, int, const QString&, const QString&) {}
void TForm2::B01Click() {}
void TForm2::B02Click() {}
