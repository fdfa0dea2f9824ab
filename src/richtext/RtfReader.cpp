#include "RtfReader.h"

#include "RtfReaderState.h"

#include <algorithm>
#include <string_view>

// A tokenizer (the bytes cut into groups, control words, control symbols,
// \'hh bytes and text) driving a state machine whose group stack is an
// explicit vector. The text goes into the document run by run, one run per
// stretch of unchanged character state.

namespace RtfInternal {

namespace {

bool isLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::unique_ptr<QTextDocument> Reader::read() {
    document_->setUndoRedoEnabled(false);
    // One edit block for the whole reading keeps each insertion from laying
    // out its paragraph again.
    cursor_.beginEditBlock();
    while (next_ < end_ && !done_) {
        const unsigned char c = *next_;
        switch (c) {
        case '{':
            ++next_;
            openGroup();
            break;
        case '}':
            ++next_;
            closeGroup();
            break;
        case '\\':
            ++next_;
            readControl();
            break;
        case '\r':
        case '\n':
            ++next_;
            break;
        default:
            readText();
            break;
        }
    }
    flushBytes();
    flushRun();
    if (!paragraphClosed_) {
        applyAlignment();
    }
    cursor_.endEditBlock();
    document_->setUndoRedoEnabled(true);
    return std::move(document_);
}

void Reader::openGroup() {
    flushBytes();
    skip_ = 0;
    ignorable_ = false;
    if (stack_.size() >= kMaxGroupDepth) {
        ++overflow_;
        return;
    }
    stack_.push_back(state_);
}

void Reader::closeGroup() {
    flushBytes();
    skip_ = 0;
    ignorable_ = false;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (state_.destination == Destination::FontTable) {
        commitFont();
    }
    if (stack_.size() <= 1) {
        // The document's own group: the end. Its state stays for the last
        // paragraph.
        done_ = true;
        return;
    }
    state_ = stack_.back();
    stack_.pop_back();
}

void Reader::readControl() {
    if (next_ == end_) {
        return;
    }
    const unsigned char first = *next_;
    if (first == '\'') {
        ++next_;
        int value = 0;
        int digits = 0;
        while (digits < 2 && next_ < end_) {
            const int hex = hexValue(*next_);
            if (hex < 0) {
                break;
            }
            value = value * 16 + hex;
            ++digits;
            ++next_;
        }
        if (skip_ > 0) {
            --skip_;
            return;
        }
        if (digits == 2) {
            putByte(static_cast<unsigned char>(value));
        }
        return;
    }
    flushBytes();
    if (!isLetter(first)) {
        ++next_;
        if (skip_ > 0) {
            --skip_;
            return;
        }
        handleSymbol(first);
        return;
    }

    const unsigned char* nameStart = next_;
    while (next_ < end_ && isLetter(*next_)) {
        ++next_;
    }
    const std::string_view name(reinterpret_cast<const char*>(nameStart),
                                static_cast<std::size_t>(next_ - nameStart));
    bool hasParameter = false;
    bool negative = false;
    long long value = 0;
    if (next_ < end_ && *next_ == '-' && next_ + 1 < end_ && isDigit(next_[1])) {
        negative = true;
        ++next_;
    }
    while (next_ < end_ && isDigit(*next_)) {
        hasParameter = true;
        value = std::min(value * 10 + (*next_ - '0'), kMaxParameter);
        ++next_;
    }
    if (next_ < end_ && *next_ == ' ') {
        ++next_; // the delimiter belongs to the control word
    }
    const int parameter = static_cast<int>(negative ? -value : value);

    const WordInfo* info = name.size() <= kMaxNameLength ? findWord(name) : nullptr;
    if (info != nullptr && info->word == Word::Bin) {
        // The data is skipped whether the \bin is read or itself skipped.
        skipBinary(hasParameter ? parameter : 0);
        if (skip_ > 0) {
            --skip_;
        }
        return;
    }
    if (skip_ > 0) {
        --skip_;
        return;
    }
    handleWord(info, hasParameter, parameter);
}

void Reader::skipBinary(int length) {
    const auto remaining = static_cast<std::size_t>(end_ - next_);
    next_ += std::min(static_cast<std::size_t>(std::max(length, 0)), remaining);
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

void Reader::handleWord(const WordInfo* info, bool hasParameter, int parameter) {
    const bool ignorable = ignorable_;
    ignorable_ = false;
    Destination& destination = state_.destination;
    if (info == nullptr) {
        if (ignorable) {
            destination = Destination::Skip;
        }
        return;
    }
    if (destination == Destination::Skip) {
        return;
    }
    const Word word = info->word;
    const bool on = !hasParameter || parameter != 0;

    // Words that mean something else, or nothing, in the tables.
    if (destination == Destination::FontTable) {
        switch (word) {
        case Word::Font:
            commitFont();
            fontNumber_ = parameter;
            return;
        case Word::FontCharset:
            fontCharsetPage_ = charsetCodePage(parameter);
            return;
        case Word::FontCodePage:
            fontCodePage_ = std::max(parameter, 0);
            return;
        case Word::Unicode:
        case Word::UnicodeSkip:
        case Word::Character:
            break; // characters of the font's name
        default:
            if (ignorable || word == Word::SkippedDestination) {
                destination = Destination::Skip;
            }
            return;
        }
    }
    if (destination == Destination::ColorTable) {
        const int component = std::clamp(parameter, 0, 255);
        switch (word) {
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
            if (ignorable || word == Word::SkippedDestination) {
                destination = Destination::Skip;
            }
            return;
        }
    }
    if (destination == Destination::DefaultChp) {
        if (word == Word::FontSize) {
            defaultHalfPoints_ = std::clamp(parameter, 0, kMaxHalfPoints);
            formatValid_ = false;
        }
        return;
    }

    switch (word) {
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
        if (destination == Destination::Upr) {
            destination = Destination::Text;
        } else {
            destination = Destination::Skip;
        }
        return;
    case Word::SkippedDestination:
        destination = Destination::Skip;
        return;
    default:
        break;
    }
    if (ignorable) {
        // \* before anything but the destinations above: an unknown one.
        destination = Destination::Skip;
        return;
    }

    switch (word) {
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
        documentCodePage_ = parameter > 0 ? parameter : 1252;
        return;
    case Word::DefaultFont:
        deff_ = parameter;
        return;
    case Word::Plain:
        state_.chr = CharState{};
        return;
    case Word::Bold:
        state_.chr.bold = on;
        return;
    case Word::Italic:
        state_.chr.italic = on;
        return;
    case Word::Underline:
        state_.chr.underline = on;
        return;
    case Word::UnderlineNone:
        state_.chr.underline = false;
        return;
    case Word::Strike:
        state_.chr.strike = on;
        return;
    case Word::Font:
        state_.chr.font = parameter >= 0 ? parameter : -1;
        return;
    case Word::FontSize:
        state_.chr.halfPoints = std::clamp(parameter, 0, kMaxHalfPoints);
        return;
    case Word::AssociatedFontSize:
        if (state_.chr.associatedDoubleByte) {
            state_.chr.doubleByteHalfPoints = std::clamp(parameter, 0, kMaxHalfPoints);
        }
        return;
    case Word::DoubleByte:
        state_.chr.doubleByte = true;
        state_.chr.associatedDoubleByte = true;
        return;
    case Word::SingleByte:
        state_.chr.doubleByte = false;
        state_.chr.associatedDoubleByte = false;
        return;
    case Word::OtherAssociated:
        state_.chr.associatedDoubleByte = false;
        return;
    case Word::Foreground:
        state_.chr.foreground = std::max(parameter, 0);
        return;
    case Word::Background:
        state_.chr.background = std::max(parameter, 0);
        return;
    case Word::Pard:
        state_.align = Align::Left;
        return;
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
        putChar(info->character);
        return;
    case Word::Unicode: {
        int value = parameter;
        if (value < 0 && value >= -32768) {
            value += 65536;
        }
        putChar(value >= 0 && value <= 0xFFFF ? static_cast<char16_t>(value) : kReplacement);
        skip_ = state_.unicodeSkip;
        return;
    }
    case Word::UnicodeSkip:
        state_.unicodeSkip = std::max(parameter, 0);
        return;
    default:
        return; // table words outside their tables
    }
}

void Reader::readText() {
    if (skip_ > 0) {
        --skip_;
        ++next_;
        return;
    }
    const unsigned char* start = next_;
    while (next_ < end_) {
        const unsigned char c = *next_;
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n') {
            break;
        }
        ++next_;
    }
    switch (state_.destination) {
    case Destination::Text: {
        CodePage& page = currentCodePage();
        if (page.multiByte) {
            for (const unsigned char* c = start; c < next_; ++c) {
                putByte(*c);
            }
            return;
        }
        startRun();
        for (const unsigned char* c = start; c < next_; ++c) {
            const char16_t unit = page.table[*c];
            if (unit >= 0x20 || unit == u'\t') {
                run_.append(QChar(unit));
            }
        }
        return;
    }
    case Destination::FontTable:
        for (const unsigned char* c = start; c < next_; ++c) {
            if (*c == ';') {
                commitFont();
            } else {
                putByte(*c);
            }
        }
        return;
    case Destination::ColorTable:
        for (const unsigned char* c = start; c < next_; ++c) {
            if (*c == ';') {
                commitColor();
            }
        }
        return;
    default:
        return;
    }
}

} // namespace RtfInternal

bool isRtf(QByteArrayView bytes) {
    return bytes.startsWith("{\\rtf");
}

std::unique_ptr<QTextDocument> readRtf(QByteArrayView bytes) {
    if (!isRtf(bytes)) {
        return nullptr;
    }
    return RtfInternal::Reader(bytes).read();
}
