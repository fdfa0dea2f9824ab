// LibreOffice Writer opens what our writer writes with the same text and
// formatting, lists and tables: it converts our notes file to plain text,
// which must be our text, and to RTF of its own, which our reader then reads
// with the same text, formatting and structure. Four soffice runs of a few
// seconds each; skipped where LibreOffice is not installed (apt-get install
// libreoffice-writer-nogui).
#include "DocumentText.h"
#include "NotesFile.h"
#include "RichTextLists.h"
#include "RtfReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kDefaultFamily = QStringLiteral("Tahoma");
constexpr double kDefaultPoints = 8.5; // 11 pixels, written as \fs17

std::unique_ptr<QTextDocument> notesDocument() {
    auto document = std::make_unique<QTextDocument>();
    QFont font(kDefaultFamily);
    font.setPixelSize(11);
    document->setDefaultFont(font);
    QTextCursor cursor(document.get());
    const auto insert = [&cursor](const char* text, auto&& format) {
        QTextCharFormat charFormat;
        format(charFormat);
        cursor.insertText(QString::fromUtf8(text), charFormat);
    };
    const auto none = [](QTextCharFormat&) {
    };
    insert("Plain notes with ", none);
    insert("bold", [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    insert(", ", none);
    insert("italic", [](QTextCharFormat& f) { f.setFontItalic(true); });
    insert(", ", none);
    insert("underlined", [](QTextCharFormat& f) { f.setFontUnderline(true); });
    insert(" and ", none);
    insert("struck", [](QTextCharFormat& f) { f.setFontStrikeOut(true); });
    insert(" words.", none);
    cursor.insertBlock();
    insert("Red", [](QTextCharFormat& f) { f.setForeground(QColor(255, 0, 0)); });
    insert(" green ", [](QTextCharFormat& f) { f.setForeground(QColor(0, 160, 0)); });
    insert("on yellow", [](QTextCharFormat& f) { f.setBackground(QColor(255, 255, 0)); });
    insert(" on teal-ish", [](QTextCharFormat& f) { f.setBackground(QColor(20, 150, 140)); });
    cursor.insertBlock();
    insert("Serif 14", [](QTextCharFormat& f) {
        f.setFontFamilies({QStringLiteral("DejaVu Serif")});
        f.setFontPointSize(14);
    });
    insert(", mono 9", [](QTextCharFormat& f) {
        f.setFontFamilies({QStringLiteral("Liberation Mono")});
        f.setFontPointSize(9);
    });
    insert(", all at once", [](QTextCharFormat& f) {
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
        f.setFontUnderline(true);
        f.setForeground(QColor(0, 0, 255));
        f.setFontPointSize(20);
    });
    cursor.insertBlock();
    insert("Käse 12 €, Łódź, Ζωή, Мирон, 航行 ✈ 😀 {braces} back\\slash\ttab\u2028next line", none);
    cursor.insertBlock();
    cursor.insertBlock();
    insert("After an empty paragraph.", none);
    return document;
}

// Numbered and bulleted lists on two levels, and a table with merged cells.
std::unique_ptr<QTextDocument> structureDocument() {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    cursor.insertText(QStringLiteral("Trade runs"));
    cursor.insertBlock();
    QTextListFormat numbered;
    numbered.setStyle(QTextListFormat::ListDecimal);
    QTextList* runs = cursor.createList(numbered);
    cursor.insertText(QStringLiteral("Tevrin Quay"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("Ormsby Drift"));
    cursor.insertBlock();
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    bullets.setIndent(2);
    cursor.createList(bullets);
    cursor.insertText(QStringLiteral("ore"));
    cursor.insertBlock();
    runs->add(cursor.block());
    cursor.insertText(QStringLiteral("Brightwater Crossing"));
    cursor.insertBlock();
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.insertText(QStringLiteral("Prices"));
    QTextTable* table = cursor.insertTable(3, 3);
    table->mergeCells(0, 0, 1, 2);
    table->mergeCells(1, 0, 2, 1);
    const auto put = [table](int row, int column, const char* text) {
        table->cellAt(row, column).firstCursorPosition().insertText(QString::fromUtf8(text));
    };
    put(0, 0, "Sector and gate");
    put(0, 2, "Price");
    put(1, 0, "Tevrin Quay");
    put(1, 1, "south");
    put(1, 2, "12 €");
    put(2, 1, "east");
    put(2, 2, "9 €");
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("After the table"));
    return document;
}

// Each character's formatting, with the document defaults filled in: the
// other word processor may state what we leave to the defaults.
QStringList effectiveFormats(const QTextDocument& document) {
    QStringList formats;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QStringList families = f.fontFamilies().toStringList();
            const QString format =
                QStringLiteral("%1%2%3%4 %5 %6pt fg=%7 bg=%8")
                    .arg(f.fontWeight() > QFont::Medium ? "b" : "-")
                    .arg(f.fontItalic() ? "i" : "-")
                    .arg(f.fontUnderline() ? "u" : "-")
                    .arg(f.fontStrikeOut() ? "s" : "-")
                    .arg(families.isEmpty() ? kDefaultFamily : families.front())
                    .arg(f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize()
                                                                   : kDefaultPoints)
                    .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name()
                                                                     : QStringLiteral("none"))
                    .arg(f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().name()
                                                                     : QStringLiteral("none"));
            // One entry per character, so that differently cut runs compare.
            for (const QChar ch : it.fragment().text()) {
                formats << QString(ch) + QLatin1Char(' ') + format;
            }
        }
        formats << QStringLiteral("(paragraph)");
    }
    return formats;
}

class LibreOfficeTest : public ::testing::Test {
protected:
    // One LibreOffice user profile for both tests: making one takes seconds.
    static QTemporaryDir& profile() {
        static QTemporaryDir profile;
        return profile;
    }

    void SetUp() override {
        soffice_ = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (soffice_.isEmpty()) {
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
        }
        saveNotesFile(notes_, *ours_);
    }

    // The notes file as LibreOffice converts it: "rtf" or "txt:Text".
    QByteArray converted(const QString& filter, const QString& extension) {
        QProcess office;
        office.setProcessChannelMode(QProcess::MergedChannels);
        office.start(soffice_, {QStringLiteral("--headless"),
                                QStringLiteral("-env:UserInstallation=file://") + profile().path(),
                                QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"),
                                folder_.filePath(extension), notes_});
        if (!office.waitForFinished(180'000)) {
            ADD_FAILURE() << "soffice did not finish";
            return {};
        }
        QFile converted(folder_.filePath(extension + QStringLiteral("/notes.") + extension));
        if (!converted.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "soffice wrote nothing: " << office.readAll().toStdString();
            return {};
        }
        return converted.readAll();
    }

    QTemporaryDir folder_;
    QString soffice_;
    std::unique_ptr<QTextDocument> ours_ = notesDocument();
    const QString notes_ = folder_.filePath(QStringLiteral("notes.vrn"));
};

TEST_F(LibreOfficeTest, ReadsTheTextOfOurNotes) {
    QByteArray text = converted(QStringLiteral("txt:Text"), QStringLiteral("txt"));
    if (text.startsWith("\xEF\xBB\xBF")) {
        text.remove(0, 3); // its byte-order mark
    }
    EXPECT_EQ(QString::fromUtf8(text), plainText(*ours_));
}

TEST_F(LibreOfficeTest, KeepsTheFormattingOfOurNotes) {
    const auto theirs = readRtf(converted(QStringLiteral("rtf"), QStringLiteral("rtf")));
    ASSERT_NE(theirs, nullptr);
    const auto& ours = ours_;

    EXPECT_EQ(plainText(*theirs), plainText(*ours));
    const QStringList expected = effectiveFormats(*ours);
    const QStringList actual = effectiveFormats(*theirs);
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(actual[i], expected[i]) << "character " << i;
    }
}

} // namespace

namespace {

class LibreOfficeStructureTest : public LibreOfficeTest {
protected:
    void SetUp() override {
        ours_ = structureDocument();
        LibreOfficeTest::SetUp();
    }
};

// LibreOffice's text export indents list items by spaces, and shows
// bullets by their level (•, ◦, ▪) whatever their character.
QString asLibreOfficeText(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        while (line.startsWith(QLatin1Char(' '))) {
            line.remove(0, 1);
        }
        if (line.startsWith(QStringLiteral("◦ ")) || line.startsWith(QStringLiteral("▪ "))) {
            line.replace(0, 1, QStringLiteral("•"));
        }
    }
    return lines.join(QLatin1Char('\n'));
}

// LibreOffice states the fonts and sizes that we leave to the defaults.
QString withoutFormatting(QString description) {
    static const QRegularExpression kFormatting(QStringLiteral("\\[[^\\]]*\\]"));
    return description.remove(kFormatting);
}

TEST_F(LibreOfficeStructureTest, ReadsOurListsAndTables) {
    QByteArray text = converted(QStringLiteral("txt:Text"), QStringLiteral("txt"));
    if (text.startsWith("\xEF\xBB\xBF")) {
        text.remove(0, 3);
    }
    EXPECT_EQ(asLibreOfficeText(QString::fromUtf8(text)), asLibreOfficeText(plainText(*ours_)));
}

TEST_F(LibreOfficeStructureTest, KeepsOurListsAndTables) {
    const auto theirs = readRtf(converted(QStringLiteral("rtf"), QStringLiteral("rtf")));
    ASSERT_NE(theirs, nullptr);
    EXPECT_EQ(withoutFormatting(describe(*theirs)), withoutFormatting(describe(*ours_)));
}

} // namespace
