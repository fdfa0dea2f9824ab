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
    static constexpr std::array<WordHandler, kDestinations> kByDestination{
        &Reader::handleBodyWord,       // Text
        nullptr,                       // Skip
        &Reader::handleFontTableWord,  // FontTable
        &Reader::handleColorTableWord, // ColorTable
        &Reader::handleDefaultChpWord, // DefaultChp
        &Reader::handleBodyWord,       // Upr: its words count, its text doesn't
        &Reader::handleListWord,       // ListTable
        &Reader::handleListWord,       // List
        &Reader::handleListWord,       // ListLevel
        &Reader::handleListWord,       // LevelText
        &Reader::handleListWord,       // ListOverrideTable
        &Reader::handleListWord,       // ListOverride
        &Reader::handleBodyWord,       // ListText
        &Reader::handleNumberingWord,  // Pn
        &Reader::handleNumberingWord,  // PnSectionLevel
        &Reader::handleNumberingWord,  // PnText
        nullptr,                       // Footnote: read at the end
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
        nullptr,                      // List
        &Reader::handleTableWord,     // Table
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
    case Word::ListTable:
        destination = Destination::ListTable;
        return;
    case Word::ListOverrideTable:
        destination = Destination::ListOverrideTable;
        return;
    case Word::ListText:
        destination = Destination::ListText;
        return;
    case Word::Pn:
    case Word::PnSectionLevel:
        numbering_ = Numbering{};
        if (word.word() == Word::PnSectionLevel) {
            numbering_.level = std::clamp(word.parameter, 1, kMaxListLevels);
        }
        destination = word.word() == Word::Pn ? Destination::Pn : Destination::PnSectionLevel;
        return;
    case Word::Footnote:
        startFootnote();
        return;
    case Word::NestTableProps:
        return; // a nested table's row: its words count
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
    case Word::Superscript:
    case Word::Subscript:
        chr.vertical = !word.on() ? 0 : word.word() == Word::Superscript ? 1 : 2;
        return;
    case Word::NoSuperSub:
        chr.vertical = 0;
        return;
    default:
        return;
    }
}

void Reader::handleParagraphWord(const ControlWord& word) {
    ParagraphState& para = state_.para;
    switch (word.word()) {
    case Word::Pard:
        para = ParagraphState{};
        return;
    case Word::AlignLeft:
        para.align = Align::Left;
        return;
    case Word::AlignCenter:
        para.align = Align::Center;
        return;
    case Word::AlignRight:
        para.align = Align::Right;
        return;
    case Word::AlignJustify:
        para.align = Align::Justify;
        return;
    case Word::ListOverrideNumber:
        para.listOverride = word.parameter;
        return;
    case Word::ListLevelNumber:
        para.listLevel = std::clamp(word.parameter, 0, kMaxListLevels - 1);
        return;
    case Word::InTable:
        para.inTable = true;
        return;
    case Word::TableDepth:
        para.inTable = word.parameter > 0;
        para.tableDepth = std::clamp(word.parameter, 1, kMaxTableDepth);
        return;
    default:
        return;
    }
}

// \trowd and the cell definitions after it, for the table of the
// paragraph's depth.
void Reader::handleTableWord(const ControlWord& word) {
    const auto depth = static_cast<std::size_t>(rowDepth());
    if (rows_.size() < depth) {
        rows_.resize(depth);
    }
    std::vector<CellDefinition>& row = rows_[depth - 1];
    switch (word.word()) {
    case Word::RowDefaults:
        row.clear();
        cell_ = CellDefinition{};
        return;
    case Word::CellRight:
        cell_.right = word.parameter;
        if (row.size() < kMaxTableEntries) {
            row.push_back(cell_);
        }
        cell_ = CellDefinition{};
        return;
    case Word::MergeNext:
        cell_.mergeNext = true;
        return;
    case Word::VerticalMergeFirst:
        cell_.verticalMergeFirst = true;
        return;
    case Word::VerticalMergeNext:
        cell_.verticalMergeNext = true;
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
    case Word::Cell:
        endCell(1);
        return;
    case Word::NestedCell:
        endCell(std::max(rowDepth(), 2));
        return;
    case Word::Row:
        endRow(1);
        return;
    case Word::NestedRow:
        endRow(std::max(rowDepth(), 2));
        return;
    case Word::FootnoteMark:
        handleFootnoteMark();
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

// \uN: N a signed 16-bit value or a code unit; its fallback follows. In a
// symbol font U+F020..U+F0FF stand for the font's bytes.
void Reader::handleUnicode(int parameter) {
    int value = parameter;
    if (value < 0 && value >= -32768) {
        value += 65536;
    }
    char16_t unit = value >= 0 && value <= 0xFFFF ? static_cast<char16_t>(value) : kReplacement;
    if (unit >= 0xF020 && unit <= 0xF0FF && state_.destination == Destination::Text) {
        if (const CodePage& page = currentCodePage(); page.symbol) {
            unit = page.table[unit & 0xFF];
        }
    }
    putChar(unit);
    skip_ = state_.unicodeSkip;
}

// A footnote's number where the file has its mark, raised: in the text the
// number of the footnote that follows, in a footnote its own.
void Reader::handleFootnoteMark() {
    const int number = readingFootnote_ > 0 ? readingFootnote_ : footnoteNumber_ + 1;
    const CharState outside = state_.chr;
    state_.chr.vertical = 1;
    for (const QChar digit : QString::number(number)) {
        putChar(digit.unicode());
    }
    state_.chr = outside;
}

void Reader::startFootnote() {
    if (state_.destination != Destination::Text || readingFootnote_ > 0) {
        state_.destination = Destination::Skip; // footnotes in footnotes are not read
        return;
    }
    flushRun();
    ++footnoteNumber_;
    footnoteState_ = state_;
    footnoteState_.para.inTable = false; // the footnote follows the text, outside tables
    footnoteBegin_ = next_;
    state_.destination = Destination::Footnote;
}

} // namespace RtfInternal
