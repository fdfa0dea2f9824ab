#include "RichEditSink.h"

#include "Cp1252.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

// Marks a paragraph that holds a written line, so that an empty first line
// (a system without a name) still counts as written.
constexpr int WrittenLine = 1;

} // namespace

void RichEditSink::appendLine(const std::string& text, bool bold) {
    QTextDocument* document = box_->document();
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat weight;
    weight.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    if (!document->isEmpty() || document->lastBlock().userState() == WrittenLine) {
        cursor.insertBlock(QTextBlockFormat(), weight);
    }
    cursor.setBlockCharFormat(weight);
    cursor.insertText(decodeCp1252(text), weight);
    cursor.block().setUserState(WrittenLine);
}
