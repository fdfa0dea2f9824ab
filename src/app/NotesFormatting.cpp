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

struct TRange {
    int Start;
    int End;
    QTextCharFormat Format;
};

// The selected text cut at every change of format, each piece with its format.
QList<TRange> FormatRanges(const QTextCursor& selection) {
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    QList<TRange> ranges;
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

TNotesFormatting::TNotesFormatting(QTextEdit* box)
    : QObject(box)
    , box_(box) {
    bold_ = AddAction("Bold", tr("&Bold"), QKeySequence::Bold, &TNotesFormatting::ToggleBold);
    italic_ =
        AddAction("Italic", tr("&Italic"), QKeySequence::Italic, &TNotesFormatting::ToggleItalic);
    underline_ = AddAction("Underline", tr("&Underline"), QKeySequence::Underline,
                           &TNotesFormatting::ToggleUnderline);
    for (QAction* toggle : {bold_, italic_, underline_}) {
        toggle->setCheckable(true);
    }
    AddAction("Font", tr("&Font..."), {}, &TNotesFormatting::ChooseFont);
    sizes_ = MakeSizeMenu();
    AddAction("Colour", tr("Text &colour..."), {}, &TNotesFormatting::ChooseColour);
    AddAction("DefaultColour", tr("&Default colour"), {}, &TNotesFormatting::DefaultColour);
    AddAction("PlainText", tr("&Plain text"), QKeySequence(Qt::CTRL | Qt::Key_Space),
              &TNotesFormatting::PlainText);

    box_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box_, &QTextEdit::customContextMenuRequested, this, &TNotesFormatting::ShowMenu);
}

// The shortcuts work wherever the box has the focus, with the menu closed too.
QAction* TNotesFormatting::AddAction(const char* name, const QString& text,
                                     const QKeySequence& shortcut,
                                     void (TNotesFormatting::*apply)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, apply);
    box_->addAction(action);
    commands_.append(action);
    return action;
}

QMenu* TNotesFormatting::MakeSizeMenu() {
    auto* menu = new QMenu(tr("Si&ze"), box_);
    menu->setObjectName(QStringLiteral("Size"));
    for (const int points : SizeList) {
        QAction* size = menu->addAction(QString::number(points));
        size->setObjectName(QStringLiteral("Size%1").arg(points));
        connect(size, &QAction::triggered, this, [this, points] { SetSize(points); });
    }
    return menu;
}

void TNotesFormatting::ShowMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu(box_->createStandardContextMenu(position));
    menu->setAccessibleName(tr("Notepad commands"));
    ShowCurrentFormat();
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
void TNotesFormatting::ShowCurrentFormat() {
    bold_->setChecked(box_->fontWeight() > QFont::Medium);
    italic_->setChecked(box_->fontItalic());
    underline_->setChecked(box_->fontUnderline());
}

void TNotesFormatting::ToggleBold() {
    QTextCharFormat format;
    format.setFontWeight(box_->fontWeight() > QFont::Medium ? QFont::Normal : QFont::Bold);
    Merge(format);
}

void TNotesFormatting::ToggleItalic() {
    QTextCharFormat format;
    format.setFontItalic(!box_->fontItalic());
    Merge(format);
}

void TNotesFormatting::ToggleUnderline() {
    QTextCharFormat format;
    format.setFontUnderline(!box_->fontUnderline());
    Merge(format);
}

void TNotesFormatting::ChooseFont() {
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, box_->currentFont(), box_, tr("Font"),
                                            QFontDialog::DontUseNativeDialog);
    if (chosen) {
        QTextCharFormat format;
        format.setFont(font);
        Merge(format);
    }
}

void TNotesFormatting::ChooseColour() {
    const QColor color = QColorDialog::getColor(box_->textColor(), box_, tr("Text colour"),
                                                QColorDialog::DontUseNativeDialog);
    if (color.isValid()) {
        QTextCharFormat format;
        format.setForeground(color);
        Merge(format);
    }
}

void TNotesFormatting::SetSize(qreal points) {
    QTextCharFormat format;
    format.setFontPointSize(points);
    Merge(format);
}

void TNotesFormatting::Merge(const QTextCharFormat& format) {
    box_->mergeCurrentCharFormat(format);
}

// The box's silver again: the text keeps no colour of its own.
void TNotesFormatting::DefaultColour() {
    Clear({QTextFormat::ForegroundBrush});
}

// Nothing of the text's own: the box's font, size and colour.
void TNotesFormatting::PlainText() {
    Clear({QTextFormat::FontFamilies, QTextFormat::FontFamily, QTextFormat::FontPointSize,
           QTextFormat::FontPixelSize, QTextFormat::FontWeight, QTextFormat::FontItalic,
           QTextFormat::FontUnderline, QTextFormat::TextUnderlineStyle, QTextFormat::FontStrikeOut,
           QTextFormat::ForegroundBrush, QTextFormat::BackgroundBrush});
}

void TNotesFormatting::Clear(const QList<QTextFormat::Property>& properties) {
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
    for (TRange range : FormatRanges(cursor)) {
        for (const QTextFormat::Property property : properties) {
            range.Format.clearProperty(property);
        }
        QTextCursor piece(box_->document());
        piece.setPosition(range.Start);
        piece.setPosition(range.End, QTextCursor::KeepAnchor);
        piece.setCharFormat(range.Format);
    }
    cursor.endEditBlock();
}
