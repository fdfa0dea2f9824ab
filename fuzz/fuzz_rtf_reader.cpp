// The notes reader on any bytes: RTF or, failing the "{\rtf" mark, plain
// text. It must not crash, hang or leak, and what it read must come back
// unchanged through our writer and reader: same paragraphs, alignment, text
// (control characters aside) and formatting.
#include "NotesFile.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// One line per paragraph, with each character's formatting.
QStringList signature(const QTextDocument& document) {
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line = QString::number(block.blockFormat().alignment().toInt()) + QLatin1Char(':');
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString format =
                QStringLiteral("[%1%2%3%4 %5 %6 %7 %8]")
                    .arg(f.fontWeight() > QFont::Medium ? "b" : "-")
                    .arg(f.fontItalic() ? "i" : "-")
                    .arg(f.fontUnderline() ? "u" : "-")
                    .arg(f.fontStrikeOut() ? "s" : "-")
                    .arg(f.fontFamilies().toStringList().join(QLatin1Char(',')))
                    .arg(f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 0)
                    .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name()
                                                                     : QString())
                    .arg(f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().name()
                                                                     : QString());
            for (const QChar ch : it.fragment().text()) {
                // Plain text keeps every byte; RTF, ours included, carries
                // no control characters but the tab.
                if (ch.unicode() >= 0x20 || ch == QLatin1Char('\t')) {
                    line += format + ch;
                }
            }
        }
        lines << line;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto document = readNotes(bytes);
    const QByteArray written = writeRtf(*document);
    const auto again = readRtf(written);
    if (!again) {
        std::fputs("the writer's output is no RTF\n", stderr);
        std::abort();
    }
    const QStringList first = signature(*document);
    const QStringList second = signature(*again);
    if (first != second) {
        for (qsizetype i = 0; i < std::max(first.size(), second.size()); ++i) {
            if (first.value(i) != second.value(i)) {
                std::fprintf(stderr, "paragraph %lld differs after writing and reading:\n%s\n%s\n",
                             static_cast<long long>(i), qPrintable(first.value(i)),
                             qPrintable(second.value(i)));
                break;
            }
        }
        std::abort();
    }
    return 0;
}
