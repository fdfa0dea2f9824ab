#include "RtfReader.h"

#include "Cp1252.h"

#include <QColor>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string_view>
#include <unordered_map>
#include <vector>

// A tokenizer (the bytes cut into groups, control words, control symbols,
// \'hh bytes and text) driving a state machine whose group stack is an
// explicit vector. The text goes into the document run by run, one run per
// stretch of unchanged character state.

namespace {

constexpr std::size_t kMaxGroupDepth = 256;
constexpr std::size_t kMaxNameLength = 32;
constexpr long long kMaxParameter = 2'000'000'000;
constexpr int kMaxHalfPoints = 3276; // 1638 pt, the largest size Word offers
constexpr std::size_t kMaxTableEntries = 1 << 16;
constexpr std::size_t kMaxCodePages = 32;
constexpr char16_t kReplacement = 0xFFFD;

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

const std::unordered_map<std::string_view, WordInfo>& Words() {
    static const std::unordered_map<std::string_view, WordInfo> words = [] {
        std::unordered_map<std::string_view, WordInfo> table{
            {"fonttbl", {Word::FontTable}},
            {"colortbl", {Word::ColorTable}},
            {"defchp", {Word::DefaultChp}},
            {"upr", {Word::Upr}},
            {"ud", {Word::Ud}},
            {"ansi", {Word::Ansi}},
            {"mac", {Word::Mac}},
            {"pc", {Word::Pc}},
            {"pca", {Word::Pca}},
            {"ansicpg", {Word::AnsiCodePage}},
            {"deff", {Word::DefaultFont}},
            {"fcharset", {Word::FontCharset}},
            {"cpg", {Word::FontCodePage}},
            {"red", {Word::Red}},
            {"green", {Word::Green}},
            {"blue", {Word::Blue}},
            {"plain", {Word::Plain}},
            {"b", {Word::Bold}},
            {"i", {Word::Italic}},
            {"ulnone", {Word::UnderlineNone}},
            {"strike", {Word::Strike}},
            {"striked", {Word::Strike}},
            {"f", {Word::Font}},
            {"fs", {Word::FontSize}},
            {"afs", {Word::AssociatedFontSize}},
            {"dbch", {Word::DoubleByte}},
            {"loch", {Word::SingleByte}},
            {"hich", {Word::SingleByte}},
            {"rtlch", {Word::OtherAssociated}},
            {"ltrch", {Word::OtherAssociated}},
            {"cf", {Word::Foreground}},
            {"cb", {Word::Background}},
            {"highlight", {Word::Background}},
            {"chcbpat", {Word::Background}},
            {"pard", {Word::Pard}},
            {"ql", {Word::AlignLeft}},
            {"qc", {Word::AlignCenter}},
            {"qr", {Word::AlignRight}},
            {"qj", {Word::AlignJustify}},
            {"qd", {Word::AlignJustify}},
            {"par", {Word::Par}},
            {"sect", {Word::Par}},
            {"page", {Word::Par}},
            {"column", {Word::Par}},
            {"cell", {Word::Par}},
            {"nestcell", {Word::Par}},
            {"line", {Word::Line}},
            {"tab", {Word::Tab}},
            {"u", {Word::Unicode}},
            {"uc", {Word::UnicodeSkip}},
            {"bin", {Word::Bin}},
            {"emdash", {Word::Character, 0x2014}},
            {"endash", {Word::Character, 0x2013}},
            {"emspace", {Word::Character, 0x2003}},
            {"enspace", {Word::Character, 0x2002}},
            {"qmspace", {Word::Character, 0x2005}},
            {"bullet", {Word::Character, 0x2022}},
            {"lquote", {Word::Character, 0x2018}},
            {"rquote", {Word::Character, 0x2019}},
            {"ldblquote", {Word::Character, 0x201C}},
            {"rdblquote", {Word::Character, 0x201D}},
            {"zwj", {Word::Character, 0x200D}},
            {"zwnj", {Word::Character, 0x200C}},
            {"ltrmark", {Word::Character, 0x200E}},
            {"rtlmark", {Word::Character, 0x200F}},
        };
        for (const std::string_view underline :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
              "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
              "ulwave"}) {
            table.emplace(underline, WordInfo{Word::Underline});
        }
        // Destinations whose text is not the document's.
        for (const std::string_view skipped : {"aftncn",
                                               "aftnsep",
                                               "aftnsepc",
                                               "annotation",
                                               "atnauthor",
                                               "atndate",
                                               "atnid",
                                               "atnref",
                                               "atntime",
                                               "atrfend",
                                               "atrfstart",
                                               "author",
                                               "bkmkend",
                                               "bkmkstart",
                                               "buptim",
                                               "category",
                                               "colorschememapping",
                                               "comment",
                                               "company",
                                               "creatim",
                                               "datafield",
                                               "datastore",
                                               "doccomm",
                                               "docvar",
                                               "falt",
                                               "filetbl",
                                               "fldinst",
                                               "footer",
                                               "footerf",
                                               "footerl",
                                               "footerr",
                                               "footnote",
                                               "ftncn",
                                               "ftnsep",
                                               "ftnsepc",
                                               "generator",
                                               "header",
                                               "headerf",
                                               "headerl",
                                               "headerr",
                                               "hlinkbase",
                                               "info",
                                               "keywords",
                                               "latentstyles",
                                               "listoverridetable",
                                               "listtable",
                                               "manager",
                                               "mmathPr",
                                               "nonshppict",
                                               "object",
                                               "objdata",
                                               "operator",
                                               "panose",
                                               "pict",
                                               "pn",
                                               "pntxta",
                                               "pntxtb",
                                               "printim",
                                               "private",
                                               "revtbl",
                                               "revtim",
                                               "rsidtbl",
                                               "rxe",
                                               "shp",
                                               "shpinst",
                                               "sn",
                                               "sp",
                                               "stylesheet",
                                               "subject",
                                               "sv",
                                               "tc",
                                               "template",
                                               "themedata",
                                               "title",
                                               "txe",
                                               "userprops",
                                               "xe",
                                               "xmlnstbl"}) {
            table.emplace(skipped, WordInfo{Word::SkippedDestination});
        }
        return table;
    }();
    return words;
}

// Code pages whose characters take one or two bytes; all others are read
// byte by byte through a table.
bool IsMultiByte(int codePage) {
    switch (codePage) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361:
    case 10001:
    case 10002:
    case 10003:
    case 10008:
    case 65001:
        return true;
    default:
        return false;
    }
}

QByteArray CodePageName(int codePage) {
    switch (codePage) {
    case 437:
    case 850:
    case 852:
    case 855:
    case 857:
    case 860:
    case 861:
    case 862:
    case 863:
    case 864:
    case 865:
    case 866:
    case 869:
        return "IBM" + QByteArray::number(codePage);
    case 874:
        return "windows-874";
    case 932:
        return "CP932";
    case 936:
        return "GBK";
    case 949:
        return "CP949";
    case 950:
        return "Big5";
    case 1361:
        return "johab";
    case 10000:
        return "macintosh";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 65001:
        return "UTF-8";
    default:
        break;
    }
    if (codePage >= 1250 && codePage <= 1258) {
        return "windows-" + QByteArray::number(codePage);
    }
    if (codePage >= 28591 && codePage <= 28606) {
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    }
    return "CP" + QByteArray::number(codePage);
}

// The code page of a font's \fcharset; 0 for the document's own (\ansicpg).
int CharsetCodePage(int charset) {
    switch (charset) {
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0; // ANSI, default, symbol and unknown sets
    }
}

// How the bytes of one code page become characters.
struct CodePage {
    bool multiByte = false;
    std::array<char16_t, 256> table{};
    QStringDecoder decoder;
};

std::unique_ptr<CodePage> MakeCodePage(int codePage) {
    auto page = std::make_unique<CodePage>();
    for (int byte = 0; byte < 256; ++byte) {
        page->table[static_cast<std::size_t>(byte)] =
            DecodeCp1252Byte(static_cast<unsigned char>(byte));
    }
    if (codePage == 1252) {
        return page;
    }
    QStringDecoder decoder(CodePageName(codePage).constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) {
        return page; // unknown code pages are read as 1252
    }
    if (IsMultiByte(codePage)) {
        page->multiByte = true;
        page->decoder = std::move(decoder);
        return page;
    }
    for (int byte = 0x80; byte < 256; ++byte) {
        const char single = static_cast<char>(byte);
        const QString decoded = decoder.decode(QByteArrayView(&single, 1));
        page->table[static_cast<std::size_t>(byte)] =
            decoded.size() == 1 ? decoded.front().unicode() : kReplacement;
    }
    return page;
}

struct FontEntry {
    QString name;
    int codePage = 0; // 0: the document's
};

// Characters that would change the document's structure if inserted as
// text: the paragraph separator and Qt's frame marks; the object mark.
bool IsStructural(char16_t unit) {
    return unit == 0x2029 || unit == 0xFDD0 || unit == 0xFDD1 || unit == 0xFFFC;
}

bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

int HexValue(unsigned char c) {
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

// Unpaired UTF-16 surrogates become U+FFFD.
void RepairSurrogates(QString& text) {
    const qsizetype size = text.size();
    QChar* data = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i].isHighSurrogate() && i + 1 < size && data[i + 1].isLowSurrogate()) {
            ++i;
        } else if (data[i].isSurrogate()) {
            data[i] = QChar(kReplacement);
        }
    }
}

class Reader {
public:
    explicit Reader(QByteArrayView bytes)
        : next_(reinterpret_cast<const unsigned char*>(bytes.data()))
        , end_(next_ + bytes.size())
        , document_(std::make_unique<QTextDocument>())
        , cursor_(document_.get()) {
        stack_.reserve(64);
    }

    std::unique_ptr<QTextDocument> Read();

private:
    // Tokenizer
    void ReadControl();
    void ReadText();
    // Groups
    void OpenGroup();
    void CloseGroup();
    // State machine
    void HandleWord(const WordInfo* info, bool hasParameter, int parameter);
    void HandleSymbol(unsigned char symbol);
    void SkipBinary(int length);
    // Text
    void PutByte(unsigned char byte);
    void PutChar(char16_t unit);
    void FlushBytes();
    void StartRun();
    void FlushRun();
    void ParagraphBreak();
    void ApplyAlignment();
    // Tables
    void CommitFont();
    void CommitColor();
    CodePage& CurrentCodePage();
    CodePage& CodePageFor(int codePage);
    const QTextCharFormat& FormatFor(const CharState& state);

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

std::unique_ptr<QTextDocument> Reader::Read() {
    document_->setUndoRedoEnabled(false);
    // One edit block for the whole reading keeps each insertion from laying
    // out its paragraph again.
    cursor_.beginEditBlock();
    while (next_ < end_ && !done_) {
        const unsigned char c = *next_;
        switch (c) {
        case '{':
            ++next_;
            OpenGroup();
            break;
        case '}':
            ++next_;
            CloseGroup();
            break;
        case '\\':
            ++next_;
            ReadControl();
            break;
        case '\r':
        case '\n':
            ++next_;
            break;
        default:
            ReadText();
            break;
        }
    }
    FlushBytes();
    FlushRun();
    if (!paragraphClosed_) {
        ApplyAlignment();
    }
    cursor_.endEditBlock();
    document_->setUndoRedoEnabled(true);
    return std::move(document_);
}

void Reader::OpenGroup() {
    FlushBytes();
    skip_ = 0;
    ignorable_ = false;
    if (stack_.size() >= kMaxGroupDepth) {
        ++overflow_;
        return;
    }
    stack_.push_back(state_);
}

void Reader::CloseGroup() {
    FlushBytes();
    skip_ = 0;
    ignorable_ = false;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (state_.destination == Destination::FontTable) {
        CommitFont();
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

void Reader::ReadControl() {
    if (next_ == end_) {
        return;
    }
    const unsigned char first = *next_;
    if (first == '\'') {
        ++next_;
        int value = 0;
        int digits = 0;
        while (digits < 2 && next_ < end_) {
            const int hex = HexValue(*next_);
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
            PutByte(static_cast<unsigned char>(value));
        }
        return;
    }
    FlushBytes();
    if (!IsLetter(first)) {
        ++next_;
        if (skip_ > 0) {
            --skip_;
            return;
        }
        HandleSymbol(first);
        return;
    }

    const unsigned char* nameStart = next_;
    while (next_ < end_ && IsLetter(*next_)) {
        ++next_;
    }
    const std::string_view name(reinterpret_cast<const char*>(nameStart),
                                static_cast<std::size_t>(next_ - nameStart));
    bool hasParameter = false;
    bool negative = false;
    long long value = 0;
    if (next_ < end_ && *next_ == '-' && next_ + 1 < end_ && IsDigit(next_[1])) {
        negative = true;
        ++next_;
    }
    while (next_ < end_ && IsDigit(*next_)) {
        hasParameter = true;
        value = std::min(value * 10 + (*next_ - '0'), kMaxParameter);
        ++next_;
    }
    if (next_ < end_ && *next_ == ' ') {
        ++next_; // the delimiter belongs to the control word
    }
    const int parameter = static_cast<int>(negative ? -value : value);

    const WordInfo* info = nullptr;
    if (name.size() <= kMaxNameLength) {
        const auto& words = Words();
        if (const auto found = words.find(name); found != words.end()) {
            info = &found->second;
        }
    }
    if (info != nullptr && info->word == Word::Bin) {
        // The data is skipped whether the \bin is read or itself skipped.
        SkipBinary(hasParameter ? parameter : 0);
        if (skip_ > 0) {
            --skip_;
        }
        return;
    }
    if (skip_ > 0) {
        --skip_;
        return;
    }
    HandleWord(info, hasParameter, parameter);
}

void Reader::SkipBinary(int length) {
    const auto remaining = static_cast<std::size_t>(end_ - next_);
    next_ += std::min(static_cast<std::size_t>(std::max(length, 0)), remaining);
}

void Reader::HandleSymbol(unsigned char symbol) {
    switch (symbol) {
    case '*':
        ignorable_ = true;
        return;
    case '\\':
    case '{':
    case '}':
        PutChar(symbol);
        return;
    case '~':
        PutChar(0x00A0);
        return;
    case '-':
        PutChar(0x00AD);
        return;
    case '_':
        PutChar(0x2011);
        return;
    case '\t':
        PutChar(u'\t');
        return;
    case '\r':
    case '\n':
        ParagraphBreak();
        return;
    default:
        return; // \: \| and unknown symbols
    }
}

void Reader::HandleWord(const WordInfo* info, bool hasParameter, int parameter) {
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
            CommitFont();
            fontNumber_ = parameter;
            return;
        case Word::FontCharset:
            fontCharsetPage_ = CharsetCodePage(parameter);
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
        CommitFont();
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
        ParagraphBreak();
        return;
    case Word::Line:
        PutChar(QChar::LineSeparator);
        return;
    case Word::Tab:
        PutChar(u'\t');
        return;
    case Word::Character:
        PutChar(info->character);
        return;
    case Word::Unicode: {
        int value = parameter;
        if (value < 0 && value >= -32768) {
            value += 65536;
        }
        PutChar(value >= 0 && value <= 0xFFFF ? static_cast<char16_t>(value) : kReplacement);
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

void Reader::ReadText() {
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
        CodePage& page = CurrentCodePage();
        if (page.multiByte) {
            for (const unsigned char* c = start; c < next_; ++c) {
                PutByte(*c);
            }
            return;
        }
        StartRun();
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
                CommitFont();
            } else {
                PutByte(*c);
            }
        }
        return;
    case Destination::ColorTable:
        for (const unsigned char* c = start; c < next_; ++c) {
            if (*c == ';') {
                CommitColor();
            }
        }
        return;
    default:
        return;
    }
}

CodePage& Reader::CodePageFor(int codePage) {
    if (const auto found = codePages_.find(codePage); found != codePages_.end()) {
        return *found->second;
    }
    if (codePages_.size() >= kMaxCodePages && codePage != 1252) {
        return CodePageFor(1252);
    }
    return *codePages_.emplace(codePage, MakeCodePage(codePage)).first->second;
}

CodePage& Reader::CurrentCodePage() {
    int codePage = 0;
    if (state_.destination == Destination::FontTable) {
        codePage = fontCodePage_ > 0 ? fontCodePage_ : fontCharsetPage_;
    } else {
        const int font = state_.chr.font >= 0 ? state_.chr.font : deff_;
        if (const auto found = fonts_.find(font); found != fonts_.end()) {
            codePage = found->second.codePage;
        }
    }
    return CodePageFor(codePage > 0 ? codePage : documentCodePage_);
}

void Reader::PutByte(unsigned char byte) {
    if (state_.destination != Destination::Text && state_.destination != Destination::FontTable) {
        return;
    }
    CodePage& page = CurrentCodePage();
    if (!page.multiByte) {
        PutChar(page.table[byte]);
        return;
    }
    if (pendingPage_ != &page) {
        FlushBytes();
        pendingPage_ = &page;
    }
    pendingBytes_.push_back(byte);
}

void Reader::FlushBytes() {
    if (pendingBytes_.empty()) {
        return;
    }
    const QString text = pendingPage_->decoder.decode(
        QByteArrayView(reinterpret_cast<const char*>(pendingBytes_.data()),
                       static_cast<qsizetype>(pendingBytes_.size())));
    pendingBytes_.clear();
    for (const QChar ch : text) {
        PutChar(ch.unicode());
    }
}

void Reader::PutChar(char16_t unit) {
    if ((unit < 0x20 && unit != u'\t') || IsStructural(unit)) {
        if (unit == 0x2029) {
            ParagraphBreak();
        }
        return;
    }
    if (!pendingBytes_.empty()) {
        FlushBytes();
    }
    switch (state_.destination) {
    case Destination::Text:
        StartRun();
        run_.append(QChar(unit));
        return;
    case Destination::FontTable:
        if (fontName_.size() < 1024) {
            fontName_.append(QChar(unit));
        }
        return;
    default:
        return;
    }
}

// Makes the run take the current character state, ending the one before.
void Reader::StartRun() {
    if (!(runState_ == state_.chr)) {
        FlushRun();
        runState_ = state_.chr;
    }
}

void Reader::FlushRun() {
    if (run_.isEmpty()) {
        return;
    }
    if (paragraphClosed_) {
        cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
        paragraphClosed_ = false;
    }
    RepairSurrogates(run_);
    cursor_.insertText(run_, FormatFor(runState_));
    run_.resize(0);
}

void Reader::ParagraphBreak() {
    if (state_.destination != Destination::Text) {
        return;
    }
    FlushRun();
    if (paragraphClosed_) {
        cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
    ApplyAlignment();
    paragraphClosed_ = true;
}

void Reader::ApplyAlignment() {
    Qt::Alignment alignment;
    switch (state_.align) {
    case Align::Left:
        return;
    case Align::Center:
        alignment = Qt::AlignHCenter;
        break;
    case Align::Right:
        alignment = Qt::AlignRight;
        break;
    case Align::Justify:
        alignment = Qt::AlignJustify;
        break;
    }
    QTextBlockFormat format;
    format.setAlignment(alignment);
    cursor_.setBlockFormat(format);
}

void Reader::CommitFont() {
    FlushBytes();
    if (fontNumber_ >= 0 && (fonts_.size() < kMaxTableEntries || fonts_.contains(fontNumber_))) {
        FontEntry& entry = fonts_[fontNumber_];
        entry.name = fontName_.trimmed();
        entry.codePage = fontCodePage_ > 0 ? fontCodePage_ : fontCharsetPage_;
        formatValid_ = false;
    }
    fontNumber_ = -1;
    fontName_.clear();
    fontCharsetPage_ = 0;
    fontCodePage_ = 0;
}

void Reader::CommitColor() {
    if (colors_.size() < kMaxTableEntries) {
        colors_.push_back(red_ < 0 && green_ < 0 && blue_ < 0
                              ? QColor()
                              : QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
        formatValid_ = false;
    }
    red_ = green_ = blue_ = -1;
}

const QTextCharFormat& Reader::FormatFor(const CharState& state) {
    if (formatValid_ && formatState_ == state) {
        return format_;
    }
    QTextCharFormat format;
    if (state.bold) {
        format.setFontWeight(QFont::Bold);
    }
    if (state.italic) {
        format.setFontItalic(true);
    }
    if (state.underline) {
        format.setFontUnderline(true);
    }
    if (state.strike) {
        format.setFontStrikeOut(true);
    }
    if (state.font >= 0) {
        if (const auto found = fonts_.find(state.font);
            found != fonts_.end() && !found->second.name.isEmpty()) {
            format.setFontFamilies(QStringList{found->second.name});
        }
    }
    const int halfPoints = state.doubleByte && state.doubleByteHalfPoints > 0
                               ? state.doubleByteHalfPoints
                               : state.halfPoints;
    if (halfPoints > 0 && halfPoints != defaultHalfPoints_) {
        format.setFontPointSize(halfPoints / 2.0);
    }
    const auto color = [this](int index) {
        return index > 0 && static_cast<std::size_t>(index) < colors_.size()
                   ? colors_[static_cast<std::size_t>(index)]
                   : QColor();
    };
    if (const QColor foreground = color(state.foreground); foreground.isValid()) {
        format.setForeground(foreground);
    }
    if (const QColor background = color(state.background); background.isValid()) {
        format.setBackground(background);
    }
    format_ = format;
    formatState_ = state;
    formatValid_ = true;
    return format_;
}

} // namespace

bool IsRtf(QByteArrayView bytes) {
    return bytes.startsWith("{\\rtf");
}

std::unique_ptr<QTextDocument> ReadRtf(QByteArrayView bytes) {
    if (!IsRtf(bytes)) {
        return nullptr;
    }
    return Reader(bytes).Read();
}
