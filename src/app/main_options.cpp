// STUB: replaced by the options panel change.
#include "main.h"

void TForm1::BuildOptionsPanel() {}
void TForm1::BuildAutoLoadBoxes() {}
void TForm1::SpeedButton6Click() {}
void TForm1::SpeedButton7Click() {}
void TForm1::SpeedButton8Click(QObject*) {}
void TForm1::CheckBox1Click() {}
void TForm1::CheckBox3Click() {}
void TForm1::CheckBox4Click() {}
void TForm1::CheckBox5Click() {}
void TForm1::CheckBox6Click() {}
QString TForm1::ShortPathText(const QString& path) { return path; }
