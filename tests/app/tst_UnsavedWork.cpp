#include "FileSizeLimit.h"
#include "TestSupport.h"
#include "TreeTestSupport.h"

#include "CloseGuard.h"
#include "MainWindow.h"
#include "MessageWindow.h"
#include "NotesFile.h"
#include "OptionsPanel.h"
#include "OwnDatabasePage.h"
#include "RecoveryKeeper.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <QWindow>
#include <optional>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void press(QKeyCombination keys) {
    QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
}

// What the question showed, and the answer given to it: a button's caption,
// or "Escape". `then` runs before the answer, while the question is up.
struct Question {
    QString caption;
    QString text;
    QString focused;
};

void answerQuestion(const QString& answer, Question& seen, const std::function<void()>& then = {}) {
    whenModalShows([answer, &seen, then](QWidget* modal) {
        auto* message = qobject_cast<MessageWindow*>(modal);
        QVERIFY(message != nullptr);
        // Keys go where typing goes, once the question has the keyboard.
        QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                    QApplication::focusWidget()->window() == message);
        seen = {findControl<QLabel>(message, "Panel4")->text(),
                findControl<QTextEdit>(message, "RichEdit1")->toPlainText(),
                QApplication::focusWidget()->objectName()};
        if (then) {
            then();
        }
        if (answer == QLatin1String("Escape")) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            return;
        }
        for (const char* name : {"B01", "B02"}) {
            auto* button = findControl<QToolButton>(message, name);
            if (button->text() == answer) {
                QTest::mouseClick(button, Qt::LeftButton);
            }
        }
    });
}

} // namespace

class UnsavedWorkTest : public ProgramTest {
    Q_OBJECT

    // The star map stays closed, so that the main window keeps the keyboard.
    void prepare() override { fixture().parts().optionsPanel().setStarMapLinked(false); }

    QTabWidget* pages() const { return findControl<QTabWidget>(mainWindow(), "PageControl1"); }
    QTextEdit* notes() const { return findControl<QTextEdit>(mainWindow(), "RichEdit2"); }
    QTreeView* ownTree() const { return findControl<QTreeView>(mainWindow(), "ODat"); }
    QString notesFile() const { return fixture().programFolder() + "notes.vrn"; }
    QString ownDataFile() const { return fixture().programFolder() + "OwnData.txt"; }
    QString tab(const char* page) const {
        return pages()->tabText(pages()->indexOf(findControl(mainWindow(), page)));
    }

    void activate() const {
        QTest::qWait(10); // what a closing message left on its way arrives first
        mainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
    }
    void typeNotes(const QString& text) const {
        pages()->setCurrentWidget(findControl(mainWindow(), "TabSheet4"));
        activate();
        notes()->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), notes());
        typeKeys(text);
    }
    void showOwnDatabase() const {
        pages()->setCurrentWidget(findControl(mainWindow(), "TabSheet5"));
        activate();
    }
    void addEntry(const QString& text) const {
        showOwnDatabase();
        typeInto(findControl(mainWindow(), "AddTO"), text);
        pressEnter();
    }
    void clickEntry(const QString& text) const {
        activate();
        const QModelIndex index = ownTree()
                                      ->model()
                                      ->match(ownTree()->model()->index(0, 0), Qt::DisplayRole,
                                              text, 1, Qt::MatchExactly | Qt::MatchRecursive)
                                      .value(0);
        ownTree()->scrollTo(index);
        QTest::mouseClick(ownTree()->viewport(), Qt::LeftButton, {},
                          ownTree()->visualRect(index).center());
        QTRY_COMPARE(QApplication::focusWidget(), ownTree());
    }
    // The first two items of the tree's popup menu.
    QStringList menuItems() const {
        QStringList items;
        for (const QAction* action :
             findControl<QMenu>(&fixture().parts().ownDatabase(), "ODatMenu")->actions()) {
            items << action->text();
        }
        return items.mid(0, 2);
    }
    // After a message, the tree has the keyboard again once its window is active.
    void focusTree() const {
        activate();
        ownTree()->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), ownTree());
    }

private slots:
    // The tab of a page with unsaved work carries a marker, the name a
    // screen reader reads too; Save and undoing back take it off.
    void unsavedWorkIsMarkedOnItsTab() {
        QCOMPARE(tab("TabSheet4"), "Notepad");
        typeNotes("Ore");
        QCOMPARE(tab("TabSheet4"), "Notepad *");
        QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(pages()->tabBar());
        QCOMPARE(tabs->child(pages()->indexOf(findControl(mainWindow(), "TabSheet4")))
                     ->text(QAccessible::Name),
                 "Notepad *");
        for (int key = 0; key < 3; ++key) {
            press(Qt::CTRL | Qt::Key_Z);
        }
        QCOMPARE(notes()->toPlainText(), QString());
        QCOMPARE(tab("TabSheet4"), "Notepad");

        addEntry("Trade notes");
        QCOMPARE(tab("TabSheet5"), "Own Database *");
        // Both marked, the last tab still stands in the row.
        typeNotes("x");
        QVERIFY(pages()->tabBar()->tabRect(4).right() < pages()->tabBar()->width());
        showOwnDatabase();
        clickEntry("Trade notes");
        press(Qt::CTRL | Qt::Key_Z);
        QCOMPARE(tab("TabSheet5"), "Own Database");
        press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
        QCOMPARE(tab("TabSheet5"), "Own Database *");
        MessageAnswerer answerer;
        QTest::mouseClick(findControl<QAbstractButton>(mainWindow(), "BitBtnWithColor8"),
                          Qt::LeftButton);
        QCOMPARE(tab("TabSheet5"), "Own Database");
        QCOMPARE(mainWindow()->windowTitle(), "Vantor 1.03 XDR / EV");
    }

    // Closing with unsaved work asks once, naming what is unsaved; without
    // any, it closes as it always did.
    void closingAsksAboutUnsavedWork_data() {
        QTest::addColumn<QString>("work");
        QTest::addColumn<bool>("byBar");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("fileChosen"); // "-": no dialog expected, "": cancelled
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QStringList>("written");
        const QString both = "Save the notepad and the own database before closing?";
        QTest::newRow("nothing unsaved") << "" << true << ""
                                         << "-"
                                         << "" << true << QStringList{};
        QTest::newRow("escape") << "notes entry" << false << "Escape"
                                << "-" << both << false << QStringList{};
        QTest::newRow("discard") << "notes entry" << true << "&Discard"
                                 << "-" << both << true << QStringList{};
        QTest::newRow("save both")
            << "notes entry" << true << "&Save"
            << "notes.vrn" << both << true << QStringList{"OwnData.txt", "notes.vrn"};
        QTest::newRow("save fails") << "notes entry on a full disk" << true << "&Save"
                                    << "notes.vrn" << both << false << QStringList{};
        QTest::newRow("save cancelled") << "notes entry" << false << "&Save"
                                        << "" << both << false << QStringList{};
        QTest::newRow("own database alone")
            << "entry" << false << "&Save"
            << "-"
            << "Save the own database before closing?" << true << QStringList{"OwnData.txt"};
        QTest::newRow("notes loaded before")
            << "loaded notes" << true << "&Save"
            << "-"
            << "Save the notepad before closing?" << true << QStringList{"notes.vrn"};
        // A plain text file is not made rich text without the user's say.
        QTest::newRow("plain notes loaded before")
            << "loaded plain notes" << true << "&Save"
            << "chosen.vrn"
            << "Save the notepad before closing?" << true << QStringList{"chosen.vrn"};
    }
    void closingAsksAboutUnsavedWork() {
        QFETCH(QString, work);
        QFETCH(bool, byBar);
        QFETCH(QString, answer);
        QFETCH(QString, fileChosen);
        QFETCH(QString, question);
        QFETCH(bool, closes);
        QFETCH(QStringList, written);
        if (work.contains("loaded")) {
            QFile file(notesFile());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(work.contains("plain") ? "Loaded" : "{\\rtf1 Loaded}");
            file.close();
            typeNotes(QString());
            answerFileDialog(notesFile());
            QTest::mouseClick(findControl<QAbstractButton>(mainWindow(), "BitBtnWithColor5"),
                              Qt::LeftButton);
            QVERIFY(QFile::remove(notesFile()));
            QCOMPARE(tab("TabSheet4"), "Notepad");
        }
        if (work.contains("notes")) {
            typeNotes("Ore");
        }
        if (work.contains("entry")) {
            addEntry("Trade notes");
        }
        fixture().parts().recovery().writeNow();
        fixture().parts().recovery().waitForWriting();

        Question seen;
        if (!answer.isEmpty()) {
            answerQuestion(answer, seen, [&] {
                if (fileChosen != "-") {
                    answerFileDialog(fileChosen.isEmpty() ? QString()
                                                          : fixture().programFolder() + fileChosen);
                }
            });
        }
        {
            // A full disk: the first save fails and says so.
            std::optional<ErrorBoxRecorder> errors;
            std::optional<FileSizeLimit> limit;
            if (work.contains("full disk")) {
                errors.emplace();
                limit.emplace(16);
            }
            if (byBar) {
                activate();
                QTest::mouseClick(findControl<QAbstractButton>(mainWindow(), "EndIt"),
                                  Qt::LeftButton);
            } else {
                mainWindow()->windowHandle()->close();
            }
            if (errors) {
                QCOMPARE(errors->texts.size(), 1);
                QVERIFY(errors->texts[0].contains(notesFile()));
            }
        }
        QCOMPARE(seen.text, question);
        if (!question.isEmpty()) {
            QCOMPARE(seen.caption, "Unsaved changes.");
            QCOMPARE(seen.focused, "B01"); // "&Save", which loses nothing
        }
        QCOMPARE(mainWindow()->isHidden(), closes);
        QStringList files;
        for (const QString name : {"OwnData.txt", "chosen.vrn", "notes.vrn"}) {
            if (QFile::exists(fixture().programFolder() + name)) {
                files << name;
            }
        }
        QCOMPARE(files, written);
        if (written.contains("OwnData.txt")) {
            QVERIFY(readFile(ownDataFile()).contains("\r\nTrade notes\r\n"));
        }
        if (written.contains("notes.vrn")) {
            QVERIFY(loadNotesFile(notesFile())->toPlainText().contains("Ore"));
        }
        // What is kept for recovery goes with the answer; closing without
        // one keeps it.
        fixture().parts().recovery().waitForWriting();
        const QStringList copies =
            QDir(RecoveryKeeper::defaultFolder()).entryList({"*.rtf", "*.txt"}, QDir::Files);
        QCOMPARE(copies.isEmpty(), closes);
        if (!closes) {
            QCOMPARE(tab("TabSheet4").endsWith('*'), work.contains("notes"));
        }
    }

    // The end of the desktop session: without leave to ask, the work is
    // copied for recovery at once and the session ends; with it, the
    // question comes, and closing that cancels the end. Asked once.
    void theEndOfTheSessionAsksOrKeepsACopy() {
        typeNotes("Ore");
        CloseGuard& guard = fixture().parts().closeGuard();
        QVERIFY(guard.mayEndSession(false));
        fixture().parts().recovery().waitForWriting();
        QVERIFY(QFile::exists(fixture().parts().recovery().copyPath(0)));
        Question seen;
        answerQuestion("Escape", seen);
        QVERIFY(!guard.mayEndSession(true));
        QCOMPARE(seen.text, "Save the notepad before closing?");
        answerQuestion("&Discard", seen);
        QVERIFY(guard.mayEndSession(true));
        QVERIFY(mainWindow()->close());
    }

    // A deleted branch comes back where it was, selected, and goes again;
    // the menu names the steps, and the add box keeps Ctrl+Z for its typing.
    void aDeletedBranchComesBackWithCtrlZ() {
        addEntry("Trade notes");
        clickEntry("Trade notes");
        addEntry("Ore deal");
        addEntry("Crystal run");
        const QStringList before = shown(ownTree());
        QVERIFY(before.contains("\tCrystal run"));

        MessageAnswerer answerer("&Yes");
        clickEntry("Trade notes");
        press(Qt::Key_Delete);
        QVERIFY(!shown(ownTree()).contains("Trade notes"));
        focusTree();
        QCOMPARE(menuItems(), (QStringList{"Undo delete 'Trade notes'", "Redo"}));

        for (const QKeyCombination keys :
             {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Z}) {
            press(keys);
        }
        QCOMPARE(shown(ownTree()), before);
        QCOMPARE(selectedText(ownTree()), "Trade notes");
        QCOMPARE(menuItems(), (QStringList{"Undo add 'Crystal run'", "Redo delete 'Trade notes'"}));
        press(Qt::CTRL | Qt::Key_Y);
        QVERIFY(!shown(ownTree()).contains("Trade notes"));

        typeInto(findControl(mainWindow(), "AddTO"), "Typed");
        press(Qt::CTRL | Qt::Key_Z);
        QCOMPARE(findControl<QComboBox>(mainWindow(), "AddTO")->currentText(), "Type");
        QVERIFY(!shown(ownTree()).contains("Trade notes"));
    }

    // Undo never deletes or renames the skeleton, and takes a Load back.
    void undoKeepsTheSkeletonAndTakesBackALoad() {
        MessageAnswerer answerer;
        addEntry("Trade notes");
        QTest::mouseClick(findControl<QAbstractButton>(mainWindow(), "BitBtnWithColor8"),
                          Qt::LeftButton);
        addEntry("Corvane");
        focusTree();
        press(Qt::CTRL | Qt::Key_Z);
        QCOMPARE(answerer.seenMessages.last().caption, "Complete halt.");
        QCOMPARE(shown(ownTree()).count("Corvane"), 1);

        const QStringList withCorvane = shown(ownTree());
        showOwnDatabase();
        QTest::mouseClick(findControl<QAbstractButton>(mainWindow(), "BitBtnWithColor9"),
                          Qt::LeftButton);
        QCOMPARE(answerer.seenMessages.last().caption, "Imported.");
        QVERIFY(!shown(ownTree()).contains("Corvane"));
        QCOMPARE(tab("TabSheet5"), "Own Database");
        focusTree();
        press(Qt::CTRL | Qt::Key_Z);
        QCOMPARE(shown(ownTree()), withCorvane);
        QCOMPARE(tab("TabSheet5"), "Own Database *");
    }
};

VANTOR_GUI_TEST_MAIN(UnsavedWorkTest)
#include "tst_UnsavedWork.moc"
