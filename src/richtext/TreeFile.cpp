#include "TreeFile.h"

#include "QuotedInput.h"
#include "RegularFile.h"
#include "TreeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <memory>

namespace {

QString fullPath(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

TreeFileError openError(const QString& path) {
    return TreeFileError(QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(fullPath(path)));
}

TreeFileError createError(const QString& path) {
    return TreeFileError(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(fullPath(path)));
}

TreeFileError levelError(const TreeLevelError& error, const QString& path) {
    // Cut short: a line of a megabyte would not fit any message box.
    const QString entry = QString::fromStdString(quotedInput(error.text()));
    // One pass of arg(), so a "%1" inside the entry stays as it is.
    return TreeFileError(QStringLiteral("Ungültige Ebene (%1) für Eintrag \"%2\"\nDatei %3")
                             .arg(QString::number(error.level()), entry, fullPath(path)));
}

// Reads the file piece by piece into the reader; false when it fails.
bool feedFile(QFile& file, TreeTextReader& reader) {
    // A modest piece, left unfilled: a shipped tree is a few kilobytes, and
    // every page of a large buffer costs the start of the program time.
    constexpr std::size_t PieceSize = std::size_t{64} * 1024;
    const auto piece = std::make_unique_for_overwrite<char[]>(PieceSize);
    for (;;) {
        const qint64 got = file.read(piece.get(), static_cast<qint64>(PieceSize));
        if (got < 0) {
            return false;
        }
        if (got == 0 ||
            !reader.feed(std::string_view(piece.get(), static_cast<std::size_t>(got)))) {
            return true;
        }
    }
}

} // namespace

TreeFileError::TreeFileError(const QString& message)
    : std::runtime_error(message.toStdString())
    , message_(message) {
}

QString programFilePath(const QString& programFolder, const QString& name) {
    // Installed: no core.vr beside the program, and an installation's share
    // folder beside its bin folder. Anything else keeps its files together.
    const QString shareFolder = QDir::cleanPath(programFolder + QStringLiteral("../share/vantor"));
    const bool installed = !QFileInfo(programFolder + QStringLiteral("core.vr")).isFile() &&
                           QFileInfo(shareFolder).isDir();
    if (!installed) {
        return programFolder + name;
    }
    if (name == QLatin1String("core.vr") || name == QLatin1String("vantor.vr")) {
        return shareFolder + QLatin1Char('/') + name;
    }
    // An installed program can't write beside itself.
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userFolder);
    return userFolder + QLatin1Char('/') + name;
}

void loadTreeFile(Tree& tree, const QString& path) {
    QFile file(path);
    // Only a plain file has an end: a device or a pipe could be read forever.
    if (!isRegularFile(path) || !file.open(QIODevice::ReadOnly)) {
        throw openError(path);
    }
    // The nodes are built aside, so a file that breaks off while being read
    // leaves the tree as it was.
    Tree loaded;
    TreeTextReader reader(loaded);
    try {
        if (!feedFile(file, reader)) {
            throw openError(path);
        }
        reader.finish();
    } catch (const TreeLevelError& error) {
        tree = std::move(loaded);
        throw levelError(error, path);
    }
    tree = std::move(loaded);
}

void saveTreeFile(const Tree& tree, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw createError(path);
    }
    bool written = true;
    writeTree(tree, [&file, &written](std::string_view piece) {
        written = written && file.write(piece.data(), static_cast<qint64>(piece.size())) ==
                                 static_cast<qint64>(piece.size());
    });
    // The buffer's last write can fail (a full disk, a size limit) where
    // commit would not notice: flush first and ask.
    if (!written || !file.flush() || !file.commit()) {
        file.cancelWriting();
        throw createError(path);
    }
}
