// The database trees at the size of a large info data file: reading and
// showing 100,000 nodes, one search step, a rename in a long list, the
// user's notes on the star map from an own database of that size and its
// recovery copy, the whole program's start with such a file as the info
// data file or as the own database, and the memory and the page switches of
// a program started with an info file of 1.38 million nodes (50 MB).
#include "DatabaseEntries.h"
#include "DatabaseModel.h"
#include "DatabaseTree.h"
#include "FlatComboBox.h"
#include "HeadlessMain.h"
#include "MainWindow.h"
#include "NodeText.h"
#include "RouteEngine.h"
#include "SearchListModel.h"
#include "SettingsStore.h"
#include "Startup.h"
#include "SystemNotes.h"
#include "TreeFile.h"
#include "TreeText.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// Ten top-level sectors of ten groups of a thousand entries each: 100,110
// nodes, the long lists at the bottom as in a real reference tree.
Tree generatedInfoTree() {
    Tree tree;
    for (int sector = 0; sector < 10; ++sector) {
        TreeNode& top = tree.append(tree.root(), "Sector " + std::to_string(sector));
        for (int group = 0; group < 10; ++group) {
            TreeNode& list = tree.append(top, "Station group " + std::to_string(group));
            for (int entry = 0; entry < 1000; ++entry) {
                tree.append(list, "Station " + std::to_string(entry) + ": Gr\xfc\xdf Dome, sun " +
                                      std::to_string(entry % 300) + "%");
            }
        }
    }
    return tree;
}

QString shippedFile(const char* name) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QString::fromLatin1(name);
}

std::unique_ptr<RouteEngine> shippedUniverse() {
    auto engine = std::make_unique<RouteEngine>();
    engine->setFilename(QFile::encodeName(shippedFile("core.vr")).toStdString());
    engine->loadMatrix();
    return engine;
}

// The default own database of the shipped universe, with a user's notes
// under every system: 37 topics of 50 notes each, 100,227 nodes. Every
// system has notes, so the star map marks them all.
Tree generatedOwnDatabase() {
    const auto engine = shippedUniverse();
    Tree tree;
    TreeNode& root = tree.append(tree.root(), OwnDatabaseRoot);
    std::array<TreeNode*, 7> groups{};
    for (const RaceGroup& group : RaceGroups) {
        groups.at(static_cast<std::size_t>(group.race)) = &tree.append(root, group.text);
    }
    TreeNode& others = tree.append(root, "Other systems");
    for (int x = 0; x < RouteEngine::GridSize; ++x) {
        for (int y = 0; y < RouteEngine::GridSize; ++y) {
            const StarElement& sector = engine->sectorAt(x, y);
            if (sector.name.empty()) {
                continue;
            }
            TreeNode* group =
                sector.race >= 1 && sector.race <= 5 ? groups.at(sector.race) : &others;
            TreeNode& system = tree.append(*group, sector.name);
            for (int topic = 0; topic < 37; ++topic) {
                TreeNode& heading = tree.append(system, "Topic " + std::to_string(topic));
                for (int note = 0; note < 50; ++note) {
                    tree.append(heading, "Note " + std::to_string(note) + ": ore at " +
                                             std::to_string(note * 7 % 300) + " Cr");
                }
            }
        }
    }
    return tree;
}

class GeneratedFile {
public:
    GeneratedFile(const char* name, const Tree& tree)
        : path_(folder_.filePath(QString::fromLatin1(name))) {
        saveTreeFile(tree, path_);
    }
    const QString& filePath() const { return path_; }

private:
    QTemporaryDir folder_;
    QString path_;
};

const GeneratedFile& infoFile() {
    static const GeneratedFile file("vantor.vr", generatedInfoTree());
    return file;
}

const GeneratedFile& ownDatabaseFile() {
    static const GeneratedFile file("OwnData.txt", generatedOwnDatabase());
    return file;
}

// The tree view of the pages, with node lines and roll-out as a first run has them.
std::unique_ptr<DatabaseTree> databaseTree() {
    auto tree = std::make_unique<DatabaseTree>(nullptr, "ZenitDat", "System Database", 19);
    tree->setNodeLines(true);
    tree->setRollOut(true);
    return tree;
}

// Shows the model in a tree view and waits until it has been painted once.
void showAndPaint(QTreeView& view, DatabaseModel& model) {
    view.setModel(&model);
    view.resize(316, 390);
    view.show();
    QApplication::processEvents();
    view.viewport()->repaint();
}

void LoadAndShow(benchmark::State& state) {
    const QString path = infoFile().filePath();
    for (auto _ : state) {
        auto model = std::make_unique<DatabaseModel>();
        auto view = databaseTree();
        model->load(path);
        showAndPaint(*view, *model);
        state.PauseTiming();
        view.reset();
        model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(LoadAndShow)->Unit(benchmark::kMillisecond);

// One step of the tree search from the top; the keyword is only in the very
// last node, so the step walks the whole tree.
void SearchStep(benchmark::State& state, const QString& keyword) {
    DatabaseModel model;
    model.load(infoFile().filePath());
    model.append(QModelIndex(), keyword);
    for (auto _ : state) {
        const auto hit = model.find(0, keyword);
        if (!hit || hit->position != model.tree().size() - 1) {
            state.SkipWithError("the search missed the last node");
        }
    }
}
BENCHMARK_CAPTURE(SearchStep, Ascii, QStringLiteral("Kessa Reach"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SearchStep, Accented, QStringLiteral("Kessa Gr\u00fc\u00dfe"))
    ->Unit(benchmark::kMillisecond);

// A repaint and a scroll step of a tree whose entries include one of 20 MB
// on a single line, shown on screen.
void RepaintWithHugeEntry(benchmark::State& state) {
    Tree tree;
    for (int entry = 0; entry < 100; ++entry) {
        tree.append(tree.root(), entry == 3 ? std::string(20 * 1024 * 1024, 'x')
                                            : "Station " + std::to_string(entry));
    }
    DatabaseModel model;
    model.replace(std::move(tree));
    const auto view = databaseTree();
    showAndPaint(*view, model);
    int step = 1;
    for (auto _ : state) {
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() + step);
        step = -step;
        view->viewport()->repaint();
    }
}
BENCHMARK(RepaintWithHugeEntry)->Unit(benchmark::kMillisecond);

// A key typed into a search box that shares the list of the generated tree,
// matching no entry, so that the completion looks at every item.
void CompleteInSharedList(benchmark::State& state) {
    DatabaseModel model;
    model.replace(generatedInfoTree());
    SearchListModel list;
    list.listTreeOf(model);
    FlatComboBox box;
    box.setSorted(true);
    box.setModel(&list);
    for (auto _ : state) {
        if (box.completeText(QStringLiteral("zz no such entry"))) {
            state.SkipWithError("an entry matched");
        }
    }
    state.counters["items"] = box.count();
}
BENCHMARK(CompleteInSharedList)->Unit(benchmark::kMillisecond);

// One list of 10,000 siblings under a top-level node, in the user's order
// or in a shuffled one, as a tree read from a file may be.
Tree longList(bool sorted) {
    Tree tree;
    TreeNode& list = tree.append(tree.root(), "Teladi");
    for (int entry = 0; entry < 10'000; ++entry) {
        tree.append(list, "Station " + std::to_string(sorted ? entry : (entry * 7919) % 10'000));
    }
    if (sorted) {
        tree.sortTree(displayTextOrder());
    }
    return tree;
}

// A rename in the middle of the list, shown open in a tree view with the
// renamed node selected; it moves to one end of the list or the other.
void RenameInLongList(benchmark::State& state, bool sortedBefore) {
    DatabaseModel model;
    model.setEditableCheck([](const TreeNode&) { return true; });
    const auto tree = databaseTree();
    QTreeView& view = *tree;
    showAndPaint(view, model);
    bool toEnd = true;
    for (auto _ : state) {
        state.PauseTiming();
        if (!sortedBefore || model.tree().empty()) {
            model.replace(longList(sortedBefore));
            const QModelIndex list = model.index(0, 0);
            view.expand(list);
            view.setCurrentIndex(model.index(5000, 0, list));
        }
        const QModelIndex renamed = view.currentIndex();
        state.ResumeTiming();
        model.setData(renamed, toEnd ? QStringLiteral("Zenith") : QStringLiteral("Aurora"));
        toEnd = !toEnd;
    }
}
BENCHMARK_CAPTURE(RenameInLongList, sorted, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RenameInLongList, ReadInFileOrder, false)->Unit(benchmark::kMillisecond);

// The user's notes on the star map worked out afresh after a change of the
// generated own database, as when the map opens or the tree changes while
// it is open.
void NotesOnTheMap(benchmark::State& state) {
    const auto engine = shippedUniverse();
    DatabaseModel model;
    model.load(ownDatabaseFile().filePath());
    SystemNotes notes(model, *engine, nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        model.remove(model.append(QModelIndex(), std::string("Changed")));
        state.ResumeTiming();
        if (notes.notesOf(2, 1).size() != SystemNotes::KeptLines) {
            state.SkipWithError("Corvane's notes are missing");
        }
    }
}
BENCHMARK(NotesOnTheMap)->Unit(benchmark::kMillisecond);

// What the user interface thread spends on a recovery copy of the generated
// own database: its tree text, which the writing thread then writes.
void RecoveryCopyOfOwnDatabase(benchmark::State& state) {
    DatabaseModel model;
    model.load(ownDatabaseFile().filePath());
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeTree(model.tree()));
    }
    state.counters["nodes"] = static_cast<double>(model.tree().size());
}
BENCHMARK(RecoveryCopyOfOwnDatabase)->Unit(benchmark::kMillisecond);

enum class Generated { Nothing, InfoFile, OwnDatabase };

// The own database to load at start, as the user's last export with
// auto-load on.
void storeLastOwnDatabase(const QString& path) {
    SettingsStore store;
    store.open();
    store.writeFlag(QStringLiteral("AutoLoad ODat"), true);
    store.writeText(QStringLiteral("LIodat"), path);
    store.close();
}

// The whole program started in a folder of its own, with the shipped core
// data, the shipped info data file or the generated one, and the default
// own database or the generated one, and shown: both trees and all item
// lists filled. The settings live in a folder of their own, empty as on a
// first run unless they name the generated own database.
void StartUp(benchmark::State& state, Generated generated) {
    QTemporaryDir program;
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    const QString folder = program.path() + QLatin1Char('/');
    QFile::copy(shippedFile("core.vr"), folder + QStringLiteral("core.vr"));
    QFile::copy(generated == Generated::InfoFile ? infoFile().filePath() : shippedFile("vantor.vr"),
                folder + QStringLiteral("vantor.vr"));
    if (generated == Generated::OwnDatabase) {
        storeLastOwnDatabase(ownDatabaseFile().filePath());
    }
    for (auto _ : state) {
        auto started = std::make_unique<VantorProgram>(StartOptions{folder});
        started->showMainWindow();
        QApplication::processEvents();
        state.PauseTiming();
        started.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(StartUp, ShippedInfoFile, Generated::Nothing)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartUp, HundredThousandNodes, Generated::InfoFile)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(StartUp, HundredThousandNodeOwnDatabase, Generated::OwnDatabase)
    ->Unit(benchmark::kMillisecond);

// A reference tree of 1,381,010 lines and 50 MB: ten sectors of a hundred
// groups of 1,380 entries each, written straight into the file.
void writeLargeInfoFile(const QString& path) {
    static const char* const kinds[] = {"Station", "Dock",  "Trading Post",    "Shipyard",
                                        "Factory", "Mine",  "Gr\xfc\xdf Dome", "Outpost",
                                        "Relay",   "Beacon"};
    std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
    for (int sector = 0; sector < 10; ++sector) {
        out << "Sector " << sector << "\r\n";
        for (int group = 0; group < 100; ++group) {
            out << "\tGroup " << group << " of sector " << sector << "\r\n";
            for (int entry = 0; entry < 1380; ++entry) {
                out << "\t\t" << kinds[(entry * 7 + group) % 10] << ' ' << entry << ": sun "
                    << entry % 300 << "%, ring " << group << " #" << entry % 37 << "\r\n";
            }
        }
    }
}

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

// The child's part: starts the program in the folder, opens every page as a
// click on its tab does, and prints its resident memory and the slowest
// page's opening in milliseconds.
int openEveryPage(const QString& folder) {
    auto started = std::make_unique<VantorProgram>(StartOptions{folder});
    started->showMainWindow();
    QApplication::processEvents();
    auto* pages = started->mainWindow()->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    qint64 slowest = 0;
    for (int page = 1; page <= pages->count(); ++page) {
        QElapsedTimer opening;
        opening.start();
        pages->setCurrentIndex(page % pages->count());
        QApplication::processEvents();
        started->mainWindow()->repaint();
        slowest = std::max(slowest, opening.elapsed());
    }
    std::printf("%ld %lld\n", residentKilobytes(), static_cast<long long>(slowest));
    return 0;
}

struct PagesOpened {
    double residentMegabytes = 0;
    double slowestPageMilliseconds = 0;
};

// A program of its own in a child process, so that each start is measured
// from a fresh heap.
PagesOpened measureEveryPageOpened(const QString& infoFile) {
    QTemporaryDir program;
    QTemporaryDir settings;
    const QString shipped = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString folder = program.path() + QLatin1Char('/');
    QFile::copy(shipped + QStringLiteral("core.vr"), folder + QStringLiteral("core.vr"));
    if (infoFile.isEmpty()) {
        writeLargeInfoFile(folder + QStringLiteral("vantor.vr"));
    } else {
        QFile::copy(infoFile, folder + QStringLiteral("vantor.vr"));
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--open-every-page"), folder});
    child.waitForFinished(600'000);
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 2) {
        return {};
    }
    return {figures[0].toDouble() / 1024, figures[1].toDouble()};
}

// Every page opened once, with the shipped info file and with the large one:
// what the large file adds to the resident memory, also as a multiple of its
// size, and the slowest page's opening.
void EveryPageOpened(benchmark::State& state) {
    const QString shippedInfo =
        QCoreApplication::applicationDirPath() + QStringLiteral("/vantor.vr");
    PagesOpened shipped;
    PagesOpened large;
    for (auto _ : state) {
        shipped = measureEveryPageOpened(shippedInfo);
        large = measureEveryPageOpened(QString());
    }
    if (large.residentMegabytes == 0 || shipped.residentMegabytes == 0) {
        state.SkipWithError("the child program did not report");
        return;
    }
    QTemporaryDir sizing;
    writeLargeInfoFile(sizing.filePath(QStringLiteral("vantor.vr")));
    const double fileMegabytes =
        static_cast<double>(QFileInfo(sizing.filePath(QStringLiteral("vantor.vr"))).size()) /
        (1024 * 1024);
    const double growth = large.residentMegabytes - shipped.residentMegabytes;
    state.counters["file_MB"] = fileMegabytes;
    state.counters["shipped_MB"] = shipped.residentMegabytes;
    state.counters["large_MB"] = large.residentMegabytes;
    state.counters["growth_x_file"] = growth / fileMegabytes;
    state.counters["slowest_page_ms"] = large.slowestPageMilliseconds;
}
BENCHMARK(EveryPageOpened)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--open-every-page") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        return openEveryPage(QString::fromLocal8Bit(argv[2]));
    }
    return runHeadlessBenchmarks(argc, argv);
}
