// Loading and saving notes files: rich text, the plain-text fallback, errors.
#include "DocumentText.h"
#include "NotesFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_view_literals;

namespace {

struct PlainCase {
    const char* name;
    std::string_view bytes;
    std::string_view expected; // describe(), UTF-8
};

void PrintTo(const PlainCase& plain, std::ostream* out) {
    *out << plain.name;
}

const PlainCase kPlainCases[] = {
    {"Empty", "", ""},
    {"OneLine", "Ormsby Drift", "Ormsby Drift"},
    {"CrLf", "a\r\nb\r\n", "a\nb\n"},
    {"Lf", "a\nb", "a\nb"},
    {"LoneCr", "a\rb\r\rc", "a\nb\n\nc"},
    {"MixedLineEnds", "a\r\n\rb\n\r\nc", "a\n\nb\n\nc"},
    {"Cp1252Bytes", "K\xe4se \x80 \x93q\x94 \xff", "Käse € “q” ÿ"},
    {"UnassignedBytesStayControlCharacters", "\x81\x8d", "\u0081\u008d"},
    {"EveryByteIsACharacter", "a\0b\tc\x01"sv, "a\0b\tc\x01"sv},
    {"Utf8BytesAreCp1252Characters", "\xef\xbb\xbfK\xc3\xa4se", "ï»¿KÃ¤se"},
    {"RtfMarkupNotAtTheStart", " {\\rtf1 \\b x}", " {\\rtf1 \\b x}"},
    {"RtfMarkupElsewhere", "{\\b x}", "{\\b x}"},
};

class PlainTextTest : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainTextTest, EveryByteIsACharacterAndLineEndsAreAsInTheFile) {
    const std::string_view bytes = GetParam().bytes;
    const auto document =
        readNotes(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    ASSERT_NE(document, nullptr);
    const std::string_view expected = GetParam().expected;
    EXPECT_EQ(describe(*document),
              QString::fromUtf8(expected.data(), static_cast<qsizetype>(expected.size())));
}

INSTANTIATE_TEST_SUITE_P(Cases, PlainTextTest, ::testing::ValuesIn(kPlainCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ReadNotes, RichTextIsReadAsRichText) {
    const auto document = readNotes("{\\rtf1 plain {\\b bold}\\par next}");
    EXPECT_EQ(describe(*document), QStringLiteral("plain [b]bold\nnext"));
}

TEST(ReadNotes, TooMuchIsReadNeitherWay) {
    const QByteArray tooMuch(kMaxNotesFileBytes + 1, 'x');
    try {
        readNotes(tooMuch);
        FAIL() << "no error";
    } catch (const NotesFileError& error) {
        EXPECT_STREQ(error.what(), "Das Laden des Streams ist mißlungen");
    }
}

class NotesFileTest : public ::testing::Test {
protected:
    QString filePath(const QString& name) const { return folder_.filePath(name); }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }

    // The error text of the call, or "(none)".
    template <typename Call> static std::string errorOf(Call call) {
        try {
            call();
        } catch (const NotesFileError& error) {
            return error.what();
        }
        return "(none)";
    }

    static std::string native(const QString& path) {
        return QDir::toNativeSeparators(path).toStdString();
    }

    QTemporaryDir folder_;
};

// "Save and Load of a text with coloured and bold passages keep the formatting."
TEST_F(NotesFileTest, SavedNotesLoadWithTheirFormatting) {
    QTextDocument notes;
    QTextCursor cursor(&notes);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Avoid "));
    cursor.insertText(QStringLiteral("Xenon"), red);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("space, "), QTextCharFormat());
    cursor.insertText(QStringLiteral("always"), bold);
    const QString path = filePath(QStringLiteral("notes.vrn"));

    saveNotesFile(path, notes);
    EXPECT_TRUE(bytes(path).startsWith("{\\rtf1"));
    EXPECT_EQ(describe(*loadNotesFile(path)), describe(notes));
    EXPECT_EQ(describe(notes), QStringLiteral("Avoid [fg=#ff0000]Xenon\nspace, [b]always"));
}

TEST_F(NotesFileTest, PlainTextFilesLoadUnformatted) {
    const QString path = filePath(QStringLiteral("plain.txt"));
    write(path, "Line one\r\nLine \xe4\r\n");
    EXPECT_EQ(describe(*loadNotesFile(path)), QStringLiteral("Line one\nLine ä\n"));
}

TEST_F(NotesFileTest, SavingReplacesTheWholeFile) {
    const QString path = filePath(QStringLiteral("notes.vrn"));
    write(path, QByteArray(100'000, 'o'));
    QTextDocument notes(QStringLiteral("short"));
    saveNotesFile(path, notes);
    EXPECT_EQ(plainText(*loadNotesFile(path)), QStringLiteral("short\n"));
    EXPECT_LT(bytes(path).size(), 1000);
}

// Whatever is no regular file is reported at once, never waited on.
TEST_F(NotesFileTest, AFileThatCantBeOpenedIsReportedWithItsFullPath) {
    const QString pipe = filePath(QStringLiteral("pipe.vrn"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {filePath(QStringLiteral("missing.vrn")), folder_.path(), pipe,
                                QStringLiteral("/dev/zero")}) {
        EXPECT_EQ(errorOf([&] { loadNotesFile(path); }),
                  "Datei " + native(path) + " kann nicht geöffnet werden");
    }
}

TEST_F(NotesFileTest, ARelativePathIsReportedInFull) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    const std::string error = errorOf([] { loadNotesFile(QStringLiteral("upgrade.vr")); });
    QDir::setCurrent(previous);
    EXPECT_EQ(error, "Datei " + native(filePath(QStringLiteral("upgrade.vr"))) +
                         " kann nicht geöffnet werden");
}

TEST_F(NotesFileTest, AFileTooLargeIsReadNeitherWay) {
    const QString path = filePath(QStringLiteral("huge.vrn"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(kMaxNotesFileBytes + 1)); // sparse: nothing is written
    }
    EXPECT_EQ(errorOf([&] { loadNotesFile(path); }), "Das Laden des Streams ist mißlungen");
}

TEST_F(NotesFileTest, AFileThatCantBeCreatedIsReportedWithItsFullPath) {
    const QString path = filePath(QStringLiteral("no/such/folder/notes.vrn"));
    EXPECT_EQ(errorOf([&] { saveNotesFile(path, QTextDocument()); }),
              "Datei " + native(path) + " kann nicht erstellt werden");
    EXPECT_FALSE(QFile::exists(path));
}

// The old file can't be replaced: read-only for a normal user; for root,
// who may write anything, immutable where the file system allows that.
TEST_F(NotesFileTest, AFailedSaveLeavesTheOldFileByteForByte) {
    const QString path = filePath(QStringLiteral("old.vrn"));
    const QByteArray old = "{\\rtf1 the old notes\\par}\r\n";
    write(path, old);
    bool immutable = false;
    if (geteuid() == 0) {
        immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
        if (!immutable) {
            GTEST_SKIP() << "root can write any file, and chattr +i is not available here";
        }
    } else {
        QFile::setPermissions(folder_.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }

    const std::string error =
        errorOf([&] { saveNotesFile(path, QTextDocument(QStringLiteral("new notes"))); });

    if (immutable) {
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    } else {
        QFile::setPermissions(folder_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
    }
    EXPECT_EQ(error, "Datei " + native(path) + " kann nicht erstellt werden");
    EXPECT_EQ(bytes(path), old);
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.vrn")});
}

} // namespace
