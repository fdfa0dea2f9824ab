#include "Startup.h"

#include "Artwork.h"
#include "AvoidWindow.h"
#include "HintPolicy.h"
#include "StarMapWindow.h"
#include "MessageWindow.h"

#include <QApplication>
#include <QByteArray>

void PreferXcbUnderWayland(int argc, char** argv) {
#ifdef Q_OS_LINUX
    for (int at = 1; at < argc; ++at) {
        const QByteArray argument(argv[at]);
        if (argument == "-platform" || argument == "--platform" ||
            argument.startsWith("-platform=")) {
            return;
        }
    }
    // The windows of the strip follow each other by placing themselves, which
    // a Wayland compositor doesn't allow.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#endif
}

void ConfigureApplication(QApplication& application) {
    // Only the name: a display name would be appended to every window title.
    // With the maker's name it also names the user's data folder.
    QApplication::setOrganizationName(QStringLiteral("Tessaly"));
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setWindowIcon(ProgramIcon());
    application.setQuitOnLastWindowClosed(true);
    THintPolicy::Instance().PrepareTiming();
}

TVantorProgram::TVantorProgram(TStartOptions options)
    // The main window comes first: its creation reads the settings.
    : main_(std::make_unique<TForm1>(strip_, std::move(options))) {
    TForm1* main = main_.get();
    windows_.Form1 = main;
    windows_.Form2 = new TForm2(main);
    windows_.Form3 = new TForm3(strip_, main);
    windows_.Form4 = new TForm4(main->Engine(), main);
    strip_.SetWindows(main, windows_.Form3, windows_.Form4);
    main->AttachSatellites(windows_.Form2, windows_.Form3, windows_.Form4);
}

TVantorProgram::~TVantorProgram() = default;

void TVantorProgram::ShowMainWindow() {
    TForm1* main = windows_.Form1;
    main->show();
    main->raise();
    main->activateWindow();
}

QString TVantorProgram::DefaultProgramFolder() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}
