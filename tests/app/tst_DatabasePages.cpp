#include "TestSupport.h"

#include "Cp1252.h"
#include "FileSizeLimit.h"
#include "StarMapShape.h"
#include "OptionsPanel.h"
#include "OwnDatabasePage.h"
#include "SystemDatabasePage.h"
#include "MainWindow.h"
#include "StarMapWindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>

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
    while (!pending.isEmpty()) {
        const auto [index, level] = pending.takeLast();
        if (index.isValid()) {
            lines << QString(level, u'\t') + index.data().toString();
        }
        for (int row = tree->model()->rowCount(index) - 1; row >= 0; --row) {
            pending.append({tree->model()->index(row, 0, index), level + 1});
        }
    }
    return lines;
}

// The first node in tree order with this text.
QModelIndex NodeOf(const QTreeView* tree, const QString& text) {
    return tree->model()
        ->match(tree->model()->index(0, 0), Qt::DisplayRole, text, 1,
                Qt::MatchExactly | Qt::MatchRecursive)
        .value(0);
}

QString SelectedText(const QTreeView* tree) {
    const QModelIndexList selected = tree->selectionModel()->selectedIndexes();
    return selected.size() == 1 ? selected.first().data().toString() : QString();
}

// What the window manager does when the user clicks into a window or a
// modal message closes: the window becomes the active one again.
void Activate(QWidget* window) {
    QTest::qWait(10); // what the closing message left on its way arrives first
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
}

void ClickNode(QTreeView* tree, const QString& text) {
    Activate(tree->window());
    tree->scrollTo(NodeOf(tree, text));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualRect(NodeOf(tree, text)).center());
}

// A right click on a node: the click selects it, then the menu is asked for.
QMenu* RightClickNode(QTreeView* tree, const QString& text) {
    Activate(tree->window());
    tree->scrollTo(NodeOf(tree, text));
    const QPoint at = tree->visualRect(NodeOf(tree, text)).center();
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &menuEvent);
    return Find<QMenu>(tree->parentWidget(), "ODatMenu");
}

// Clicks the item, after checking which items the menu shows.
void ChooseItem(QMenu* menu, const QString& text, const QStringList& shown) {
    QStringList visible;
    for (QAction* action : menu->actions()) {
        if (action->isVisible()) {
            visible << action->text();
        }
        if (action->text() == text) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
    }
    QCOMPARE(visible, shown);
}

// The sectors of the grid that pass the test, column by column.
QList<QPoint> Sectors(const std::function<bool(int, int)>& test) {
    QList<QPoint> sectors;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            if (test(x, y)) {
                sectors << QPoint(x, y);
            }
        }
    }
    return sectors;
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int index = 0; index < box->count(); ++index) {
        items << box->itemText(index);
    }
    return items;
}

QList<QStringList> Messages(const TMessageAnswerer& answerer) {
    QList<QStringList> seen;
    for (const TSeenMessage& message : answerer.Seen) {
        seen << QStringList{message.Caption, message.Text};
    }
    return seen;
}

// A program, started and shown with its main window active, and its
// database controls. `before` prepares the folders before the start.
struct TProgram {
    explicit TProgram(const std::function<void(TProgramFixture&)>& before = {}) {
        if (before) {
            before(Fixture);
        }
        Fixture.StartAndShow();
        Form = Fixture.Form1();
        // The pages are built when the user first turns to them.
        ShowTab("System Database");
        ShowTab("Own Database");
        ShowTab("Navigation");
        ZenitDat = Find<QTreeView>(Form, "ZenitDat");
        ODat = Find<QTreeView>(Form, "ODat");
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
    QList<QPoint> Lit() const {
        return Sectors(
            [this](int x, int y) { return Fixture.Form4()->SectorShape(x, y)->FillSolid(); });
    }
    QList<QPoint> OfRace(int race) const {
        return Sectors(
            [this, race](int x, int y) { return Form->Engine().Sector(x, y).Race == race; });
    }

    TProgramFixture Fixture;
    TForm1* Form = nullptr;
    QTreeView* ZenitDat = nullptr;
    QTreeView* ODat = nullptr;
};

} // namespace

class TDatabasePagesTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheInfoFileAndTheDefaultOwnDatabase() {
        const TProgram program;
        QStringList file =
            DecodeCp1252(ReadFile(program.Export("vantor.vr")).toStdString()).split("\r\n");
        file.removeLast();
        QCOMPARE(Shown(program.ZenitDat), file);

        // The default tree: the race groups of the file, whose systems it lists sorted.
        QStringList expected{Root};
        for (const QString group : {"Argons", "Borons", "Paranids", "Split", "Teladi"}) {
            expected << u'\t' + group;
            for (qsizetype line = file.indexOf(u'\t' + group) + 1; file[line].startsWith("\t\t");
                 ++line) {
                if (!file[line].startsWith("\t\t\t")) {
                    expected << file[line];
                }
            }
        }
        QCOMPARE(Shown(program.ODat), expected);

        const QStringList searchItems = Items(program.Box("Suche"));
        QCOMPARE(searchItems.size(), file.size());
        QCOMPARE(program.Form->SystemDatabase().SearchItems(), searchItems);
        QCOMPARE(Items(program.Box("OwnDat")), searchItems);
        QCOMPARE(Items(program.Box("AddTO")), searchItems);
    }

    // Enter and the button step from hit to hit, into collapsed branches,
    // report the end once and start over; an edited keyword starts at the top.
    void theTreeSearchStepsFromHitToHit() {
        const TProgram program;
        program.ShowTab("System Database");
        const QStringList hits = Shown(program.ZenitDat).filter("Grain Dome");
        QVERIFY(hits.size() > 2);
        TMessageAnswerer answerer;
        TypeInto(program.Box("Suche"), "Grain Dome");
        for (int round = 0; round < 2; ++round) {
            for (const QString& hit : hits) {
                PressEnter();
                QCOMPARE(SelectedText(program.ZenitDat), hit.trimmed());
                QVERIFY(program.ZenitDat->isExpanded(program.ZenitDat->currentIndex().parent()));
                QCOMPARE(QApplication::focusWidget(), program.Box("Suche"));
            }
            program.Click("SysSearch");
            QCOMPARE(
                Messages(answerer).takeLast(),
                (QStringList{"Search completed.", "\"Grain Dome\" could not be found again."}));
            Activate(program.Form);
            program.Box("Suche")->setFocus();
        }
        PressEnter();
        TypeInto(program.Box("Suche"), "grain dome");
        PressEnter();
        QCOMPARE(Messages(answerer).takeLast(),
                 (QStringList{"Search completed.", "\"grain dome\" could not be found."}));

        // An empty box: Enter does nothing, the button asks for a keyword.
        Activate(program.Form);
        TypeInto(program.Box("Suche"), QString());
        PressEnter();
        program.Click("SysSearch");
        QCOMPARE(answerer.Seen.size(), 4);
        QCOMPARE(Messages(answerer).takeLast(),
                 (QStringList{"Error", "Please enter a keyword to search for."}));
    }

    // The popup of each tree sends the selected entry to the other tree's
    // search; a click shows an entry on the star map while the link is on.
    void entriesAreFoundInTheOtherTreeAndShownOnTheMap() {
        const TProgram program;
        program.ShowTab("System Database");
        ChooseItem(RightClickNode(program.ZenitDat, "Tidewell"), "Find in Own-Database",
                   {"Find in Own-Database"});
        QCOMPARE(program.ShownTab(), "Own Database");
        QCOMPARE(program.Box("OwnDat")->currentText(), "Tidewell");
        QCOMPARE(SelectedText(program.ODat), "Tidewell");
        QVERIFY(program.Fixture.Form4()->isVisible());
        QCOMPARE(program.Lit(), QList<QPoint>{QPoint(0, 4)});

        ChooseItem(RightClickNode(program.ODat, "Teladi"), "Find in System-Database",
                   {"Edit", "Delete", QString(), "Find in System-Database"});
        QCOMPARE(program.ShownTab(), "System Database");
        QCOMPARE(program.Box("Suche")->currentText(), "Teladi");
        QCOMPARE(SelectedText(program.ZenitDat), "Teladi");
        QCOMPARE(program.Lit(), program.OfRace(2));

        // A note that names no system leaves the map as it was; the root clears it.
        program.ShowTab("Own Database");
        Activate(program.Form);
        TypeInto(program.Box("AddTO"), "My notes");
        PressEnter();
        for (const auto& [entry, lit] : {std::pair{"Pelagic Veil", QList<QPoint>{QPoint(0, 3)}},
                                         std::pair{"My notes", QList<QPoint>{QPoint(0, 3)}},
                                         std::pair{Root, QList<QPoint>{}}}) {
            ClickNode(program.ODat, entry);
            QCOMPARE(program.Lit(), lit);
        }
        program.Fixture.Strip().CloseSatellites();
        program.Form->OptionsPanel().SetStarMapLinked(false);
        ClickNode(program.ZenitDat, "Corvane");
        QVERIFY(!program.Fixture.Form4()->isVisible());
    }

    void entriesAreAddedRenamedAndDeletedButTheSkeletonStays() {
        const TProgram program;
        program.ShowTab("Own Database");
        // The star map stays closed, so the main window keeps the keyboard.
        program.Form->OptionsPanel().SetStarMapLinked(false);
        TMessageAnswerer answerer;

        // "+" without a selection adds a top-level entry; Enter adds under
        // the selected one, last, unsorted, as often as asked.
        TypeInto(program.Box("AddTO"), "Zeta notes");
        program.Click("ADD");
        QCOMPARE(program.Box("AddTO")->currentText(), QString());
        ClickNode(program.ODat, "Zeta notes");
        for (const QString text : {"Ore deal", "Ore deal", "Bwarf"}) {
            TypeInto(program.Box("AddTO"), text);
            PressEnter();
        }
        QCOMPARE(Shown(program.ODat).mid(Shown(program.ODat).indexOf("Zeta notes")),
                 (QStringList{"Zeta notes", "\tOre deal", "\tOre deal", "\tBwarf"}));

        const QStringList halt{"Complete halt.", "This entry cannot be deleted, because it is "
                                                 "an important part of the database."};
        const auto asked = [](const char* entry) {
            return QStringList{"Delete", QStringLiteral("Are you sure you want to delete \"") +
                                             entry + "\"?"};
        };
        struct TRow {
            const char* Entry;
            const char* Answer;
            bool ByKey;
            QList<QStringList> Seen;
            bool Kept;
        };
        // The first entry of a list is deleted like any other.
        for (const TRow& row : {
                 TRow{"Borons", "&Yes", false, {halt}, true},
                 TRow{"Tidewell", "&Yes", true, {asked("Tidewell"), halt}, true},
                 TRow{"Ore deal", "&No", true, {asked("Ore deal")}, true},
                 TRow{"Ore deal", "&Yes", true, {asked("Ore deal")}, false},
                 TRow{"Zeta notes", "&Yes", false, {asked("Zeta notes")}, false},
             }) {
            answerer.Seen.clear();
            answerer.SetButton(row.Answer);
            const qsizetype before = Shown(program.ODat).size();
            ClickNode(program.ODat, row.Entry);
            if (row.ByKey) {
                // The click gave the tree the keyboard; wait until it has it.
                QTRY_COMPARE(QApplication::focusWidget(), program.ODat);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
            } else {
                program.Click("DEL");
            }
            QCOMPARE(Messages(answerer), row.Seen);
            QCOMPARE(Shown(program.ODat).size() == before, row.Kept);
        }
        QVERIFY(!Shown(program.ODat).contains("\tBwarf"));

        // Renaming: the skeleton refuses; a note takes the typed text and
        // moves to its place in the sorted list, still selected.
        answerer.Seen.clear();
        ChooseItem(RightClickNode(program.ODat, "Split"), "Edit",
                   {"Edit", "Delete", QString(), "Find in System-Database"});
        QCOMPARE(Messages(answerer), QList<QStringList>{halt});
        ClickNode(program.ODat, "Borons");
        TypeInto(program.Box("AddTO"), "zz");
        PressEnter();
        ChooseItem(RightClickNode(program.ODat, "zz"), "Edit",
                   {"Edit", "Delete", QString(), "Find in System-Database"});
        TypeInto(QApplication::focusWidget(), u"Ab\u00e7"_qs);
        PressEnter();
        // The editor hands its text over once the key has been handled.
        QTRY_COMPARE(SelectedText(program.ODat), u"Ab\u00e7"_qs);
        QCOMPARE(program.ODat->currentIndex().row(), 0);
    }

    // Save, Load and their messages; every malformed file gets its error or
    // loads as far as it goes, and the program goes on.
    void bothTreesAreSavedAndLoaded() {
        const TProgram program;
        const QString folder = QDir::toNativeSeparators(program.Fixture.ProgramFolder());
        const QString own = program.Export("OwnData.txt");
        TMessageAnswerer answerer;
        TErrorBoxRecorder errors;
        program.Click("BitBtnWithColor2");
        QCOMPARE(ReadFile(program.Export("Vantor.txt")), ReadFile(program.Export("vantor.vr")));
        WriteFile(program.Export("Vantor.txt"), "Only\r\n\tone");
        program.Click("BitBtnWithColor3");
        QCOMPARE(Shown(program.ZenitDat), (QStringList{"Only", "\tone"}));
        program.Click("BitBtnWithColor9");
        program.Click("BitBtnWithColor8");
        QVERIFY(ReadFile(own).startsWith(QByteArray(Root) + "\r\n\tArgons\r\n\t\tBrightwater"));
        QCOMPARE(QSettings(program.Fixture.SettingsFile(), QSettings::IniFormat)
                     .value("LIodat")
                     .toString(),
                 own);
        QCOMPARE(
            Messages(answerer),
            (QList<QStringList>{
                {"Saved.", "The Zenit-Database was saved in \"Vantor.txt\" to " + folder + "\"."},
                {"Imported.", "An external database was imported out of \"Vantor.txt\" from \"" +
                                  folder + "\"."},
                {"File error.", "The file \"OwnData.txt\" which normaly includes the \"Own "
                                "Database\" could not be found in current directory."},
                {"Saved.",
                 "The \"Own Database\" was saved in \"OwnData.txt\" to \"" + folder + "\"."}}));

        QByteArray highBytes;
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            highBytes += static_cast<char>(byte);
        }
        const QStringList imported{
            "Imported.",
            "An external \"Own Database\" was imported out of \"OwnData.txt\" from \"" + folder +
                "\"."};
        struct TRow {
            QByteArray Content;
            QStringList Tree;
            QString Error;
        };
        for (const TRow& row : {
                 TRow{"b\n\tz\n\ty\na", {"b", "\tz", "\ty", "a"}, {}},
                 TRow{"", {}, {}},
                 TRow{QByteArray(1, '\0'), {}, {}},
                 TRow{"a\r\tb\r\rc", {"a", "\tb", "", "c"}, {}},
                 TRow{highBytes, {DecodeCp1252(highBytes.toStdString())}, {}},
                 TRow{QByteArray(1 << 20, 'x'), {QString(1 << 20, 'x')}, {}},
                 TRow{"a\n\t\t\tb", {"a"}, "Ungültige Ebene (3) für Eintrag \"b\"\nDatei " + own},
                 TRow{{}, {"a"}, "Datei " + own + " kann nicht geöffnet werden"},
             }) {
            answerer.Seen.clear();
            errors.Texts.clear();
            if (row.Content.isNull()) {
                QFile::remove(own);
                QVERIFY(QDir().mkdir(own));
            } else {
                WriteFile(own, row.Content);
            }
            program.Click("BitBtnWithColor9");
            QCOMPARE(errors.Texts, row.Error.isEmpty() ? QStringList() : QStringList{row.Error});
            QCOMPARE(Messages(answerer),
                     row.Error.isEmpty() ? QList<QStringList>{imported} : QList<QStringList>{});
            QCOMPARE(Shown(program.ODat), row.Tree);
        }
    }

    // A save that fails halfway (a file-size limit stops it even for root)
    // shows the create error and leaves the old file as it was.
    void aFailedSaveKeepsTheOldFile() {
        const TProgram program;
        const QString path = program.Export("OwnData.txt");
        WriteFile(path, QByteArray("a long line of the own database\r\n").repeated(10'000));
        TMessageAnswerer answerer;
        program.Click("BitBtnWithColor9");
        const QByteArray old = "old\r\n\tnotes \xe4\r\n";
        WriteFile(path, old);
        TErrorBoxRecorder errors;
        answerer.Seen.clear();

        {
            const TFileSizeLimit limit(64 * 1024);
            program.Click("BitBtnWithColor8");
        }
        QCOMPARE(errors.Texts, QStringList{"Datei " + path + " kann nicht erstellt werden"});
        QVERIFY(answerer.Seen.isEmpty());
        QCOMPARE(ReadFile(path), old);
    }

    // The last own database is loaded and sorted at start; a level error in
    // it stops the start before the system database is read.
    void theAutoLoadedOwnDatabase() {
        for (const bool broken : {false, true}) {
            TErrorBoxRecorder errors;
            const TProgram program([broken](TProgramFixture& fixture) {
                const QString file = fixture.ProgramFolder() + "OwnData.txt";
                WriteFile(file, broken ? "b\n\tz\n\ty\na\n\t\t\tbad" : "b\n\tz\n\ty\na");
                QDir().mkpath(QFileInfo(fixture.SettingsFile()).absolutePath());
                WriteFile(fixture.SettingsFile(),
                          "[General]\nAutoLoad%20ODat=1\nLIodat=" + file.toUtf8() + "\n");
            });
            QCOMPARE(Shown(program.ODat), (QStringList{"a", "b", "\ty", "\tz"}));
            QVERIFY(Find<QCheckBox>(program.Form, "CheckBox2")->isChecked());
            QCOMPARE(errors.Texts.size(), broken ? 1 : 0);
            QCOMPARE(Shown(program.ZenitDat).isEmpty(), broken);
            QCOMPARE(program.Box("Suche")->count() == 0, broken);
        }
    }

    // Both options act on both trees at once.
    void rollOutAndNodeLinesApplyToBothTrees() {
        const TProgram program;
        const auto expanded = [](const QTreeView* tree, const char* text) {
            return tree->isExpanded(NodeOf(tree, text));
        };
        for (QTreeView* tree : {program.ODat, program.ZenitDat}) {
            program.ShowTab(tree->accessibleName());
            ClickNode(tree, "Argons");
            QVERIFY(expanded(tree, "Argons"));
            ClickNode(tree, "Borons");
            QVERIFY(!expanded(tree, "Argons") && expanded(tree, "Borons"));
        }
        Find<QCheckBox>(program.Form, "CheckBox5")->setChecked(false);
        Find<QCheckBox>(program.Form, "CheckBox6")->setChecked(false);
        QList<QImage> withoutLines;
        for (QTreeView* tree : {program.ODat, program.ZenitDat}) {
            program.ShowTab(tree->accessibleName());
            ClickNode(tree, "Paranids");
            QVERIFY(!expanded(tree, "Paranids") && expanded(tree, "Borons"));
            withoutLines << tree->viewport()->grab().toImage();
        }
        Find<QCheckBox>(program.Form, "CheckBox6")->setChecked(true);
        for (QTreeView* tree : {program.ODat, program.ZenitDat}) {
            program.ShowTab(tree->accessibleName());
            QVERIFY(tree->viewport()->grab().toImage() != withoutLines.takeFirst());
        }
    }
};

VANTOR_GUI_TEST_MAIN(TDatabasePagesTest)
#include "tst_DatabasePages.moc"
