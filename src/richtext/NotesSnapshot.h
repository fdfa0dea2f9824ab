#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTextFormat>
#include <vector>

class QTextDocument;

// What the RTF writer reads of a document, copied out on the thread that
// owns the document: its default font, each paragraph's alignment and the
// text in runs of one character format. The copy is quick to take and
// shares nothing with the document, so that the RTF can be written on
// another thread while the user goes on typing.
class NotesSnapshot {
public:
    explicit NotesSnapshot(const QTextDocument& document);

    // What writeRtf writes of the document as it was; on any thread.
    QByteArray rtf() const;

private:
    struct Run {
        qsizetype start;
        qsizetype length;
        int format;
    };
    struct Paragraph {
        Qt::Alignment alignment;
        std::size_t runs;
    };

    QString font_;
    QString text_;
    std::vector<Paragraph> paragraphs_;
    std::vector<Run> runs_;
    // Copies of the document's formats, by the document's format index.
    QList<QTextFormat> formats_;
};
