#include "QuotedInput.h"

#include <array>
#include <cstdint>

namespace {

// Code page 1252's characters for 0x80..0x9F; 0 for its five unassigned bytes.
constexpr std::array<char32_t, 32> kCp1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The length of the strict UTF-8 sequence at i (no overlong forms, no
// surrogates, nothing above U+10FFFF) and its code point; length 0 when the
// bytes there are no such sequence.
struct Decoded {
    std::size_t length = 0;
    char32_t code = 0;
};

Decoded utf8At(std::string_view bytes, std::size_t i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
        return {1, lead};
    }
    std::size_t length = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        smallest = 0x10000;
    } else {
        return {};
    }
    if (bytes.size() - i < length) {
        return {};
    }
    char32_t code = lead & (0x7FU >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next & 0xC0) != 0x80) {
            return {};
        }
        code = (code << 6) | (next & 0x3FU);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {};
    }
    return {length, code};
}

bool validUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8At(bytes, i).length;
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// \xNN for a control character (and an unassigned code page byte), empty
// for a character that shows as itself.
std::string escapeFor(char32_t code) {
    if (code >= 0x20 && code != 0x7F && (code < 0x80 || code > 0x9F)) {
        return {};
    }
    constexpr std::string_view digits = "0123456789ABCDEF";
    return {'\\', 'x', digits[(code >> 4) & 0xF], digits[code & 0xF]};
}

} // namespace

std::string quotedInput(std::string_view bytes) {
    const bool utf8 = validUtf8(bytes);
    std::string quoted;
    std::size_t shown = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t code = 0;
        if (utf8) {
            const Decoded decoded = utf8At(bytes, i);
            code = decoded.code;
            i += decoded.length;
        } else {
            const auto byte = static_cast<unsigned char>(bytes[i++]);
            const bool high = byte >= 0x80 && byte <= 0x9F;
            code = high && kCp1252High[byte - 0x80] != 0 ? kCp1252High[byte - 0x80] : byte;
        }
        const std::string escape = escapeFor(code);
        const std::size_t width = escape.empty() ? 1 : escape.size();
        if (shown + width > kQuotedLength) {
            return quoted + "...";
        }
        shown += width;
        if (escape.empty()) {
            appendUtf8(quoted, code);
        } else {
            quoted += escape;
        }
    }
    return quoted;
}
