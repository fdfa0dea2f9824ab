#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextFormat>
#include <QTextFrame>
#include <cstdint>
#include <vector>

class QTextBlock;
class QTextDocument;
class QTextList;
class QTextTable;

// What the RTF writer reads of a document, copied out on the thread that
// owns the document: its default font, its frames and tables with their
// merged cells, each paragraph's alignment and list, and the text in runs of
// one character format. The copy is quick to take and shares nothing with
// the document, so that the RTF can be written on another thread while the
// user goes on typing.
class NotesSnapshot {
public:
    explicit NotesSnapshot(const QTextDocument& document);

    // What writeRtf writes of the document as it was; on any thread.
    QByteArray rtf() const;

private:
    // The document's structure in the order the writer visits it: a frame's
    // or a cell's content runs from its start to the matching End.
    enum class Mark : std::uint8_t { Paragraph, Table, Cell, Frame, End };
    struct Run {
        qsizetype start = 0;
        qsizetype length = 0;
        int format = 0;
    };
    struct Paragraph {
        Qt::Alignment alignment;
        // Into lists_, or -1 outside lists.
        int list = -1;
        std::size_t runs = 0;
    };
    // A cell that covers more than one row or column.
    struct Merge {
        int row = 0;
        int column = 0;
        int rows = 1;
        int columns = 1;
    };
    struct Table {
        int rows = 0;
        int columns = 0;
        std::vector<Merge> merges;
    };
    struct Cell {
        int row = 0;
        int column = 0;
    };
    class Builder;

    // The paragraphs, frames and tables from the iterator to the end of its frame.
    void takeItems(QTextFrame::iterator it);
    void takeTable(const QTextTable& table);
    void takeBlock(const QTextBlock& block);

    QString family_;
    qreal pointSize_;
    int pixelSize_;
    QString text_;
    std::vector<Mark> marks_;
    std::vector<Paragraph> paragraphs_;
    std::vector<Run> runs_;
    std::vector<Table> tables_;
    std::vector<Cell> cells_;
    // Copies of the document's character formats, by the document's format index.
    QList<QTextFormat> formats_;
    // The lists' formats in the order of their first item.
    QList<QTextFormat> lists_;
    // While it is taken: by the document's format index, and by list.
    struct BlockLook {
        Qt::Alignment alignment;
        const QTextList* list = nullptr;
    };
    std::vector<BlockLook> blockLooks_;
    QHash<const QTextList*, int> listIndexes_;
    qsizetype nextBlockStart_ = 0;
};
