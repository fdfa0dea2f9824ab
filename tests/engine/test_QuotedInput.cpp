#include "QuotedInput.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(QuotedInput, ShowsShortReadableUtf8WhateverTheBytes) {
    struct Case {
        std::string bytes;
        std::string quoted;
    };
    const Case cases[] = {
        {"Corvane", "Corvane"},
        {"", ""},
        {std::string(80, 'a'), std::string(80, 'a')},
        {std::string(81, 'a'), std::string(80, 'a') + "..."},
        // Control bytes are spelled out and count with their four characters.
        {"a\tb\r\n\0\x7F"s, "a\\x09b\\x0D\\x0A\\x00\\x7F"},
        {std::string(79, 'a') + "\x01", std::string(79, 'a') + "..."},
        // Valid UTF-8 reads as UTF-8, characters counted, not bytes.
        {"G\xC3\xB6tz", "G\xC3\xB6tz"},
        {std::string(40, 'a') + "\xE2\x82\xAC" + std::string(39, 'b'),
         std::string(40, 'a') + "\xE2\x82\xAC" + std::string(39, 'b')},
        // Anything else is code page 1252; its unassigned bytes are spelled out.
        {"Ca\xE9n \x80", "Ca\xC3\xA9n \xE2\x82\xAC"},
        {"\xFF\xFE\x81", "\xC3\xBF\xC3\xBE\\x81"},
        {"\xC3(", "\xC3\x83("},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(quotedInput(c.bytes), c.quoted);
    }
}

} // namespace
