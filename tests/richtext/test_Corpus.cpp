// RTF written by real word processors (tests/richtext/corpus/README.md): the
// text LibreOffice reads from each file, and the formatting of a few places.
#include "DocumentText.h"
#include "RtfReader.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

const QString kCorpus = QStringLiteral(VANTOR_RICHTEXT_CORPUS);

std::unique_ptr<QTextDocument> readCorpusFile(const QString& name) {
    QFile file(kCorpus + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << name.toStdString();
        return std::make_unique<QTextDocument>();
    }
    auto document = readRtf(file.readAll());
    EXPECT_NE(document, nullptr) << name.toStdString();
    return document ? std::move(document) : std::make_unique<QTextDocument>();
}

// LibreOffice indents list items by spaces in its text; we don't.
QString withoutIndent(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        const auto indent =
            std::find_if(line.begin(), line.end(), [](QChar ch) { return ch != QLatin1Char(' '); });
        line.remove(0, indent - line.begin());
    }
    return lines.join(QLatin1Char('\n'));
}

TEST(Corpus, EveryFileReadsToTheTextLibreOfficeReads) {
    const QStringList files = QDir(kCorpus).entryList({QStringLiteral("*.rtf")}, QDir::Files);
    ASSERT_GE(files.size(), 5);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile text(kCorpus + QLatin1Char('/') +
                   QString(name).replace(QStringLiteral(".rtf"), QStringLiteral(".txt")));
        ASSERT_TRUE(text.open(QIODevice::ReadOnly));
        EXPECT_EQ(withoutIndent(plainText(*readCorpusFile(name))),
                  withoutIndent(QString::fromUtf8(text.readAll())));
    }
}

struct FormatCase {
    const char* file;
    const char* snippet;  // UTF-8
    const char* expected; // propertiesAt()
};

const FormatCase kFormats[] = {
    {"notes_formatting.rtf", "Cargo log", "f=DejaVu Sans pt=10"},
    {"notes_formatting.rtf", "Ormsby Drift", "b f=DejaVu Sans pt=10"},
    {"notes_formatting.rtf", "Safe:", "f=DejaVu Sans pt=10 fg=#00a000"},
    {"notes_formatting.rtf", "avoid", "i f=DejaVu Sans pt=10"},
    {"notes_formatting.rtf", "east", "u f=DejaVu Sans pt=10"},
    {"notes_formatting.rtf", "never", "b i f=DejaVu Sans pt=10"},
    {"notes_formatting.rtf", "Prices", "f=Liberation Serif pt=16"},
    {"notes_formatting.rtf", "Highlighted", "f=DejaVu Sans pt=8 bg=#ffff00"},
    {"notes_formatting.rtf", " reminder", "f=DejaVu Sans pt=8"},
    {"notes_unicode.rtf", "Pilots", ""},
    {"notes_unicode.rtf", "Italic Σigma", "i"},
    {"notes_unicode.rtf", " and plain", ""},
    {"lo_colours.rtf", "Tevrin Quay", "f=DejaVu Sans pt=11 fg=#c00000"},
    {"lo_colours.rtf", "Brightwater", "f=DejaVu Sans pt=11 fg=#0000ff"},
    {"lo_colours.rtf", "Buy", "f=DejaVu Sans pt=11 fg=#000000 bg=#ffff00"},
    {"lo_colours.rtf", "sell", "f=DejaVu Sans pt=11 fg=#000000 bg=#00c0c0"},
    {"lo_colours.rtf", "crystals", "s f=DejaVu Sans pt=11 fg=#000000"},
    {"lo_colours.rtf", "energy cells", "u f=DejaVu Sans pt=11 fg=#000000"},
    {"lo_colours.rtf", "Mono", "f=Liberation Mono pt=11 fg=#000000"},
    {"lo_colours.rtf", "Serif 14", "f=DejaVu Serif pt=14 fg=#000000"},
    {"lo_colours.rtf", "Big", "f=DejaVu Sans pt=24 fg=#000000"},
    {"lo_colours.rtf", "small", "f=DejaVu Sans pt=8 fg=#000000"},
    {"lo_special.rtf", "struck purple", "s f=DejaVu Sans pt=10 fg=#800080"},
    {"lo_special.rtf", "bold italic double", "b i u f=DejaVu Sans pt=10"},
    {"lo_special.rtf", "HEADER", "missing"},
    {"lo_table_link.rtf", "Kessel Reach", "b"},
    {"lo_table_link.rtf", "the map", "u fg=#000080"},
};

TEST(Corpus, FormattingIsReadAsTheWordProcessorWroteIt) {
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(std::string(format.file) + ": " + format.snippet);
        const auto document = readCorpusFile(QString::fromLatin1(format.file));
        EXPECT_EQ(propertiesAt(*document, QString::fromUtf8(format.snippet)),
                  QString::fromUtf8(format.expected));
    }
}

TEST(Corpus, ParagraphsKeepTheirAlignment) {
    const auto document = readCorpusFile(QStringLiteral("lo_colours.rtf"));
    const QStringList paragraphs = describe(*document).split(QLatin1Char('\n'));
    ASSERT_GE(paragraphs.size(), 4);
    EXPECT_TRUE(paragraphs[2].startsWith(QStringLiteral("<c>"))) << paragraphs[2].toStdString();
    EXPECT_TRUE(paragraphs[3].startsWith(QStringLiteral("<r>"))) << paragraphs[3].toStdString();
}

} // namespace
