#include "NotesFile.h"

#include "Cp1252.h"
#include "RegularFile.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextDocument>

namespace {

QString fullPath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString loadFailed() {
    return QStringLiteral("Das Laden des Streams ist mißlungen");
}

// Every byte a character of code page 1252; CR LF, LF and a lone CR each end
// a paragraph.
std::unique_ptr<QTextDocument> readPlainText(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r') {
            if (i + 1 < size && bytes[i + 1] == '\n') {
                ++i;
            }
            text.append(QChar::ParagraphSeparator);
        } else if (byte == '\n') {
            text.append(QChar::ParagraphSeparator);
        } else {
            text.append(QChar(decodeCp1252Byte(byte)));
        }
    }
    auto document = std::make_unique<QTextDocument>();
    document->setPlainText(text);
    return document;
}

} // namespace

NotesFileError::NotesFileError(const QString& message)
    : std::runtime_error(message.toStdString()) {
}

std::unique_ptr<QTextDocument> readNotes(QByteArrayView bytes) {
    if (bytes.size() > kMaxNotesFileBytes) {
        throw NotesFileError(loadFailed());
    }
    if (isRtf(bytes)) {
        return readRtf(bytes);
    }
    return readPlainText(bytes);
}

std::unique_ptr<QTextDocument> loadNotesFile(const QString& path) {
    QFile file(path);
    // Only a regular file has an end: a pipe would keep the window waiting.
    if (!isRegularFile(path) || !file.open(QIODevice::ReadOnly)) {
        throw NotesFileError(
            QStringLiteral("Datei %1 kann nicht geöffnet werden").arg(fullPath(path)));
    }
    if (file.size() > kMaxNotesFileBytes) {
        throw NotesFileError(loadFailed());
    }
    // Read one byte past the limit, so a file that grew meanwhile is caught.
    const QByteArray bytes = file.read(kMaxNotesFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        throw NotesFileError(loadFailed());
    }
    return readNotes(bytes);
}

bool isRichTextFile(const QString& path) {
    QFile file(path);
    return isRegularFile(path) && file.open(QIODevice::ReadOnly) && isRtf(file.read(16));
}

void saveNotesFile(const QString& path, const QTextDocument& document) {
    const QByteArray bytes = writeRtf(document);
    QSaveFile file(path);
    // The buffer's last write can fail (a full disk, a size limit) where
    // commit would not notice: flush first and ask.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        throw NotesFileError(
            QStringLiteral("Datei %1 kann nicht erstellt werden").arg(fullPath(path)));
    }
}
