// The RTF writer: what it writes, and round trips through our own reader.
#include "DocumentText.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using Formatter = std::function<void(QTextCharFormat&)>;

struct Run {
    const char* text; // UTF-8; "\n" starts a new paragraph
    Formatter format = {};
};

struct RoundTripCase {
    const char* name;
    std::vector<Run> runs;
    Qt::Alignment alignment = Qt::AlignLeft; // of the last paragraph
};

void PrintTo(const RoundTripCase& roundTrip, std::ostream* out) {
    *out << roundTrip.name;
}

Formatter Bold() {
    return [](QTextCharFormat& f) {
        f.setFontWeight(QFont::Bold);
    };
}
Formatter Italic() {
    return [](QTextCharFormat& f) {
        f.setFontItalic(true);
    };
}
Formatter Underline() {
    return [](QTextCharFormat& f) {
        f.setFontUnderline(true);
    };
}
Formatter Strike() {
    return [](QTextCharFormat& f) {
        f.setFontStrikeOut(true);
    };
}
Formatter Family(const char* family) {
    return [family](QTextCharFormat& f) {
        f.setFontFamilies({QString::fromUtf8(family)});
    };
}
Formatter Points(double points) {
    return [points](QTextCharFormat& f) {
        f.setFontPointSize(points);
    };
}
Formatter Foreground(QColor color) {
    return [color](QTextCharFormat& f) {
        f.setForeground(color);
    };
}
Formatter Background(QColor color) {
    return [color](QTextCharFormat& f) {
        f.setBackground(color);
    };
}
Formatter All(std::vector<Formatter> formatters) {
    return [formatters](QTextCharFormat& f) {
        for (const Formatter& formatter : formatters) {
            formatter(f);
        }
    };
}

std::unique_ptr<QTextDocument> Build(const std::vector<Run>& runs,
                                     Qt::Alignment alignment = Qt::AlignLeft) {
    auto document = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    document->setDefaultFont(font);
    QTextCursor cursor(document.get());
    for (const Run& run : runs) {
        QTextCharFormat format;
        if (run.format) {
            run.format(format);
        }
        const QStringList paragraphs = QString::fromUtf8(run.text).split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < paragraphs.size(); ++i) {
            if (i > 0) {
                cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            }
            cursor.insertText(paragraphs[i], format);
        }
    }
    QTextBlockFormat blockFormat;
    blockFormat.setAlignment(alignment);
    cursor.setBlockFormat(blockFormat);
    return document;
}

std::unique_ptr<QTextDocument> RoundTrip(const QTextDocument& document) {
    auto read = ReadRtf(WriteRtf(document));
    EXPECT_NE(read, nullptr);
    return read ? std::move(read) : std::make_unique<QTextDocument>();
}

const RoundTripCase kRoundTrips[] = {
    {"Empty", {{""}}},
    {"Text", {{"Cargo log for the Ormsby Drift loop."}}},
    {"Paragraphs", {{"One\nTwo\n\nFour after an empty one"}}},
    {"TrailingEmptyParagraph", {{"Text\n"}}},
    {"Bold", {{"a "}, {"bold", Bold()}, {" b"}}},
    {"Italic", {{"a "}, {"italic", Italic()}}},
    {"Underline", {{"underline", Underline()}, {" b"}}},
    {"Strike", {{"struck", Strike()}}},
    {"FontFamily", {{"serif", Family("DejaVu Serif")}, {" mono", Family("Liberation Mono")}}},
    {"FontSize", {{"big", Points(24)}, {" half", Points(10.5)}, {" tiny", Points(1)}}},
    {"Foreground",
     {{"red", Foreground(QColor(255, 0, 0))}, {" green", Foreground(QColor(0, 160, 0))}}},
    {"BlackIsAColourOfItsOwn", {{"black", Foreground(Qt::black)}, {" default"}}},
    {"Background", {{"yellow", Background(Qt::yellow)}, {" odd", Background(QColor(10, 200, 30))}}},
    {"EverythingAtOnce",
     {{"all", All({Bold(), Italic(), Underline(), Strike(), Family("Arial"), Points(16),
                   Foreground(QColor(1, 2, 3)), Background(QColor(250, 251, 252))})},
      {" and formatting spanning\nparagraphs", All({Bold(), Foreground(Qt::blue)})}}},
    {"Cp1252Characters", {{"Käse 12 €, Weißbier „gut“ – ÿ ‰ Œ"}}},
    {"BeyondCp1252", {{"Łódź Ζωή Мирон 航行 ✈ 😀", Italic()}}},
    {"RtfSpecialCharacters", {{"{braces} back\\slash; semi"}}},
    {"TabsAndLineBreaks", {{"a\tb\u2028c\u2028\u2028d"}}},
    {"Centred", {{"centred"}}, Qt::AlignHCenter},
    {"Right", {{"first\nright"}}, Qt::AlignRight},
    {"Justified", {{"justified"}}, Qt::AlignJustify},
    {"OddFontNames", {{"a", Family("Odd;Name {x}\\")}, {"b", Family("ＭＳ 明朝")}}},
};

class RtfRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RtfRoundTripTest, ReadsBackWhatWasWritten) {
    const auto original = Build(GetParam().runs, GetParam().alignment);
    EXPECT_EQ(Describe(*RoundTrip(*original)), Describe(*original));
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfRoundTripTest, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(WriteRtf, WritesSevenBitRtfWithTheDocumentDefaultsAsFontZero) {
    const auto document = Build({{"Käse 航 "}, {"red", Foreground(Qt::red)}});
    const QByteArray rtf = WriteRtf(*document);
    SCOPED_TRACE(rtf.toStdString());
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"));
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;}"));
    EXPECT_TRUE(rtf.contains("{\\*\\defchp\\fs17}")); // 11 pixels at 96 dpi
    EXPECT_TRUE(rtf.contains("\\pard\\plain\\fs17 K\\'e4se \\u-32214? {\\cf1 red}\\par\n"));
    EXPECT_TRUE(rtf.endsWith("}\n"));
    for (const char byte : rtf) {
        EXPECT_LT(static_cast<unsigned char>(byte), 0x80);
    }
}

TEST(WriteRtf, TextWithoutAColourOfItsOwnGetsNoColour) {
    const auto document = Build({{"default "}, {"bold", Bold()}});
    const QByteArray rtf = WriteRtf(*document);
    EXPECT_FALSE(rtf.contains("\\cf"));
    EXPECT_TRUE(rtf.contains("{\\colortbl;}"));
    const auto read = ReadRtf(rtf);
    for (QTextBlock block = read->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));
        }
    }
}

TEST(WriteRtf, TextWithoutFontOrSizeOfItsOwnComesBackWithoutAndTheDefaultFamilyStays) {
    const auto document =
        Build({{"plain "}, {"tahoma", Family("Tahoma")}, {" default size", Points(8.5)}});
    EXPECT_EQ(Describe(*RoundTrip(*document)),
              QStringLiteral("plain [f=Tahoma]tahoma[] default size"));
}

TEST(WriteRtf, PixelSizesBecomePoints) {
    const auto document = Build({{"px", [](QTextCharFormat& f) {
                                      f.setProperty(QTextFormat::FontPixelSize, 32);
                                  }}});
    EXPECT_EQ(Describe(*RoundTrip(*document)), QStringLiteral("[pt=24]px"));
}

TEST(WriteRtf, ControlCharactersAndObjectsAreLeftOut) {
    const auto document = Build({{"a\x01"
                                  "b\uFFFCc"}});
    EXPECT_EQ(Describe(*RoundTrip(*document)), QStringLiteral("abc"));
}

TEST(WriteRtf, LongParagraphsAreWrittenOnShortLines) {
    const auto document = Build({{std::string(5000, 'x').c_str()}});
    const QByteArray rtf = WriteRtf(*document);
    for (const QByteArray& line : rtf.split('\n')) {
        EXPECT_LE(line.size(), 260);
    }
    EXPECT_EQ(PlainText(*RoundTrip(*document)), QString(5000, QLatin1Char('x')) + '\n');
}

TEST(WriteRtf, ADocumentWithoutDefaultSizeWritesNoSizes) {
    QTextDocument document; // Qt's default font: no size without an application
    QFont font;
    font.setFamily(QStringLiteral("Arial"));
    document.setDefaultFont(font);
    document.setPlainText(QStringLiteral("x"));
    if (document.defaultFont().pointSizeF() <= 0 && document.defaultFont().pixelSize() <= 0) {
        EXPECT_FALSE(WriteRtf(document).contains("\\fs"));
    }
    EXPECT_EQ(Describe(*RoundTrip(document)), QStringLiteral("x"));
}

} // namespace
