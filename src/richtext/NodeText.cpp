#include "NodeText.h"

#include "Cp1252.h"

#include <QCollator>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace {

// The lead bytes of multi-byte UTF-8 sequences: the bits that mark them,
// the sequence length and the smallest code point it may carry.
struct Utf8Lead {
    unsigned char mask;
    unsigned char marker;
    std::size_t length;
    std::uint32_t smallest;
};
constexpr std::array<Utf8Lead, 3> kUtf8Leads{
    {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}}};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
// Returns the length of the sequence at i, or 0 when it is not valid.
std::size_t utf8SequenceAt(std::string_view bytes, std::size_t i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    const auto lead = std::find_if(kUtf8Leads.begin(), kUtf8Leads.end(), [byte](const Utf8Lead& l) {
        return (byte & l.mask) == l.marker;
    });
    if (lead == kUtf8Leads.end()) {
        return 0;
    }
    const std::size_t length = lead->length;
    std::uint32_t code = byte & static_cast<unsigned char>(~lead->mask);
    if (bytes.size() - i < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lead->smallest || code > 0x10FFFF || surrogate ? 0 : length;
}

bool shownAsUtf8(std::string_view bytes) {
    bool high = false;
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = utf8SequenceAt(bytes, i);
        if (length == 0) {
            return false;
        }
        high = true;
        i += length;
    }
    return high;
}

// The tree text format ends a text at a line break or NUL and reads leading
// TABs and SPACEs as indentation, so a text holding them would come back
// changed, or as a level error that cuts off the rest of the file.
QString storableInTreeText(QString text) {
    for (QChar& ch : text) {
        if (ch == u'\r' || ch == u'\n' || ch == u'\0') {
            ch = u' ';
        }
    }
    const auto firstKept = std::find_if(text.cbegin(), text.cend(),
                                        [](QChar ch) { return ch != u'\t' && ch != u' '; });
    return text.sliced(firstKept - text.cbegin());
}

std::string toStdString(const QByteArray& bytes) {
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

QString displayText(const std::string& bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char byte) {
        return static_cast<unsigned char>(byte) < 0x80;
    });
    if (ascii) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    if (shownAsUtf8(bytes)) {
        // A leading byte order mark is part of the text, not a marker to drop.
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    return decodeCp1252(bytes);
}

QString shownText(const std::string& bytes) {
    // Enough bytes for kShownTextLength characters in any encoding, ending
    // where a UTF-8 sequence begins.
    std::size_t end = static_cast<std::size_t>(4 * kShownTextLength + 4);
    const bool longBytes = bytes.size() > end;
    while (longBytes && end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80) {
        --end;
    }
    QString text = longBytes ? displayText(bytes.substr(0, end)) : displayText(bytes);
    if (!longBytes && text.size() <= kShownTextLength) {
        return text;
    }
    qsizetype cut = std::min(text.size(), kShownTextLength);
    if (cut > 0 && text[cut - 1].isHighSurrogate()) {
        --cut;
    }
    return text.left(cut) + QStringLiteral("...");
}

std::string storedText(const QString& typed) {
    const QString text = storableInTreeText(typed);
    std::string cp1252 = encodeCp1252(text);
    if (!shownAsUtf8(cp1252) && decodeCp1252(cp1252) == text) {
        return cp1252;
    }
    return toStdString(text.toUtf8());
}

DisplayTextMatch::DisplayTextMatch(const QString& keyword)
    : keyword_(keyword)
    , utf8_(toStdString(keyword.toUtf8()))
    , cp1252_(encodeCp1252(keyword))
    , fitsCp1252_(decodeCp1252(cp1252_) == keyword) {
}

bool DisplayTextMatch::operator()(const std::string& bytes) const {
    if (!keyword_.isValidUtf16()) {
        return displayText(bytes).contains(keyword_); // no byte form says the same
    }
    if (fitsCp1252_ && cp1252_ == utf8_) {
        return contains(bytes, utf8_); // plain ASCII reads the same either way
    }
    if (shownAsUtf8(bytes)) {
        return contains(bytes, utf8_);
    }
    return fitsCp1252_ && contains(bytes, cp1252_);
}

TextLess displayTextOrder(const QLocale& locale) {
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    return [collator](const std::string& a, const std::string& b) {
        return collator.compare(displayText(a), displayText(b)) < 0;
    };
}
