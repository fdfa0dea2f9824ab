// STUB: replaced by the avoid-races window change.
#include "Ausw.h"

TForm3::TForm3(TWindows& windows)
    : windows_(windows) {}
AvoidFlags TForm3::Flags() const { return {}; }
void TForm3::ArgonenClick(QObject*) {}
void TForm3::WayClick() {}
void TForm3::FormActivate() {}
void TForm3::FormMoved() {}
void TForm3::moveEvent(QMoveEvent*) {}
void TForm3::changeEvent(QEvent*) {}
