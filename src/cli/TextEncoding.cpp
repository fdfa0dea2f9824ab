#include "TextEncoding.h"

#include "Cp1252Bytes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <utility>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

char32_t cp1252Character(unsigned char byte) {
    return decodeCp1252Byte(byte);
}

// Every character of code page 1252 lies in the Basic Multilingual Plane.
int cp1252Byte(char32_t character) {
    return character > 0xFFFF ? -1 : encodeCp1252Byte(static_cast<char16_t>(character));
}

// The length of the valid UTF-8 sequence that text begins with, and its
// character; 0 when text begins with none (overlong forms, surrogates and
// numbers beyond U+10FFFF are none).
std::size_t decodeUtf8(std::string_view text, char32_t& character) {
    const auto lead = static_cast<unsigned char>(text.front());
    std::size_t length = 1;
    char32_t least = 0;
    if (lead < 0x80) {
        character = lead;
        return 1;
    }
    if ((lead & 0xE0U) == 0xC0U) {
        length = 2;
        character = lead & 0x1FU;
        least = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
        length = 3;
        character = lead & 0x0FU;
        least = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
        length = 4;
        character = lead & 0x07U;
        least = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0U) != 0x80U) {
            return 0;
        }
        character = (character << 6) | (byte & 0x3FU);
    }
    const bool surrogate = character >= 0xD800 && character <= 0xDFFF;
    return character < least || character > 0x10FFFF || surrogate ? 0 : length;
}

bool validUtf8(std::string_view text) {
    char32_t character = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = decodeUtf8(text.substr(at), character);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0U | (c >> 6)));
        out.push_back(static_cast<char>(0x80U | (c & 0x3FU)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0U | (c >> 12)));
        out.push_back(static_cast<char>(0x80U | ((c >> 6) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | (c & 0x3FU)));
    } else {
        out.push_back(static_cast<char>(0xF0U | (c >> 18)));
        out.push_back(static_cast<char>(0x80U | ((c >> 12) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | ((c >> 6) & 0x3FU)));
        out.push_back(static_cast<char>(0x80U | (c & 0x3FU)));
    }
}

// "UTF-8", "utf8" and "UTF_8" alike: lower case without '-' and '_'.
std::string plainCodeset(std::string_view codeset) {
    std::string plain;
    for (const char c : codeset) {
        if (c != '-' && c != '_') {
            plain.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        }
    }
    return plain;
}

bool convertible(const std::string& codeset) {
    const iconv_t converter = iconv_open(codeset.c_str(), "UTF-8");
    // iconv_open reports failure with this value.
    if (converter == reinterpret_cast<iconv_t>(-1)) { // NOLINT(performance-no-int-to-ptr)
        return false;
    }
    iconv_close(converter);
    return true;
}

// Converts with iconv. A piece that does not convert is replaced and
// skipped: skipped(rest) tells how many bytes it has.
template <typename Skipped>
std::string convert(const std::string& to, const std::string& from, std::string_view text,
                    std::string_view replacement, Skipped skipped) {
    const iconv_t converter = iconv_open(to.c_str(), from.c_str());
    // iconv_open reports failure with this value.
    if (converter == reinterpret_cast<iconv_t>(-1)) { // NOLINT(performance-no-int-to-ptr)
        return std::string(text);
    }
    std::string input(text);
    std::string out;
    std::array<char, 256> buffer{};
    char* in = input.data();
    std::size_t inLeft = input.size();
    const auto drain = [&](char* end) {
        out.append(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    };
    while (inLeft > 0) {
        char* at = buffer.data();
        std::size_t outLeft = buffer.size();
        const bool failed =
            iconv(converter, &in, &inLeft, &at, &outLeft) == static_cast<std::size_t>(-1);
        const int error = failed ? errno : 0;
        drain(at);
        if (error == EILSEQ || error == EINVAL) {
            // A piece with no place in the other encoding, or one cut short.
            out.append(replacement);
            const std::size_t skip = std::min(inLeft, skipped(std::string_view(in, inLeft)));
            in += skip;
            inLeft -= skip;
        } else if (failed && error != E2BIG) {
            break;
        }
    }
    // An encoding with shift states ends in its initial one.
    char* at = buffer.data();
    std::size_t outLeft = buffer.size();
    iconv(converter, nullptr, nullptr, &at, &outLeft);
    drain(at);
    iconv_close(converter);
    return out;
}

} // namespace

std::string utf8FromCoreText(std::string_view bytes) {
    if (validUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string utf8;
    utf8.reserve(bytes.size() + bytes.size() / 2);
    for (const char byte : bytes) {
        appendUtf8(utf8, cp1252Character(static_cast<unsigned char>(byte)));
    }
    return utf8;
}

std::optional<std::string> cp1252FromUtf8(std::string_view utf8) {
    std::string bytes;
    char32_t character = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t length = decodeUtf8(utf8.substr(at), character);
        const int byte = length == 0 ? -1 : cp1252Byte(character);
        if (byte < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(byte));
        at += length;
    }
    return bytes;
}

LocaleEncoding::LocaleEncoding(std::string codeset)
    : codeset_(std::move(codeset)) {
    const std::string plain = plainCodeset(codeset_);
    const bool ascii =
        plain == "ansix3.41968" || plain == "ascii" || plain == "usascii" || plain == "646";
    utf8_ = plain == "utf8" || ascii || !convertible(codeset_);
}

LocaleEncoding LocaleEncoding::fromEnvironment() {
    if (const locale_t locale = newlocale(LC_CTYPE_MASK, "", locale_t{}); locale != locale_t{}) {
        std::string codeset = nl_langinfo_l(CODESET, locale);
        freelocale(locale);
        return LocaleEncoding(std::move(codeset));
    }
    // Not installed; a name like de_DE.ISO-8859-15@euro still tells.
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        const std::string_view name(value);
        const auto dot = name.find('.');
        if (dot == std::string_view::npos) {
            break;
        }
        const auto modifier = name.find('@', dot);
        return LocaleEncoding(std::string(name.substr(
            dot + 1, modifier == std::string_view::npos ? modifier : modifier - dot - 1)));
    }
    return LocaleEncoding("UTF-8");
}

std::string LocaleEncoding::toUtf8(std::string_view text) const {
    if (utf8_) {
        return std::string(text);
    }
    std::string replacement;
    appendUtf8(replacement, kReplacement);
    return convert("UTF-8", codeset_, text, replacement,
                   [](std::string_view) -> std::size_t { return 1; });
}

std::string LocaleEncoding::fromUtf8(std::string_view utf8) const {
    if (utf8_) {
        return std::string(utf8);
    }
    return convert(codeset_, "UTF-8", utf8, "?", [](std::string_view rest) {
        char32_t character = 0;
        return std::max<std::size_t>(1, decodeUtf8(rest, character));
    });
}
