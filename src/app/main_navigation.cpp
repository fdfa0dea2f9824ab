// STUB: replaced by the navigation page change.
#include "main.h"

void TForm1::BuildNavigationPage() {}
void TForm1::WayClick(QObject*) {}
void TForm1::SpeedButton1Click() {}
void TForm1::SpeedButton5Click() {}
void TForm1::FillSystemLists() {}
