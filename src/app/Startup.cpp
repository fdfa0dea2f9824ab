// STUB: replaced by the main window change.
#include "Startup.h"

#include "Ausw.h"
#include "mappy.h"
#include "warn.h"

#include <QCoreApplication>

TVantorProgram::TVantorProgram(TStartOptions options) {
    new TForm1(windows_, std::move(options));
    windows_.Form2 = new TForm2(windows_);
    windows_.Form3 = new TForm3(windows_);
    windows_.Form4 = new TForm4(windows_);
}
TVantorProgram::~TVantorProgram() {
    delete windows_.Form4;
    delete windows_.Form3;
    delete windows_.Form2;
    delete windows_.Form1;
}
void TVantorProgram::ShowMainWindow() {}
QString TVantorProgram::DefaultProgramFolder() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}
