#pragma once

#include <QByteArrayView>
#include <QString>
#include <memory>
#include <stdexcept>

class QTextDocument;

// The notepad's files (*.vrn) and the Info page's "upgrade.vr": rich text
// (RTF, see RtfReader.h and RtfWriter.h), or plain text where a file is no
// rich text.
//
// Each load reads into a new document and hands it over only when the reading
// is complete, so a failed load leaves the box's former text alone. Text
// without a colour, font or size of its own has none in the document, so the
// box's defaults show (silver on screen, black on paper). Swapping it in:
//
//     std::unique_ptr<QTextDocument> notes = loadNotesFile(path); // may throw
//     notes->setDefaultFont(box->font());
//     notes->setParent(box);
//     QTextDocument* old = box->document();
//     // The box deletes its first document itself, within setDocument.
//     const bool boxOwnsOld = old->parent() == box;
//     box->setDocument(notes.release());
//     if (boxOwnsOld) {
//         delete old;
//     }
//
// and saving: saveNotesFile(path, *box->document()).

// A failed load or save; the text is the toolkit's stock message, meant for
// the standard error box, and what() holds it in UTF-8.
class NotesFileError : public std::runtime_error {
public:
    explicit NotesFileError(const QString& message);
};

// Files larger than this are read neither way.
inline constexpr qint64 kMaxNotesFileBytes = qint64{16} * 1024 * 1024;

// The file's bytes as a document: RTF when they begin with "{\rtf"; else
// plain text, every byte a character of code page 1252 and each CR LF, LF
// and lone CR a paragraph break. Throws NotesFileError "Das Laden des
// Streams ist mißlungen" when the bytes are more than kMaxNotesFileBytes.
std::unique_ptr<QTextDocument> readNotes(QByteArrayView bytes);

// readNotes on the file's content. Throws NotesFileError "Datei <path> kann
// nicht geöffnet werden" when the file can't be opened or is no regular file, and "Das Laden des
// Streams ist mißlungen" when it can't be read or is too large. <path> is the
// full path.
std::unique_ptr<QTextDocument> loadNotesFile(const QString& path);

// Whether the file holds rich text, as loadNotesFile reads it; false for a
// plain text file and for one that can't be read.
bool isRichTextFile(const QString& path);

// Writes the document as RTF, creating the file or replacing it. The file is
// written beside and then renamed over the old one (QSaveFile), so a failed
// save leaves the old file byte for byte. Throws NotesFileError "Datei
// <path> kann nicht erstellt werden" when the file can't be created or
// written.
void saveNotesFile(const QString& path, const QTextDocument& document);
