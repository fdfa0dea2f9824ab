// The snapshot that the recovery copy writes from: the RTF it gives on another
// thread is the RTF of the document as it was when it was taken.
#include "NotesSnapshot.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <thread>

namespace {

QByteArray rtfOnAnotherThread(const NotesSnapshot& snapshot) {
    QByteArray rtf;
    std::thread writer([&] { rtf = snapshot.rtf(); });
    writer.join();
    return rtf;
}

std::unique_ptr<QTextDocument> html(const char* markup) {
    auto document = std::make_unique<QTextDocument>();
    document->setHtml(QString::fromUtf8(markup));
    return document;
}

struct SnapshotCase {
    const char* name;
    std::function<std::unique_ptr<QTextDocument>()> make;
};

void PrintTo(const SnapshotCase& snapshotCase, std::ostream* out) {
    *out << snapshotCase.name;
}

class NotesSnapshotOf : public testing::TestWithParam<SnapshotCase> {};

TEST_P(NotesSnapshotOf, WritesTheSameRtfAsTheDocument) {
    const std::unique_ptr<QTextDocument> document = GetParam().make();
    EXPECT_EQ(rtfOnAnotherThread(NotesSnapshot(*document)), writeRtf(*document));
}

INSTANTIATE_TEST_SUITE_P(
    Documents, NotesSnapshotOf,
    testing::Values(
        SnapshotCase{"Empty",
                     [] {
                         return std::make_unique<QTextDocument>();
                     }},
        SnapshotCase{"AlignedAndFormatted",
                     [] {
                         return html("<p align=center><b>Ore</b> at <i>Corvane</i>\tnow</p>"
                                     "<p align=right style='font-size:14pt;color:#f00;"
                                     "background:#ff0'>R&amp;D {x}\\</p><p>Z\u00e4h \u2028"
                                     "line \U0001F680</p>");
                     }},
        SnapshotCase{"TablesListsAndPictures",
                     [] {
                         return html("<table><tr><td>a</td><td><b>b</b></td></tr></table>"
                                     "<ul><li>one</li><li>two</li></ul><img src='x.png'>"
                                     "<a href='https://example.org'>link</a>");
                     }},
        SnapshotCase{"MergedNestedCellsListsAndFrames",
                     [] {
                         auto document =
                             html("<ol><li>one</li></ol><table><tr><td colspan=2 align=right>"
                                  "<b>wide</b><ul><li>in a cell</li></ul></td><td rowspan=2>tall"
                                  "</td></tr><tr><td><table><tr><td>inner</td></tr></table></td>"
                                  "<td></td></tr></table><ol><li>two</li></ol>");
                         // The list goes on after the table, and a frame follows.
                         QTextCursor cursor(document.get());
                         cursor.movePosition(QTextCursor::End);
                         cursor.insertFrame(QTextFrameFormat())
                             ->firstCursorPosition()
                             .insertText(QStringLiteral("framed"));
                         return document;
                     }},
        SnapshotCase{"PixelSizedDefaultFont",
                     [] {
                         auto document = std::make_unique<QTextDocument>();
                         QFont font(QStringLiteral("DejaVu Sans"));
                         font.setPixelSize(11);
                         document->setDefaultFont(font);
                         QTextCursor(document.get()).insertText(QStringLiteral("Quay\nDrift"));
                         return document;
                     }},
        SnapshotCase{"CorpusFiles",
                     [] {
                         // Every corpus file after the other, as one document.
                         auto all = std::make_unique<QTextDocument>();
                         QTextCursor cursor(all.get());
                         const QDir corpus(QStringLiteral(VANTOR_RICHTEXT_CORPUS));
                         for (const QString& name : corpus.entryList({QStringLiteral("*.rtf")})) {
                             QFile file(corpus.filePath(name));
                             EXPECT_TRUE(file.open(QIODevice::ReadOnly));
                             const std::unique_ptr<QTextDocument> read = readRtf(file.readAll());
                             cursor.insertFragment(QTextDocumentFragment(read.get()));
                         }
                         return all;
                     }}),
    [](const auto& test) { return test.param.name; });

TEST(NotesSnapshot, KeepsTheDocumentAsItWasWhenTaken) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("before"));
    const QByteArray before = writeRtf(document);
    const NotesSnapshot snapshot(document);
    cursor.insertText(QStringLiteral(" and after"));
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Serif"), 30));
    EXPECT_EQ(rtfOnAnotherThread(snapshot), before);
}

} // namespace
