#pragma once

#include <QByteArrayView>
#include <memory>

class QTextDocument;

// Our reader of the Rich Text Format (version 1.9.1 as Microsoft published it)
// for the notepad files and "upgrade.vr": the text with its character
// formatting, as Word, LibreOffice Writer, WordPad and other rich-text boxes
// write it.
//
// What the document gets:
// - one QTextBlock per paragraph (\par; also \sect, \page, \column, and \cell
//   so that table cells come out one per paragraph); a \par at the very end
//   adds no empty paragraph after it, as in Word and LibreOffice; \line is
//   U+2028 (QChar::LineSeparator), \tab a tab; \ql \qc \qr \qj (\qd) align a
//   paragraph.
// - character formats that carry what the RTF states for the text (after
//   the last \plain): bold, italic, underline (every \ul kind), strike-out,
//   the font family of \f, the point size of \fs unless it is the default
//   size that {\*\defchp} declares (how our writer marks text without a
//   size of its own), the foreground of \cf, the background of \highlight,
//   \cb or \chcbpat. Text without \f, \fs or \cf has no family, size or
//   foreground of its own, so the box's default font and colour show (the
//   notepad's silver on screen, black on paper); so has colour 0 and the
//   "auto" entries of the colour table. Double-byte text (\dbch) takes the
//   size of an \afs given after \dbch. Styles (\s) are not applied.
// - text: \'hh bytes in the code page of the font's \cpg or \fcharset, else of
//   \ansicpg (\ansi 1252, \mac, \pc, \pca), double-byte code pages included;
//   \uN with its \ucN fallback skipped; \~ \- \_ \emdash \endash \bullet
//   \lquote \rquote \ldblquote \rdblquote and the like. Control characters
//   other than the tab are dropped.
// - nothing of the font, colour and style tables' text, {\*\...} ignorable
//   destinations, \info, \pict, \object, headers, footers, footnotes, field
//   instructions (a field's result is read), \bin data.
//
// Malformed input is read as far as it makes sense; readRtf never fails once
// the bytes begin with "{\rtf", it never recurses and its time is linear in
// the input:
// - groups nested deeper than 256 levels share the state of the 256th level;
// - groups left open at the end close there: a truncated file keeps the text
//   read so far (LibreOffice refuses such a file);
// - the document ends with the brace that closes its first group; whatever
//   follows (extra closing braces, further groups, text) is ignored, as
//   LibreOffice does;
// - numeric parameters saturate at +-2,000,000,000; sizes above 1638 pt are
//   1638 pt; sizes of 0 or less, and colour and font numbers that no table
//   entry has, mean "none"; \uN outside -32768..65535 and unpaired surrogates
//   become U+FFFD;
// - \binN takes the next N bytes as data, at most up to the end of the file;
// - a \' without two hexadecimal digits after it is dropped;
// - control words are at most 32 letters; longer ones are read and ignored.

// True when the bytes begin with "{\rtf", as every RTF file does. Anything
// else is no rich text (the notes files then fall back to plain text).
bool isRtf(QByteArrayView bytes);

// Reads RTF into a new document without parent, its undo stack empty; nullptr
// when isRtf(bytes) is false.
std::unique_ptr<QTextDocument> readRtf(QByteArrayView bytes);
