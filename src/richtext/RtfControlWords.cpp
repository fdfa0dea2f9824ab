#include "RtfControlWords.h"

#include <initializer_list>
#include <unordered_map>

namespace RtfInternal {

namespace {

struct NamedWord {
    std::string_view name;
    Word word;
    char16_t character = 0;
};

using WordTable = std::unordered_map<std::string_view, WordInfo>;

void addWords(WordTable& table, WordKind kind, std::initializer_list<NamedWord> words) {
    for (const NamedWord& word : words) {
        table.emplace(word.name, WordInfo{word.word, kind, word.character});
    }
}

const WordTable& wordTable() {
    static const WordTable words = [] {
        WordTable table;
        addWords(table, WordKind::Destination,
                 {{"fonttbl", Word::FontTable},
                  {"colortbl", Word::ColorTable},
                  {"defchp", Word::DefaultChp},
                  {"upr", Word::Upr},
                  {"ud", Word::Ud},
                  {"listtable", Word::ListTable},
                  {"list", Word::List},
                  {"listlevel", Word::ListLevel},
                  {"leveltext", Word::LevelText},
                  {"listoverridetable", Word::ListOverrideTable},
                  {"listoverride", Word::ListOverride},
                  {"listtext", Word::ListText},
                  {"pntext", Word::ListText},
                  {"pn", Word::Pn},
                  {"pnseclvl", Word::PnSectionLevel},
                  {"pntxta", Word::PnTextAfter},
                  {"pntxtb", Word::PnTextBefore},
                  {"footnote", Word::Footnote},
                  {"nesttableprops", Word::NestTableProps}});
        addWords(table, WordKind::Document,
                 {{"ansi", Word::Ansi},
                  {"mac", Word::Mac},
                  {"pc", Word::Pc},
                  {"pca", Word::Pca},
                  {"ansicpg", Word::AnsiCodePage},
                  {"deff", Word::DefaultFont}});
        addWords(table, WordKind::FontTable,
                 {{"fcharset", Word::FontCharset}, {"cpg", Word::FontCodePage}});
        addWords(table, WordKind::ColorTable,
                 {{"red", Word::Red}, {"green", Word::Green}, {"blue", Word::Blue}});
        addWords(table, WordKind::List,
                 {{"listid", Word::ListId},
                  {"levelnfc", Word::LevelNumberFormat},
                  {"levelnfcn", Word::LevelNumberFormat},
                  {"levelstartat", Word::LevelStartAt},
                  {"pnlvlbody", Word::PnLevelBody},
                  {"pnlvlblt", Word::PnLevelBullet},
                  {"pnlvlcont", Word::PnLevelContinue},
                  {"pnlvl", Word::PnLevel},
                  {"pndec", Word::PnStyle, u'd'},
                  {"pnord", Word::PnStyle, u'd'},
                  {"pncard", Word::PnStyle, u'd'},
                  {"pnordt", Word::PnStyle, u'd'},
                  {"pnucrm", Word::PnStyle, u'R'},
                  {"pnlcrm", Word::PnStyle, u'r'},
                  {"pnucltr", Word::PnStyle, u'A'},
                  {"pnlcltr", Word::PnStyle, u'a'},
                  {"pnstart", Word::PnStart},
                  {"pnf", Word::PnFont}});
        addWords(table, WordKind::Table,
                 {{"trowd", Word::RowDefaults},
                  {"cellx", Word::CellRight},
                  {"clmgf", Word::MergeFirst},
                  {"clmrg", Word::MergeNext},
                  {"clvmgf", Word::VerticalMergeFirst},
                  {"clvmrg", Word::VerticalMergeNext}});
        addWords(table, WordKind::Character,
                 {{"plain", Word::Plain},
                  {"b", Word::Bold},
                  {"i", Word::Italic},
                  {"ulnone", Word::UnderlineNone},
                  {"strike", Word::Strike},
                  {"striked", Word::Strike},
                  {"f", Word::Font},
                  {"fs", Word::FontSize},
                  {"afs", Word::AssociatedFontSize},
                  {"dbch", Word::DoubleByte},
                  {"loch", Word::SingleByte},
                  {"hich", Word::SingleByte},
                  {"rtlch", Word::OtherAssociated},
                  {"ltrch", Word::OtherAssociated},
                  {"cf", Word::Foreground},
                  {"cb", Word::Background},
                  {"highlight", Word::Background},
                  {"chcbpat", Word::Background},
                  {"super", Word::Superscript},
                  {"sub", Word::Subscript},
                  {"nosupersub", Word::NoSuperSub}});
        addWords(table, WordKind::Paragraph,
                 {{"pard", Word::Pard},
                  {"ql", Word::AlignLeft},
                  {"qc", Word::AlignCenter},
                  {"qr", Word::AlignRight},
                  {"qj", Word::AlignJustify},
                  {"qd", Word::AlignJustify},
                  {"ls", Word::ListOverrideNumber},
                  {"ilvl", Word::ListLevelNumber},
                  {"intbl", Word::InTable},
                  {"itap", Word::TableDepth}});
        addWords(table, WordKind::Text,
                 {{"par", Word::Par},
                  {"sect", Word::Par},
                  {"page", Word::Par},
                  {"column", Word::Par},
                  {"cell", Word::Cell},
                  {"nestcell", Word::NestedCell},
                  {"row", Word::Row},
                  {"nestrow", Word::NestedRow},
                  {"chftn", Word::FootnoteMark},
                  {"line", Word::Line},
                  {"tab", Word::Tab},
                  {"u", Word::Unicode},
                  {"uc", Word::UnicodeSkip},
                  {"bin", Word::Bin},
                  {"emdash", Word::Character, 0x2014},
                  {"endash", Word::Character, 0x2013},
                  {"emspace", Word::Character, 0x2003},
                  {"enspace", Word::Character, 0x2002},
                  {"qmspace", Word::Character, 0x2005},
                  {"bullet", Word::Character, 0x2022},
                  {"lquote", Word::Character, 0x2018},
                  {"rquote", Word::Character, 0x2019},
                  {"ldblquote", Word::Character, 0x201C},
                  {"rdblquote", Word::Character, 0x201D},
                  {"zwj", Word::Character, 0x200D},
                  {"zwnj", Word::Character, 0x200C},
                  {"ltrmark", Word::Character, 0x200E},
                  {"rtlmark", Word::Character, 0x200F}});
        for (const std::string_view underline :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
              "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
              "ulwave"}) {
            table.emplace(underline, WordInfo{Word::Underline, WordKind::Character});
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
                                               "levelnumbers",
                                               "lfolevel",
                                               "listname",
                                               "listpicture",
                                               "liststylename",
                                               "manager",
                                               "mmathPr",
                                               "nonshppict",
                                               "nonesttables",
                                               "object",
                                               "objdata",
                                               "operator",
                                               "panose",
                                               "pict",
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
            table.emplace(skipped, WordInfo{Word::SkippedDestination, WordKind::Destination});
        }
        return table;
    }();
    return words;
}

} // namespace

const WordInfo* findWord(std::string_view name) {
    const auto& words = wordTable();
    const auto found = words.find(name);
    return found != words.end() ? &found->second : nullptr;
}

} // namespace RtfInternal
