#include "TestSupport.h"
#include "TreeTestSupport.h"

#include "Cp1252.h"
#include "FileSizeLimit.h"
#include "ItemOrder.h"
#include "MainWindow.h"
#include "OptionsPanel.h"
#include "OwnDatabasePage.h"
#include "StarMapShape.h"
#include "StarMapWindow.h"
#include "SystemDatabasePage.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <algorithm>
#include <memory>
#include <sys/stat.h>
#include <tuple>

namespace {

const char* const root = "The Zenit-Database of the starsystems";

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The sectors of the grid that pass the test, column by column.
QList<QPoint> sectors(const std::function<bool(int, int)>& test) {
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

QStringList items(const QComboBox* box) {
    QStringList items;
    for (int index = 0; index < box->count(); ++index) {
        items << box->itemText(index);
    }
    return items;
}

QList<QStringList> messages(const MessageAnswerer& answerer) {
    QList<QStringList> seen;
    for (const SeenMessage& message : answerer.seenMessages) {
        seen << QStringList{message.caption, message.text};
    }
    return seen;
}

// A program, started and shown with its main window active, and its
// database controls. `before` prepares the folders before the start.
struct Program {
    explicit Program(const std::function<void(ProgramFixture&)>& before = {}) {
        if (before) {
            before(fixture);
        }
        fixture.startAndShow();
        form = fixture.mainWindow();
        // The pages are built when the user first turns to them.
        showTab("System Database");
        showTab("Own Database");
        showTab("Navigation");
        systemTree = findControl<QTreeView>(form, "ZenitDat");
        ownTree = findControl<QTreeView>(form, "ODat");
        activate(form);
    }

    QComboBox* box(const char* name) const { return findControl<QComboBox>(form, name); }
    void click(const char* button) const {
        QTest::mouseClick(findControl<QAbstractButton>(form, button), Qt::LeftButton);
    }
    void showTab(const QString& caption) const {
        QTabBar* tabs = findControl<QTabWidget>(form, "PageControl1")->tabBar();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            if (tabs->tabText(tab) == caption) {
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
            }
        }
    }
    QString shownTab() const {
        const auto* pages = findControl<QTabWidget>(form, "PageControl1");
        return pages->tabText(pages->currentIndex());
    }
    QString exportPath(const char* name) const { return fixture.programFolder() + name; }
    QList<QPoint> lit() const {
        return sectors([this](int x, int y) {
            return ProgramAccess::sectorShape(fixture.starMapWindow(), x, y)->fillSolid();
        });
    }
    QList<QPoint> ofRace(int race) const {
        return sectors([this, race](int x, int y) {
            return fixture.parts().engine().sectorAt(x, y).race == race;
        });
    }

    ProgramFixture fixture;
    MainWindow* form = nullptr;
    QTreeView* systemTree = nullptr;
    QTreeView* ownTree = nullptr;
};

} // namespace

class DatabasePagesTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsTheInfoFileAndTheDefaultOwnDatabase() {
        const Program program;
        QStringList file =
            decodeCp1252(readFile(program.exportPath("vantor.vr")).toStdString()).split("\r\n");
        file.removeLast();
        QCOMPARE(shown(program.systemTree), file);

        // The default tree: the race groups of the file, whose systems it lists sorted.
        QStringList expected{root};
        for (const QString group : {"Argons", "Borons", "Paranids", "Split", "Teladi"}) {
            expected << u'\t' + group;
            for (qsizetype line = file.indexOf(u'\t' + group) + 1; file[line].startsWith("\t\t");
                 ++line) {
                if (!file[line].startsWith("\t\t\t")) {
                    expected << file[line];
                }
            }
        }
        QCOMPARE(shown(program.ownTree), expected);

        // Every entry of the file, in the order of a sorted box; the boxes
        // share one list.
        QStringList texts;
        for (const QString& line : file) {
            texts << QString(line).remove(u'\t');
        }
        sortLetterCaseAside(texts);
        QCOMPARE(items(program.box("Suche")), texts);
        for (const char* box : {"OwnDat", "AddTO"}) {
            QCOMPARE(program.box(box)->model(), program.box("Suche")->model());
        }
    }

    // Enter and the button step from hit to hit, into collapsed branches,
    // report the end once and start over; an edited keyword starts at the top.
    void theTreeSearchStepsFromHitToHit() {
        const Program program;
        program.showTab("System Database");
        const QStringList hits = shown(program.systemTree).filter("Grain Dome");
        QVERIFY(hits.size() > 2);
        MessageAnswerer answerer;
        typeInto(program.box("Suche"), "Grain Dome");
        for (int round = 0; round < 2; ++round) {
            for (const QString& hit : hits) {
                pressEnter();
                QCOMPARE(selectedText(program.systemTree), hit.trimmed());
                QVERIFY(
                    program.systemTree->isExpanded(program.systemTree->currentIndex().parent()));
                QCOMPARE(QApplication::focusWidget(), program.box("Suche"));
            }
            program.click("SysSearch");
            QCOMPARE(
                messages(answerer).takeLast(),
                (QStringList{"Search completed.", "\"Grain Dome\" could not be found again."}));
            activate(program.form);
            program.box("Suche")->setFocus();
        }
        pressEnter();
        typeInto(program.box("Suche"), "grain dome");
        pressEnter();
        QCOMPARE(messages(answerer).takeLast(),
                 (QStringList{"Search completed.", "\"grain dome\" could not be found."}));

        // An empty box: Enter does nothing, the button asks for a keyword.
        activate(program.form);
        typeInto(program.box("Suche"), QString());
        pressEnter();
        program.click("SysSearch");
        QCOMPARE(answerer.seenMessages.size(), 4);
        QCOMPARE(messages(answerer).takeLast(),
                 (QStringList{"Error", "Please enter a keyword to search for."}));
    }

    // The popup of each tree sends the selected entry to the other tree's
    // search; a click shows an entry on the star map while the link is on.
    void entriesAreFoundInTheOtherTreeAndShownOnTheMap() {
        const Program program;
        program.showTab("System Database");
        chooseItem(rightClickNode(program.systemTree, "Tidewell"), "Find in Own-Database",
                   {"Find in Own-Database"});
        QCOMPARE(program.shownTab(), "Own Database");
        QCOMPARE(program.box("OwnDat")->currentText(), "Tidewell");
        QCOMPARE(selectedText(program.ownTree), "Tidewell");
        QVERIFY(program.fixture.starMapWindow()->isVisible());
        QCOMPARE(program.lit(), QList<QPoint>{QPoint(0, 4)});

        chooseItem(
            rightClickNode(program.ownTree, "Teladi"), "Find in System-Database",
            {"Undo", "Redo", QString(), "Edit", "Delete", QString(), "Find in System-Database"});
        QCOMPARE(program.shownTab(), "System Database");
        QCOMPARE(program.box("Suche")->currentText(), "Teladi");
        QCOMPARE(selectedText(program.systemTree), "Teladi");
        QCOMPARE(program.lit(), program.ofRace(2));

        // A note that names no system leaves the map as it was; the root clears it.
        program.showTab("Own Database");
        activate(program.form);
        typeInto(program.box("AddTO"), "My notes");
        pressEnter();
        for (const auto& [entry, lit] : {std::pair{"Pelagic Veil", QList<QPoint>{QPoint(0, 3)}},
                                         std::pair{"My notes", QList<QPoint>{QPoint(0, 3)}},
                                         std::pair{root, QList<QPoint>{}}}) {
            clickNode(program.ownTree, entry);
            QCOMPARE(program.lit(), lit);
        }
        program.fixture.strip().closeSatellites();
        program.fixture.parts().optionsPanel().setStarMapLinked(false);
        clickNode(program.systemTree, "Corvane");
        QVERIFY(!program.fixture.starMapWindow()->isVisible());
    }

    void entriesAreAddedRenamedAndDeletedButTheSkeletonStays() {
        const Program program;
        program.showTab("Own Database");
        // The star map stays closed, so the main window keeps the keyboard.
        program.fixture.parts().optionsPanel().setStarMapLinked(false);
        MessageAnswerer answerer;

        // "+" without a selection adds a top-level entry; Enter adds under
        // the selected one, last, unsorted, as often as asked.
        typeInto(program.box("AddTO"), "Zeta notes");
        program.click("ADD");
        QCOMPARE(program.box("AddTO")->currentText(), QString());
        clickNode(program.ownTree, "Zeta notes");
        for (const QString text : {"Ore deal", "Ore deal", "Bwarf"}) {
            typeInto(program.box("AddTO"), text);
            pressEnter();
        }
        QCOMPARE(shown(program.ownTree).mid(shown(program.ownTree).indexOf("Zeta notes")),
                 (QStringList{"Zeta notes", "\tOre deal", "\tOre deal", "\tBwarf"}));

        const QStringList halt{"Complete halt.", "This entry cannot be deleted, because it is "
                                                 "an important part of the database."};
        const auto asked = [](const char* entry) {
            return QStringList{"Delete", QStringLiteral("Are you sure you want to delete \"") +
                                             entry + "\"?"};
        };
        struct Row {
            const char* entry;
            const char* answer;
            bool byKey;
            QList<QStringList> seenMessages;
            bool kept;
        };
        // The first entry of a list is deleted like any other.
        for (const Row& row : {
                 Row{"Borons", "&Yes", false, {halt}, true},
                 Row{"Tidewell", "&Yes", true, {asked("Tidewell"), halt}, true},
                 Row{"Ore deal", "&No", true, {asked("Ore deal")}, true},
                 Row{"Ore deal", "&Yes", true, {asked("Ore deal")}, false},
                 Row{"Zeta notes", "&Yes", false, {asked("Zeta notes")}, false},
             }) {
            answerer.seenMessages.clear();
            answerer.setButton(row.answer);
            const qsizetype before = shown(program.ownTree).size();
            clickNode(program.ownTree, row.entry);
            if (row.byKey) {
                // The click gave the tree the keyboard; wait until it has it.
                QTRY_COMPARE(QApplication::focusWidget(), program.ownTree);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
            } else {
                program.click("DEL");
            }
            QCOMPARE(messages(answerer), row.seenMessages);
            QCOMPARE(shown(program.ownTree).size() == before, row.kept);
        }
        QVERIFY(!shown(program.ownTree).contains("\tBwarf"));

        // Renaming: the skeleton refuses; a note takes the typed text and
        // moves to its place in the sorted list, still selected.
        answerer.seenMessages.clear();
        chooseItem(rightClickNode(program.ownTree, "Split"), "Edit",
                   {"Undo delete 'Zeta notes'", "Redo", QString(), "Edit", "Delete", QString(),
                    "Find in System-Database"});
        QCOMPARE(messages(answerer), QList<QStringList>{halt});
        clickNode(program.ownTree, "Borons");
        typeInto(program.box("AddTO"), "zz");
        pressEnter();
        chooseItem(rightClickNode(program.ownTree, "zz"), "Edit",
                   {"Undo add 'zz'", "Redo", QString(), "Edit", "Delete", QString(),
                    "Find in System-Database"});
        typeInto(QApplication::focusWidget(), u"Ab\u00e7"_qs);
        pressEnter();
        // The editor hands its text over once the key has been handled.
        QTRY_COMPARE(selectedText(program.ownTree), u"Ab\u00e7"_qs);
        QCOMPARE(program.ownTree->currentIndex().row(), 0);
    }

    // An entry of the user's own is dragged with its branch onto another
    // entry, which takes it in its place by text and opens to show it. The
    // root, the race groups and the systems don't move, and no entry goes
    // beneath itself or back where it is. Undo puts it back.
    void ownEntriesMoveByDragging() {
        const Program program;
        program.showTab("Own Database");
        program.fixture.parts().optionsPanel().setStarMapLinked(false);
        QTreeView* tree = program.ownTree;
        clickNode(tree, root);
        typeInto(program.box("AddTO"), "Trade notes");
        pressEnter();
        clickNode(tree, "Trade notes");
        typeInto(program.box("AddTO"), "Ore prices");
        pressEnter();
        const std::tuple<const char*, const char*, bool> drags[] = {
            {"Split", "Argons", false},           {"Brightwater", "Borons", false},
            {"Trade notes", "Ore prices", false}, {"Trade notes", root, false},
            {"Trade notes", "Split", true},
        };
        QStringList before;
        for (const auto& [dragged, onto, taken] : drags) {
            before = shown(tree);
            QCOMPARE(dragOnto(tree, dragged, onto), taken);
            QCOMPARE(shown(tree) != before, taken);
        }
        const QModelIndex split = nodeOf(tree, "Split");
        QStringList underSplit;
        for (int row = 0; row < tree->model()->rowCount(split); ++row) {
            underSplit << tree->model()->index(row, 0, split).data().toString();
        }
        QVERIFY(underSplit.contains("Trade notes"));
        QVERIFY(std::is_sorted(underSplit.begin(), underSplit.end(), [](auto& a, auto& b) {
            return QString::localeAwareCompare(a, b) < 0;
        }));
        const QStringList lines = shown(tree);
        QCOMPARE(lines.mid(lines.indexOf("\t\tTrade notes"), 2),
                 (QStringList{"\t\tTrade notes", "\t\t\tOre prices"}));
        QCOMPARE(selectedText(tree), QStringLiteral("Trade notes"));
        QVERIFY(tree->isExpanded(split));
        // Ctrl+Z on the tree takes the move back.
        clickNode(tree, "Trade notes");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shown(tree), before);
        QCOMPARE(selectedText(tree), QStringLiteral("Trade notes"));
    }

    // Save, Load and their messages; every malformed file gets its error or
    // loads as far as it goes, and the program goes on.
    void bothTreesAreSavedAndLoaded() {
        const Program program;
        const QString folder = QDir::toNativeSeparators(program.fixture.programFolder());
        const QString own = program.exportPath("OwnData.txt");
        const QStringList missing{"File error.",
                                  "The file \"OwnData.txt\" which normaly includes the \"Own "
                                  "Database\" could not be found in current directory."};
        MessageAnswerer answerer;
        ErrorBoxRecorder errors;
        program.click("BitBtnWithColor2");
        QCOMPARE(readFile(program.exportPath("Vantor.txt")),
                 readFile(program.exportPath("vantor.vr")));
        writeFile(program.exportPath("Vantor.txt"), "Only\r\n\tone");
        const QStringList listed = items(program.box("Suche"));
        program.click("BitBtnWithColor3");
        QCOMPARE(shown(program.systemTree), (QStringList{"Only", "\tone"}));
        // The search lists keep offering the entries read at start-up.
        QCOMPARE(items(program.box("Suche")), listed);
        QCOMPARE(items(program.box("AddTO")), listed);
        program.click("BitBtnWithColor9");
        program.click("BitBtnWithColor8");
        QVERIFY(readFile(own).startsWith(QByteArray(root) + "\r\n\tArgons\r\n\t\tBrightwater"));
        QCOMPARE(QSettings(program.fixture.settingsFile(), QSettings::IniFormat)
                     .value("LIodat")
                     .toString(),
                 own);
        QCOMPARE(
            messages(answerer),
            (QList<QStringList>{
                {"Saved.", "The Zenit-Database was saved in \"Vantor.txt\" to " + folder + "\"."},
                {"Imported.", "An external database was imported out of \"Vantor.txt\" from \"" +
                                  folder + "\"."},
                missing,
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
        struct Row {
            QByteArray content;
            QStringList tree;
            QString error;
            // No file to read there: a folder or a pipe of that name.
            const char* notAFile = nullptr;
        };
        for (const Row& row : {
                 Row{"b\n\tz\n\ty\na", {"b", "\tz", "\ty", "a"}, {}},
                 Row{"", {}, {}},
                 Row{QByteArray(1, '\0'), {}, {}},
                 Row{"a\r\tb\r\rc", {"a", "\tb", "", "c"}, {}},
                 Row{highBytes, {decodeCp1252(highBytes.toStdString())}, {}},
                 // A long entry shows cut short.
                 Row{QByteArray(1 << 20, 'x'), {QString(1000, 'x') + "..."}, {}},
                 Row{"a\n\t\t\tb", {"a"}, "Ungültige Ebene (3) für Eintrag \"b\"\nDatei " + own},
                 Row{{}, {"a"}, {}, "folder"},
                 Row{{}, {"a"}, {}, "pipe"},
             }) {
            answerer.seenMessages.clear();
            errors.texts.clear();
            QFile::remove(own);
            if (row.notAFile == nullptr) {
                writeFile(own, row.content);
            } else if (row.notAFile == QLatin1String("folder")) {
                QVERIFY(QDir().mkdir(own));
            } else {
                QCOMPARE(mkfifo(QFile::encodeName(own).constData(), 0600), 0);
            }
            program.click("BitBtnWithColor9");
            QCOMPARE(errors.texts, row.error.isEmpty() ? QStringList() : QStringList{row.error});
            QCOMPARE(messages(answerer), row.notAFile != nullptr ? QList<QStringList>{missing}
                                         : row.error.isEmpty()   ? QList<QStringList>{imported}
                                                                 : QList<QStringList>{});
            QCOMPARE(shown(program.ownTree), row.tree);
            if (row.notAFile != nullptr) {
                QDir().rmdir(own);
            }
        }
    }

    // A save that fails halfway (a file-size limit stops it even for root)
    // shows the create error and leaves the old file as it was.
    void aFailedSaveKeepsTheOldFile() {
        const Program program;
        const QString path = program.exportPath("OwnData.txt");
        writeFile(path, QByteArray("a long line of the own database\r\n").repeated(10'000));
        MessageAnswerer answerer;
        program.click("BitBtnWithColor9");
        const QByteArray old = "old\r\n\tnotes \xe4\r\n";
        writeFile(path, old);
        ErrorBoxRecorder errors;
        answerer.seenMessages.clear();

        {
            const FileSizeLimit limit(64 * 1024);
            program.click("BitBtnWithColor8");
        }
        QCOMPARE(errors.texts, QStringList{"Datei " + path + " kann nicht erstellt werden"});
        QVERIFY(answerer.seenMessages.isEmpty());
        QCOMPARE(readFile(path), old);
    }

    // The last own database is loaded and sorted at start; a level error in
    // it stops the start before the system database is read.
    void theAutoLoadedOwnDatabase() {
        for (const bool broken : {false, true}) {
            ErrorBoxRecorder errors;
            const Program program([broken](ProgramFixture& fixture) {
                const QString file = fixture.programFolder() + "OwnData.txt";
                writeFile(file, broken ? "b\n\tz\n\ty\na\n\t\t\tbad" : "b\n\tz\n\ty\na");
                QDir().mkpath(QFileInfo(fixture.settingsFile()).absolutePath());
                writeFile(fixture.settingsFile(),
                          "[General]\nAutoLoad%20ODat=1\nLIodat=" + file.toUtf8() + "\n");
            });
            QCOMPARE(shown(program.ownTree), (QStringList{"a", "b", "\ty", "\tz"}));
            QVERIFY(findControl<QCheckBox>(program.form, "CheckBox2")->isChecked());
            QCOMPARE(errors.texts.size(), broken ? 1 : 0);
            QCOMPARE(shown(program.systemTree).isEmpty(), broken);
            QCOMPARE(program.box("Suche")->count() == 0, broken);
        }
    }

    // Both options act on both trees at once.
    void rollOutAndNodeLinesApplyToBothTrees() {
        const Program program;
        const auto expanded = [](const QTreeView* tree, const char* text) {
            return tree->isExpanded(nodeOf(tree, text));
        };
        for (QTreeView* tree : {program.ownTree, program.systemTree}) {
            program.showTab(tree->accessibleName());
            clickNode(tree, "Argons");
            QVERIFY(expanded(tree, "Argons"));
            clickNode(tree, "Borons");
            QVERIFY(!expanded(tree, "Argons") && expanded(tree, "Borons"));
        }
        findControl<QCheckBox>(program.form, "CheckBox5")->setChecked(false);
        findControl<QCheckBox>(program.form, "CheckBox6")->setChecked(false);
        QList<QImage> withoutLines;
        for (QTreeView* tree : {program.ownTree, program.systemTree}) {
            program.showTab(tree->accessibleName());
            clickNode(tree, "Paranids");
            QVERIFY(!expanded(tree, "Paranids") && expanded(tree, "Borons"));
            withoutLines << tree->viewport()->grab().toImage();
        }
        findControl<QCheckBox>(program.form, "CheckBox6")->setChecked(true);
        for (QTreeView* tree : {program.ownTree, program.systemTree}) {
            program.showTab(tree->accessibleName());
            QVERIFY(tree->viewport()->grab().toImage() != withoutLines.takeFirst());
        }
    }
};

VANTOR_GUI_TEST_MAIN(DatabasePagesTest)
#include "tst_DatabasePages.moc"
