// The RTF writer: what it writes, and round trips through our own reader.
#include "DocumentText.h"
#include "RichTextLists.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
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

Formatter bold() {
    return [](QTextCharFormat& f) {
        f.setFontWeight(QFont::Bold);
    };
}
Formatter italic() {
    return [](QTextCharFormat& f) {
        f.setFontItalic(true);
    };
}
Formatter underline() {
    return [](QTextCharFormat& f) {
        f.setFontUnderline(true);
    };
}
Formatter strike() {
    return [](QTextCharFormat& f) {
        f.setFontStrikeOut(true);
    };
}
Formatter family(const char* family) {
    return [family](QTextCharFormat& f) {
        f.setFontFamilies({QString::fromUtf8(family)});
    };
}
Formatter points(double points) {
    return [points](QTextCharFormat& f) {
        f.setFontPointSize(points);
    };
}
Formatter foreground(QColor color) {
    return [color](QTextCharFormat& f) {
        f.setForeground(color);
    };
}
Formatter background(QColor color) {
    return [color](QTextCharFormat& f) {
        f.setBackground(color);
    };
}
Formatter all(std::vector<Formatter> formatters) {
    return [formatters](QTextCharFormat& f) {
        for (const Formatter& formatter : formatters) {
            formatter(f);
        }
    };
}

std::unique_ptr<QTextDocument> build(const std::vector<Run>& runs,
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

std::unique_ptr<QTextDocument> roundTrip(const QTextDocument& document) {
    auto read = readRtf(writeRtf(document));
    EXPECT_NE(read, nullptr);
    return read ? std::move(read) : std::make_unique<QTextDocument>();
}

const RoundTripCase kRoundTrips[] = {
    {"Empty", {{""}}},
    {"Text", {{"Cargo log for the Ormsby Drift loop."}}},
    {"Paragraphs", {{"One\nTwo\n\nFour after an empty one"}}},
    {"TrailingEmptyParagraph", {{"Text\n"}}},
    {"Bold", {{"a "}, {"bold", bold()}, {" b"}}},
    {"Italic", {{"a "}, {"italic", italic()}}},
    {"Underline", {{"underline", underline()}, {" b"}}},
    {"Strike", {{"struck", strike()}}},
    {"FontFamily", {{"serif", family("DejaVu Serif")}, {" mono", family("Liberation Mono")}}},
    {"FontSize", {{"big", points(24)}, {" half", points(10.5)}, {" tiny", points(1)}}},
    {"Foreground",
     {{"red", foreground(QColor(255, 0, 0))}, {" green", foreground(QColor(0, 160, 0))}}},
    {"BlackIsAColourOfItsOwn", {{"black", foreground(Qt::black)}, {" default"}}},
    {"Background", {{"yellow", background(Qt::yellow)}, {" odd", background(QColor(10, 200, 30))}}},
    {"EverythingAtOnce",
     {{"all", all({bold(), italic(), underline(), strike(), family("Arial"), points(16),
                   foreground(QColor(1, 2, 3)), background(QColor(250, 251, 252))})},
      {" and formatting spanning\nparagraphs", all({bold(), foreground(Qt::blue)})}}},
    {"Cp1252Characters", {{"Käse 12 €, Weißbier „gut“ – ÿ ‰ Œ"}}},
    {"BeyondCp1252", {{"Łódź Ζωή Мирон 航行 ✈ 😀", italic()}}},
    {"RtfSpecialCharacters", {{"{braces} back\\slash; semi"}}},
    {"TabsAndLineBreaks", {{"a\tb\u2028c\u2028\u2028d"}}},
    {"Centred", {{"centred"}}, Qt::AlignHCenter},
    {"Right", {{"first\nright"}}, Qt::AlignRight},
    {"Justified", {{"justified"}}, Qt::AlignJustify},
    {"OddFontNames", {{"a", family("Odd;Name {x}\\")}, {"b", family("ＭＳ 明朝")}}},
};

class RtfRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RtfRoundTripTest, ReadsBackWhatWasWritten) {
    const auto original = build(GetParam().runs, GetParam().alignment);
    EXPECT_EQ(describe(*roundTrip(*original)), describe(*original));
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfRoundTripTest, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& param) { return std::string(param.param.name); });

// Documents with lists and tables, built through a cursor.
struct StructureCase {
    const char* name;
    std::function<void(QTextCursor&)> build;
};

void PrintTo(const StructureCase& structure, std::ostream* out) {
    *out << structure.name;
}

QTextListFormat listFormat(QTextListFormat::Style style, int indent = 1) {
    QTextListFormat format;
    format.setStyle(style);
    format.setIndent(indent);
    return format;
}

// Paragraphs of the texts, from the cursor's on.
void paragraphs(QTextCursor& cursor, std::initializer_list<const char*> texts) {
    bool first = true;
    for (const char* text : texts) {
        if (!first) {
            cursor.insertBlock();
        }
        cursor.insertText(QString::fromUtf8(text));
        first = false;
    }
}

const StructureCase kStructures[] = {
    {"NumberedListWithNestedBullets",
     [](QTextCursor& c) {
         paragraphs(c, {"before", "one"});
         QTextListFormat numbered = listFormat(QTextListFormat::ListDecimal);
         numbered.setNumberPrefix(QStringLiteral("("));
         numbered.setNumberSuffix(QStringLiteral(")"));
         setListStart(numbered, 3);
         QTextList* outer = c.createList(numbered);
         paragraphs(c, {"", "two", "sub"});
         c.createList(listFormat(QTextListFormat::ListSquare, 2));
         paragraphs(c, {"", "three"});
         outer->add(c.block());
         c.insertBlock();
         c.setBlockFormat(QTextBlockFormat());
         c.insertText(QStringLiteral("after"));
     }},
    {"ListStylesAndBullets",
     [](QTextCursor& c) {
         for (const auto style : {QTextListFormat::ListLowerAlpha, QTextListFormat::ListUpperAlpha,
                                  QTextListFormat::ListLowerRoman, QTextListFormat::ListUpperRoman,
                                  QTextListFormat::ListDisc, QTextListFormat::ListCircle}) {
             c.createList(listFormat(style));
             paragraphs(c, {"item", ""});
         }
         QTextListFormat arrow = listFormat(QTextListFormat::ListDisc, 3);
         setListBullet(arrow, QStringLiteral("➢"));
         c.createList(arrow);
         c.insertText(QStringLiteral("arrow; {odd} \\ bullet"));
     }},
    {"TableWithMergedCellsAndFormatting",
     [](QTextCursor& c) {
         c.insertText(QStringLiteral("before"));
         QTextTable* table = c.insertTable(3, 3);
         table->mergeCells(0, 0, 1, 2);
         table->mergeCells(1, 2, 2, 1);
         QTextCharFormat bold;
         bold.setFontWeight(QFont::Bold);
         table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("wide"), bold);
         QTextCursor cell = table->cellAt(1, 2).firstCursorPosition();
         QTextBlockFormat centred;
         centred.setAlignment(Qt::AlignHCenter);
         cell.setBlockFormat(centred);
         paragraphs(cell, {"tall", "two paragraphs"});
         QTextCursor item = table->cellAt(2, 0).firstCursorPosition();
         item.createList(listFormat(QTextListFormat::ListDecimal));
         paragraphs(item, {"listed", "in a cell"});
         table->cellAt(2, 1).firstCursorPosition().insertText(QStringLiteral("Käse 航"));
     }},
    {"NestedTables",
     [](QTextCursor& c) {
         QTextTable* table = c.insertTable(1, 2);
         QTextCursor cell = table->cellAt(0, 1).firstCursorPosition();
         cell.insertText(QStringLiteral("outer"));
         cell.insertBlock();
         QTextTable* inner = cell.insertTable(2, 1);
         inner->cellAt(1, 0).firstCursorPosition().insertTable(1, 1);
         inner->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("inner"));
     }},
    {"SuperscriptAndSubscript",
     [](QTextCursor& c) {
         QTextCharFormat raised;
         raised.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
         QTextCharFormat lowered;
         lowered.setVerticalAlignment(QTextCharFormat::AlignSubScript);
         c.insertText(QStringLiteral("x"));
         c.insertText(QStringLiteral("2"), raised);
         c.insertText(QStringLiteral(" H"), QTextCharFormat());
         c.insertText(QStringLiteral("2"), lowered);
     }},
};

class RtfStructureTest : public ::testing::TestWithParam<StructureCase> {};

TEST_P(RtfStructureTest, ReadsBackWhatWasWritten) {
    QTextDocument original;
    QTextCursor cursor(&original);
    GetParam().build(cursor);
    EXPECT_EQ(describe(*roundTrip(original)), describe(original));
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfStructureTest, ::testing::ValuesIn(kStructures),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(WriteRtf, ListsAndTablesCarryTheirTextForReadersWithoutThem) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.createList(listFormat(QTextListFormat::ListUpperRoman));
    paragraphs(cursor, {"one", "two"});
    cursor.insertBlock();
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.insertTable(1, 2)->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("B"));
    const QByteArray rtf = writeRtf(document);
    SCOPED_TRACE(rtf.toStdString());
    EXPECT_TRUE(rtf.contains("{\\*\\listtable\n{\\list\\listtemplateid1{\\listlevel\\levelnfc1"));
    EXPECT_TRUE(rtf.contains("{\\listoverride\\listid1\\listoverridecount0\\ls1}"));
    EXPECT_TRUE(rtf.contains("{\\listtext\\pard\\plain II.\\tab}\\pard\\ls1\\ilvl0"));
    EXPECT_TRUE(rtf.contains("\\trowd\\trgaph108\\cellx4500\\cellx9000\n"));
    EXPECT_TRUE(rtf.contains("\\pard\\intbl\\plain B\\cell\n\\pard\\intbl\\plain\\row"));
}

TEST(WriteRtf, WritesSevenBitRtfWithTheDocumentDefaultsAsFontZero) {
    const auto document = build({{"Käse 航 "}, {"red", foreground(Qt::red)}});
    const QByteArray rtf = writeRtf(*document);
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
    const auto document = build({{"default "}, {"bold", bold()}});
    const QByteArray rtf = writeRtf(*document);
    EXPECT_FALSE(rtf.contains("\\cf"));
    EXPECT_TRUE(rtf.contains("{\\colortbl;}"));
    const auto read = readRtf(rtf);
    for (QTextBlock block = read->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));
        }
    }
}

TEST(WriteRtf, TextWithoutFontOrSizeOfItsOwnComesBackWithoutAndTheDefaultFamilyStays) {
    const auto document =
        build({{"plain "}, {"tahoma", family("Tahoma")}, {" default size", points(8.5)}});
    EXPECT_EQ(describe(*roundTrip(*document)),
              QStringLiteral("plain [f=Tahoma]tahoma[] default size"));
}

TEST(WriteRtf, PixelSizesBecomePoints) {
    const auto document = build({{"px", [](QTextCharFormat& f) {
                                      f.setProperty(QTextFormat::FontPixelSize, 32);
                                  }}});
    EXPECT_EQ(describe(*roundTrip(*document)), QStringLiteral("[pt=24]px"));
}

TEST(WriteRtf, ControlCharactersAndObjectsAreLeftOut) {
    const auto document = build({{"a\x01"
                                  "b\uFFFCc"}});
    EXPECT_EQ(describe(*roundTrip(*document)), QStringLiteral("abc"));
}

TEST(WriteRtf, LongParagraphsAreWrittenOnShortLines) {
    const auto document = build({{std::string(5000, 'x').c_str()}});
    const QByteArray rtf = writeRtf(*document);
    for (const QByteArray& line : rtf.split('\n')) {
        EXPECT_LE(line.size(), 260);
    }
    EXPECT_EQ(plainText(*roundTrip(*document)), QString(5000, QLatin1Char('x')) + '\n');
}

TEST(WriteRtf, ADocumentWithoutDefaultSizeWritesNoSizes) {
    QTextDocument document; // Qt's default font: no size without an application
    QFont font;
    font.setFamily(QStringLiteral("Arial"));
    document.setDefaultFont(font);
    document.setPlainText(QStringLiteral("x"));
    if (document.defaultFont().pointSizeF() <= 0 && document.defaultFont().pixelSize() <= 0) {
        EXPECT_FALSE(writeRtf(document).contains("\\fs"));
    }
    EXPECT_EQ(describe(*roundTrip(document)), QStringLiteral("x"));
}

} // namespace
