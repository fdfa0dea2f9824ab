#include "NotesSnapshot.h"

#include "RtfWriter.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// A copy with properties of its own: a format shares them with the
// document's until one side changes, which is no help across threads.
QTextFormat ownCopy(const QTextFormat& format) {
    QTextFormat copy(format.type());
    const QMap<int, QVariant> properties = format.properties();
    for (auto property = properties.cbegin(); property != properties.cend(); ++property) {
        copy.setProperty(property.key(), property.value());
    }
    return copy;
}

// Inserted as text, these would start a paragraph; the writer leaves them
// out wherever they stand, so one it leaves out as well takes their place.
QString withoutBreaks(QString text) {
    for (QChar& unit : text) {
        const char16_t code = unit.unicode();
        if (code == u'\n' || code == u'\r' || code == QChar::ParagraphSeparator || code == 0xFDD0 ||
            code == 0xFDD1) {
            unit = QChar(u'\x01');
        }
    }
    return text;
}

} // namespace

NotesSnapshot::NotesSnapshot(const QTextDocument& document)
    : font_(document.defaultFont().toString())
    , text_(document.toRawText()) {
    const QList<QTextFormat> formats = document.allFormats();
    formats_.reserve(formats.size());
    for (const QTextFormat& format : formats) {
        formats_.append(ownCopy(format));
    }
    paragraphs_.reserve(static_cast<std::size_t>(document.blockCount()));
    // A block's or fragment's own position is looked up in the document each
    // time; the paragraphs, and the runs in them, follow each other.
    qsizetype paragraphStart = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const std::size_t before = runs_.size();
        qsizetype start = paragraphStart;
        paragraphStart += block.length();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const qsizetype length = fragment.length();
            runs_.push_back({start, length, fragment.charFormatIndex()});
            start += length;
        }
        paragraphs_.push_back(
            {block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, runs_.size() - before});
    }
}

QByteArray NotesSnapshot::rtf() const {
    QTextDocument document;
    QFont font;
    font.fromString(font_);
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    auto run = runs_.cbegin();
    for (std::size_t index = 0; index < paragraphs_.size(); ++index) {
        QTextBlockFormat paragraph;
        paragraph.setAlignment(paragraphs_[index].alignment);
        if (index == 0) {
            cursor.setBlockFormat(paragraph);
        } else {
            cursor.insertBlock(paragraph);
        }
        for (std::size_t count = 0; count < paragraphs_[index].runs; ++count, ++run) {
            const QTextCharFormat format = formats_.value(run->format).toCharFormat();
            cursor.insertText(withoutBreaks(text_.mid(run->start, run->length)), format);
        }
    }
    return writeRtf(document);
}
