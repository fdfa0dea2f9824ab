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
#include <QTextList>

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
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

inline constexpr int kMaxListLevels = 9;
inline constexpr int kMaxTableDepth = 16;

// Where the text of a group goes.
enum class Destination : std::uint8_t {
    Text,              // the document
    Skip,              // nowhere: ignorable and unread destinations
    FontTable,         // font names
    ColorTable,        // the ';' that end colour entries
    DefaultChp,        // {\*\defchp}: the document's default size
    Upr,               // {\upr}: its ANSI part is skipped, its {\*\ud} read
    ListTable,         // {\*\listtable}: list definitions
    List,              // one {\list}
    ListLevel,         // one {\listlevel}
    LevelText,         // its {\leveltext}
    ListOverrideTable, // {\*\listoverridetable}
    ListOverride,      // one {\listoverride}: a \ls number for a list
    ListText,          // a list item's label, shown only where no list is found
    Pn,                // {\*\pn}: the paragraph's numbering, of old
    PnSectionLevel,    // {\*\pnseclvlN}: numbering of outline level N
    PnText,            // {\pntxta}, {\pntxtb}
    Footnote,          // read at the end of the document
};
inline constexpr std::size_t kDestinations = 17;

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
    std::uint8_t vertical = 0; // 1 superscript, 2 subscript

    bool operator==(const CharState&) const = default;
};

enum class Align : std::uint8_t { Left, Center, Right, Justify };

// The paragraph formatting in force, applied when the paragraph ends.
struct ParagraphState {
    Align align = Align::Left;
    int listOverride = 0; // \ls; 0 none
    int listLevel = 0;    // \ilvl
    int numbering = -1;   // the paragraph's {\*\pn}: an index of Reader::numberings_
    bool inTable = false; // \intbl
    int tableDepth = 1;   // \itap, where \intbl is given

    int depth() const { return inTable ? tableDepth : 0; }
};

struct GroupState {
    CharState chr;
    ParagraphState para;
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

// One level of a list as a word processor shows it.
struct ListLevel {
    QTextListFormat::Style style = QTextListFormat::ListDecimal;
    int start = 1;
    QString prefix;                       // before the number
    QString suffix = QStringLiteral("."); // after it
    QString bullet;                       // for bullets
    bool shown = true;                    // false: a level without number or bullet
};

struct ListDefinition {
    std::array<ListLevel, kMaxListLevels> levels;
};

// A {\*\pn} or {\*\pnseclvlN} being read; unset parts come from the outline
// level's numbering.
struct Numbering {
    int level = 0; // 1..9 for \pnlvlN
    bool bullet = false;
    bool continues = false; // \pnlvlcont: no number of its own
    std::optional<QTextListFormat::Style> style;
    std::optional<int> start;
    std::optional<int> font;
    std::optional<QString> before;
    std::optional<QString> after;
};

// A list item's place: the lists of one \ls, or of the old numbering, and
// the level in them.
using ListKey = std::pair<int, int>;
inline constexpr int kNumberingLists = std::numeric_limits<int>::min();

// Where the paragraphs go: the document, or a table being read.
struct Sink {
    explicit Sink(QTextDocument* document)
        : cursor(document) {}

    QTextCursor cursor;
    bool paragraphClosed = false; // the cursor's block has had its \par
    // The lists that items continue; a deeper level ends with its parent's
    // next item.
    std::map<ListKey, QTextList*> openLists;
};

// A table cell's definition in \trowd.
struct CellDefinition {
    int right = 0; // \cellx, in twips
    bool mergeNext = false;
    bool verticalMergeFirst = false;
    bool verticalMergeNext = false;
};

// A table being read: its cells' paragraphs go into a document of their own
// until the table ends and its shape is known (Word writes a row's cell
// widths after its cells).
struct TableBuilder {
    TableBuilder()
        : sink(&document) {
        document.setUndoRedoEnabled(false);
    }

    struct Cell {
        int firstBlock;
        int lastBlock;
    };

    QTextDocument document;
    Sink sink;
    std::vector<std::vector<Cell>> rows;
    std::vector<std::vector<CellDefinition>> definitions; // of each row
    std::vector<Cell> cells;                              // of the row being read
    int firstBlock = 0;                                   // of the cell being read
};

// A footnote's text in the file, read when the document's text is done.
struct Footnote {
    const unsigned char* begin = nullptr;
    const unsigned char* end = nullptr;
    GroupState state;
    int number = 0;
};

// Reads one document; readRtf makes one for each call.
class Reader {
public:
    explicit Reader(QByteArrayView bytes);
    ~Reader();

    std::unique_ptr<QTextDocument> read();

private:
    // Tokenizer
    void readTokens();
    void readControl();
    void readText();
    void readFontName(const unsigned char* start);
    void readColorEntries(const unsigned char* start);
    void readHexByte();
    void readWord();
    void skipBinary(int length);
    void readFootnotes();
    // Groups
    void openGroup();
    void closeGroup();
    void endDestination(Destination destination);
    // State machine: a handler for each destination, and in the document's
    // text one for each kind of word (RtfWordHandlers.cpp)
    void handleWord(const WordInfo* info, bool hasParameter, int parameter);
    void handleSymbol(unsigned char symbol);
    void handleBodyWord(const ControlWord& word);
    void handleFontTableWord(const ControlWord& word);
    void handleColorTableWord(const ControlWord& word);
    void handleDefaultChpWord(const ControlWord& word);
    void handleListWord(const ControlWord& word);
    void handleNumberingWord(const ControlWord& word);
    void handleDestinationWord(const ControlWord& word);
    void handleDocumentWord(const ControlWord& word);
    void handleCharacterWord(const ControlWord& word);
    void handleParagraphWord(const ControlWord& word);
    void handleTableWord(const ControlWord& word);
    void handleTextWord(const ControlWord& word);
    void handleUnicode(int parameter);
    void handleFootnoteMark();
    void startFootnote();
    // In the tables a word that starts an unknown destination skips it.
    void skipIfDestination(const ControlWord& word);
    // Text
    void putByte(unsigned char byte);
    void putChar(char16_t unit);
    void flushBytes();
    void startRun();
    void flushRun();
    void paragraphBreak();
    // Ends the paragraph being read with its formatting, in a text or a cell.
    void closeParagraph();
    void applyParagraphFormat();
    Sink& out();
    // Tables
    void commitFont();
    void commitColor();
    CodePage& currentCodePage();
    CodePage& codePageFor(int codePage);
    CodePage& fontCodePage(int font);
    const QTextCharFormat& formatFor(const CharState& state);
    // Lists (RtfLists.cpp)
    void emitLabel();
    void commitListLevel();
    void commitList();
    void commitOverride();
    int commitNumbering();
    void commitSectionNumbering();
    void appendListText(char16_t unit);
    QString decodeListText(QStringView text, int font);
    ListLevel levelFromText(int font);
    std::optional<std::pair<ListKey, QTextListFormat>> paragraphList() const;
    void applyList();
    // Tables (RtfTables.cpp)
    int rowDepth() const;
    void syncTables(int depth);
    void startTable();
    void finishTable();
    void endCell(int depth);
    void endRow(int depth);
    void insertTable(const TableBuilder& builder);
    void insertAsParagraphs(const TableBuilder& builder);

    const unsigned char* next_;
    const unsigned char* end_;
    bool done_ = false;
    bool ignorable_ = false; // a \* came first in this group
    int skip_ = 0;           // \u fallback characters still to skip

    std::vector<GroupState> stack_;
    std::size_t overflow_ = 0; // groups opened beyond kMaxGroupDepth
    GroupState state_;

    std::unique_ptr<QTextDocument> document_;
    Sink main_;
    std::vector<std::unique_ptr<TableBuilder>> tables_;
    std::vector<std::vector<CellDefinition>> rows_; // \trowd of each table depth
    CellDefinition cell_;                           // the next \cellx's
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

    // Lists: the definitions by \listid and by \ls, the one being read.
    std::unordered_map<int, ListDefinition> listsById_;
    std::unordered_map<int, ListDefinition> listsByOverride_;
    ListDefinition list_;
    int listId_ = 0;
    int levelIndex_ = 0;
    int levelNumberFormat_ = 0;
    int levelStart_ = 1;
    QString levelText_; // bytes as U+F0hh, to be read in the level's font
    int overrideListId_ = 0;
    int overrideNumber_ = 0;
    // The old numbering: the paragraphs' and the outline levels'.
    std::vector<std::pair<int, QTextListFormat>> numberings_; // level, format
    std::array<Numbering, kMaxListLevels> sectionNumberings_;
    Numbering numbering_;
    bool numberingTextAfter_ = false;
    // The label text of the paragraph being read, shown only where its list
    // is not found.
    std::vector<std::pair<QString, CharState>> label_;

    std::vector<Footnote> footnotes_;
    const unsigned char* footnoteBegin_ = nullptr;
    GroupState footnoteState_;
    int footnoteNumber_ = 0;  // the last footnote's number
    int readingFootnote_ = 0; // the number of the footnote being read

    bool formatValid_ = false;
    CharState formatState_;
    QTextCharFormat format_;
};

} // namespace RtfInternal
