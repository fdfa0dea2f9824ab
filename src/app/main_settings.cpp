// STUB: replaced by the settings change.
#include "main.h"

void TForm1::ReadSettings() {
    CoreDataPath = ProgramFolder() + QStringLiteral("core.vr");
    InfoDataPath = ProgramFolder() + QStringLiteral("vantor.vr");
    NinjaMatrix1.SetFilename(CoreDataPath.toStdString());
}
void TForm1::UpdateReg() {}
void TForm1::ApplyHintTimingAndMarkers() {}
