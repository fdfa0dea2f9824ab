#include "NotesSnapshot.h"

#include "RtfWriter.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <cassert>

namespace {

// A copy with properties of its own: a format shares them with the
// document's until one side changes, which is no help across threads. The
// object a format belongs to is the document's; the copy belongs to none.
QTextFormat ownCopy(const QTextFormat& format) {
    QTextFormat copy(format.type());
    const QMap<int, QVariant> properties = format.properties();
    for (auto property = properties.cbegin(); property != properties.cend(); ++property) {
        if (property.key() != QTextFormat::ObjectIndex) {
            copy.setProperty(property.key(), property.value());
        }
    }
    return copy;
}

// Inserted as text, these would start a paragraph or a frame; the writer
// leaves them out wherever they stand, so one it leaves out as well takes
// their place.
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

// Builds a document of the snapshot's structure, in the order it was taken.
// A frame or a table stands between two paragraphs, as in every document:
// it goes in at the end of the paragraph before it and leaves an empty one
// after it, which the next paragraph fills.
class NotesSnapshot::Builder {
public:
    Builder(const NotesSnapshot& snapshot, QTextDocument& document)
        : snapshot_(snapshot)
        , cursor_(&document)
        , lists_(static_cast<std::size_t>(snapshot.lists_.size()), nullptr) {}

    void build() {
        while (mark_ < snapshot_.marks_.size()) {
            buildNext();
        }
    }

private:
    // One paragraph, or a frame or table with all its content.
    void buildNext() {
        switch (snapshot_.marks_[mark_++]) {
        case Mark::Paragraph:
            buildParagraph();
            break;
        case Mark::Table:
            buildTable();
            break;
        case Mark::Frame: {
            const QTextFrame* frame = cursor_.insertFrame(QTextFrameFormat());
            fresh_ = true;
            buildUntilEnd();
            leave(*frame);
            break;
        }
        case Mark::Cell:
        case Mark::End:
            break;
        }
    }

    void buildUntilEnd() {
        while (mark_ < snapshot_.marks_.size() && snapshot_.marks_[mark_] != Mark::End) {
            buildNext();
        }
        ++mark_;
    }

    void leave(const QTextFrame& frame) {
        cursor_.setPosition(frame.lastPosition() + 1);
        fresh_ = true;
    }

    void buildParagraph() {
        const Paragraph& paragraph = snapshot_.paragraphs_[paragraph_++];
        QTextBlockFormat format;
        format.setAlignment(paragraph.alignment);
        if (fresh_) {
            cursor_.setBlockFormat(format);
        } else {
            cursor_.insertBlock(format);
        }
        fresh_ = false;
        if (paragraph.list >= 0) {
            QTextList*& list = lists_[static_cast<std::size_t>(paragraph.list)];
            if (list == nullptr) {
                list = cursor_.createList(snapshot_.lists_[paragraph.list].toListFormat());
            } else {
                list->add(cursor_.block());
            }
        }
        for (std::size_t count = 0; count < paragraph.runs; ++count) {
            const Run& run = snapshot_.runs_[run_++];
            cursor_.insertText(withoutBreaks(snapshot_.text_.mid(run.start, run.length)),
                               snapshot_.formats_.value(run.format).toCharFormat());
        }
    }

    // The cells are merged while they are empty, then filled one by one.
    void buildTable() {
        const Table& shape = snapshot_.tables_[table_++];
        QTextTable* table = cursor_.insertTable(shape.rows, shape.columns);
        for (const Merge& merge : shape.merges) {
            table->mergeCells(merge.row, merge.column, merge.rows, merge.columns);
        }
        while (mark_ < snapshot_.marks_.size() && snapshot_.marks_[mark_] == Mark::Cell) {
            ++mark_;
            const Cell& cell = snapshot_.cells_[cell_++];
            cursor_ = table->cellAt(cell.row, cell.column).firstCursorPosition();
            fresh_ = true;
            buildUntilEnd();
        }
        ++mark_; // the table's End
        leave(*table);
    }

    const NotesSnapshot& snapshot_;
    QTextCursor cursor_;
    std::vector<QTextList*> lists_;
    std::size_t mark_ = 0;
    std::size_t paragraph_ = 0;
    std::size_t run_ = 0;
    std::size_t table_ = 0;
    std::size_t cell_ = 0;
    // The cursor stands in an empty paragraph that the next one fills.
    bool fresh_ = true;
};

NotesSnapshot::NotesSnapshot(const QTextDocument& document)
    : family_(document.defaultFont().family())
    , pointSize_(document.defaultFont().pointSizeF())
    , pixelSize_(document.defaultFont().pixelSize())
    , text_(document.toRawText()) {
    const QList<QTextFormat> formats = document.allFormats();
    formats_.reserve(formats.size());
    // What a paragraph shows of its format, looked up once per format.
    blockLooks_.resize(static_cast<std::size_t>(formats.size()));
    for (qsizetype index = 0; index < formats.size(); ++index) {
        const QTextFormat& format = formats[index];
        formats_.append(format.isCharFormat() ? ownCopy(format) : QTextFormat());
        if (format.isBlockFormat()) {
            blockLooks_[static_cast<std::size_t>(index)] = {
                format.toBlockFormat().alignment() & Qt::AlignHorizontal_Mask,
                qobject_cast<const QTextList*>(document.objectForFormat(format))};
        }
    }
    paragraphs_.reserve(static_cast<std::size_t>(document.blockCount()));
    marks_.reserve(static_cast<std::size_t>(document.blockCount()));
    takeItems(document.rootFrame()->begin());
    blockLooks_.clear();
    listIndexes_.clear();
}

void NotesSnapshot::takeItems(QTextFrame::iterator it) {
    for (; !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(child)) {
                takeTable(*table);
            } else {
                marks_.push_back(Mark::Frame);
                takeItems(child->begin());
                marks_.push_back(Mark::End);
            }
        } else {
            takeBlock(it.currentBlock());
        }
    }
}

// Each cell once, where it starts; a merged cell with its span.
void NotesSnapshot::takeTable(const QTextTable& table) {
    marks_.push_back(Mark::Table);
    // By its place: the tables in its cells come after it.
    const std::size_t shape = tables_.size();
    tables_.push_back({table.rows(), table.columns(), {}});
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column) {
                continue;
            }
            if (cell.rowSpan() > 1 || cell.columnSpan() > 1) {
                tables_[shape].merges.push_back({row, column, cell.rowSpan(), cell.columnSpan()});
            }
            marks_.push_back(Mark::Cell);
            cells_.push_back({row, column});
            takeItems(cell.begin());
            marks_.push_back(Mark::End);
        }
    }
    marks_.push_back(Mark::End);
}

void NotesSnapshot::takeBlock(const QTextBlock& block) {
    marks_.push_back(Mark::Paragraph);
    const BlockLook& look = blockLooks_[static_cast<std::size_t>(block.blockFormatIndex())];
    int list = -1;
    if (const QTextList* textList = look.list) {
        const auto known = listIndexes_.constFind(textList);
        if (known != listIndexes_.constEnd()) {
            list = *known;
        } else {
            list = static_cast<int>(lists_.size());
            listIndexes_.insert(textList, list);
            lists_.append(ownCopy(textList->format()));
        }
    }
    const std::size_t before = runs_.size();
    // Blocks follow each other in the order the frames are walked, each
    // ended by the character that starts the next block or frame; counting
    // is quicker than asking the document.
    assert(block.position() == nextBlockStart_);
    qsizetype start = nextBlockStart_;
    nextBlockStart_ += block.length();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const qsizetype length = fragment.length();
        runs_.push_back({start, length, fragment.charFormatIndex()});
        start += length;
    }
    paragraphs_.push_back({look.alignment, list, runs_.size() - before});
}

QByteArray NotesSnapshot::rtf() const {
    QTextDocument document;
    // Only what the writer reads of the default font: its family and size.
    QFont font;
    font.setFamily(family_);
    if (pointSize_ > 0) {
        font.setPointSizeF(pointSize_);
    } else if (pixelSize_ > 0) {
        font.setPixelSize(pixelSize_);
    }
    document.setDefaultFont(font);
    Builder(*this, document).build();
    return writeRtf(document);
}
