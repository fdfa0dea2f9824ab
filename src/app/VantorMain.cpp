#include "ErrorBox.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    preferXcbUnderWayland(argc, argv);
    QApplication application(argc, argv);
    configureApplication(application);
    int exitCode = 1;
    runGuarded([&exitCode] {
        VantorProgram program(StartOptions{VantorProgram::defaultProgramFolder()});
        program.showMainWindow();
        exitCode = QApplication::exec();
    });
    return exitCode;
}
