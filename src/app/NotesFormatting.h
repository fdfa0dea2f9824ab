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
class NotesFormatting : public QObject {
    Q_OBJECT

public:
    explicit NotesFormatting(QTextEdit* box);

private:
    QAction* addAction(const char* name, const QString& text, const QKeySequence& shortcut,
                       void (NotesFormatting::*apply)());
    QMenu* makeSizeMenu();
    void showMenu(const QPoint& position);
    void showCurrentFormat();

    void toggleBold();
    void toggleItalic();
    void toggleUnderline();
    void chooseFont();
    void chooseColour();
    void setSize(qreal points);
    void defaultColour();
    void plainText();
    void merge(const QTextCharFormat& format);
    // Takes properties off the selected text, or off the text typed next.
    void clear(const QList<QTextFormat::Property>& properties);

    QTextEdit* box_;
    QAction* bold_;
    QAction* italic_;
    QAction* underline_;
    QList<QAction*> commands_;
    QMenu* sizes_;
};
