#include "TestSupport.h"

#include "Cp1252.h"
#include "MatrixShape.h"
#include "OptionsPanel.h"
#include "OwnDatabasePage.h"
#include "SystemDatabasePage.h"
#include "main.h"
#include "mappy.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <csignal>
#include <sys/resource.h>

namespace {

const char* const Root = "The Zenit-Database of the starsystems";

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The tree as the user sees it: a line per node in tree order, a TAB per level.
QStringList Shown(const QTreeView* tree) {
    QStringList lines;
    QList<std::pair<QModelIndex, int>> pending{{QModelIndex(), -1}};
    const QAbstractItemModel* model = tree->model();
    while (!pending.isEmpty()) {
        const auto [index, level] = pending.takeLast();
        if (index.isValid()) {
            lines << QString(level, u'\t') + index.data().toString();
        }
        for (int row = model->rowCount(index) - 1; row >= 0; --row) {
            pending.append({model->index(row, 0, index), level + 1});
        }
    }
    return lines;
}

// The first node in tree order whose text is the given one.
QModelIndex NodeOf(const QTreeView* tree, const QString& text) {
    const QModelIndexList found =
        tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, text, 1,
                             Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
}

qsizetype NodeCount(const QTreeView* tree) {
    qsizetype count = 0;
    QModelIndexList pending{QModelIndex()};
    while (!pending.isEmpty()) {
        const QModelIndex index = pending.takeLast();
        for (int row = 0; row < tree->model()->rowCount(index); ++row) {
            pending << tree->model()->index(row, 0, index);
            ++count;
        }
    }
    return count;
}

QString SelectedText(const QTreeView* tree) {
    const QModelIndexList selected = tree->selectionModel()->selectedIndexes();
    return selected.size() == 1 ? selected.first().data().toString() : QString();
}

// What the window manager does when the user clicks into a window or a
// modal message closes: the window becomes the active one again.
void Activate(QWidget* window) {
    // What the closing message left on its way arrives first.
    QTest::qWait(10);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
}

// A left click on a node, opened to view first.
void ClickNode(QTreeView* tree, const QModelIndex& node) {
    Activate(tree->window());
    tree->scrollTo(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(node).center());
}

// A right click on a node: the press selects it, the release asks for the menu.
QMenu* RightClickNode(QTreeView* tree, const QModelIndex& node) {
    Activate(tree->window());
    tree->scrollTo(node);
    const QPoint at = tree->visualRect(node).center();
    QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &menuEvent);
    return Find<QMenu>(tree->parentWidget(), "ODatMenu");
}

QStringList ShownItems(const QMenu* menu) {
    QStringList items;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible()) {
            items << action->text();
        }
    }
    return items;
}

void ChooseItem(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return;
        }
    }
    QFAIL(qPrintable("no menu item " + text));
}

QList<QPoint> RaceSectors(const TNinjaMatrix& engine, int race) {
    QList<QPoint> sectors;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            if (engine.Sector(x, y).Race == race) {
                sectors << QPoint(x, y);
            }
        }
    }
    return sectors;
}

QList<QPoint> HighlightedSectors(const TForm4* map) {
    QList<QPoint> lit;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            if (map->SectorShape(x, y)->FillSolid()) {
                lit << QPoint(x, y);
            }
        }
    }
    return lit;
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int index = 0; index < box->count(); ++index) {
        items << box->itemText(index);
    }
    return items;
}

// The program's main window and its database controls.
struct TPages {
    explicit TPages(const TProgramFixture& fixture)
        : Fixture(fixture)
        , Form(fixture.Form1())
        , ZenitDat(Find<QTreeView>(Form, "ZenitDat"))
        , ODat(Find<QTreeView>(Form, "ODat")) {
        Activate(Form);
    }

    QComboBox* Box(const char* name) const { return Find<QComboBox>(Form, name); }
    void Click(const char* button) const {
        QTest::mouseClick(Find<QAbstractButton>(Form, button), Qt::LeftButton);
    }
    void ShowTab(const QString& caption) const {
        QTabBar* tabs = Find<QTabWidget>(Form, "PageControl1")->tabBar();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            if (tabs->tabText(tab) == caption) {
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
            }
        }
    }
    QString ShownTab() const {
        const auto* pages = Find<QTabWidget>(Form, "PageControl1");
        return pages->tabText(pages->currentIndex());
    }
    QString Export(const char* name) const { return Fixture.ProgramFolder() + name; }

    const TProgramFixture& Fixture;
    TForm1* Form;
    QTreeView* ZenitDat;
    QTreeView* ODat;
};

QList<QStringList> Messages(const TMessageAnswerer& answerer) {
    QList<QStringList> seen;
    for (const TSeenMessage& message : answerer.Seen) {
        seen << QStringList{message.Caption, message.Text};
    }
    return seen;
}

} // namespace

class TDatabasePagesTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheInfoFileAndTheDefaultOwnDatabase() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        const TPages pages(fixture);
        QStringList file =
            DecodeCp1252(ReadFile(fixture.ProgramFolder() + "vantor.vr").toStdString())
                .split(QStringLiteral("\r\n"));
        file.removeLast();
        QCOMPARE(Shown(pages.ZenitDat), file);

        // The default tree: the race groups of the file, whose systems it lists sorted.
        QStringList expected{Root};
        for (const QString group : {"Argons", "Borons", "Paranids", "Split", "Teladi"}) {
            expected << u'\t' + group;
            for (qsizetype line = file.indexOf(u'\t' + group) + 1;
                 file[line].startsWith(QStringLiteral("\t\t")); ++line) {
                if (!file[line].startsWith(QStringLiteral("\t\t\t"))) {
                    expected << file[line];
                }
            }
        }
        QCOMPARE(Shown(pages.ODat), expected);

        const QStringList searchItems = Items(pages.Box("Suche"));
        QCOMPARE(searchItems.size(), file.size());
        QCOMPARE(fixture.Form1()->SystemDatabase().SearchItems(), searchItems);
        QCOMPARE(Items(pages.Box("OwnDat")), searchItems);
        QCOMPARE(Items(pages.Box("AddTO")), searchItems);
        QCOMPARE(pages.ZenitDat->accessibleName(), "System Database");
        QCOMPARE(pages.Box("AddTO")->accessibleName(), "Add to database");
    }

    // Enter and the button step from hit to hit, into collapsed branches,
    // report the end once and start over; an edited keyword starts at the top.
    void theTreeSearchStepsFromHitToHit() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        const TPages pages(fixture);
        pages.ShowTab(QStringLiteral("System Database"));
        const QStringList shown = Shown(pages.ZenitDat);
        const QStringList hits = shown.filter(QStringLiteral("Grain Dome"));
        QVERIFY(hits.size() > 2);

        TMessageAnswerer answerer;
        TypeInto(pages.Box("Suche"), QStringLiteral("Grain Dome"));
        for (int round = 0; round < 2; ++round) {
            for (const QString& hit : hits) {
                PressEnter();
                QCOMPARE(SelectedText(pages.ZenitDat), hit.trimmed());
                QVERIFY(pages.ZenitDat->isExpanded(pages.ZenitDat->currentIndex().parent()));
                QCOMPARE(QApplication::focusWidget(), pages.Box("Suche"));
            }
            pages.Click("SysSearch");
            Activate(pages.Form);
            pages.Box("Suche")->setFocus();
            QCOMPARE(
                Messages(answerer).takeLast(),
                (QStringList{"Search completed.", "\"Grain Dome\" could not be found again."}));
        }
        PressEnter();
        TypeInto(pages.Box("Suche"), QStringLiteral("grain dome"));
        PressEnter();
        QCOMPARE(Messages(answerer).takeLast(),
                 (QStringList{"Search completed.", "\"grain dome\" could not be found."}));

        // An empty box: Enter does nothing, the button asks for a keyword.
        const qsizetype shownBefore = answerer.Seen.size();
        Activate(pages.Form);
        TypeInto(pages.Box("Suche"), QString());
        PressEnter();
        QCOMPARE(answerer.Seen.size(), shownBefore);
        pages.Click("SysSearch");
        QCOMPARE(Messages(answerer).takeLast(),
                 (QStringList{"Error", "Please enter a keyword to search for."}));
    }

    // The popup of each tree sends the selected entry to the other tree's
    // search, and the found entry shows on the star map.
    void thePopupFindsAnEntryInTheOtherTree() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        const TPages pages(fixture);
        pages.ShowTab(QStringLiteral("System Database"));
        QMenu* menu = RightClickNode(pages.ZenitDat, NodeOf(pages.ZenitDat, "Tidewell"));
        QCOMPARE(ShownItems(menu), QStringList{"Find in Own-Database"});
        ChooseItem(menu, QStringLiteral("Find in Own-Database"));
        QCOMPARE(pages.ShownTab(), "Own Database");
        QCOMPARE(pages.Box("OwnDat")->currentText(), "Tidewell");
        QCOMPARE(SelectedText(pages.ODat), "Tidewell");
        QVERIFY(fixture.Form4()->isVisible());
        QCOMPARE(HighlightedSectors(fixture.Form4()), QList<QPoint>{QPoint(0, 4)});

        menu = RightClickNode(pages.ODat, NodeOf(pages.ODat, "Teladi"));
        QCOMPARE(ShownItems(menu),
                 (QStringList{"Edit", "Delete", QString(), "Find in System-Database"}));
        ChooseItem(menu, QStringLiteral("Find in System-Database"));
        QCOMPARE(pages.ShownTab(), "System Database");
        QCOMPARE(pages.Box("Suche")->currentText(), "Teladi");
        QCOMPARE(SelectedText(pages.ZenitDat), "Teladi");
        QCOMPARE(HighlightedSectors(fixture.Form4()), RaceSectors(fixture.Form1()->Engine(), 2));
    }

    void aClickOnAnEntryShowsItOnTheStarMap() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        const TPages pages(fixture);
        pages.ShowTab(QStringLiteral("Own Database"));
        TypeInto(pages.Box("AddTO"), QStringLiteral("My notes"));
        PressEnter();
        struct TRow {
            const char* Entry;
            QList<QPoint> Lit;
        };
        // A note that names no system leaves the map as the click before left it.
        for (const TRow& row :
             {TRow{"Pelagic Veil", {QPoint(0, 3)}}, TRow{"My notes", {QPoint(0, 3)}},
              TRow{"Paranids", RaceSectors(fixture.Form1()->Engine(), 5)}, TRow{Root, {}}}) {
            ClickNode(pages.ODat, NodeOf(pages.ODat, row.Entry));
            QVERIFY(fixture.Form4()->isVisible());
            QCOMPARE(HighlightedSectors(fixture.Form4()), row.Lit);
        }
        // Without the map link the map stays closed.
        fixture.Strip().CloseSatellites();
        fixture.Form1()->OptionsPanel().SetStarMapLinked(false);
        ClickNode(pages.ZenitDat, NodeOf(pages.ZenitDat, "Corvane"));
        QVERIFY(!fixture.Form4()->isVisible());
    }

    void entriesAreAddedRenamedAndDeletedButTheSkeletonStays() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        const TPages pages(fixture);
        pages.ShowTab(QStringLiteral("Own Database"));
        // The star map stays closed, so the main window keeps the keyboard.
        fixture.Form1()->OptionsPanel().SetStarMapLinked(false);
        TMessageAnswerer answerer;

        // "+" without a selection adds a top-level entry; Enter adds under
        // the selected one, last, unsorted, as often as asked.
        TypeInto(pages.Box("AddTO"), QStringLiteral("Zeta notes"));
        pages.Click("ADD");
        QCOMPARE(pages.Box("AddTO")->currentText(), QString());
        ClickNode(pages.ODat, NodeOf(pages.ODat, "Zeta notes"));
        for (const QString text : {"Ore deal", "Ore deal", "Bwarf"}) {
            TypeInto(pages.Box("AddTO"), text);
            PressEnter();
        }
        QCOMPARE(Shown(pages.ODat).mid(Shown(pages.ODat).indexOf("Zeta notes")),
                 (QStringList{"Zeta notes", "\tOre deal", "\tOre deal", "\tBwarf"}));

        struct TRow {
            const char* Entry;
            const char* Answer;
            bool ByKey;
            QList<QStringList> Seen;
            bool Kept;
        };
        const QStringList halt{"Complete halt.", "This entry cannot be deleted, because it is an "
                                                 "important part of the database."};
        const auto question = [](const char* entry) {
            return QStringList{"Delete", QStringLiteral("Are you sure you want to delete \"%1\"?")
                                             .arg(QLatin1String(entry))};
        };
        // The first entry of a list can be deleted too.
        for (const TRow& row : {
                 TRow{"Borons", "&Yes", false, {halt}, true},
                 TRow{"Tidewell", "&Yes", true, {question("Tidewell"), halt}, true},
                 TRow{"Ore deal", "&No", true, {question("Ore deal")}, true},
                 TRow{"Ore deal", "&Yes", true, {question("Ore deal")}, false},
                 TRow{"Zeta notes", "&Yes", false, {question("Zeta notes")}, false},
             }) {
            answerer.Seen.clear();
            answerer.SetButton(QString::fromLatin1(row.Answer));
            const qsizetype before = Shown(pages.ODat).size();
            ClickNode(pages.ODat, NodeOf(pages.ODat, row.Entry));
            if (row.ByKey) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
            } else {
                pages.Click("DEL");
            }
            QCOMPARE(Messages(answerer), row.Seen);
            QCOMPARE(Shown(pages.ODat).size() == before, row.Kept);
        }
        QVERIFY(!Shown(pages.ODat).contains("\tBwarf"));

        // Renaming: the skeleton refuses; a note takes the typed text and
        // moves to its place in the sorted list, still selected.
        answerer.Seen.clear();
        ChooseItem(RightClickNode(pages.ODat, NodeOf(pages.ODat, "Split")), "Edit");
        QCOMPARE(Messages(answerer), QList<QStringList>{halt});
        ClickNode(pages.ODat, NodeOf(pages.ODat, "Borons"));
        TypeInto(pages.Box("AddTO"), QStringLiteral("zz"));
        PressEnter();
        ChooseItem(RightClickNode(pages.ODat, NodeOf(pages.ODat, "zz")), "Edit");
        TypeInto(QApplication::focusWidget(), QStringLiteral("Ab\u00e7"));
        PressEnter();
        // The editor hands its text over once the key has been handled.
        QTRY_COMPARE(SelectedText(pages.ODat), QStringLiteral("Ab\u00e7"));
        const QModelIndex borons = NodeOf(pages.ODat, "Borons");
        QCOMPARE(pages.ODat->model()->index(0, 0, borons).data().toString(), "Ab\u00e7");
    }

    void bothTreesAreSavedAndLoaded() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        const TPages pages(fixture);
        const QString folder = QDir::toNativeSeparators(fixture.ProgramFolder());
        TMessageAnswerer answerer;

        pages.Click("BitBtnWithColor2");
        QCOMPARE(ReadFile(pages.Export("Vantor.txt")),
                 ReadFile(fixture.ProgramFolder() + "vantor.vr"));
        WriteFile(pages.Export("Vantor.txt"), "Only\r\n\tone");
        pages.Click("BitBtnWithColor3");
        QCOMPARE(Shown(pages.ZenitDat), (QStringList{"Only", "\tone"}));

        pages.Click("BitBtnWithColor9");
        pages.Click("BitBtnWithColor8");
        const QByteArray saved = ReadFile(pages.Export("OwnData.txt"));
        QVERIFY(
            saved.startsWith(QByteArray(Root) + "\r\n\tArgons\r\n\t\tBrightwater Crossing\r\n"));
        QCOMPARE(QSettings(fixture.SettingsFile(), QSettings::IniFormat).value("LIodat").toString(),
                 pages.Export("OwnData.txt"));
        WriteFile(pages.Export("OwnData.txt"), "b\n\tz\n\ty\na");
        pages.Click("BitBtnWithColor9");
        QCOMPARE(Shown(pages.ODat), (QStringList{"b", "\tz", "\ty", "a"}));

        QCOMPARE(
            Messages(answerer),
            (QList<QStringList>{
                {"Saved.", "The Zenit-Database was saved in \"Vantor.txt\" to " + folder + "\"."},
                {"Imported.", "An external database was imported out of \"Vantor.txt\" from \"" +
                                  folder + "\"."},
                {"File error.", "The file \"OwnData.txt\" which normaly includes the \"Own "
                                "Database\" could not be found in current directory."},
                {"Saved.",
                 "The \"Own Database\" was saved in \"OwnData.txt\" to \"" + folder + "\"."},
                {"Imported.", "An external \"Own Database\" was imported out of \"OwnData.txt\" "
                              "from \"" +
                                  folder + "\"."}}));
    }

    // Every malformed file gets its message or loads as far as it goes; the
    // program goes on with the next.
    void malformedFilesAreReportedAndTheProgramGoesOn() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        const TPages pages(fixture);
        const QString path = pages.Export("OwnData.txt");
        TMessageAnswerer answerer;
        TErrorBoxRecorder errors;
        QByteArray highBytes;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            highBytes += static_cast<char>(byte);
        }
        struct TRow {
            QByteArray Content;
            qsizetype Nodes;
            QString Error;
        };
        for (const TRow& row : {
                 TRow{"", 0, {}},
                 TRow{QByteArray(1, '\0'), 0, {}},
                 TRow{"a\r\tb\r\rc", 4, {}},
                 TRow{highBytes, 1, {}},
                 TRow{QByteArray(1 << 20, 'x'), 1, {}},
                 TRow{"a\n\t\t\tb", 1, "Ungültige Ebene (3) für Eintrag \"b\"\nDatei " + path},
                 TRow{{}, 1, "Datei " + path + " kann nicht geöffnet werden"},
             }) {
            answerer.Seen.clear();
            errors.Texts.clear();
            if (row.Error.contains("geöffnet")) {
                QFile::remove(path);
                QVERIFY(QDir().mkdir(path));
            } else {
                WriteFile(path, row.Content);
            }
            pages.Click("BitBtnWithColor9");
            QCOMPARE(errors.Texts, row.Error.isEmpty() ? QStringList() : QStringList{row.Error});
            QCOMPARE(answerer.Seen.size(), row.Error.isEmpty() ? 1 : 0);
            QCOMPARE(NodeCount(pages.ODat), row.Nodes);
        }
    }

    // A save that fails halfway (a file-size limit stops it even for root)
    // shows the create error and leaves the old file as it was.
    void aFailedSaveKeepsTheOldFile() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        const TPages pages(fixture);
        const QString path = pages.Export("OwnData.txt");
        WriteFile(path, QByteArray("a long line of the own database\r\n").repeated(10'000));
        TMessageAnswerer answerer;
        pages.Click("BitBtnWithColor9");
        const QByteArray old = "old\r\n\tnotes \xe4\r\n";
        WriteFile(path, old);

        TErrorBoxRecorder errors;
        answerer.Seen.clear();
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &small);
        pages.Click("BitBtnWithColor8");
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldSignal);

        QCOMPARE(errors.Texts, QStringList{"Datei " + path + " kann nicht erstellt werden"});
        QVERIFY(answerer.Seen.isEmpty());
        QCOMPARE(ReadFile(path), old);
    }

    // The last own database is loaded and sorted at start; a level error in
    // it stops the start before the system database is read.
    void theAutoLoadedOwnDatabase() {
        for (const bool broken : {false, true}) {
            TProgramFixture fixture;
            const QString file = fixture.ProgramFolder() + "OwnData.txt";
            WriteFile(file, broken ? "b\n\tz\n\ty\na\n\t\t\tbad" : "b\n\tz\n\ty\na");
            QDir().mkpath(QFileInfo(fixture.SettingsFile()).absolutePath());
            WriteFile(fixture.SettingsFile(),
                      "[General]\nAutoLoad%20ODat=1\nLIodat=" + file.toUtf8() + "\n");
            TErrorBoxRecorder errors;
            fixture.StartAndShow();
            const TPages pages(fixture);

            QCOMPARE(Shown(pages.ODat), (QStringList{"a", "b", "\ty", "\tz"}));
            QVERIFY(Find<QCheckBox>(fixture.Form1(), "CheckBox2")->isChecked());
            QCOMPARE(errors.Texts.size(), broken ? 1 : 0);
            QCOMPARE(Shown(pages.ZenitDat).isEmpty(), broken);
            QCOMPARE(pages.Box("Suche")->count() == 0, broken);
        }
    }

    // Both options act on both trees at once.
    void rollOutAndNodeLinesApplyToBothTrees() {
        TProgramFixture fixture;
        fixture.StartAndShow();
        const TPages pages(fixture);
        for (QTreeView* tree : {pages.ODat, pages.ZenitDat}) {
            pages.ShowTab(tree->accessibleName());
            ClickNode(tree, NodeOf(tree, "Argons"));
            QVERIFY(tree->isExpanded(NodeOf(tree, "Argons")));
            ClickNode(tree, NodeOf(tree, "Borons"));
            QVERIFY(!tree->isExpanded(NodeOf(tree, "Argons")));
            QVERIFY(tree->isExpanded(NodeOf(tree, "Borons")));
        }
        Find<QCheckBox>(fixture.Form1(), "CheckBox5")->setChecked(false);
        Find<QCheckBox>(fixture.Form1(), "CheckBox6")->setChecked(false);
        QList<QImage> withoutLines;
        for (QTreeView* tree : {pages.ODat, pages.ZenitDat}) {
            pages.ShowTab(tree->accessibleName());
            ClickNode(tree, NodeOf(tree, "Paranids"));
            QVERIFY(!tree->isExpanded(NodeOf(tree, "Paranids")));
            QVERIFY(tree->isExpanded(NodeOf(tree, "Borons")));
            withoutLines << tree->viewport()->grab().toImage();
        }
        Find<QCheckBox>(fixture.Form1(), "CheckBox6")->setChecked(true);
        for (QTreeView* tree : {pages.ODat, pages.ZenitDat}) {
            pages.ShowTab(tree->accessibleName());
            QVERIFY(tree->viewport()->grab().toImage() != withoutLines.takeFirst());
        }
    }
};

VANTOR_GUI_TEST_MAIN(TDatabasePagesTest)
#include "tst_DatabasePages.moc"
