#pragma once

#include <QObject>
#include <QTextFormat>

class QAction;
class QMenu;
class QPoint;
class QTextCharFormat;
class QTextEdit;

// The notepad's means to format text, as word processors offer them: Ctrl+B,
// Ctrl+I and Ctrl+U, and in the context menu beside the usual editing
// commands bold, italic, underline, font, size, colour, the default colour
// and plain text. Each command applies to the selected text, or without a
// selection to the text typed next.
class TNotesFormatting : public QObject {
    Q_OBJECT

public:
    explicit TNotesFormatting(QTextEdit* box);

private:
    QAction* AddAction(const char* name, const QString& text, const QKeySequence& shortcut,
                       void (TNotesFormatting::*apply)());
    QMenu* MakeSizeMenu();
    void ShowMenu(const QPoint& position);
    void ShowCurrentFormat();

    void ToggleBold();
    void ToggleItalic();
    void ToggleUnderline();
    void ChooseFont();
    void ChooseColour();
    void SetSize(qreal points);
    void DefaultColour();
    void PlainText();
    void Merge(const QTextCharFormat& format);
    // Takes properties off the selected text, or off the text typed next.
    void Clear(const QList<QTextFormat::Property>& properties);

    QTextEdit* box_;
    QAction* bold_;
    QAction* italic_;
    QAction* underline_;
    QList<QAction*> commands_;
    QMenu* sizes_;
};
