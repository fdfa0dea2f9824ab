#include "RtfReaderState.h"

#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextTable>

#include <algorithm>

// Tables: the paragraphs of a table's cells are read into a document of the
// table's own; when the table ends, its grid is laid out from the rows'
// cell boundaries (\cellx) and merges (\clmrg, \clvmgf, \clvmrg), and the
// cells' paragraphs are copied into a QTextTable. Tables in cells (\itap,
// \nestcell, \nestrow) are read the same way one level deeper.

namespace RtfInternal {

namespace {

// Word's limit; beyond it each row's cells stand side by side.
constexpr int kMaxColumns = 63;
// A larger table is read as paragraphs, one or more per cell.
constexpr long long kMaxGridCells = 50'000;
// Merging cells costs about the table's size each time: beyond this the
// cells keep their content but are not merged.
constexpr long long kMaxMergeWork = 20'000'000;

using StagedCell = TableBuilder::Cell;

// A cell of the laid-out table, with the staged cells whose paragraphs it
// takes: its own, and those of cells merged into it that have text.
struct Placement {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    std::vector<StagedCell> contents;
};

struct Layout {
    int columns = 0;
    std::vector<int> boundaries; // right edges of the columns, in twips
    std::vector<Placement> placements;
};

// Each row's cell boundaries, rising; with geometry false each cell one
// column wide.
std::vector<std::vector<int>> rowBoundaries(const TableBuilder& builder, bool geometry) {
    std::vector<std::vector<int>> rows;
    rows.reserve(builder.rows.size());
    for (std::size_t r = 0; r < builder.rows.size(); ++r) {
        const std::vector<CellDefinition>& definitions = builder.definitions[r];
        const std::size_t count = std::max(builder.rows[r].size(), definitions.size());
        std::vector<int> rights;
        rights.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const int previous = rights.empty() ? 0 : rights.back();
            int right = geometry && i < definitions.size() ? definitions[i].right : previous + 1;
            if (!geometry) {
                right = static_cast<int>(i) + 1;
            }
            rights.push_back(std::max(right, previous + 1));
        }
        rows.push_back(std::move(rights));
    }
    return rows;
}

bool isEmpty(const QTextDocument& staging, const StagedCell& cell) {
    return cell.firstBlock == cell.lastBlock &&
           staging.findBlockByNumber(cell.firstBlock).length() <= 1;
}

// Places the row's cells on the grid: a cell merged into the one before it
// (\clmrg) or above it (\clvmrg) widens or lengthens that one.
void placeRow(Layout& layout, const TableBuilder& builder, int row, const std::vector<int>& rights,
              std::vector<int>& above) {
    const std::vector<StagedCell>& cells = builder.rows[static_cast<std::size_t>(row)];
    const std::vector<CellDefinition>& definitions =
        builder.definitions[static_cast<std::size_t>(row)];
    std::vector<int> here(static_cast<std::size_t>(layout.columns), -1);
    int column = 0;
    int previous = -1; // this row's last placement
    for (std::size_t i = 0; i < rights.size(); ++i) {
        const auto boundary =
            std::lower_bound(layout.boundaries.begin(), layout.boundaries.end(), rights[i]);
        const int last = static_cast<int>(boundary - layout.boundaries.begin());
        const CellDefinition definition =
            i < definitions.size() ? definitions[i] : CellDefinition{};
        const bool hasContent = i < cells.size() && !isEmpty(builder.document, cells[i]);
        int target = -1;
        if (column >= layout.columns || (definition.mergeNext && previous >= 0)) {
            target = previous; // beyond the grid, or merged into the cell before
        } else if (definition.verticalMergeNext && above[static_cast<std::size_t>(column)] >= 0) {
            Placement& upper =
                layout
                    .placements[static_cast<std::size_t>(above[static_cast<std::size_t>(column)])];
            if (upper.column == column && upper.column + upper.columnSpan - 1 == last) {
                target = above[static_cast<std::size_t>(column)];
                upper.rowSpan = row - upper.row + 1;
            }
        }
        if (target < 0) {
            target = static_cast<int>(layout.placements.size());
            layout.placements.push_back({row, column, 1, 1, {}});
            if (i < cells.size()) {
                layout.placements.back().contents.push_back(cells[i]);
            }
        } else if (hasContent) {
            layout.placements[static_cast<std::size_t>(target)].contents.push_back(cells[i]);
        }
        Placement& placement = layout.placements[static_cast<std::size_t>(target)];
        if (placement.row == row && column < layout.columns) {
            placement.columnSpan = std::max(placement.columnSpan, last - placement.column + 1);
        }
        for (int c = column; c <= last && c < layout.columns; ++c) {
            here[static_cast<std::size_t>(c)] = target;
        }
        previous = target;
        column = std::max(column, last + 1);
    }
    // A row narrower than the table: its last cell reaches to the table's
    // edge (word processors leave the rest of the row out).
    if (previous >= 0 && column < layout.columns) {
        Placement& placement = layout.placements[static_cast<std::size_t>(previous)];
        if (placement.row == row && placement.rowSpan == 1) {
            placement.columnSpan = layout.columns - placement.column;
            std::fill(here.begin() + column, here.end(), previous);
        }
    }
    above = std::move(here);
}

std::optional<Layout> layOut(const TableBuilder& builder) {
    Layout layout;
    std::vector<std::vector<int>> rows = rowBoundaries(builder, true);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::vector<CellDefinition>& definitions = builder.definitions[row];
        for (std::size_t i = 0; i < rows[row].size(); ++i) {
            // The edge between a cell and the one merged into it is none.
            if (i + 1 >= definitions.size() || !definitions[i + 1].mergeNext) {
                layout.boundaries.push_back(rows[row][i]);
            }
        }
    }
    std::sort(layout.boundaries.begin(), layout.boundaries.end());
    layout.boundaries.erase(std::unique(layout.boundaries.begin(), layout.boundaries.end()),
                            layout.boundaries.end());
    if (layout.boundaries.size() > static_cast<std::size_t>(kMaxColumns)) {
        rows = rowBoundaries(builder, false);
        layout.boundaries.clear();
        for (int column = 1; column <= kMaxColumns; ++column) {
            layout.boundaries.push_back(column);
        }
        std::size_t widest = 0;
        for (const std::vector<int>& rights : rows) {
            widest = std::max(widest, rights.size());
        }
        layout.boundaries.resize(std::min(widest, layout.boundaries.size()));
    }
    layout.columns = static_cast<int>(layout.boundaries.size());
    if (layout.columns == 0 ||
        static_cast<long long>(rows.size()) * layout.columns > kMaxGridCells) {
        return std::nullopt;
    }
    std::vector<int> above(static_cast<std::size_t>(layout.columns), -1);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        placeRow(layout, builder, static_cast<int>(row), rows[row], above);
    }
    return layout;
}

// The table format: thin borders, and the columns as wide as the file has
// them, in shares of the table's width.
QTextTableFormat tableFormat(const Layout& layout) {
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    const int left = 0;
    const int width = layout.boundaries.back() - left;
    if (layout.boundaries.front() > left && width > 0 && layout.boundaries.back() > kMaxColumns) {
        QList<QTextLength> widths;
        int previous = left;
        for (const int right : layout.boundaries) {
            widths.append(
                QTextLength(QTextLength::PercentageLength, 100.0 * (right - previous) / width));
            previous = right;
        }
        format.setColumnWidthConstraints(widths);
    }
    return format;
}

// Qt puts a fragment that begins with a list item after the paragraph it
// is inserted in: the item takes that paragraph's place. (The paragraph's
// character format stays: at a cell's start it holds the cell's spans.)
void dropParagraphBefore(const QTextBlock& empty) {
    QTextCursor merge(empty);
    merge.setBlockFormat(empty.next().blockFormat());
    merge.deleteChar();
}

// Copies a staged cell's paragraphs to the cursor, the first into the
// cursor's paragraph with its own paragraph format and list.
void copyCell(const QTextDocument& staging, const StagedCell& cell, QTextCursor& target) {
    const QTextBlock first = staging.findBlockByNumber(cell.firstBlock);
    const QTextBlock last = staging.findBlockByNumber(cell.lastBlock);
    if (!first.isValid() || !last.isValid()) {
        return;
    }
    QTextCursor selection(first);
    selection.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    QTextBlockFormat blockFormat = first.blockFormat();
    blockFormat.setObjectIndex(-1);
    target.setBlockFormat(blockFormat);
    const QTextBlock targetFirst = target.block();
    target.insertFragment(QTextDocumentFragment(selection));
    const QTextList* list = first.textList();
    if (list == nullptr) {
        return;
    }
    if (target.blockNumber() - targetFirst.blockNumber() > cell.lastBlock - cell.firstBlock) {
        dropParagraphBefore(targetFirst);
        return;
    }
    // The copy has the list where one of its later items was copied.
    QTextBlock copy = targetFirst.next();
    for (QTextBlock source = first.next();
         source.isValid() && copy.isValid() && source.blockNumber() <= cell.lastBlock;
         source = source.next(), copy = copy.next()) {
        if (source.textList() == list && copy.textList() != nullptr) {
            copy.textList()->add(targetFirst);
            return;
        }
    }
    QTextCursor(targetFirst).createList(list->format());
}

} // namespace

int Reader::rowDepth() const {
    return std::clamp(state_.para.depth(), 1, kMaxTableDepth);
}

// Opens and ends tables until the paragraph's table depth is reached.
void Reader::syncTables(int depth) {
    depth = std::clamp(depth, 0, kMaxTableDepth);
    while (static_cast<int>(tables_.size()) > depth) {
        finishTable();
    }
    while (static_cast<int>(tables_.size()) < depth) {
        startTable();
    }
}

void Reader::startTable() {
    flushRun();
    Sink& outer = out();
    if (!outer.paragraphClosed && outer.cursor.block().length() > 1) {
        outer.paragraphClosed = true; // the text before the table is a paragraph of its own
    }
    if (!tables_.empty() && outer.paragraphClosed &&
        outer.cursor.blockNumber() < tables_.back()->firstBlock) {
        // A table that begins a cell follows an empty paragraph, as it does
        // at the start of a document.
        outer.cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    tables_.push_back(std::make_unique<TableBuilder>());
}

// A cell or row that the file leaves unended ends with its table.
void Reader::finishTable() {
    flushRun();
    TableBuilder& builder = *tables_.back();
    const int current = builder.sink.cursor.blockNumber();
    if (current >= builder.firstBlock &&
        (!builder.cells.empty() || !isEmpty(builder.document, {builder.firstBlock, current}))) {
        builder.cells.push_back({builder.firstBlock, current});
    }
    if (!builder.cells.empty()) {
        const std::size_t depth = tables_.size();
        builder.rows.push_back(std::move(builder.cells));
        builder.definitions.push_back(rows_.size() >= depth ? rows_[depth - 1]
                                                            : std::vector<CellDefinition>{});
        builder.cells.clear();
    }
    const std::unique_ptr<TableBuilder> finished = std::move(tables_.back());
    tables_.pop_back();
    insertTable(*finished);
}

void Reader::endCell(int depth) {
    if (state_.destination != Destination::Text) {
        return;
    }
    syncTables(depth);
    closeParagraph();
    TableBuilder& builder = *tables_.back();
    const int last = out().cursor.blockNumber();
    builder.cells.push_back({builder.firstBlock, last});
    builder.firstBlock = last + 1;
}

void Reader::endRow(int depth) {
    if (state_.destination != Destination::Text || static_cast<int>(tables_.size()) < depth) {
        return; // no row to end
    }
    syncTables(depth);
    TableBuilder& builder = *tables_.back();
    flushRun();
    if (const int current = builder.sink.cursor.blockNumber(); current >= builder.firstBlock) {
        endCell(depth); // text after the row's last cell: one more cell
    }
    if (builder.cells.empty()) {
        return;
    }
    builder.rows.push_back(std::move(builder.cells));
    builder.cells.clear();
    builder.definitions.push_back(static_cast<int>(rows_.size()) >= depth
                                      ? rows_[static_cast<std::size_t>(depth - 1)]
                                      : std::vector<CellDefinition>{});
}

void Reader::insertTable(const TableBuilder& builder) {
    if (builder.rows.empty()) {
        return;
    }
    const std::optional<Layout> layout = layOut(builder);
    if (!layout) {
        insertAsParagraphs(builder);
        return;
    }
    Sink& sink = out();
    const auto rows = static_cast<int>(builder.rows.size());
    QTextTable* table = sink.cursor.insertTable(rows, layout->columns, tableFormat(*layout));
    long long merges = 0;
    for (const Placement& placement : layout->placements) {
        merges += placement.rowSpan > 1 || placement.columnSpan > 1 ? 1 : 0;
    }
    if (merges * rows * layout->columns <= kMaxMergeWork) {
        for (const Placement& placement : layout->placements) {
            if (placement.rowSpan > 1 || placement.columnSpan > 1) {
                table->mergeCells(placement.row, placement.column, placement.rowSpan,
                                  placement.columnSpan);
            }
        }
    }
    for (const Placement& placement : layout->placements) {
        QTextCursor cell = table->cellAt(placement.row, placement.column).firstCursorPosition();
        for (std::size_t i = 0; i < placement.contents.size(); ++i) {
            if (i > 0) {
                cell.insertBlock(QTextBlockFormat(), QTextCharFormat());
            }
            copyCell(builder.document, placement.contents[i], cell);
        }
    }
    sink.cursor.setPosition(table->lastPosition() + 1);
    sink.paragraphClosed = false;
}

void Reader::insertAsParagraphs(const TableBuilder& builder) {
    Sink& sink = out();
    for (const std::vector<StagedCell>& row : builder.rows) {
        for (const StagedCell& cell : row) {
            if (sink.paragraphClosed) {
                sink.cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            }
            copyCell(builder.document, cell, sink.cursor);
            sink.paragraphClosed = true;
        }
    }
}

} // namespace RtfInternal
