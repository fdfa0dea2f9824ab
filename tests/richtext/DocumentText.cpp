#include "DocumentText.h"

#include "RichTextLists.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QTextTable>

namespace {

QStringList propertyList(const QTextCharFormat& format) {
    QStringList properties;
    if (format.fontWeight() > QFont::Medium) {
        properties << QStringLiteral("b");
    }
    if (format.fontItalic()) {
        properties << QStringLiteral("i");
    }
    if (format.fontUnderline()) {
        properties << QStringLiteral("u");
    }
    if (format.fontStrikeOut()) {
        properties << QStringLiteral("s");
    }
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) {
        properties << QStringLiteral("sup");
    } else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) {
        properties << QStringLiteral("sub");
    }
    if (const QStringList families = format.fontFamilies().toStringList(); !families.isEmpty()) {
        properties << QStringLiteral("f=") + families.join(QLatin1Char(','));
    }
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        properties << QStringLiteral("pt=%1").arg(format.fontPointSize());
    }
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        properties << QStringLiteral("fg=") + format.foreground().color().name();
    }
    if (format.hasProperty(QTextFormat::BackgroundBrush)) {
        properties << QStringLiteral("bg=") + format.background().color().name();
    }
    return properties;
}

QString describeFormat(const QTextCharFormat& format) {
    const QStringList properties = propertyList(format);
    return properties.isEmpty()
               ? QString()
               : QLatin1Char('[') + properties.join(QLatin1Char(' ')) + QLatin1Char(']');
}

QString alignmentMark(const QTextBlock& block) {
    const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter) {
        return QStringLiteral("<c>");
    }
    if (alignment & Qt::AlignRight) {
        return QStringLiteral("<r>");
    }
    if (alignment & Qt::AlignJustify) {
        return QStringLiteral("<j>");
    }
    return {};
}

// "(row,column)" of the cell, its span where it has one, for each table
// around the block from the outermost in.
QString cellMarks(const QTextBlock& block) {
    QString marks;
    for (QTextFrame* frame = block.document()->frameAt(block.position()); frame != nullptr;
         frame = frame->parentFrame()) {
        if (const auto* table = qobject_cast<QTextTable*>(frame)) {
            const QTextTableCell cell = table->cellAt(block.position());
            QString mark = QStringLiteral("(%1,%2").arg(cell.row()).arg(cell.column());
            if (cell.rowSpan() > 1 || cell.columnSpan() > 1) {
                mark += QStringLiteral(" %1x%2").arg(cell.rowSpan()).arg(cell.columnSpan());
            }
            marks.prepend(mark + QLatin1Char(')'));
        }
    }
    return marks;
}

QString listMark(const QTextBlock& block) {
    const QTextList* list = block.textList();
    if (list == nullptr) {
        return {};
    }
    const int indent = list->format().indent();
    return QLatin1Char('<') +
           (indent > 1 ? QString::number(indent) + QLatin1Char(':') : QString()) +
           listLabel(block) + QLatin1Char('>');
}

} // namespace

namespace {

void appendPlainText(QString& text, QTextFrame::iterator it);

void appendPlainText(QString& text, const QTextBlock& block) {
    if (block.textList() != nullptr) {
        text += listLabel(block) + QLatin1Char(' ');
    }
    text += block.text().replace(QChar::LineSeparator, QLatin1Char('\n'));
    text += QLatin1Char('\n');
}

// Row by row; a cell that a vertical merge covers is an empty line.
void appendPlainText(QString& text, const QTextTable& table) {
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.column() != column) {
                continue;
            }
            if (cell.row() != row) {
                text += QLatin1Char('\n');
            } else {
                appendPlainText(text, cell.begin());
            }
        }
    }
}

void appendPlainText(QString& text, QTextFrame::iterator it) {
    for (; !it.atEnd(); ++it) {
        if (const auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
            appendPlainText(text, *table);
        } else if (it.currentFrame() != nullptr) {
            appendPlainText(text, it.currentFrame()->begin());
        } else {
            appendPlainText(text, it.currentBlock());
        }
    }
}

} // namespace

QString plainText(const QTextDocument& document) {
    QString text;
    appendPlainText(text, document.rootFrame()->begin());
    return text;
}

QString describe(const QTextDocument& document) {
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString paragraph = cellMarks(block) + listMark(block) + alignmentMark(block);
        QString previous;
        bool first = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString properties = describeFormat(it.fragment().charFormat());
            if (!first && properties != previous && properties.isEmpty()) {
                paragraph += QStringLiteral("[]"); // back to no formatting of its own
            } else if (first || properties != previous) {
                paragraph += properties;
            }
            paragraph += it.fragment().text().replace(QChar::LineSeparator, QLatin1Char('|'));
            previous = properties;
            first = false;
        }
        paragraphs << paragraph;
    }
    return paragraphs.join(QLatin1Char('\n'));
}

QString propertiesAt(const QTextDocument& document, const QString& snippet) {
    const QTextCursor found = document.find(snippet);
    if (found.isNull()) {
        return QStringLiteral("missing");
    }
    const int position = found.selectionStart();
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().contains(position)) {
            return propertyList(it.fragment().charFormat()).join(QLatin1Char(' '));
        }
    }
    return QStringLiteral("missing");
}
