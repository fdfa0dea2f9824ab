#include "NotesFormatting.h"

#include <QAction>
#include <QColorDialog>
#include <QFontDialog>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <array>
#include <memory>

namespace {

// The sizes a word processor's size list offers, in points.
constexpr std::array SizeList{8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36, 48};

struct Range {
    int start;
    int end;
    QTextCharFormat format;
};

// The selected text cut at every change of format, each piece with its format.
QList<Range> formatRanges(const QTextCursor& selection) {
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    QList<Range> ranges;
    const QTextDocument* document = selection.document();
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            const QTextFragment fragment = piece.fragment();
            const int from = std::max(fragment.position(), start);
            const int to = std::min(fragment.position() + fragment.length(), end);
            if (from < to) {
                ranges.append({from, to, fragment.charFormat()});
            }
        }
    }
    return ranges;
}

} // namespace

NotesFormatting::NotesFormatting(QTextEdit* box)
    : QObject(box)
    , box_(box) {
    bold_ = addAction("Bold", tr("&Bold"), QKeySequence::Bold, &NotesFormatting::toggleBold);
    italic_ =
        addAction("Italic", tr("&Italic"), QKeySequence::Italic, &NotesFormatting::toggleItalic);
    underline_ = addAction("Underline", tr("&Underline"), QKeySequence::Underline,
                           &NotesFormatting::toggleUnderline);
    for (QAction* toggle : {bold_, italic_, underline_}) {
        toggle->setCheckable(true);
    }
    addAction("Font", tr("&Font..."), {}, &NotesFormatting::chooseFont);
    sizes_ = makeSizeMenu();
    addAction("Colour", tr("Text &colour..."), {}, &NotesFormatting::chooseColour);
    addAction("DefaultColour", tr("&Default colour"), {}, &NotesFormatting::defaultColour);
    addAction("PlainText", tr("&Plain text"), QKeySequence(Qt::CTRL | Qt::Key_Space),
              &NotesFormatting::plainText);

    box_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box_, &QTextEdit::customContextMenuRequested, this, &NotesFormatting::showMenu);
}

// The shortcuts work wherever the box has the focus, with the menu closed too.
QAction* NotesFormatting::addAction(const char* name, const QString& text,
                                    const QKeySequence& shortcut,
                                    void (NotesFormatting::*apply)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, apply);
    box_->addAction(action);
    commands_.append(action);
    return action;
}

QMenu* NotesFormatting::makeSizeMenu() {
    auto* menu = new QMenu(tr("Si&ze"), box_);
    menu->setObjectName(QStringLiteral("Size"));
    for (const int points : SizeList) {
        QAction* size = menu->addAction(QString::number(points));
        size->setObjectName(QStringLiteral("Size%1").arg(points));
        connect(size, &QAction::triggered, this, [this, points] { setSize(points); });
    }
    return menu;
}

void NotesFormatting::showMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu(box_->createStandardContextMenu(position));
    menu->setAccessibleName(tr("Notepad commands"));
    showCurrentFormat();
    menu->addSeparator();
    for (QAction* command : commands_) {
        menu->addAction(command);
        if (command == underline_) {
            menu->addSeparator();
        } else if (command->objectName() == QLatin1String("Font")) {
            menu->addMenu(sizes_);
        }
    }
    menu->exec(box_->viewport()->mapToGlobal(position));
}

// The toggles show the format at the caret, as the menu opens.
void NotesFormatting::showCurrentFormat() {
    bold_->setChecked(box_->fontWeight() > QFont::Medium);
    italic_->setChecked(box_->fontItalic());
    underline_->setChecked(box_->fontUnderline());
}

void NotesFormatting::toggleBold() {
    QTextCharFormat format;
    format.setFontWeight(box_->fontWeight() > QFont::Medium ? QFont::Normal : QFont::Bold);
    merge(format);
}

void NotesFormatting::toggleItalic() {
    QTextCharFormat format;
    format.setFontItalic(!box_->fontItalic());
    merge(format);
}

void NotesFormatting::toggleUnderline() {
    QTextCharFormat format;
    format.setFontUnderline(!box_->fontUnderline());
    merge(format);
}

void NotesFormatting::chooseFont() {
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, box_->currentFont(), box_, tr("Font"),
                                            QFontDialog::DontUseNativeDialog);
    if (chosen) {
        QTextCharFormat format;
        format.setFont(font);
        merge(format);
    }
}

void NotesFormatting::chooseColour() {
    const QColor color = QColorDialog::getColor(box_->textColor(), box_, tr("Text colour"),
                                                QColorDialog::DontUseNativeDialog);
    if (color.isValid()) {
        QTextCharFormat format;
        format.setForeground(color);
        merge(format);
    }
}

void NotesFormatting::setSize(qreal points) {
    QTextCharFormat format;
    format.setFontPointSize(points);
    merge(format);
}

void NotesFormatting::merge(const QTextCharFormat& format) {
    box_->mergeCurrentCharFormat(format);
}

// The box's silver again: the text keeps no colour of its own.
void NotesFormatting::defaultColour() {
    clear({QTextFormat::ForegroundBrush});
}

// Nothing of the text's own: the box's font, size and colour.
void NotesFormatting::plainText() {
    clear({QTextFormat::FontFamilies, QTextFormat::FontFamily, QTextFormat::FontPointSize,
           QTextFormat::FontPixelSize, QTextFormat::FontWeight, QTextFormat::FontItalic,
           QTextFormat::FontUnderline, QTextFormat::TextUnderlineStyle, QTextFormat::FontStrikeOut,
           QTextFormat::ForegroundBrush, QTextFormat::BackgroundBrush});
}

void NotesFormatting::clear(const QList<QTextFormat::Property>& properties) {
    QTextCursor cursor = box_->textCursor();
    if (!cursor.hasSelection()) {
        QTextCharFormat format = box_->currentCharFormat();
        for (const QTextFormat::Property property : properties) {
            format.clearProperty(property);
        }
        box_->setCurrentCharFormat(format);
        return;
    }
    // Merging can only add properties; each piece gets its format anew.
    cursor.beginEditBlock();
    for (Range range : formatRanges(cursor)) {
        for (const QTextFormat::Property property : properties) {
            range.format.clearProperty(property);
        }
        QTextCursor piece(box_->document());
        piece.setPosition(range.start);
        piece.setPosition(range.end, QTextCursor::KeepAnchor);
        piece.setCharFormat(range.format);
    }
    cursor.endEditBlock();
}
