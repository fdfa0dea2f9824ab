// STUB: replaced by the placement change.
#include "main.h"

void TForm1::Button1Click() {}
void TForm1::FormMoved() {}
void TForm1::PutAtSlot(QWidget*, int) {}
