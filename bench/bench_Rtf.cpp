// The notes files: loading and saving a generated 1 MB notepad of many
// formatted paragraphs (aim: 0.2 s each, also loaded into the notepad until
// its first page shows), a 1 MB table (aim: 1 s), the reader's speed on
// RTF that is mostly plain text (aim: 20 MB/s and more), and the recovery
// copy of that notepad, which may hold up the user interface for no more
// than 16 ms.
#include "HeadlessMain.h"
#include "NotepadPage.h"
#include "NotesFile.h"
#include "NotesSnapshot.h"
#include "RecoveryKeeper.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <sys/resource.h>

namespace {

constexpr qsizetype kNotepadBytes = 1'000'000;
constexpr qsizetype kPlainBytes = 16'000'000;

// A small fixed generator, so every run measures the same notepad.
class Random {
public:
    std::uint32_t next(std::uint32_t below) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % below;
    }

private:
    std::uint32_t state_ = 12345;
};

const std::array<const char*, 12> kWords{"Tevrin", "Quay",     "through", "south-gate",
                                         "ore",    "crystals", "Käse",    "12 €",
                                         "Ζωή",    "Ormsby",   "Drift",   "avoid Xenon space"};

QTextCharFormat randomFormat(Random& random) {
    QTextCharFormat format;
    switch (random.next(8)) {
    case 0:
        format.setFontWeight(QFont::Bold);
        break;
    case 1:
        format.setFontItalic(true);
        break;
    case 2:
        format.setFontUnderline(true);
        format.setForeground(QColor(0, 160, 0));
        break;
    case 3:
        format.setForeground(QColor(255, 0, 0));
        format.setBackground(QColor(255, 255, 0));
        break;
    case 4:
        format.setFontFamilies({QStringLiteral("DejaVu Serif")});
        format.setFontPointSize(14);
        break;
    case 5:
        format.setFontStrikeOut(true);
        break;
    default:
        break; // plain text
    }
    return format;
}

// Paragraphs of 5 to 40 words in runs of mixed formatting, until the RTF
// reaches 1 MB.
std::unique_ptr<QTextDocument> makeNotepad() {
    auto document = std::make_unique<QTextDocument>();
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    document->setDefaultFont(font);
    Random random;
    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    for (int paragraph = 0;; ++paragraph) {
        if (paragraph % 200 == 0 && paragraph > 0 && writeRtf(*document).size() >= kNotepadBytes) {
            break;
        }
        if (paragraph > 0) {
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        }
        const std::uint32_t words = 5 + random.next(36);
        for (std::uint32_t word = 0; word < words;) {
            const std::uint32_t run = 1 + random.next(6);
            QString text;
            for (std::uint32_t i = 0; i < run && word < words; ++i, ++word) {
                text += QString::fromUtf8(kWords[random.next(kWords.size())]) + QLatin1Char(' ');
            }
            cursor.insertText(text, randomFormat(random));
        }
    }
    cursor.endEditBlock();
    return document;
}

const QTextDocument& sampleNotepad() {
    static const std::unique_ptr<QTextDocument> notepad = makeNotepad();
    return *notepad;
}

const QByteArray& notepadRtf() {
    static const QByteArray rtf = writeRtf(sampleNotepad());
    return rtf;
}

// RTF as a plain-text note gives it: long paragraphs of ASCII text.
const QByteArray& plainRtf() {
    static const QByteArray rtf = [] {
        QByteArray bytes = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Tahoma;}}\n";
        const QByteArray line = "The way from Tevrin Quay through the south-gate to Ormsby "
                                "Drift, then east to Brightwater Crossing.";
        while (bytes.size() < kPlainBytes) {
            for (int i = 0; i < 8; ++i) {
                bytes += line + ' ';
            }
            bytes += "\\par\n";
        }
        return bytes + '}';
    }();
    return rtf;
}

void ReadNotepad(benchmark::State& state) {
    const QByteArray& rtf = notepadRtf();
    for (auto _ : state) {
        benchmark::DoNotOptimize(readNotes(rtf));
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["paragraphs"] = sampleNotepad().blockCount();
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(ReadNotepad)->Unit(benchmark::kMillisecond);

void WriteNotepad(benchmark::State& state) {
    const QTextDocument& notepad = sampleNotepad();
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeRtf(notepad));
    }
    state.SetBytesProcessed(state.iterations() * notepadRtf().size());
}
BENCHMARK(WriteNotepad)->Unit(benchmark::kMillisecond);

// What the notepad's Load and Save do, the file system included.
void LoadNotepadFile(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("notes.vrn"));
    saveNotesFile(path, sampleNotepad());
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadNotesFile(path));
    }
}
BENCHMARK(LoadNotepadFile)->Unit(benchmark::kMillisecond);

void SaveNotepadFile(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("notes.vrn"));
    for (auto _ : state) {
        saveNotesFile(path, sampleNotepad());
    }
}
BENCHMARK(SaveNotepadFile)->Unit(benchmark::kMillisecond);

// Load as the user waits for it: the file read, the document swapped into a
// notepad of the page's size, and its first page drawn. The rest of the
// layout follows in the background.
void LoadNotepadIntoBox(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("notes.vrn"));
    saveNotesFile(path, sampleNotepad());
    QTextEdit box;
    box.resize(431, 341);
    box.show();
    for (auto _ : state) {
        showDocument(box, loadNotesFile(path));
        box.viewport()->repaint();
    }
}
BENCHMARK(LoadNotepadIntoBox)->Unit(benchmark::kMillisecond);

// A notes file that is one long table, as a price list pasted from a word
// processor gives it: three columns, rows until the RTF reaches 1 MB.
const QByteArray& tableRtf() {
    static const QByteArray rtf = [] {
        QByteArray bytes = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Tahoma;}}\n";
        for (int row = 0; bytes.size() < kNotepadBytes; ++row) {
            bytes += "\\trowd\\cellx3000\\cellx6000\\cellx9000\\pard\\intbl Tevrin Quay ";
            bytes += QByteArray::number(row);
            bytes += "\\cell south-gate\\cell {\\b 12 \\'80}\\cell\\row\n";
        }
        return bytes + "\\pard\\par}";
    }();
    return rtf;
}

void ReadTableRtf(benchmark::State& state) {
    const QByteArray& rtf = tableRtf();
    for (auto _ : state) {
        benchmark::DoNotOptimize(readRtf(rtf));
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(ReadTableRtf)->Unit(benchmark::kMillisecond);

void ReadPlainRtf(benchmark::State& state) {
    const QByteArray& rtf = plainRtf();
    for (auto _ : state) {
        benchmark::DoNotOptimize(readRtf(rtf));
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(ReadPlainRtf)->Unit(benchmark::kMillisecond);

// What the user interface thread spends on a recovery copy: the snapshot of
// the notes that the writing thread turns into RTF.
void RecoverySnapshot(benchmark::State& state) {
    const QTextDocument& notepad = sampleNotepad();
    for (auto _ : state) {
        benchmark::DoNotOptimize(NotesSnapshot(notepad));
    }
}
BENCHMARK(RecoverySnapshot)->Unit(benchmark::kMillisecond);

// The processor time the calling thread has used.
double threadMilliseconds() {
    rusage used{};
    getrusage(RUSAGE_THREAD, &used);
    const auto milliseconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
    };
    return milliseconds(used.ru_utime) + milliseconds(used.ru_stime);
}

// A whole recovery copy, from the change until the file is in place, while
// a timer ticks every millisecond on the user interface thread: the longest
// time it was held up (longest_ui_block_ms, aim: under 16, the snapshot
// included; on a busy machine it includes the time the thread waited for a
// processor), and the processor time the user interface thread spent on the
// copy (ui_thread_ms).
void RecoveryCopyHoldsUpTheUserInterface(benchmark::State& state) {
    QTemporaryDir folder;
    const QTextDocument& notepad = sampleNotepad();
    RecoveryKeeper keeper(folder.path(),
                          {{QStringLiteral("notepad.rtf"),
                            QStringLiteral("the notepad"),
                            [] { return true; },
                            [&notepad] {
                                return [snapshot = std::make_shared<NotesSnapshot>(notepad)] {
                                    return snapshot->rtf();
                                };
                            },
                            {}}});
    const QString copy = keeper.copyPath(0);
    double longest = 0;
    double uiThread = 0;
    for (auto _ : state) {
        QFile::remove(copy);
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        QEventLoop loop;
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, static_cast<double>(now - last) / 1e6);
            last = now;
            if (QFileInfo::exists(copy)) {
                loop.quit();
            }
        });
        tick.start();
        const double before = threadMilliseconds();
        keeper.partChanged(0);
        keeper.writeNow();
        uiThread = std::max(uiThread, threadMilliseconds() - before);
        loop.exec();
    }
    keeper.waitForWriting();
    state.counters["longest_ui_block_ms"] = longest;
    state.counters["ui_thread_ms"] = uiThread;
}
BENCHMARK(RecoveryCopyHoldsUpTheUserInterface)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

// The notepad box needs an application.
int main(int argc, char** argv) {
    return runHeadlessBenchmarks(argc, argv);
}
