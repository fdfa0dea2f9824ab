#pragma once

// The RTF reader's state machine: the limits it keeps to, the state a group
// carries, and the Reader class, whose tokenizer and group handling are in
// RtfReader.cpp and whose output into the document is in
// RtfDocumentOutput.cpp. Internal to the reader: callers include RtfReader.h.

#include "RtfCodePages.h"
#include "RtfControlWords.h"

#include <QByteArrayView>
#include <QColor>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace RtfInternal {

// How far the reader goes along with malformed input (RtfReader.h says what
// it does at each limit).
inline constexpr std::size_t kMaxGroupDepth = 256;
inline constexpr std::size_t kMaxNameLength = 32;
inline constexpr long long kMaxParameter = 2'000'000'000;
inline constexpr int kMaxHalfPoints = 3276; // 1638 pt, the largest size Word offers
inline constexpr std::size_t kMaxTableEntries = 1 << 16;
inline constexpr std::size_t kMaxCodePages = 32;

// Where the text of a group goes.
enum class Destination : std::uint8_t {
    Text,       // the document
    Skip,       // nowhere: ignorable and unread destinations
    FontTable,  // font names
    ColorTable, // the ';' that end colour entries
    DefaultChp, // {\*\defchp}: the document's default size
    Upr,        // {\upr}: its ANSI part is skipped, its {\*\ud} read
};

// The character formatting in force; font -1 and the numbers 0 mean "none".
struct CharState {
    int font = -1;
    int halfPoints = 0;
    // Double-byte text (after \dbch) takes the size that \afs gives after
    // \dbch, where there is one, as LibreOffice writes it for Asian text.
    int doubleByteHalfPoints = 0;
    bool doubleByte = false;
    bool associatedDoubleByte = false; // \afs now sets the double-byte size
    int foreground = 0;
    int background = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;

    bool operator==(const CharState&) const = default;
};

enum class Align : std::uint8_t { Left, Center, Right, Justify };

struct GroupState {
    CharState chr;
    Align align = Align::Left;
    Destination destination = Destination::Text;
    int unicodeSkip = 1; // \uc
};

// A control word as the tokenizer read it.
struct ControlWord {
    const WordInfo& info;
    bool hasParameter = false;
    int parameter = 0;
    bool ignorable = false; // a \* came first in its group

    Word word() const { return info.word; }
    // A toggle's state: on without a parameter or with one other than 0.
    bool on() const { return !hasParameter || parameter != 0; }
};

struct FontEntry {
    QString name;
    int codePage = 0; // 0: the document's
};

// Reads one document; readRtf makes one for each call.
class Reader {
public:
    explicit Reader(QByteArrayView bytes)
        : next_(reinterpret_cast<const unsigned char*>(bytes.data()))
        , end_(next_ + bytes.size())
        , document_(std::make_unique<QTextDocument>())
        , cursor_(document_.get()) {
        stack_.reserve(64);
    }

    std::unique_ptr<QTextDocument> read();

private:
    // Tokenizer
    void readControl();
    void readText();
    void readFontName(const unsigned char* start);
    void readColorEntries(const unsigned char* start);
    // Groups
    void openGroup();
    void closeGroup();
    void readHexByte();
    void readWord();
    void skipBinary(int length);
    // State machine: a handler for each destination, and in the document's
    // text one for each kind of word (RtfWordHandlers.cpp)
    void handleWord(const WordInfo* info, bool hasParameter, int parameter);
    void handleSymbol(unsigned char symbol);
    void handleBodyWord(const ControlWord& word);
    void handleFontTableWord(const ControlWord& word);
    void handleColorTableWord(const ControlWord& word);
    void handleDefaultChpWord(const ControlWord& word);
    void handleDestinationWord(const ControlWord& word);
    void handleDocumentWord(const ControlWord& word);
    void handleCharacterWord(const ControlWord& word);
    void handleParagraphWord(const ControlWord& word);
    void handleTextWord(const ControlWord& word);
    void handleUnicode(int parameter);
    // In the tables a word that starts an unknown destination skips it.
    void skipIfDestination(const ControlWord& word);
    // Text
    void putByte(unsigned char byte);
    void putChar(char16_t unit);
    void flushBytes();
    void startRun();
    void flushRun();
    void paragraphBreak();
    void applyAlignment();
    // Tables
    void commitFont();
    void commitColor();
    CodePage& currentCodePage();
    CodePage& codePageFor(int codePage);
    const QTextCharFormat& formatFor(const CharState& state);

    const unsigned char* next_;
    const unsigned char* end_;
    bool done_ = false;
    bool ignorable_ = false; // a \* came first in this group
    int skip_ = 0;           // \u fallback characters still to skip

    std::vector<GroupState> stack_;
    std::size_t overflow_ = 0; // groups opened beyond kMaxGroupDepth
    GroupState state_;

    std::unique_ptr<QTextDocument> document_;
    QTextCursor cursor_;
    bool paragraphClosed_ = false; // the cursor's block has had its \par
    QString run_;
    CharState runState_;
    std::vector<unsigned char> pendingBytes_; // of a multi-byte code page
    CodePage* pendingPage_ = nullptr;

    int documentCodePage_ = 1252;
    int deff_ = -1;
    int defaultHalfPoints_ = 0;
    std::unordered_map<int, FontEntry> fonts_;
    // The font table entry being read.
    int fontNumber_ = -1;
    QString fontName_;
    int fontCharsetPage_ = 0;
    int fontCodePage_ = 0;
    std::vector<QColor> colors_;
    int red_ = -1;
    int green_ = -1;
    int blue_ = -1;
    std::map<int, std::unique_ptr<CodePage>> codePages_;

    bool formatValid_ = false;
    CharState formatState_;
    QTextCharFormat format_;
};

} // namespace RtfInternal
