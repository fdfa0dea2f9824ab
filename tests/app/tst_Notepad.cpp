#include "TestSupport.h"

#include "AutoLoadOption.h"
#include "MainWindow.h"
#include "NotepadPage.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

namespace {

QString savedFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

// The format of the character after the position, as the document holds it.
QTextCharFormat formatAt(const QTextEdit* box, int position) {
    QTextCursor cursor(box->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

struct Hit {
    int start;
    QString text;
};

} // namespace

class NotepadTest : public ProgramTest {
    Q_OBJECT

    QTextEdit* notes() const { return findControl<QTextEdit>(mainWindow(), "RichEdit2"); }
    QComboBox* keyword() const { return findControl<QComboBox>(mainWindow(), "NoteS"); }
    QTabWidget* pages() const { return findControl<QTabWidget>(mainWindow(), "PageControl1"); }
    QString lastFile() const { return fixture().parts().notepad().autoLoad().lastFile(); }
    QString storedLastFile() const {
        return QSettings(fixture().settingsFile(), QSettings::IniFormat)
            .value(QStringLiteral("LInotes"))
            .toString();
    }
    void click(const char* button) const {
        QTest::mouseClick(findControl<QAbstractButton>(mainWindow(), button), Qt::LeftButton);
    }
    Hit selection() const {
        const QTextCursor cursor = notes()->textCursor();
        return {cursor.selectionStart(), cursor.selectedText()};
    }
    void prepare() override { pages()->setCurrentWidget(&fixture().parts().notepad()); }

private slots:
    // Turning to the page puts the keyboard in the notes: typing goes there.
    void turningToThePageTypesIntoTheNotes() {
        mainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
        QTabBar* tabs = pages()->tabBar();
        for (const int page : {0, 3}) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
        }
        QTRY_COMPARE(QApplication::focusWidget(), notes());
        typeKeys(QStringLiteral("Cargo"));
        QCOMPARE(notes()->toPlainText(), QStringLiteral("Cargo"));
    }

    // Hit after hit from the selection's end, letter case aside; after the
    // last one the search reports and keeps the selection until the user
    // clears it.
    void theSearchStepsFromHitToHit() {
        notes()->setPlainText(QStringLiteral("Quartz ore\nsome quartz chips\nend QUARTZ"));
        MessageAnswerer answerer;
        click("NotesSearch");
        // The main window is active again once the message is gone.
        mainWindow()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(mainWindow()));
        typeInto(keyword(), QString());
        pressEnter(); // an empty box: no search, no message
        QCOMPARE(answerer.seenMessages.size(), 1);
        QCOMPARE(answerer.seenMessages[0].caption, "Error.");
        QCOMPARE(answerer.seenMessages[0].text, "You forgot to enter a keyword to search for.");

        QVERIFY(keyword()->count() > 0); // it completes from the system database's texts
        typeInto(keyword(), QStringLiteral("quartz"));
        pressEnter();
        QCOMPARE(QApplication::focusWidget(), notes());
        for (const Hit& hit : {Hit{0, "Quartz"}, Hit{16, "quartz"}, Hit{33, "QUARTZ"}}) {
            if (hit.start > 0) {
                click("NotesSearch");
            }
            QCOMPARE(selection().start, hit.start);
            QCOMPARE(selection().text, hit.text);
        }
        click("NotesSearch");
        QCOMPARE(answerer.seenMessages.size(), 2);
        QCOMPARE(answerer.seenMessages[1].caption, "Search completed.");
        QCOMPARE(answerer.seenMessages[1].text, "\"quartz\" was not found in the notepad.");
        QCOMPARE(selection().start, 33);

        QTest::mouseClick(notes()->viewport(), Qt::LeftButton, {}, QPoint(40, 5));
        click("NotesSearch");
        QCOMPARE(selection().start, 0);
        QCOMPARE(answerer.seenMessages.size(), 2);
    }

    // What the user writes keeps its formatting through Save and Load;
    // both name the last file and write the settings. A plain text file
    // shows as it is, every byte a character.
    void saveAndLoadKeepTheNotes() {
        const QString folder = fixture().dataHome() + QLatin1Char('/');
        notes()->setHtml(
            QStringLiteral("plain <b>bold</b> <span style='color:#ff0000'>red</span>"));
        answerFileDialog(folder + "notes"); // typed without the extension
        click("BitBtnWithColor4");
        const QString saved = folder + "notes.vrn";
        QVERIFY(QFile::exists(saved));
        QCOMPARE(lastFile(), saved);
        QCOMPARE(storedLastFile(), saved);

        const QString plain = savedFile(folder + "plain.txt", "Caf\xe9 \\b0{x}\r\nline two\rthree");
        notes()->clear();
        answerFileDialog(saved);
        click("BitBtnWithColor5");
        QCOMPARE(notes()->toPlainText(), "plain bold red");
        QCOMPARE(formatAt(notes(), 6).fontWeight(), QFont::Bold);
        QCOMPARE(formatAt(notes(), 11).foreground().color(), QColor(255, 0, 0));
        QVERIFY(!formatAt(notes(), 0).hasProperty(QTextFormat::ForegroundBrush));

        answerFileDialog(plain);
        click("BitBtnWithColor5");
        QCOMPARE(notes()->toPlainText(), QString::fromUtf8("Café \\b0{x}\nline two\nthree"));
        QCOMPARE(notes()->document()->blockCount(), 3);
        QCOMPARE(lastFile(), plain);
        QCOMPARE(storedLastFile(), plain);
    }

    // A cancelled dialog (which offers the earlier choice again), a file too
    // large to read, a save into a "folder" that is a file: the notes and
    // the last file stay, each failure shows its error.
    void cancelsAndFailuresKeepTheNotes() {
        const QString folder = fixture().dataHome() + QLatin1Char('/');
        const QString tooLarge = savedFile(folder + "large.vrn", "{\\rtf1 x}");
        QFile::resize(tooLarge, 17 * 1024 * 1024);
        const QString notAFolder = savedFile(folder + "file.txt", "x");
        notes()->setPlainText(QStringLiteral("kept"));
        answerFileDialog(folder + "kept.vrn");
        click("BitBtnWithColor4");

        const QList<std::pair<const char*, QString>> attempts{
            {"BitBtnWithColor4", QString()},
            {"BitBtnWithColor5", QString()},
            {"BitBtnWithColor5", tooLarge},
            {"BitBtnWithColor4", notAFolder + "/notes.vrn"},
        };
        ErrorBoxRecorder errors;
        QString offered;
        for (const auto& [button, path] : attempts) {
            answerFileDialog(path, offered.isEmpty() ? &offered : nullptr);
            click(button);
        }
        QCOMPARE(offered, folder + "kept.vrn");
        QCOMPARE(errors.texts,
                 QStringList({"Das Laden des Streams ist mißlungen",
                              "Datei " + notAFolder + "/notes.vrn kann nicht erstellt werden"}));
        QCOMPARE(notes()->toPlainText(), "kept");
        QCOMPARE(lastFile(), folder + "kept.vrn");
    }

    // Ctrl+B, Ctrl+I, Ctrl+U and the context menu's commands format the
    // selected word and nothing else; pressed again, a toggle takes its
    // format off. An invalid value: the word has no such property left.
    void theUserFormatsTheSelectedText() {
        struct Case {
            const char* command; // of the context menu; else Ctrl with the key
            Qt::Key key;
            QTextFormat::Property property;
            QVariant value;
        };
        const QList<Case> cases{
            {nullptr, Qt::Key_B, QTextFormat::FontWeight, int(QFont::Bold)},
            {nullptr, Qt::Key_I, QTextFormat::FontItalic, true},
            {nullptr, Qt::Key_U, QTextFormat::TextUnderlineStyle,
             int(QTextCharFormat::SingleUnderline)},
            {"Size14", Qt::Key_unknown, QTextFormat::FontPointSize, 14.0},
            {"DefaultColour", Qt::Key_unknown, QTextFormat::ForegroundBrush, QVariant()},
            {"PlainText", Qt::Key_unknown, QTextFormat::FontStrikeOut, QVariant()},
        };
        for (const Case& format : cases) {
            notes()->setHtml(QStringLiteral("<s style='color:#00ff00'>word</s> rest"));
            notes()->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
            for (int letter = 0; letter < 4; ++letter) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ShiftModifier);
            }
            const QTextCharFormat rest = formatAt(notes(), 5);
            if (format.command != nullptr) {
                findControl<QAction>(notes(), format.command)->trigger();
            } else {
                QTest::keyClick(QApplication::focusWidget(), format.key, Qt::ControlModifier);
            }
            QCOMPARE(formatAt(notes(), 0).property(format.property), format.value);
            QCOMPARE(formatAt(notes(), 3), formatAt(notes(), 0));
            QCOMPARE(formatAt(notes(), 5), rest);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(formatAt(notes(), 0).fontWeight(), QFont::Normal);
    }

    // The way output's popup menu searches the system of the caret's line:
    // the name before " through", a line without it whole, an empty line not.
    // Each such search starts at the top: in the notepad as in the trees.
    void theWayOutputsMenuSearchesTheCaretsLine() {
        notes()->setPlainText(QStringLiteral("Tallyhold first\nthen Hex Cradle"));
        pages()->setCurrentWidget(&navigation());
        typeInto(findControl<QComboBox>(&navigation(), "Von"), QStringLiteral("Corvane"));
        typeInto(findControl<QComboBox>(&navigation(), "Nach"), QStringLiteral("Tallyhold"));
        QTest::mouseClick(findControl<QToolButton>(&navigation(), "Way"), Qt::LeftButton);
        auto* way = findControl<QTextEdit>(&navigation(), "RichEdit1");
        QCOMPARE(way->document()->blockCount(), 6);

        struct Case {
            int line;
            const char* item;
            const char* searchBox;
            const char* shown; // the tree or the notepad that shows the hit
            QString keyword;
        };
        const QList<Case> cases{
            {2, "Notiz1", "NoteS", "RichEdit2", "Hex Cradle"},
            {5, "Notiz1", "NoteS", "RichEdit2", "Tallyhold"},
            {0, "SysData1", "Suche", "ZenitDat", "Corvane"},
            {0, "EigData1", "OwnDat", "ODat", "Corvane"},
        };
        MessageAnswerer answerer;
        for (const Case& find : cases) {
            pages()->setCurrentWidget(&navigation());
            way->setTextCursor(QTextCursor(way->document()->findBlockByNumber(find.line)));
            // A right click below the text: the caret's line counts, not the pointer's.
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(200, 300),
                                         way->viewport()->mapToGlobal(QPoint(200, 300)));
            QApplication::sendEvent(way->viewport(), &rightClick);
            auto* menu = findControl<QMenu>(&navigation(), "PopupMenu1");
            QVERIFY(menu->isVisible());
            QAction* item = findControl<QAction>(menu, find.item);
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            QWidget* shown = findControl(mainWindow(), find.shown);
            QVERIFY(pages()->currentWidget()->isAncestorOf(shown));
            QCOMPARE(findControl<QComboBox>(mainWindow(), find.searchBox)->currentText(),
                     find.keyword);
            const QString hit =
                qobject_cast<QTextEdit*>(shown) != nullptr
                    ? selection().text
                    : qobject_cast<QAbstractItemView*>(shown)->currentIndex().data().toString();
            QVERIFY2(hit.contains(find.keyword), qPrintable(hit));
        }
        QVERIFY(answerer.seenMessages.isEmpty());

        // An empty output line: nothing at all.
        pages()->setCurrentWidget(&navigation());
        way->clear();
        findControl<QAction>(&navigation(), "Notiz1")->trigger();
        QCOMPARE(pages()->currentWidget(), &navigation());
        QVERIFY(answerer.seenMessages.isEmpty());
    }
};

VANTOR_GUI_TEST_MAIN(NotepadTest)

#include "tst_Notepad.moc"
