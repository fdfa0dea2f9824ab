#include "NodeText.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
QT_END_NAMESPACE

namespace {

struct ShownCase {
    const char* name;
    std::string bytes;
    QString shown;
};

class NodeTextDisplay : public testing::TestWithParam<ShownCase> {};

TEST_P(NodeTextDisplay, ShowsTheBytesAsUtf8OrCodePage1252) {
    EXPECT_EQ(displayText(GetParam().bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, NodeTextDisplay,
    testing::Values(ShownCase{"Ascii", "Kessa Reach", u"Kessa Reach"_qs},
                    ShownCase{"Cp1252", "Gr\xfc\xdf \x80\x9f", u"Grüß €Ÿ"_qs},
                    ShownCase{"Utf8", "Gr\xc3\xbc\xc3\x9f \xe2\x82\xac", u"Grüß €"_qs},
                    ShownCase{"Utf8FourBytes", "\xf0\x9f\x9a\x80", u"\U0001F680"_qs},
                    ShownCase{"Utf8ByteOrderMarkKept",
                              "\xef\xbb\xbf"
                              "A",
                              u"\uFEFFA"_qs},
                    ShownCase{"CutUtf8IsCp1252", "a\xc3", u"aÃ"_qs},
                    ShownCase{"OverlongIsCp1252", "\xc0\xaf", u"À¯"_qs},
                    ShownCase{"SurrogateIsCp1252", "\xed\xa0\x80", u"í\u00A0€"_qs},
                    ShownCase{"UnassignedCp1252Byte", "\x81", u"\u0081"_qs}),
    [](const auto& test) { return test.param.name; });

// A tree shows at most kShownTextLength characters of a node, decoding only
// the beginning of a long text.
TEST(NodeTextShown, LongTextsAreCutShort) {
    const std::string umlaut = "\xc3\xa4";
    struct Case {
        std::string bytes;
        QString shown;
    };
    const Case cases[] = {
        {"Kessa Reach", u"Kessa Reach"_qs},
        {std::string(1000, 'a'), QString(1000, u'a')},
        {std::string(1001, 'a'), QString(1000, u'a') + u"..."_qs},
        {std::string(20 * 1024 * 1024, 'a'), QString(1000, u'a') + u"..."_qs},
        {[&] {
             std::string text;
             for (int i = 0; i < 3000; ++i) {
                 text += umlaut;
             }
             return text;
         }(),
         QString(1000, u'\u00e4') + u"..."_qs},
        {std::string(5000, '\xe4'), QString(1000, u'\u00e4') + u"..."_qs},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shownText(c.bytes), c.shown) << c.bytes.size();
    }
}

struct TypedCase {
    const char* name;
    QString typed;
    std::string stored;
};

class NodeTextStore : public testing::TestWithParam<TypedCase> {};

TEST_P(NodeTextStore, KeepsWhatWasTypedAndShowsItBack) {
    const TypedCase& c = GetParam();
    EXPECT_EQ(storedText(c.typed), c.stored);
    if (!c.typed.startsWith(u'\t')) {
        EXPECT_EQ(displayText(storedText(c.typed)), c.typed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NodeTextStore,
    testing::Values(
        TypedCase{"Ascii", u"Kessa"_qs, "Kessa"},
        TypedCase{"FitsCp1252", u"Grüß €"_qs, "Gr\xfc\xdf \x80"},
        TypedCase{"Cp1252BytesThatReadAsUtf8", u"Ã¼"_qs, "\xc3\x83\xc2\xbc"},
        TypedCase{"BeyondCp1252", u"Ωmega \U0001F680"_qs, "\xce\xa9mega \xf0\x9f\x9a\x80"},
        TypedCase{"ByteOrderMarkKept", u"\uFEFFA"_qs,
                  "\xef\xbb\xbf"
                  "A"},
        TypedCase{"Empty", QString(), ""},
        TypedCase{"WhatTheFormatCannotHold", QString::fromUtf16(u"\t a\r\nb\0c", 8), "a  b c"}),
    [](const auto& test) { return test.param.name; });

struct MatchCase {
    const char* name;
    std::string bytes;
    QString keyword;
    bool found;
};

class NodeTextMatch : public testing::TestWithParam<MatchCase> {};

TEST_P(NodeTextMatch, FindsWhatTheShownTextContains) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(DisplayTextMatch(c.keyword)(c.bytes), c.found);
    EXPECT_EQ(displayText(c.bytes).contains(c.keyword), c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, NodeTextMatch,
    testing::Values(MatchCase{"Ascii", "Teladi Gain", u"adi G"_qs, true},
                    MatchCase{"CaseSensitive", "Teladi Gain", u"teladi"_qs, false},
                    MatchCase{"Cp1252Node", "Gr\xfc\xdf", u"rü"_qs, true},
                    MatchCase{"Utf8Node", "Gr\xc3\xbc\xc3\x9f", u"rü"_qs, true},
                    MatchCase{"Cp1252FormOfKeywordInUtf8Node", "Gr\xc3\xbc", u"Ã"_qs, false},
                    MatchCase{"Utf8FormOfKeywordInCp1252Node", "x\xc3\xbc\xff", u"ü"_qs, false},
                    MatchCase{"BeyondCp1252", "\xce\xa9mega", u"Ω"_qs, true},
                    MatchCase{"BeyondCp1252InCp1252Node", "\xd4mega", u"Ω"_qs, false},
                    MatchCase{"LoneSurrogate", "\xf0\x9f\x9a\x80", QString(QChar(0xD83D)), true}),
    [](const auto& test) { return test.param.name; });

TEST(NodeText, SiblingsSortByTheLocalesCollationCaseSensitive) {
    std::vector<std::string> texts{"b", "Zenit", "\xe4rger", "B", "a", "\xc3\xa4rgste"};
    std::stable_sort(texts.begin(), texts.end(), displayTextOrder(QLocale(QLocale::German)));
    QStringList shown;
    for (const auto& text : texts) {
        shown << displayText(text);
    }
    EXPECT_EQ(shown.join(u' '), u"a ärger ärgste b B Zenit"_qs);
}

} // namespace
