#include "ErrorBox.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    PreferXcbUnderWayland(argc, argv);
    QApplication application(argc, argv);
    ConfigureApplication(application);
    int exitCode = 1;
    RunGuarded([&exitCode] {
        TVantorProgram program(TStartOptions{TVantorProgram::DefaultProgramFolder()});
        program.ShowMainWindow();
        exitCode = QApplication::exec();
    });
    return exitCode;
}
