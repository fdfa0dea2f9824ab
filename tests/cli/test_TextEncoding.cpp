#include "TextEncoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(TextEncoding, CoreNamesAreUtf8WhereValidAndWindows1252Elsewhere) {
    const std::pair<std::string, std::string> cases[] = {
        {"Plain", "Plain"},
        {"Caf\xE9 Meridian", "Caf\u00E9 Meridian"},
        {"\x80 and \x9F", "\u20AC and \u0178"},
        {"\x81", "\u0081"}, // unassigned: the control character of that number
        {"Caf\u00E9 Nord", "Caf\u00E9 Nord"},
        {"\xC3", "\u00C3"},                     // a sequence cut short
        {"\xC0\xAF", "\u00C0\u00AF"},           // overlong
        {"\xED\xA0\x80", "\u00ED\u00A0\u20AC"}, // a surrogate
    };
    for (const auto& [bytes, utf8] : cases) {
        EXPECT_EQ(utf8FromCoreText(bytes), utf8) << bytes;
    }
}

TEST(TextEncoding, Windows1252HoldsOnlyItsOwnCharacters) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"Caf\u00E9", "Caf\xE9"},
        {"\u20AC\u0178", "\x80\x9F"},
        {"\u03A9mega", std::nullopt},
        {"\xE9", std::nullopt}, // no UTF-8
    };
    for (const auto& [utf8, bytes] : cases) {
        EXPECT_EQ(cp1252FromUtf8(utf8), bytes) << utf8;
    }
}

TEST(TextEncoding, LocaleCodesetsConvertOrCountAsUtf8) {
    for (const char* codeset : {"UTF-8", "utf8", "ANSI_X3.4-1968", "NO-SUCH-CODESET"}) {
        const LocaleEncoding encoding(codeset);
        EXPECT_EQ(encoding.fromUtf8("Caf\u00E9 \u03A9"), "Caf\u00E9 \u03A9") << codeset;
        EXPECT_EQ(encoding.toUtf8("Caf\u00E9"), "Caf\u00E9") << codeset;
    }
    const LocaleEncoding latin9("ISO-8859-15");
    EXPECT_EQ(latin9.fromUtf8("\u20AC \u00C4ra \u03A9 \u00E9"), "\xA4 \xC4ra ? \xE9");
    EXPECT_EQ(latin9.toUtf8("\xA4 \xC4ra"), "\u20AC \u00C4ra");
}

} // namespace
