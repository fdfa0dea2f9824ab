#pragma once

#include <QByteArray>

class QTextDocument;

// Writes the document as RTF after the published format (version 1.9.1), in
// 7-bit ASCII, for Word, LibreOffice Writer, WordPad and our own reader:
//
//   {\rtf1\ansi\ansicpg1252\deff0\uc1 {\fonttbl...}{\colortbl;...}
//   {\*\defchp\fsN}{\*\generator Vantor;}
//   \pard\plain\fsN text{\b\cf1 formatted text}\par ...}
//
// - font 0 is the document's default font family, {\*\defchp} declares its
//   size (when it has one) and each \plain is followed by that \fs, so that
//   other word processors show text without a font or size of its own as the
//   box does; our reader reads it back without family or size (and so text
//   whose size of its own is the default size);
// - each paragraph (QTextBlock) is "\pard" with its alignment, its text, and
//   "\par"; U+2028 is \line, a tab \tab;
// - each list (QTextList) is a list of the list table, its nine levels
//   alike (style, start, the text around the number, or the bullet), and
//   its items carry \ls, \ilvl (the list's indent less one) and their label
//   as {\listtext ...} for readers without lists;
// - each table (QTextTable) is written row by row: \trowd with the cells'
//   \cellx (columns of equal width; a cell merged sideways is one wider
//   cell, one merged downwards \clvmgf over \clvmrg), then the cells'
//   paragraphs ended by \cell and \row; tables in cells as nested tables
//   (\itap, \nestcell, {\*\nesttableprops ... \nestrow});
// - each run of text with formatting of its own is a group carrying bold
//   (weight above medium), italic, underline, strike-out, superscript or
//   subscript, font family, point
//   size (pixel sizes at 96 dpi), foreground (\cf) and background (\highlight
//   for Word's sixteen highlight colours, which every reader knows, shading
//   \chshdng0\chcbpat for any other colour, exact in Word and LibreOffice);
//   text without a foreground of its own gets no \cf, so it keeps the
//   reader's default colour;
// - characters of code page 1252 beyond ASCII are \'hh, all others \uN with
//   "?" for readers without Unicode; control characters other than the tab,
//   and objects (U+FFFC), are left out.
QByteArray writeRtf(const QTextDocument& document);
