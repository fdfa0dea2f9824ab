#include "RtfReaderState.h"

#include <algorithm>
#include <array>
#include <utility>

// What the reader does with each control word: one handler for each
// destination, and in the document's text one for each kind of word.

namespace RtfInternal {

namespace {

using WordHandler = void (Reader::*)(const ControlWord&);

} // namespace

void Reader::handleWord(const WordInfo* info, bool hasParameter, int parameter) {
    const bool ignorable = std::exchange(ignorable_, false);
    if (info == nullptr) {
        if (ignorable) {
            state_.destination = Destination::Skip;
        }
        return;
    }
    // In the order of Destination.
    static constexpr std::array<WordHandler, 6> kByDestination{
        &Reader::handleBodyWord,       // Text
        nullptr,                       // Skip
        &Reader::handleFontTableWord,  // FontTable
        &Reader::handleColorTableWord, // ColorTable
        &Reader::handleDefaultChpWord, // DefaultChp
        &Reader::handleBodyWord,       // Upr: its words count, its text doesn't
    };
    const WordHandler handler = kByDestination[static_cast<std::size_t>(state_.destination)];
    if (handler != nullptr) {
        (this->*handler)(ControlWord{*info, hasParameter, parameter, ignorable});
    }
}

void Reader::handleSymbol(unsigned char symbol) {
    switch (symbol) {
    case '*':
        ignorable_ = true;
        return;
    case '\\':
    case '{':
    case '}':
        putChar(symbol);
        return;
    case '~':
        putChar(0x00A0);
        return;
    case '-':
        putChar(0x00AD);
        return;
    case '_':
        putChar(0x2011);
        return;
    case '\t':
        putChar(u'\t');
        return;
    case '\r':
    case '\n':
        paragraphBreak();
        return;
    default:
        return; // \: \| and unknown symbols
    }
}

// The document's text, and the ANSI part of {\upr}.
void Reader::handleBodyWord(const ControlWord& word) {
    if (word.info.kind == WordKind::Destination) {
        handleDestinationWord(word);
        return;
    }
    if (word.ignorable) {
        // \* before anything but a destination: an unknown one.
        state_.destination = Destination::Skip;
        return;
    }
    // In the order of WordKind; the tables' words mean nothing here.
    static constexpr std::array<WordHandler, kWordKinds> kByKind{
        nullptr,                      // Destination
        &Reader::handleDocumentWord,  // Document
        nullptr,                      // FontTable
        nullptr,                      // ColorTable
        &Reader::handleCharacterWord, // Character
        &Reader::handleParagraphWord, // Paragraph
        &Reader::handleTextWord,      // Text
    };
    if (const WordHandler handler = kByKind[static_cast<std::size_t>(word.info.kind)]) {
        (this->*handler)(word);
    }
}

void Reader::skipIfDestination(const ControlWord& word) {
    if (word.ignorable || word.word() == Word::SkippedDestination) {
        state_.destination = Destination::Skip;
    }
}

void Reader::handleFontTableWord(const ControlWord& word) {
    switch (word.word()) {
    case Word::Font:
        commitFont();
        fontNumber_ = word.parameter;
        return;
    case Word::FontCharset:
        fontCharsetPage_ = charsetCodePage(word.parameter);
        return;
    case Word::FontCodePage:
        fontCodePage_ = std::max(word.parameter, 0);
        return;
    case Word::Unicode:
    case Word::UnicodeSkip:
    case Word::Character:
        handleBodyWord(word); // characters of the font's name
        return;
    default:
        skipIfDestination(word);
        return;
    }
}

void Reader::handleColorTableWord(const ControlWord& word) {
    const int component = std::clamp(word.parameter, 0, 255);
    switch (word.word()) {
    case Word::Red:
        red_ = component;
        return;
    case Word::Green:
        green_ = component;
        return;
    case Word::Blue:
        blue_ = component;
        return;
    default:
        skipIfDestination(word);
        return;
    }
}

void Reader::handleDefaultChpWord(const ControlWord& word) {
    if (word.word() == Word::FontSize) {
        defaultHalfPoints_ = std::clamp(word.parameter, 0, kMaxHalfPoints);
        formatValid_ = false;
    }
}

void Reader::handleDestinationWord(const ControlWord& word) {
    Destination& destination = state_.destination;
    switch (word.word()) {
    case Word::FontTable:
        destination = Destination::FontTable;
        commitFont();
        return;
    case Word::ColorTable:
        destination = Destination::ColorTable;
        red_ = green_ = blue_ = -1;
        return;
    case Word::DefaultChp:
        destination = Destination::DefaultChp;
        return;
    case Word::Upr:
        destination = destination == Destination::Text ? Destination::Upr : Destination::Skip;
        return;
    case Word::Ud:
        destination = destination == Destination::Upr ? Destination::Text : Destination::Skip;
        return;
    default:
        destination = Destination::Skip;
        return;
    }
}

void Reader::handleDocumentWord(const ControlWord& word) {
    switch (word.word()) {
    case Word::Ansi:
        documentCodePage_ = 1252;
        return;
    case Word::Mac:
        documentCodePage_ = 10000;
        return;
    case Word::Pc:
        documentCodePage_ = 437;
        return;
    case Word::Pca:
        documentCodePage_ = 850;
        return;
    case Word::AnsiCodePage:
        documentCodePage_ = word.parameter > 0 ? word.parameter : 1252;
        return;
    case Word::DefaultFont:
        deff_ = word.parameter;
        return;
    default:
        return;
    }
}

void Reader::handleCharacterWord(const ControlWord& word) {
    CharState& chr = state_.chr;
    const int halfPoints = std::clamp(word.parameter, 0, kMaxHalfPoints);
    switch (word.word()) {
    case Word::Plain:
        chr = CharState{};
        return;
    case Word::Bold:
        chr.bold = word.on();
        return;
    case Word::Italic:
        chr.italic = word.on();
        return;
    case Word::Underline:
        chr.underline = word.on();
        return;
    case Word::UnderlineNone:
        chr.underline = false;
        return;
    case Word::Strike:
        chr.strike = word.on();
        return;
    case Word::Font:
        chr.font = word.parameter >= 0 ? word.parameter : -1;
        return;
    case Word::FontSize:
        chr.halfPoints = halfPoints;
        return;
    case Word::AssociatedFontSize:
        if (chr.associatedDoubleByte) {
            chr.doubleByteHalfPoints = halfPoints;
        }
        return;
    case Word::DoubleByte:
    case Word::SingleByte:
        chr.doubleByte = word.word() == Word::DoubleByte;
        chr.associatedDoubleByte = chr.doubleByte;
        return;
    case Word::OtherAssociated:
        chr.associatedDoubleByte = false;
        return;
    case Word::Foreground:
        chr.foreground = std::max(word.parameter, 0);
        return;
    case Word::Background:
        chr.background = std::max(word.parameter, 0);
        return;
    default:
        return;
    }
}

void Reader::handleParagraphWord(const ControlWord& word) {
    switch (word.word()) {
    case Word::Pard:
    case Word::AlignLeft:
        state_.align = Align::Left;
        return;
    case Word::AlignCenter:
        state_.align = Align::Center;
        return;
    case Word::AlignRight:
        state_.align = Align::Right;
        return;
    case Word::AlignJustify:
        state_.align = Align::Justify;
        return;
    default:
        return;
    }
}

void Reader::handleTextWord(const ControlWord& word) {
    switch (word.word()) {
    case Word::Par:
        paragraphBreak();
        return;
    case Word::Line:
        putChar(QChar::LineSeparator);
        return;
    case Word::Tab:
        putChar(u'\t');
        return;
    case Word::Character:
        putChar(word.info.character);
        return;
    case Word::Unicode:
        handleUnicode(word.parameter);
        return;
    case Word::UnicodeSkip:
        state_.unicodeSkip = std::max(word.parameter, 0);
        return;
    default:
        return;
    }
}

// \uN: N a signed 16-bit value or a code unit; its fallback follows.
void Reader::handleUnicode(int parameter) {
    int value = parameter;
    if (value < 0 && value >= -32768) {
        value += 65536;
    }
    putChar(value >= 0 && value <= 0xFFFF ? static_cast<char16_t>(value) : kReplacement);
    skip_ = state_.unicodeSkip;
}

} // namespace RtfInternal
