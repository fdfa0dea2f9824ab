// Draws the program icon at the sizes a desktop looks for, as PNG files in
// the icon theme's layout: OUTPUT/<N>x<N>/apps/NAME.png. It runs at build
// time, so the installed icon is the same picture the windows show.
#include "Artwork.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: vantor-render-icons OUTPUT NAME SIZE...\n");
        return 64;
    }
    const QString output = arguments.at(1);
    const QString name = arguments.at(2);
    for (qsizetype at = 3; at < arguments.size(); ++at) {
        const int side = arguments.at(at).toInt();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(output).arg(side);
        if (side <= 0 || !QDir().mkpath(folder) ||
            !ProgramIconPicture(side).save(folder + QLatin1Char('/') + name + ".png")) {
            std::fprintf(stderr, "vantor-render-icons: cannot write the %s icon into %s\n",
                         qPrintable(arguments.at(at)), qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
