// The RTF reader, one table of small documents and what it makes of them.
#include "DocumentText.h"
#include "RtfReader.h"

#include <QTextDocument>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

// Fonts 0 to 2 and colours 1 (red) and 2 (blue).
constexpr std::string_view kHead =
    R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;})"
    R"({\f2\fmodern\fcharset204 Courier Cyr;}}{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})";

struct ReadCase {
    const char* name;
    std::string_view rtf; // after kHead when it doesn't begin with "{\rtf"
    const char* expected; // describe() of the document, UTF-8
};

QString describeRtf(std::string_view rtf) {
    std::string bytes(rtf);
    if (!rtf.starts_with("{\\rtf")) {
        bytes = std::string(kHead) + bytes;
    }
    const auto document =
        readRtf(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return document ? describe(*document) : QStringLiteral("(not RTF)");
}

const ReadCase kReadCases[] = {
    // Text and paragraphs
    {"Paragraphs", R"(\pard One\par Two\par})", "One\nTwo"},
    {"TextAfterTheLastPar", R"(One\par Two})", "One\nTwo"},
    {"EmptyParagraphs", R"(One\par\par\par Four\par})", "One\n\n\nFour"},
    {"EmptyDocument", R"(})", ""},
    {"LineAndTab", R"(a\line b\tab c})", "a|b\tc"},
    {"ControlSymbols", R"(\{x\} \\ a\~b\-c\_d})", "{x} \\ a\u00a0b\u00adc\u2011d"},
    {"NamedCharacters", R"(\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})", "—–•‘’“”"},
    {"LineEndsInTheFileAreNoText", "a\r\nb\nc\r}", "abc"},
    {"BackslashNewlineIsPar", "a\\\nb}", "a\nb"},
    {"ControlCharactersAreDropped", "a\x01\0b\x7f\tc\\'07}"sv, "ab\x7f\tc"},
    {"ParagraphSeparatorIsPar", R"(a\u8233?b})", "a\nb"},
    // Character formatting
    {"Styles", R"({\b b}{\i i}{\ul u}{\strike s}{\b\i\ul\strike all}})",
     "[b]b[i]i[u]u[s]s[b i u s]all"},
    {"TogglesOffWithZero", R"(\b\i\ul\strike x\b0 y\i0\ul0\striked0 z})", "[b i u s]x[i u s]y[]z"},
    {"UnderlineKinds", R"({\uldb a}{\ulwave b}{\ul c\ulnone d}{\ulc1 e}})", "[u]abc[]de"},
    {"PlainResets", R"(\b\cf1\f1\fs30 x\plain y})", "[b f=Times New Roman pt=15 fg=#ff0000]x[]y"},
    {"GroupsRestore", R"(a{\b b{\i c}d}e})", "a[b]b[b i]c[b]d[]e"},
    {"PardKeepsCharacterFormat", R"(\b x\pard y})", "[b]xy"},
    // Fonts and sizes
    {"TextWithoutFontHasNoFamily", R"(a\f1 b\plain c})", "a[f=Times New Roman]b[]c"},
    {"ExplicitFontsHaveTheirFamily", R"(\f0 a\f1 b\f9 c})", "[f=Arial]a[f=Times New Roman]b[]c"},
    {"DefaultSizeOfDefchpIsNoSize", R"({\*\defchp\f1\fs20}\fs20 a\fs24 b})", "a[pt=12]b"},
    {"SizeInHalfPoints", R"(\fs21 a})", "[pt=10.5]a"},
    {"DoubleByteSizeAfterDbch", R"(\fs20 a{\dbch\afs30\dbch b}{\rtlch\afs40\ltrch c}{\dbch d})",
     "[pt=10]a[pt=15]b[pt=10]cd"},
    {"SizesOutOfRange", R"(\fs99999999999999999999 a\fs0 b\fs-4 c})", "[pt=1638]a[]bc"},
    {"OldStyleFontTable", R"({\rtf1\deff0{\fonttbl\f0\fswiss Helvetica;\f1\froman Times;}\f1 x})",
     "[f=Times]x"},
    {"FontTableExtras",
     R"({\rtf1{\fonttbl{\f1\fnil{\*\panose 0}Liberation Serif{\*\falt Times};}}\f1 x})",
     "[f=Liberation Serif]x"},
    {"FontNameInTheFontsCodePage", R"({\rtf1{\fonttbl{\f1\fcharset204 \'cc\'ee\'e9;}}\f1 x})",
     "[f=Мой]x"},
    // Colours
    {"Foreground", R"(\cf1 red\cf2 blue\cf0 none\cf7 unknown})",
     "[fg=#ff0000]red[fg=#0000ff]blue[]noneunknown"},
    {"Background", R"({\highlight1 a}{\cb2 b}{\chcbpat1 c}{\highlight0 d}})",
     "[bg=#ff0000]a[bg=#0000ff]b[bg=#ff0000]c[]d"},
    {"AutoColourEntries",
     R"({\rtf1{\colortbl;\red1\green2\blue3;;\red0\green0\blue0;}\cf2 a\cf3 b\cf1 c})",
     "a[fg=#000000]b[fg=#010203]c"},
    {"ColourZeroIsNone", R"({\rtf1{\colortbl\red9\green9\blue9;}\cf0 x})", "x"},
    // Paragraph alignment
    {"Alignment", R"(\pard\qc c\par\pard\qr r\par\pard\qj j\par\pard l\par\qc last})",
     "<c>c\n<r>r\n<j>j\nl\n<c>last"},
    // Code pages
    {"Cp1252Bytes", R"(K\'e4se \'80 \'93q\'94})", "Käse € “q”"},
    {"AnsiCodePage", R"({\rtf1\ansi\ansicpg1251 \'cc\'e8\'f0})", "Мир"},
    {"FontCharsets",
     R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}{\f1\fcharset204 Cyr;}{\f2\fcharset161 Greek;}})"
     R"(\f1\'cc\'e8\'f0 \f2\'c1\'e8 \f0\'e4})",
     "[f=Cyr]Мир [f=Greek]Αθ [f=Arial]ä"},
    {"FontCodePageWinsOverCharset", R"({\rtf1{\fonttbl{\f1\fcharset0\cpg1251 X;}}\f1\'e0})",
     "[f=X]а"},
    {"DoubleByteCodePage",
     R"({\rtf1\ansi\deff0{\fonttbl{\f0\fcharset128 Mincho;}}\'82\'a0\'93\'fa})", "あ日"},
    {"DoubleByteTrailByteAsText", R"({\rtf1\ansi\deff0{\fonttbl{\f0\fcharset128 Mincho;}}\'83A})",
     "ア"},
    {"MacCodePage", R"({\rtf1\mac \'8a})", "ä"},
    {"UnknownCodePageIsCp1252", R"({\rtf1\ansi\ansicpg99999 \'e4})", "ä"},
    {"AnsiCharsetIsCp1252InAJapaneseDocument",
     R"({\rtf1\ansi\ansicpg932{\fonttbl{\f0\fcharset0 Times;}}\f0 c\'85 x\par})", "[f=Times]c… x"},
    {"AnsiCharsetIsCp1252InAChineseDocument",
     R"({\rtf1\ansi\ansicpg950{\fonttbl{\f0\fcharset0 Times;}}\f0\'a9\par})", "[f=Times]©"},
    {"DefaultCharsetTakesTheDocumentsCodePage",
     R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset1 X;}}\f0\'e0})", "[f=X]а"},
    {"MacJapanese", R"({\rtf1\mac\ansicpg10001 \'82\'a0})", "あ"},
    {"MacJapaneseCharset", R"({\rtf1{\fonttbl{\f0\fcharset78 Osaka;}}\f0\'93\'fa})", "[f=Osaka]日"},
    {"MacCyrillic", R"({\rtf1\mac\ansicpg10007 \'80\'e0})", "Аа"},
    {"MacCodePageQtCannotReadIsCp1252", R"({\rtf1\mac\ansicpg10004 \'e4})", "ä"},
    {"SymbolFont",
     R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}}\f1 a\'b7\u-3913?\f0\'b7})",
     "[f=Symbol]α••[f=Arial]·"},
    {"WingdingsBullet", R"({\rtf1{\fonttbl{\f1\fcharset2 Wingdings;}}\f1\'a7\'d8})",
     "[f=Wingdings]▪➢"},
    // Superscript, subscript and footnotes
    {"SuperAndSubscript", R"(H{\sub 2}O x{\super 2}{\super\nosupersub 3}})",
     "H[sub]2[]O x[sup]2[]3"},
    {"FootnotesFollowTheTextWithTheirNumbers",
     R"(\pard Text{\super\chftn}{\footnote\pard{\super\chftn} First.} and{\chftn)"
     R"({\footnote\pard\chftn  Second,\par two paragraphs.}} end\par})",
     "Text[sup]1[] and[sup]2[] end\n[sup]1[] First.\n[sup]2[] Second,\ntwo paragraphs."},
    {"FootnoteWithoutEndAndInATable",
     R"(\trowd\cellx900\pard\intbl A{\chftn{\footnote B}}\cell\row\pard C{\footnote D)",
     "\n(0,0)A[sup]1\nC\nB\nD"},
    // Lists
    {"OldNumbering",
     R"(\pard{\pntext 1.\tab}{\*\pn\pnlvlbody\pndec\pnstart1{\pntxta .}}Alpha\par)"
     R"({\pntext 2.\tab}Beta\par\pard Plain\par})",
     "<1.>Alpha\n<2.>Beta\nPlain"},
    {"OldBulletInTheSymbolFont",
     R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}})"
     R"(\pard{\pntext\f1\'b7\tab}{\*\pn\pnlvlblt\pnf1{\pntxtb\'b7}}a\par})",
     "<•>a"},
    {"OldOutlineLevels",
     R"({\*\pnseclvl1\pnucrm\pnstart1{\pntxta .}}{\*\pnseclvl2\pnlcltr\pnstart1{\pntxta )}})"
     R"(\pard{\*\pn\pnlvl1}One\par\pard{\*\pn\pnlvl2}a\par\pard{\*\pn\pnlvl2}b\par)"
     R"(\pard{\*\pn\pnlvl1}Two\par\pard{\*\pn\pnlvl2}c\par\pard{\*\pn\pnlvlcont}d\par})",
     "<I.>One\n<2:a)>a\n<2:b)>b\n<II.>Two\n<2:a)>c\nd"},
    {"ListTable",
     R"({\*\listtable{\list{\listlevel\levelnfc0\levelstartat1{\leveltext\'02\'00.;}})"
     R"({\listlevel\levelnfc4\levelstartat3{\leveltext\'03(\'01);}}\listid5}})"
     R"({\*\listoverridetable{\listoverride\listid5\listoverridecount0\ls1}})"
     R"({\listtext 1.\tab}\pard\ls1 Alpha\par{\listtext (c)\tab}\pard\ls1\ilvl1 sub\par)"
     R"({\listtext 2.\tab}\pard\ls1 Beta\par\pard Text\par\pard\ls1\ilvl1 again\par\pard\ls1 Gamma\par})",
     "<1.>Alpha\n<2:(c)>sub\n<2.>Beta\nText\n<2:(c)>again\n<3.>Gamma"},
    {"ListLevelsInOtherFonts",
     R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}{\f2\fcharset2 Wingdings;}})"
     R"({\*\listtable{\list{\listlevel\levelnfc23{\leveltext\'01\u-3913 ?;}\f1})"
     R"({\listlevel\levelnfc23{\leveltext\'01o;}\f0}{\listlevel\levelnfc23{\leveltext\'01\'a7;}\f2})"
     R"({\listlevel\levelnfc1\levelstartat4{\leveltext\'02\'03.;}}\listid1}})"
     R"({\*\listoverridetable{\listoverride\listid1\ls2}})"
     R"(\pard\ls2 a\par\pard\ls2\ilvl1 b\par\pard\ls2\ilvl2 c\par\pard\ls2\ilvl3 d\par})",
     "<•>a\n<2:o>b\n<3:▪>c\n<4:IV.>d"},
    {"LabelTextStaysWhereNoListIsFound",
     R"({\listtext\b 1.\tab}\pard\ls7 x\par{\pntext\tab}\pard y\par})", "[b]1.\t[]x\n\ty"},
    // Tables
    {"TableRowsAndCells",
     R"(\pard before\par\trowd\cellx1000\cellx2000\pard\intbl A\cell\qc B\cell\row)"
     R"(\trowd\cellx1000\cellx2000\pard\intbl{\b C}\par c\cell\cell\row\pard after\par})",
     "before\n(0,0)A\n(0,1)<c>B\n(1,0)[b]C\n(1,0)c\n(1,1)\nafter"},
    {"TableAtTheStartFollowsAnEmptyParagraph",
     R"(\trowd\cellx1000\pard\intbl A\cell\row\pard after\par})", "\n(0,0)A\nafter"},
    {"RowDefinitionAfterTheCells",
     R"(x\par\pard\intbl A\cell B\cell\pard\intbl{\trowd\cellx500\cellx2000\row})"
     R"(\pard\intbl C\cell\pard\intbl{\trowd\cellx2000\row}})",
     "x\n(0,0)A\n(0,1)B\n(1,0 1x2)C\n"},
    {"MergedCells",
     R"(x\par\trowd\clvmgf\cellx1000\clmgf\cellx2000\clmrg\cellx3000\pard\intbl A\cell B\cell\cell\row)"
     R"(\trowd\clvmrg\cellx1000\cellx2000\cellx3000\pard\intbl\cell C\cell D\cell\row}})",
     "x\n(0,0 2x1)A\n(0,1 1x2)B\n(1,1)C\n(1,2)D\n"},
    {"MergedCellsKeepTheirText",
     R"(x\par\trowd\cellx1000\clmrg\cellx2000\pard\intbl A\cell B\cell\row})",
     "x\n(0,0)A\n(0,0)B\n"},
    {"NestedTable",
     R"(\trowd\cellx1000\cellx2000\pard\intbl east\cell\pard\intbl\itap2 in1\nestcell in2\nestcell)"
     R"({\*\nesttableprops\trowd\cellx500\cellx900\nestrow}{\nonesttables\par}\pard\intbl\cell\row)"
     R"(\pard After\par})",
     "\n(0,0)east\n(0,1)\n(0,1)(0,0)in1\n(0,1)(0,1)in2\n(0,1)\nAfter"},
    {"ListItemsStartingMergedCells",
     R"(\trowd\clvmgf\cellx1000\cellx2000\intbl{\*\pn\pnlvlblt{\pntxtb o}}A\cell B\cell\row)"
     R"(\trowd\clvmrg\cellx1000\cellx2000\pard\intbl x\cell\cell\row})",
     "\n(0,0 2x1)<o>A\n(0,0 2x1)x\n(0,1)<o>B\n(1,1)\n"},
    {"TableLeftOpen", R"(\trowd\cellx100\pard\intbl A\cell B)", "\n(0,0)A\n(0,1)B\n"},
    {"CellWithoutTable", R"(a\cell b\row c})", "a\n(0,0)\nbc"},
    // Unicode
    {"UnicodeWithFallback", R"(\u228\'e4 \u8364? \u-10179?\u-8704?})", "ä € 😀"},
    {"UnicodeSkipCount", R"({\uc2\u26085\'93\'fa x}\u26085 y})", "日 x日"},
    {"UnicodeSkipZero", R"(\uc0\u26085 x})", "日x"},
    {"FallbackEndsAtTheGroup", R"({\uc3\u26085}x})", "日x"},
    {"UnicodeOutOfRange", R"(\u70000?\u-40000?})", "\uFFFD\uFFFD"},
    {"LoneSurrogate", R"(\u-10179?x})", "\uFFFDx"},
    {"UnicodeControlCharacterDropped", R"(\u7?x})", "x"},
    {"UprReadsItsUnicodePart", R"({\upr{ansi}{\*\ud{uni}}}})", "uni"},
    // Destinations
    {"SkippedDestinations",
     R"({\*\generator W;}{\info{\title T}}{\stylesheet{\s0 Normal;}}{\*\unknown x})"
     R"({\header H}{\nonesttables N}{\pict\bin3 {}\}visible})",
     "visible"},
    {"UnknownDestinationWithoutStarShowsItsText", R"({\foo shown}})", "shown"},
    {"FieldResult", R"({\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}} after})", "link after"},
    {"ParInASkippedGroupIsNoBreak", R"({\*\x a\par b}c})", "c"},
    {"TablesInSkippedGroupsAreNotRead", R"({\*\x {\fonttbl{\f7 Bad;}}}\f7 x})", "x"},
    // As WordPad and other Windows rich-text boxes write
    {"WordPadStyle",
     R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang1031{\fonttbl{\f0\fnil\fcharset0 Calibri;}})"
     R"({\*\generator Riched20 10.0.19041}\viewkind4\uc1 \pard\sa200\sl276\slmult1\f0\fs22\lang7 )"
     R"(Hallo \b Welt\b0 , gr\'fc\'dfe\par})",
     "[f=Calibri pt=11]Hallo [b f=Calibri pt=11]Welt[f=Calibri pt=11], grüße"},
    {"WindowsBoxStyle",
     R"({\rtf1\ansi\ansicpg1252\deff0\deflang1031{\fonttbl{\f0\fnil\fcharset0 Tahoma;}})"
     "\r\n"
     R"({\colortbl ;\red255\green0\blue0;}\viewkind4\uc1\pard\cf1\f0\fs17 rot\cf0  normal\par)"
     "\r\n"
     R"(\par})",
     "[f=Tahoma pt=8.5 fg=#ff0000]rot[f=Tahoma pt=8.5] normal\n"},
    // Malformed input
    {"UnclosedGroups", R"({\rtf1 a{\b b)", "a[b]b"},
    {"ExtraClosingBraceEndsTheDocument", R"({\rtf1 a}} b})", "a"},
    {"TextAfterTheDocument", R"({\rtf1 a}{\rtf1 b})", "a"},
    {"BinBeyondTheEnd", R"({\rtf1 a\bin999999 xyz)", "a"},
    {"HugeBin", R"({\rtf1 a\bin99999999999999999999 xyz})", "a"},
    {"NegativeBin", R"({\rtf1 a\bin-5 b})", "ab"},
    {"TruncatedHexEscape", R"({\rtf1 a\'4)", "a"},
    {"BadHexEscapes", R"({\rtf1 a\'zzb\'4g})", "azzbg"},
    {"BackslashAtTheEnd", R"({\rtf1 a\)", "a"},
    {"OverlongControlWord", R"({\rtf1 a\bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb b})",
     "ab"},
    {"HugeParameters", R"(\cf9999999999999 a\f-99999999999 b{\uc99999999999 \u65 cd}e})", "abAe"},
    {"MinusWithoutDigits", R"(\b- x})", "[b]- x"},
};

void PrintTo(const ReadCase& readCase, std::ostream* out) {
    *out << readCase.name;
}

class ReadRtfTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadRtfTest, Reads) {
    EXPECT_EQ(describeRtf(GetParam().rtf), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadRtfTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ReadRtf, OnlyBytesBeginningWithTheRtfMarkAreRtf) {
    EXPECT_TRUE(isRtf("{\\rtf1 x}"));
    EXPECT_TRUE(isRtf("{\\rtf"));
    for (const char* notRtf : {"", "{\\rt", " {\\rtf1 x}", "\xEF\xBB\xBF{\\rtf1 x}", "{\\RTF1 x}",
                               "plain text", "{\\urtf1 x}"}) {
        EXPECT_FALSE(isRtf(notRtf)) << notRtf;
        EXPECT_EQ(readRtf(notRtf), nullptr) << notRtf;
    }
}

TEST(ReadRtf, DeepNestingSharesTheStateOfTheDeepestLevelKept) {
    constexpr int depth = 100'000;
    const std::string rtf =
        "{\\rtf1 " + std::string(depth, '{') + "\\b x" + std::string(depth, '}') + " y}";
    EXPECT_EQ(describeRtf(rtf), QStringLiteral("[b]x[] y"));
    // Never closed at all: the text is still read.
    EXPECT_EQ(describeRtf("{\\rtf1 " + std::string(1'000'000, '{') + "x"), QStringLiteral("x"));
}

TEST(ReadRtf, ManyFormatChangesInOneParagraphAreReadInLinearTime) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 50'000; ++i) {
        rtf += "{\\b x}{\\i y}";
    }
    rtf += "}";
    const auto document = readRtf(QByteArrayView(rtf.data(), static_cast<qsizetype>(rtf.size())));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->blockCount(), 1);
    EXPECT_EQ(document->characterCount(), 100'001);
}

TEST(ReadRtf, TheDocumentComesWithAnEmptyUndoStackAndUndoOn) {
    const auto document = readRtf("{\\rtf1 a\\par b}");
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(document->isUndoRedoEnabled());
    EXPECT_FALSE(document->isUndoAvailable());
    EXPECT_EQ(document->parent(), nullptr);
}

} // namespace
