// STUB: replaced by the main window change.
#include "Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TVantorProgram program(TStartOptions{TVantorProgram::DefaultProgramFolder()});
    program.ShowMainWindow();
    return QApplication::exec();
}
