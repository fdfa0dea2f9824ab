// The program as its own entry starts it, reporting its first paint.
#include "ErrorBox.h"
#include "FirstPaintProbe.h"
#include "MainWindow.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    const qint64 launchedAt = launchTimeFromArguments(argc, argv);
    preferXcbUnderWayland(argc, argv);
    QApplication application(argc, argv);
    configureApplication(application);
    int exitCode = 1;
    runGuarded([&] {
        VantorProgram program(StartOptions{VantorProgram::defaultProgramFolder()});
        new FirstPaintProbe(program.mainWindow(), launchedAt);
        program.showMainWindow();
        exitCode = QApplication::exec();
    });
    return exitCode;
}
