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
// - one QTextBlock per paragraph (\par; also \sect, \page, \column); a \par
//   at the very end adds no empty paragraph after it, as in Word and
//   LibreOffice; \line is U+2028 (QChar::LineSeparator), \tab a tab; \ql
//   \qc \qr \qj (\qd) align a paragraph.
// - character formats that carry what the RTF states for the text (after
//   the last \plain): bold, italic, underline (every \ul kind), strike-out,
//   superscript and subscript (\super, \sub), the font family of \f, the
//   point size of \fs unless it is the default size that {\*\defchp}
//   declares (how our writer marks text without a size of its own), the
//   foreground of \cf, the background of \highlight, \cb or \chcbpat. Text
//   without \f, \fs or \cf has no family, size or foreground of its own, so
//   the box's default font and colour show (the notepad's silver on screen,
//   black on paper); so has colour 0 and the "auto" entries of the colour
//   table. Double-byte text (\dbch) takes the size of an \afs given after
//   \dbch. Styles (\s) are not applied.
// - lists (QTextList, RichTextLists.h): paragraphs with \ls and \ilvl are
//   items of the list that {\*\listtable} and {\*\listoverridetable} define
//   for them, those with {\*\pn} (and \pnlvlN of {\*\pnseclvlN}) of the
//   older numbering: with the level, the numbering style, the start, the
//   text around the number or the bullet; an item of a level ends the lists
//   of deeper levels. The \listtext and \pntext labels show as text only
//   where no list is found.
// - tables (QTextTable): the rows (\trowd ... \row) and cells (\cell), laid
//   out on the grid of all the rows' cell boundaries (\cellx), with merged
//   cells where a cell spans several boundaries or is merged (\clmrg,
//   \clvmgf and \clvmrg; text in a merged cell goes to the cell it is merged
//   into); tables in cells (\itap, \nestcell, \nestrow) likewise.
//   {\nonesttables} is skipped. A row narrower than the table ends in a
//   cell as wide as the rest. Where the boundaries make more than 63
//   columns, each row's cells stand side by side, the cells past the 63rd
//   joining it; a table of more than 50,000 grid cells is read as
//   paragraphs, one or more per cell.
// - footnotes: the mark (\chftn) is the footnote's number, raised; the
//   footnotes' text follows the document's, each from a new paragraph, in
//   their order and with their numbers, so that no word is lost.
// - text: \'hh bytes in the code page of the font's \cpg, else of its
//   \fcharset (0 is 1252, 2 the Symbol font or Wingdings' bullets), else of
//   \ansicpg (\ansi 1252, \mac, \pc, \pca), double-byte code pages
//   included; Mac code pages that Qt reads (Roman, Greek, Cyrillic, Central
//   European, Turkish; Japanese, Chinese and Korean as the code pages they
//   extend), others as 1252; \uN with its \ucN fallback skipped; \~ \- \_
//   \emdash \endash \bullet \lquote \rquote \ldblquote \rdblquote and the
//   like. Control characters other than the tab are dropped.
// - nothing of the font, colour, list and style tables' text, {\*\...}
//   ignorable destinations, \info, \pict, \object, headers, footers, field
//   instructions (a field's result is read), \bin data.
//
// Malformed input is read as far as it makes sense; readRtf never fails once
// the bytes begin with "{\rtf", it never recurses and its time is linear in
// the input (a footnote's text is read twice; tables nest at most 16 deep):
// - groups nested deeper than 256 levels share the state of the 256th level;
// - groups left open at the end close there: a truncated file keeps the text
//   read so far (LibreOffice refuses such a file);
// - the document ends with the brace that closes its first group; whatever
//   follows (extra closing braces, further groups, text) is ignored, as
//   LibreOffice does;
// - a footnote left open at the end ends there; footnotes in footnotes are
//   not read;
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
