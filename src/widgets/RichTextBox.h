#pragma once

#include <QTextEdit>

// A rich-text box that takes from the clipboard or a drop only what really
// holds text or rich text (holdsText); anything else, an empty clipboard
// among it, leaves the box as it is.
class RichTextBox : public QTextEdit {
    Q_OBJECT

public:
    using QTextEdit::QTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};
