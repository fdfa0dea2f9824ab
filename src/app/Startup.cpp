#include "Startup.h"

#include "Artwork.h"
#include "AvoidWindow.h"
#include "HintPolicy.h"
#include "MessageWindow.h"
#include "StarMapWindow.h"

#include <QApplication>
#include <QByteArray>

void preferXcbUnderWayland(int argc, char** argv) {
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

void configureApplication(QApplication& application) {
    // Only the name: a display name would be appended to every window title.
    // With the maker's name it also names the user's data folder.
    QApplication::setOrganizationName(QStringLiteral("Tessaly"));
    QApplication::setApplicationName(QStringLiteral("Vantor"));
    QApplication::setWindowIcon(programIcon());
    application.setQuitOnLastWindowClosed(true);
    HintPolicy::instance().prepareTiming();
}

VantorProgram::VantorProgram(StartOptions options)
    // The main window comes first: its creation reads the settings.
    : main_(std::make_unique<MainWindow>(strip_, std::move(options))) {
    MainWindow* main = main_.get();
    windows_.mainWindow = main;
    windows_.messageWindow = new MessageWindow(main);
    windows_.avoidWindow = new AvoidWindow(strip_, main);
    windows_.starMapWindow = new StarMapWindow(main->engine(), main);
    strip_.setWindows(main, windows_.avoidWindow, windows_.starMapWindow);
    main->attachSatellites(windows_.messageWindow, windows_.avoidWindow, windows_.starMapWindow);
}

VantorProgram::~VantorProgram() = default;

void VantorProgram::showMainWindow() {
    MainWindow* main = windows_.mainWindow;
    main->show();
    main->raise();
    main->activateWindow();
}

QString VantorProgram::defaultProgramFolder() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}
