#include "RichTextBox.h"

#include "ClipboardText.h"

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const {
    return holdsText(source) && QTextEdit::canInsertFromMimeData(source);
}

// Paste, Shift+Insert, the menu's Paste and a drop all come here.
void RichTextBox::insertFromMimeData(const QMimeData* source) {
    if (canInsertFromMimeData(source)) {
        QTextEdit::insertFromMimeData(source);
    }
}
