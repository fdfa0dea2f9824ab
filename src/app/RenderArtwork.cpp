// Draws the program's pictures at build time, so that a start of the program
// loads finished pictures instead of drawing them, and the installed icon is
// the same picture the windows show.
//
//   vantor-render-artwork pictures OUTPUT         the pictures the windows load
//   vantor-render-artwork icons OUTPUT NAME SIZE...  OUTPUT/<N>x<N>/apps/NAME.png
#include "Artwork.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <cstdio>

namespace {

bool save(const QPixmap& picture, const QString& folder, const QString& name) {
    if (!QDir().mkpath(folder) || !picture.save(folder + QLatin1Char('/') + name, "PNG")) {
        std::fprintf(stderr, "vantor-render-artwork: cannot write %s into %s\n", qPrintable(name),
                     qPrintable(folder));
        return false;
    }
    return true;
}

bool renderPictures(const QString& output) {
    for (const ShippedPicture picture : AllShippedPictures) {
        QFile file(output + QLatin1Char('/') + shippedPictureFile(picture));
        if (!QDir().mkpath(output) || !file.open(QIODevice::WriteOnly) ||
            file.write(shippedPictureBytes(drawShippedPicture(picture).toImage())) < 0) {
            std::fprintf(stderr, "vantor-render-artwork: cannot write %s\n",
                         qPrintable(file.fileName()));
            return false;
        }
    }
    return true;
}

bool renderIcons(const QString& output, const QString& name, const QStringList& sizes) {
    for (const QString& size : sizes) {
        const int side = size.toInt();
        if (side <= 0 ||
            !save(programIconPicture(side), QStringLiteral("%1/%2x%2/apps").arg(output).arg(side),
                  name + QStringLiteral(".png"))) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString mode = arguments.value(1);
    if (mode == QLatin1String("pictures") && arguments.size() == 3) {
        return renderPictures(arguments.at(2)) ? 0 : 1;
    }
    if (mode == QLatin1String("icons") && arguments.size() >= 5) {
        return renderIcons(arguments.at(2), arguments.at(3), arguments.mid(4)) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: vantor-render-artwork pictures OUTPUT\n"
                         "       vantor-render-artwork icons OUTPUT NAME SIZE...\n");
    return 64;
}
