#pragma once

#include <QString>
#include <ostream>

class QTextDocument;

// The text of every paragraph followed by "\n", with U+2028 as "\n", list
// items after their label and a space, table cells row by row with an
// empty line for each cell that a vertical merge covers: the form of
// LibreOffice's plain-text export, but for its indentation of list items.
QString plainText(const QTextDocument& document);

// The document's paragraphs with their formatting, for comparing whole
// documents in one assertion. Paragraphs are separated by "\n"; one in a table
// cell begins with "(row,column)" for each table around it, "(row,column
// 2x1)" where the cell spans rows or columns; a list item with its label in
// angle brackets, "<2:a)>" on a level below the first; a centred,
// right-aligned or justified one with "<c>", "<r>" or "<j>"; text with
// formatting of its own is preceded by its properties in brackets, in this
// order: "[b i u s sup f=Family pt=12 fg=#rrggbb bg=#rrggbb]text". Neighbouring
// runs of equal formatting are one; "[]" marks a return to no formatting of its
// own. U+2028 shows as "|", a tab as "\t".
QString describe(const QTextDocument& document);

// The properties, as Describe writes them between brackets, of the first
// character of the first place where the snippet occurs; "missing" when it
// doesn't.
QString propertiesAt(const QTextDocument& document, const QString& snippet);

// For GoogleTest's messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
