#include "TreeFile.h"

#include "NodeText.h"
#include "TreeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <memory>

namespace {

// A level error's text is shown whole up to this many characters; a line
// of a megabyte would not fit any message box.
constexpr qsizetype kShownEntryLength = 200;

QString FullPath(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

TreeFileError OpenError(const QString& path) {
    return TreeFileError(QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(FullPath(path)));
}

TreeFileError CreateError(const QString& path) {
    return TreeFileError(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(FullPath(path)));
}

TreeFileError LevelError(const TreeLevelError& error, const QString& path) {
    QString entry = DisplayText(error.Text());
    if (entry.size() > kShownEntryLength) {
        entry = entry.left(kShownEntryLength) + QChar(0x2026);
    }
    // One pass of arg(), so a "%1" inside the entry stays as it is.
    return TreeFileError(QStringLiteral("Ungültige Ebene (%1) für Eintrag \"%2\"\nDatei %3")
                             .arg(QString::number(error.Level()), entry, FullPath(path)));
}

// Reads the file piece by piece into the reader; false when it fails.
bool FeedFile(QFile& file, TTreeTextReader& reader) {
    // A modest piece, left unfilled: a shipped tree is a few kilobytes, and
    // every page of a large buffer costs the start of the program time.
    constexpr std::size_t PieceSize = 64 * 1024;
    const auto piece = std::make_unique_for_overwrite<char[]>(PieceSize);
    for (;;) {
        const qint64 got = file.read(piece.get(), static_cast<qint64>(PieceSize));
        if (got < 0) {
            return false;
        }
        if (got == 0 ||
            !reader.Feed(std::string_view(piece.get(), static_cast<std::size_t>(got)))) {
            return true;
        }
    }
}

} // namespace

TreeFileError::TreeFileError(const QString& message)
    : std::runtime_error(message.toStdString())
    , message_(message) {
}

QString ProgramFilePath(const QString& programFolder, const QString& name) {
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

void LoadTreeFile(TTree& tree, const QString& path) {
    QFile file(path);
    // Only a plain file has an end: a device or a pipe could be read forever.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        throw OpenError(path);
    }
    // The nodes are built aside, so a file that breaks off while being read
    // leaves the tree as it was.
    TTree loaded;
    TTreeTextReader reader(loaded);
    try {
        if (!FeedFile(file, reader)) {
            throw OpenError(path);
        }
        reader.Finish();
    } catch (const TreeLevelError& error) {
        tree = std::move(loaded);
        throw LevelError(error, path);
    }
    tree = std::move(loaded);
}

void SaveTreeFile(const TTree& tree, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw CreateError(path);
    }
    bool written = true;
    WriteTree(tree, [&file, &written](std::string_view piece) {
        written = written && file.write(piece.data(), static_cast<qint64>(piece.size())) ==
                                 static_cast<qint64>(piece.size());
    });
    // The buffer's last write can fail (a full disk, a size limit) where
    // commit would not notice: flush first and ask.
    if (!written || !file.flush() || !file.commit()) {
        file.cancelWriting();
        throw CreateError(path);
    }
}
