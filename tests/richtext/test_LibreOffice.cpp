// LibreOffice Writer opens what our writer writes with the same text and
// formatting: it converts our notes file to plain text, which must be our
// text, and to RTF of its own, which our reader then reads with the same text
// and formatting. Two soffice runs of a few seconds each; skipped where
// LibreOffice is not installed (apt-get install libreoffice-writer-nogui).
#include "DocumentText.h"
#include "NotesFile.h"
#include "RtfReader.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
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
    const std::unique_ptr<QTextDocument> ours_ = notesDocument();
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
