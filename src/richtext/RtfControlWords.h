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
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverride,
    ListText, // \listtext, \pntext: a list item's label for readers without lists
    Pn,
    PnSectionLevel,
    PnTextAfter,
    PnTextBefore,
    Footnote,
    NestTableProps,
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
    // list table and paragraph numbering
    ListId,
    LevelNumberFormat,
    LevelStartAt,
    PnLevelBody,
    PnLevelBullet,
    PnLevelContinue,
    PnLevel,
    PnStyle, // the style is the word's character: 'd', 'R', 'r', 'A', 'a'
    PnStart,
    PnFont,
    // table rows
    RowDefaults,
    CellRight,
    MergeFirst,
    MergeNext,
    VerticalMergeFirst,
    VerticalMergeNext,
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
    Superscript,
    Subscript,
    NoSuperSub,
    // paragraphs
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    ListOverrideNumber, // \ls
    ListLevelNumber,    // \ilvl
    InTable,
    TableDepth, // \itap
    // text
    Par,
    Cell,
    NestedCell,
    Row,
    NestedRow,
    FootnoteMark,
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
    List,        // means something only in the list tables and numbering
    Table,       // table rows
    Character,   // character formatting
    Paragraph,   // paragraph formatting
    Text,        // breaks and characters
};
inline constexpr std::size_t kWordKinds = 9;

struct WordInfo {
    Word word{};
    WordKind kind{};
    char16_t character = 0; // for Word::Character
};

// The control word of that name; nullptr for a word the reader ignores.
const WordInfo* findWord(std::string_view name);

} // namespace RtfInternal
