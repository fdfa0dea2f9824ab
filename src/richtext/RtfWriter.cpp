#include "RtfWriter.h"

#include "Cp1252.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

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

bool hasColor(const QTextCharFormat& format, QTextFormat::Property property) {
    return format.hasProperty(property) && format.brushProperty(property).style() != Qt::NoBrush;
}

class Writer {
public:
    explicit Writer(const QTextDocument& document)
        : document_(document) {}

    QByteArray write();

private:
    void writeBlock(const QTextBlock& block);
    void writeFragment(const QTextFragment& fragment);
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
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        writeBlock(block);
    }

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
    if (defaultHalfPoints_ > 0) {
        appendWord(out, "{\\*\\defchp\\fs", defaultHalfPoints_);
        out.append("}\n");
    }
    out.append("{\\*\\generator Vantor;}\n");
    out.append(body_);
    out.append("}\n");
    return out;
}

void Writer::writeBlock(const QTextBlock& block) {
    body_.append("\\pard");
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
    body_.append("\\par\n");
    lineStart_ = body_.size();
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
            static constexpr char kHex[] = "0123456789abcdef";
            out.append("\\'");
            out.append(kHex[byte >> 4]);
            out.append(kHex[byte & 15]);
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
