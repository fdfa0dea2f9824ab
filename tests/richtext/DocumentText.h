#pragma once

#include <QString>
#include <ostream>

class QTextDocument;

// The text of every paragraph followed by "\n", with U+2028 as "\n": the form
// of LibreOffice's plain-text export.
QString plainText(const QTextDocument& document);

// The document's paragraphs with their formatting, for comparing whole
// documents in one assertion. Paragraphs are separated by "\n"; a centred,
// right-aligned or justified one begins with "<c>", "<r>" or "<j>"; text with
// formatting of its own is preceded by its properties in brackets, in this
// order: "[b i u s f=Family pt=12 fg=#rrggbb bg=#rrggbb]text". Neighbouring
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
