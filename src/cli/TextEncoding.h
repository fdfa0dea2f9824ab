#pragma once

#include <optional>
#include <string>
#include <string_view>

// The core data file holds its names as Windows-1252 or as UTF-8 bytes; a
// terminal speaks its locale's encoding. These convert between the three,
// through UTF-8.

// UTF-8 stays as it is; bytes that are no valid UTF-8 are Windows-1252.
// (A Windows-1252 name is valid UTF-8 only in contrived cases such as "Ã©".)
std::string utf8FromCoreText(std::string_view bytes);

// The Windows-1252 bytes of UTF-8 text; nothing when the text is no valid
// UTF-8 or holds a character that Windows-1252 has not.
std::optional<std::string> cp1252FromUtf8(std::string_view utf8);

// The encoding of a locale's text, by its codeset name ("UTF-8",
// "ISO-8859-15", ...). ASCII, the codeset of the C locale, is taken as
// UTF-8, which it is a part of and which today's terminals speak; so is a
// codeset that the system cannot convert.
class LocaleEncoding {
public:
    explicit LocaleEncoding(std::string codeset);

    // The codeset of the environment's locale (LC_ALL, LC_CTYPE, LANG). A
    // locale that is not installed still names its codeset after the dot.
    static LocaleEncoding fromEnvironment();

    // Bytes that do not convert become U+FFFD, which names no system.
    std::string toUtf8(std::string_view text) const;
    // Characters the locale cannot show become '?'.
    std::string fromUtf8(std::string_view utf8) const;

private:
    std::string codeset_;
    bool utf8_ = true;
};
