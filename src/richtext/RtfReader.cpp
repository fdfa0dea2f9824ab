#include "RtfReader.h"

#include "RtfReaderState.h"

#include <algorithm>
#include <optional>
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

Reader::Reader(QByteArrayView bytes)
    : next_(reinterpret_cast<const unsigned char*>(bytes.data()))
    , end_(next_ + bytes.size())
    , document_(std::make_unique<QTextDocument>())
    , main_(document_.get()) {
    stack_.reserve(64);
}

Reader::~Reader() = default;

std::unique_ptr<QTextDocument> Reader::read() {
    document_->setUndoRedoEnabled(false);
    // One edit block for the whole reading keeps each insertion from laying
    // out its paragraph again.
    main_.cursor.beginEditBlock();
    readTokens();
    if (state_.destination == Destination::Footnote && footnoteBegin_ != nullptr) {
        footnotes_.push_back({footnoteBegin_, end_, footnoteState_, footnoteNumber_});
    }
    flushBytes();
    emitLabel();
    flushRun();
    const bool lastInTable = !tables_.empty();
    syncTables(0);
    if (!main_.paragraphClosed && !lastInTable) {
        applyParagraphFormat();
    }
    readFootnotes();
    main_.cursor.endEditBlock();
    document_->setUndoRedoEnabled(true);
    return std::move(document_);
}

void Reader::readTokens() {
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
}

// The footnotes follow the document's text, each in paragraphs of its own,
// with its number where the file has its mark. A footnote is read once more
// from its place in the file with the state it began with.
void Reader::readFootnotes() {
    const std::vector<Footnote> footnotes = std::move(footnotes_);
    footnotes_.clear();
    for (const Footnote& footnote : footnotes) {
        main_.paragraphClosed = true;
        next_ = footnote.begin;
        end_ = footnote.end;
        done_ = false;
        overflow_ = 0;
        skip_ = 0;
        ignorable_ = false;
        stack_.assign(1, footnote.state);
        state_ = footnote.state;
        readingFootnote_ = footnote.number;
        readTokens();
        flushBytes();
        state_.destination = Destination::Text;
        emitLabel();
        flushRun();
        const bool lastInTable = !tables_.empty();
        syncTables(0);
        if (!main_.paragraphClosed && !lastInTable) {
            applyParagraphFormat();
        }
    }
    readingFootnote_ = 0;
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
    const Destination ended = state_.destination;
    std::optional<int> numbering;
    if (ended != stack_.back().destination) {
        if (ended == Destination::Pn) {
            numbering = commitNumbering();
        } else {
            endDestination(ended);
        }
    }
    state_ = stack_.back();
    stack_.pop_back();
    if (numbering) {
        state_.para.numbering = *numbering; // a paragraph property
    }
}

// The group that began a destination ends; the group's state is still in
// force.
void Reader::endDestination(Destination destination) {
    switch (destination) {
    case Destination::List:
        commitList();
        return;
    case Destination::ListLevel:
        commitListLevel();
        return;
    case Destination::ListOverride:
        commitOverride();
        return;
    case Destination::PnSectionLevel:
        commitSectionNumbering();
        return;
    case Destination::Footnote:
        // next_ is past the closing brace.
        footnotes_.push_back({footnoteBegin_, next_ - 1, footnoteState_, footnoteNumber_});
        return;
    default:
        return;
    }
}

void Reader::readControl() {
    if (next_ == end_) {
        return;
    }
    const unsigned char first = *next_;
    if (first == '\'') {
        ++next_;
        readHexByte();
        return;
    }
    flushBytes();
    if (isLetter(first)) {
        readWord();
        return;
    }
    ++next_;
    if (skip_ > 0) {
        --skip_;
        return;
    }
    handleSymbol(first);
}

// The two hexadecimal digits after \'.
void Reader::readHexByte() {
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
}

// A control word: its letters, its numeric parameter and its delimiter.
void Reader::readWord() {
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
    case Destination::ListText:
    case Destination::LevelText:
    case Destination::PnText:
        for (const unsigned char* c = start; c < next_; ++c) {
            putByte(*c);
        }
        return;
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
        readFontName(start);
        return;
    case Destination::ColorTable:
        readColorEntries(start);
        return;
    default:
        return;
    }
}

// Text in the font table up to next_: names, each ended by ';'.
void Reader::readFontName(const unsigned char* start) {
    for (const unsigned char* c = start; c < next_; ++c) {
        if (*c == ';') {
            commitFont();
        } else {
            putByte(*c);
        }
    }
}

// Text in the colour table up to next_: only the ';' that end the entries
// count.
void Reader::readColorEntries(const unsigned char* start) {
    for (const unsigned char* c = start; c < next_; ++c) {
        if (*c == ';') {
            commitColor();
        }
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
