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
    {"TablesGiveOneParagraphPerCell",
     R"(\trowd\cellx100\cellx200\pard\intbl A\cell B\cell\row\pard after\par})", "A\nB\nafter"},
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
     R"({\header H}{\footnote F}{\pict\bin3 {}\}visible})",
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
