#pragma once

// The control words that the RTF reader acts on, found by name. Internal to
// the reader (RtfReader.cpp): callers include RtfReader.h.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace RtfInternal {

// Every control word the reader acts on.
enum class Word : std::uint8_t {
    // destinations
    FontTable,
    ColorTable,
    DefaultChp,
    Upr,
    Ud,
    SkippedDestination,
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    // font and colour tables
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Font,
    FontSize,
    AssociatedFontSize,
    DoubleByte,
    SingleByte,      // \loch, \hich
    OtherAssociated, // \rtlch, \ltrch
    Foreground,
    Background,
    // paragraphs
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    // text
    Par,
    Line,
    Tab,
    Character,
    Unicode,
    UnicodeSkip,
    Bin,
};

// Which handler of the reader a word goes to in the document's text.
enum class WordKind : std::uint8_t {
    Destination, // starts a destination of its own
    Document,    // the document's code page and default font
    FontTable,   // means something only in the font table
    ColorTable,  // means something only in the colour table
    Character,   // character formatting
    Paragraph,   // paragraph formatting
    Text,        // breaks and characters
};
inline constexpr std::size_t kWordKinds = 7;

struct WordInfo {
    Word word;
    WordKind kind;
    char16_t character = 0; // for Word::Character
};

// The control word of that name; nullptr for a word the reader ignores.
const WordInfo* findWord(std::string_view name);

} // namespace RtfInternal
