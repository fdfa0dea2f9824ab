#include "RtfWriter.h"

#include "Cp1252.h"
#include "RichTextLists.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QTextTable>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace {

// Lines of the file are broken after this many bytes, where a break can't
// change the meaning (RTF readers ignore line breaks between tokens).
constexpr qsizetype kLineLength = 200;
constexpr int kMaxHalfPoints = 3276;
constexpr const char* kFallbackFamily = "Times New Roman";
// Tables are written this wide, their columns of equal width.
constexpr int kTableTwips = 9000;
constexpr int kListIndentTwips = 720;
constexpr int kListLevels = 9;

void appendNumber(QByteArray& out, long long value) {
    char digits[24];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), value);
    out.append(digits, result.ptr - digits);
}

void appendWord(QByteArray& out, const char* word, long long value) {
    out.append(word);
    appendNumber(out, value);
}

// A size in half points, 0 for none.
int halfPoints(double points) {
    if (!(points > 0)) {
        return 0;
    }
    return static_cast<int>(std::clamp(std::lround(points * 2), 1L, long{kMaxHalfPoints}));
}

int halfPointsOfFont(const QFont& font) {
    if (font.pointSizeF() > 0) {
        return halfPoints(font.pointSizeF());
    }
    return halfPoints(font.pixelSize() * 0.75); // 96 pixels to the inch
}

int halfPointsOfFormat(const QTextCharFormat& format) {
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        return halfPoints(format.fontPointSize());
    }
    if (format.hasProperty(QTextFormat::FontPixelSize)) {
        return halfPoints(format.intProperty(QTextFormat::FontPixelSize) * 0.75);
    }
    return 0;
}

// Word's sixteen highlight colours; other backgrounds are written as shading,
// which Word and LibreOffice show in any colour.
bool isHighlightColor(QRgb color) {
    static constexpr QRgb kHighlights[] = {
        0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0xFFFF00, 0xFFFFFF,
        0x000080, 0x008080, 0x008000, 0x800080, 0x800000, 0x808000, 0x808080, 0xC0C0C0};
    return std::find(std::begin(kHighlights), std::end(kHighlights), color & 0xFFFFFF) !=
           std::end(kHighlights);
}

void appendHexByte(QByteArray& out, int byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.append("\\'");
    out.append(kHex[(byte >> 4) & 15]);
    out.append(kHex[byte & 15]);
}

// The \levelnfc of a list style: the number's kind, or 23 for bullets.
int levelNumberFormat(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDecimal:
        return 0;
    case QTextListFormat::ListUpperRoman:
        return 1;
    case QTextListFormat::ListLowerRoman:
        return 2;
    case QTextListFormat::ListUpperAlpha:
        return 3;
    case QTextListFormat::ListLowerAlpha:
        return 4;
    default:
        return 23;
    }
}

bool hasColor(const QTextCharFormat& format, QTextFormat::Property property) {
    return format.hasProperty(property) && format.brushProperty(property).style() != Qt::NoBrush;
}

class Writer {
public:
    explicit Writer(const QTextDocument& document)
        : document_(document) {}

    QByteArray write();

private:
    // The paragraphs and tables of a frame; depth counts the tables around
    // it.
    void writeFrame(const QTextFrame& frame, int depth);
    // One piece of a frame or cell: a table, a frame or a paragraph ending
    // in blockEnd.
    void writeFramePiece(const QTextFrame::iterator& piece, int depth, const char* blockEnd);
    void writeTable(const QTextTable& table, int depth);
    void writeRowDefinition(const QTextTable& table, int row);
    void writeCell(const QTextTableCell& cell, int depth);
    // A paragraph, ended by the word that ends it (\par, \cell, \nestcell).
    void writeBlock(const QTextBlock& block, int depth, const char* end);
    void writeListText(const QTextBlock& block);
    void writeFragment(const QTextFragment& fragment);
    void writeListTables(QByteArray& out);
    void writeLevelText(QByteArray& out, const QTextListFormat& format, int level);
    // The text, escaped; in a font name ';' is escaped too.
    void writeText(QByteArray& out, QStringView text, bool fontName);
    void breakLongLine();
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);

    const QTextDocument& document_;
    QByteArray body_;
    qsizetype lineStart_ = 0;
    int defaultHalfPoints_ = 0;
    QHash<QString, int> fontIndexes_;
    QStringList fonts_;
    QHash<QRgb, int> colorIndexes_;
    std::vector<QRgb> colors_;
    // The lists in the order of their first item; the n-th is list n + 1.
    std::vector<QTextListFormat> lists_;
    QHash<const QTextList*, int> listNumbers_;
};

QByteArray Writer::write() {
    const QFont defaultFont = document_.defaultFont();
    QString family = defaultFont.family();
    if (family.isEmpty()) {
        family = QString::fromLatin1(kFallbackFamily);
    }
    fontIndex(family); // font 0
    defaultHalfPoints_ = halfPointsOfFont(defaultFont);

    body_.reserve(document_.characterCount() + document_.characterCount() / 4 + 64);
    writeFrame(*document_.rootFrame(), 0);

    QByteArray out;
    out.reserve(body_.size() + 512);
    out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        appendWord(out, "{\\f", i);
        out.append("\\fnil\\fcharset0 ");
        writeText(out, fonts_[i], true);
        out.append(";}");
    }
    out.append("}\n{\\colortbl;");
    for (const QRgb color : colors_) {
        appendWord(out, "\\red", qRed(color));
        appendWord(out, "\\green", qGreen(color));
        appendWord(out, "\\blue", qBlue(color));
        out.append(';');
    }
    out.append("}\n");
    writeListTables(out);
    if (defaultHalfPoints_ > 0) {
        appendWord(out, "{\\*\\defchp\\fs", defaultHalfPoints_);
        out.append("}\n");
    }
    out.append("{\\*\\generator Vantor;}\n");
    out.append(body_);
    out.append("}\n");
    return out;
}

void Writer::writeFrame(const QTextFrame& frame, int depth) {
    for (auto it = frame.begin(); !it.atEnd(); ++it) {
        writeFramePiece(it, depth, "\\par");
    }
}

// Each row: its definition, then its cells; a cell that a merge covers is
// written empty with \clvmrg below the cell it continues, and not at all
// beside it (the cell before it is written as wide as the merge).
void Writer::writeTable(const QTextTable& table, int depth) {
    for (int row = 0; row < table.rows(); ++row) {
        if (depth == 1) {
            writeRowDefinition(table, row);
        }
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.column() != column) {
                continue;
            }
            if (cell.row() != row) {
                body_.append(depth == 1 ? "\\pard\\intbl\\plain\\cell\n" : "\\pard\\intbl");
                if (depth > 1) {
                    appendWord(body_, "\\itap", depth);
                    body_.append("\\plain\\nestcell\n");
                }
                continue;
            }
            writeCell(cell, depth);
        }
        if (depth == 1) {
            body_.append("\\pard\\intbl\\plain\\row\n");
        } else {
            body_.append("\\pard\\intbl");
            appendWord(body_, "\\itap", depth);
            body_.append("{\\*\\nesttableprops");
            writeRowDefinition(table, row);
            body_.append("\\nestrow}{\\nonesttables\\par}\n");
        }
    }
    lineStart_ = body_.size();
}

void Writer::writeRowDefinition(const QTextTable& table, int row) {
    const int width = std::max(kTableTwips / std::max(table.columns(), 1), 100);
    body_.append("\\trowd\\trgaph108");
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        if (cell.column() != column) {
            continue;
        }
        if (cell.rowSpan() > 1) {
            body_.append(cell.row() == row ? "\\clvmgf" : "\\clvmrg");
        }
        appendWord(body_, "\\cellx", static_cast<long long>(width) * (column + cell.columnSpan()));
    }
    body_.append('\n');
    lineStart_ = body_.size();
}

void Writer::writeCell(const QTextTableCell& cell, int depth) {
    const char* end = depth == 1 ? "\\cell" : "\\nestcell";
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        auto following = it;
        const bool last = (++following).atEnd();
        writeFramePiece(it, depth, last ? end : "\\par");
    }
}

void Writer::writeFramePiece(const QTextFrame::iterator& piece, int depth, const char* blockEnd) {
    if (const QTextFrame* child = piece.currentFrame()) {
        if (const auto* table = qobject_cast<const QTextTable*>(child)) {
            writeTable(*table, depth + 1);
        } else {
            writeFrame(*child, depth);
        }
    } else {
        writeBlock(piece.currentBlock(), depth, blockEnd);
    }
}

void Writer::writeBlock(const QTextBlock& block, int depth, const char* end) {
    writeListText(block);
    body_.append("\\pard");
    if (depth > 0) {
        body_.append("\\intbl");
    }
    if (depth > 1) {
        appendWord(body_, "\\itap", depth);
    }
    if (const QTextList* list = block.textList()) {
        const int level = std::clamp(list->format().indent(), 1, kListLevels);
        appendWord(body_, "\\ls", listNumbers_.value(list));
        appendWord(body_, "\\ilvl", level - 1);
        appendWord(body_, "\\fi-360\\li", static_cast<long long>(kListIndentTwips) * level);
    }
    const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter) {
        body_.append("\\qc");
    } else if (alignment & Qt::AlignRight) {
        body_.append("\\qr");
    } else if (alignment & Qt::AlignJustify) {
        body_.append("\\qj");
    }
    body_.append("\\plain");
    if (defaultHalfPoints_ > 0) {
        appendWord(body_, "\\fs", defaultHalfPoints_);
    }
    body_.append(' ');
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        writeFragment(it.fragment());
    }
    body_.append(end);
    body_.append('\n');
    lineStart_ = body_.size();
}

// A list item's label as text, for readers without lists; the list itself
// is numbered on first sight.
void Writer::writeListText(const QTextBlock& block) {
    const QTextList* list = block.textList();
    if (list == nullptr) {
        return;
    }
    if (!listNumbers_.contains(list)) {
        lists_.push_back(list->format());
        listNumbers_.insert(list, static_cast<int>(lists_.size()));
    }
    body_.append("{\\listtext\\pard\\plain ");
    writeText(body_, listLabel(block), false);
    body_.append("\\tab}");
}

// Each list as a list of nine levels alike, and its number (\ls) for it.
void Writer::writeListTables(QByteArray& out) {
    if (lists_.empty()) {
        return;
    }
    out.append("{\\*\\listtable");
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        const QTextListFormat& format = lists_[i];
        const int numberFormat = levelNumberFormat(format.style());
        out.append("\n{\\list\\listtemplateid");
        appendNumber(out, static_cast<long long>(i) + 1);
        for (int level = 0; level < kListLevels; ++level) {
            appendWord(out, "{\\listlevel\\levelnfc", numberFormat);
            appendWord(out, "\\levelnfcn", numberFormat);
            appendWord(out, "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat", listStart(format));
            writeLevelText(out, format, level);
            appendWord(out, "\\fi-360\\li", static_cast<long long>(kListIndentTwips) * (level + 1));
            out.append('}');
        }
        appendWord(out, "{\\listname ;}\\listid", static_cast<long long>(i) + 1);
        out.append('}');
    }
    out.append("}\n{\\*\\listoverridetable");
    for (std::size_t i = 1; i <= lists_.size(); ++i) {
        appendWord(out, "{\\listoverride\\listid", static_cast<long long>(i));
        appendWord(out, "\\listoverridecount0\\ls", static_cast<long long>(i));
        out.append('}');
    }
    out.append("}\n");
}

// The level's text: its length, then the number (\'0L for level L) between
// its prefix and suffix, or the bullet.
void Writer::writeLevelText(QByteArray& out, const QTextListFormat& format, int level) {
    out.append("{\\leveltext");
    if (levelNumberFormat(format.style()) == 23) {
        QString bullet = listBullet(format);
        if (bullet.isEmpty()) {
            bullet = format.style() == QTextListFormat::ListCircle   ? QStringLiteral("\u25E6")
                     : format.style() == QTextListFormat::ListSquare ? QStringLiteral("\u25AA")
                                                                     : QStringLiteral("\u2022");
        }
        appendHexByte(out, static_cast<int>(std::min<qsizetype>(bullet.size(), 255)));
        writeText(out, bullet, true);
        out.append(";}{\\levelnumbers;}");
        return;
    }
    const QString prefix = format.numberPrefix().left(100);
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix)
                               ? format.numberSuffix().left(100)
                               : QStringLiteral(".");
    appendHexByte(out, static_cast<int>(prefix.size() + 1 + suffix.size()));
    writeText(out, prefix, true);
    appendHexByte(out, level);
    writeText(out, suffix, true);
    out.append(";}{\\levelnumbers");
    appendHexByte(out, static_cast<int>(prefix.size() + 1));
    out.append(";}");
}

void Writer::writeFragment(const QTextFragment& fragment) {
    const QTextCharFormat format = fragment.charFormat();
    const qsizetype groupStart = body_.size();
    body_.append('{');
    const qsizetype wordsStart = body_.size();
    if (format.fontWeight() > QFont::Medium) {
        body_.append("\\b");
    }
    if (format.fontItalic()) {
        body_.append("\\i");
    }
    if (format.fontUnderline()) {
        body_.append("\\ul");
    }
    if (format.fontStrikeOut()) {
        body_.append("\\strike");
    }
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) {
        body_.append("\\super");
    } else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) {
        body_.append("\\sub");
    }
    if (const QStringList families = format.fontFamilies().toStringList();
        !families.isEmpty() && !families.front().isEmpty()) {
        appendWord(body_, "\\f", fontIndex(families.front()));
    }
    if (const int halfPoints = halfPointsOfFormat(format);
        halfPoints > 0 && halfPoints != defaultHalfPoints_) {
        appendWord(body_, "\\fs", halfPoints);
    }
    if (hasColor(format, QTextFormat::ForegroundBrush)) {
        appendWord(body_, "\\cf", colorIndex(format.foreground().color()));
    }
    if (hasColor(format, QTextFormat::BackgroundBrush)) {
        const QColor background = format.background().color();
        const int index = colorIndex(background);
        appendWord(body_,
                   isHighlightColor(background.rgb()) ? "\\highlight" : "\\chshdng0\\chcbpat",
                   index);
    }
    const bool formatted = body_.size() > wordsStart;
    if (formatted) {
        body_.append(' ');
    } else {
        body_.truncate(groupStart); // plain text needs no group
    }
    writeText(body_, fragment.text(), false);
    if (formatted) {
        body_.append('}');
    }
}

void Writer::writeText(QByteArray& out, QStringView text, bool fontName) {
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            out.append('\\');
            out.append(static_cast<char>(unit));
        } else if (unit == u'\t' && !fontName) {
            out.append("\\tab ");
        } else if (unit == QChar::LineSeparator && !fontName) {
            out.append("\\line ");
        } else if ((unit < 0x20 && unit != u'\t') || unit == QChar::ObjectReplacementCharacter ||
                   unit == QChar::ParagraphSeparator || unit == 0xFDD0 || unit == 0xFDD1) {
            continue;
        } else if (unit >= 0x20 && unit < 0x80 && !(fontName && unit == u';')) {
            out.append(static_cast<char>(unit));
        } else if (const int byte = encodeCp1252Byte(unit); byte >= 0) {
            appendHexByte(out, byte);
        } else {
            appendWord(out, "\\u", unit < 0x8000 ? unit : unit - 0x10000);
            out.append('?');
        }
        if (&out == &body_) {
            breakLongLine();
        }
    }
}

void Writer::breakLongLine() {
    if (body_.size() - lineStart_ >= kLineLength) {
        body_.append('\n');
        lineStart_ = body_.size();
    }
}

int Writer::fontIndex(const QString& family) {
    const auto found = fontIndexes_.constFind(family);
    if (found != fontIndexes_.constEnd()) {
        return *found;
    }
    const auto index = static_cast<int>(fonts_.size());
    fontIndexes_.insert(family, index);
    fonts_.append(family);
    return index;
}

int Writer::colorIndex(const QColor& color) {
    const QRgb rgb = color.rgb();
    const auto found = colorIndexes_.constFind(rgb);
    if (found != colorIndexes_.constEnd()) {
        return *found;
    }
    colors_.push_back(rgb);
    const auto index = static_cast<int>(colors_.size()); // 0 is "auto"
    colorIndexes_.insert(rgb, index);
    return index;
}

} // namespace

QByteArray writeRtf(const QTextDocument& document) {
    return Writer(document).write();
}
