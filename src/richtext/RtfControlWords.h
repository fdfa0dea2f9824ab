#pragma once

// The control words that the RTF reader acts on, found by name. Internal to
// the reader (RtfReader.cpp): callers include RtfReader.h.

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

struct WordInfo {
    Word word;
    char16_t character = 0; // for Word::Character
};

// The control word of that name; nullptr for a word the reader ignores.
const WordInfo* findWord(std::string_view name);

} // namespace RtfInternal
