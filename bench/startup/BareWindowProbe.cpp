// The yardstick: a bare Qt main window with one label, the main window's size
// and frame flags, built and started the same way as the program.
#include "FirstPaintProbe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    const qint64 launchedAt = launchTimeFromArguments(argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bare"));
    QMainWindow window(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(486, 494);
    window.setCentralWidget(new QLabel(QStringLiteral("Vantor"), &window));
    new FirstPaintProbe(&window, launchedAt);
    window.show();
    return QApplication::exec();
}
