// The program as its own entry starts it, reporting its first paint.
#include "ErrorBox.h"
#include "FirstPaintProbe.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    const qint64 launchedAt = LaunchTimeFromArguments(argc, argv);
    PreferXcbUnderWayland(argc, argv);
    QApplication application(argc, argv);
    ConfigureApplication(application);
    int exitCode = 1;
    RunGuarded([&] {
        TVantorProgram program(TStartOptions{TVantorProgram::DefaultProgramFolder()});
        new TFirstPaintProbe(program.Windows().Form1, launchedAt);
        program.ShowMainWindow();
        exitCode = QApplication::exec();
    });
    return exitCode;
}
