#include "TestSupport.h"

#include "AutoLoadOption.h"
#include "NotepadPage.h"
#include "MainWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

namespace {

QString Saved(const QString& path, const QByteArray& content) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

// The format of the character after the position, as the document holds it.
QTextCharFormat FormatAt(const QTextEdit* box, int position) {
    QTextCursor cursor(box->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

struct THit {
    int Start;
    QString Text;
};

} // namespace

class TNotepadTest : public TProgramTest {
    Q_OBJECT

    QTextEdit* Notes() const { return Find<QTextEdit>(Main(), "RichEdit2"); }
    QComboBox* Keyword() const { return Find<QComboBox>(Main(), "NoteS"); }
    QTabWidget* Pages() const { return Find<QTabWidget>(Main(), "PageControl1"); }
    QString LastFile() const { return Main()->Notepad().AutoLoad().LastFile(); }
    QString StoredLastFile() const {
        return QSettings(Fixture().SettingsFile(), QSettings::IniFormat)
            .value(QStringLiteral("LInotes"))
            .toString();
    }
    void Click(const char* button) const {
        QTest::mouseClick(Find<QAbstractButton>(Main(), button), Qt::LeftButton);
    }
    THit Selection() const {
        const QTextCursor cursor = Notes()->textCursor();
        return {cursor.selectionStart(), cursor.selectedText()};
    }
    void Prepare() override { Pages()->setCurrentWidget(&Main()->Notepad()); }

private slots:
    // Hit after hit from the selection's end, letter case aside; after the
    // last one the search reports and keeps the selection until the user
    // clears it.
    void theSearchStepsFromHitToHit() {
        Notes()->setPlainText(QStringLiteral("Quartz ore\nsome quartz chips\nend QUARTZ"));
        TMessageAnswerer answerer;
        Click("NotesSearch");
        // The main window is active again once the message is gone.
        Main()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Main()));
        TypeInto(Keyword(), QString());
        PressEnter(); // an empty box: no search, no message
        QCOMPARE(answerer.Seen.size(), 1);
        QCOMPARE(answerer.Seen[0].Caption, "Error.");
        QCOMPARE(answerer.Seen[0].Text, "You forgot to enter a keyword to search for.");

        QVERIFY(Keyword()->count() > 0); // it completes from the system database's texts
        TypeInto(Keyword(), QStringLiteral("quartz"));
        PressEnter();
        QCOMPARE(QApplication::focusWidget(), Notes());
        for (const THit& hit : {THit{0, "Quartz"}, THit{16, "quartz"}, THit{33, "QUARTZ"}}) {
            if (hit.Start > 0) {
                Click("NotesSearch");
            }
            QCOMPARE(Selection().Start, hit.Start);
            QCOMPARE(Selection().Text, hit.Text);
        }
        Click("NotesSearch");
        QCOMPARE(answerer.Seen.size(), 2);
        QCOMPARE(answerer.Seen[1].Caption, "Search completed.");
        QCOMPARE(answerer.Seen[1].Text, "\"quartz\" was not found in the notepad.");
        QCOMPARE(Selection().Start, 33);

        QTest::mouseClick(Notes()->viewport(), Qt::LeftButton, {}, QPoint(40, 5));
        Click("NotesSearch");
        QCOMPARE(Selection().Start, 0);
        QCOMPARE(answerer.Seen.size(), 2);
    }

    // What the user writes keeps its formatting through Save and Load;
    // both name the last file and write the settings. A plain text file
    // shows as it is, every byte a character.
    void saveAndLoadKeepTheNotes() {
        const QString folder = Fixture().DataHome() + QLatin1Char('/');
        Notes()->setHtml(
            QStringLiteral("plain <b>bold</b> <span style='color:#ff0000'>red</span>"));
        AnswerFileDialog(folder + "notes"); // typed without the extension
        Click("BitBtnWithColor4");
        const QString saved = folder + "notes.vrn";
        QVERIFY(QFile::exists(saved));
        QCOMPARE(LastFile(), saved);
        QCOMPARE(StoredLastFile(), saved);

        const QString plain = Saved(folder + "plain.txt", "Caf\xe9 \\b0{x}\r\nline two\rthree");
        Notes()->clear();
        AnswerFileDialog(saved);
        Click("BitBtnWithColor5");
        QCOMPARE(Notes()->toPlainText(), "plain bold red");
        QCOMPARE(FormatAt(Notes(), 6).fontWeight(), QFont::Bold);
        QCOMPARE(FormatAt(Notes(), 11).foreground().color(), QColor(255, 0, 0));
        QVERIFY(!FormatAt(Notes(), 0).hasProperty(QTextFormat::ForegroundBrush));

        AnswerFileDialog(plain);
        Click("BitBtnWithColor5");
        QCOMPARE(Notes()->toPlainText(), QString::fromUtf8("Café \\b0{x}\nline two\nthree"));
        QCOMPARE(Notes()->document()->blockCount(), 3);
        QCOMPARE(LastFile(), plain);
        QCOMPARE(StoredLastFile(), plain);
    }

    // A cancelled dialog (which offers the earlier choice again), a file too
    // large to read, a save into a "folder" that is a file: the notes and
    // the last file stay, each failure shows its error.
    void cancelsAndFailuresKeepTheNotes() {
        const QString folder = Fixture().DataHome() + QLatin1Char('/');
        const QString tooLarge = Saved(folder + "large.vrn", "{\\rtf1 x}");
        QFile::resize(tooLarge, 17 * 1024 * 1024);
        const QString notAFolder = Saved(folder + "file.txt", "x");
        Notes()->setPlainText(QStringLiteral("kept"));
        AnswerFileDialog(folder + "kept.vrn");
        Click("BitBtnWithColor4");

        const QList<std::pair<const char*, QString>> attempts{
            {"BitBtnWithColor4", QString()},
            {"BitBtnWithColor5", QString()},
            {"BitBtnWithColor5", tooLarge},
            {"BitBtnWithColor4", notAFolder + "/notes.vrn"},
        };
        TErrorBoxRecorder errors;
        QString offered;
        for (const auto& [button, path] : attempts) {
            AnswerFileDialog(path, offered.isEmpty() ? &offered : nullptr);
            Click(button);
        }
        QCOMPARE(offered, folder + "kept.vrn");
        QCOMPARE(errors.Texts,
                 QStringList({"Das Laden des Streams ist mißlungen",
                              "Datei " + notAFolder + "/notes.vrn kann nicht erstellt werden"}));
        QCOMPARE(Notes()->toPlainText(), "kept");
        QCOMPARE(LastFile(), folder + "kept.vrn");
    }

    // Ctrl+B, Ctrl+I, Ctrl+U and the context menu's commands format the
    // selected word and nothing else; pressed again, a toggle takes its
    // format off. An invalid value: the word has no such property left.
    void theUserFormatsTheSelectedText() {
        struct TCase {
            const char* Command; // of the context menu; else Ctrl with the key
            Qt::Key Key;
            QTextFormat::Property Property;
            QVariant Value;
        };
        const QList<TCase> cases{
            {nullptr, Qt::Key_B, QTextFormat::FontWeight, int(QFont::Bold)},
            {nullptr, Qt::Key_I, QTextFormat::FontItalic, true},
            {nullptr, Qt::Key_U, QTextFormat::TextUnderlineStyle,
             int(QTextCharFormat::SingleUnderline)},
            {"Size14", Qt::Key_unknown, QTextFormat::FontPointSize, 14.0},
            {"DefaultColour", Qt::Key_unknown, QTextFormat::ForegroundBrush, QVariant()},
            {"PlainText", Qt::Key_unknown, QTextFormat::FontStrikeOut, QVariant()},
        };
        for (const TCase& format : cases) {
            Notes()->setHtml(QStringLiteral("<s style='color:#00ff00'>word</s> rest"));
            Notes()->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
            for (int letter = 0; letter < 4; ++letter) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::ShiftModifier);
            }
            const QTextCharFormat rest = FormatAt(Notes(), 5);
            if (format.Command != nullptr) {
                Find<QAction>(Notes(), format.Command)->trigger();
            } else {
                QTest::keyClick(QApplication::focusWidget(), format.Key, Qt::ControlModifier);
            }
            QCOMPARE(FormatAt(Notes(), 0).property(format.Property), format.Value);
            QCOMPARE(FormatAt(Notes(), 3), FormatAt(Notes(), 0));
            QCOMPARE(FormatAt(Notes(), 5), rest);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(FormatAt(Notes(), 0).fontWeight(), QFont::Normal);
    }

    // The way output's popup menu searches the system of the caret's line:
    // the name before " through", a line without it whole, an empty line not.
    // Each such search starts at the top: in the notepad as in the trees.
    void theWayOutputsMenuSearchesTheCaretsLine() {
        Notes()->setPlainText(QStringLiteral("Tallyhold first\nthen Hex Cradle"));
        Pages()->setCurrentWidget(&Navigation());
        TypeInto(Find<QComboBox>(&Navigation(), "Von"), QStringLiteral("Corvane"));
        TypeInto(Find<QComboBox>(&Navigation(), "Nach"), QStringLiteral("Tallyhold"));
        QTest::mouseClick(Find<QToolButton>(&Navigation(), "Way"), Qt::LeftButton);
        auto* way = Find<QTextEdit>(&Navigation(), "RichEdit1");
        QCOMPARE(way->document()->blockCount(), 6);

        struct TCase {
            int Line;
            const char* Item;
            const char* SearchBox;
            const char* Shown; // the tree or the notepad that shows the hit
            QString Keyword;
        };
        const QList<TCase> cases{
            {2, "Notiz1", "NoteS", "RichEdit2", "Hex Cradle"},
            {5, "Notiz1", "NoteS", "RichEdit2", "Tallyhold"},
            {0, "SysData1", "Suche", "ZenitDat", "Corvane"},
            {0, "EigData1", "OwnDat", "ODat", "Corvane"},
        };
        TMessageAnswerer answerer;
        for (const TCase& find : cases) {
            Pages()->setCurrentWidget(&Navigation());
            way->setTextCursor(QTextCursor(way->document()->findBlockByNumber(find.Line)));
            // A right click below the text: the caret's line counts, not the pointer's.
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(200, 300),
                                         way->viewport()->mapToGlobal(QPoint(200, 300)));
            QApplication::sendEvent(way->viewport(), &rightClick);
            auto* menu = Find<QMenu>(&Navigation(), "PopupMenu1");
            QVERIFY(menu->isVisible());
            QAction* item = Find<QAction>(menu, find.Item);
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            QWidget* shown = Find(Main(), find.Shown);
            QVERIFY(Pages()->currentWidget()->isAncestorOf(shown));
            QCOMPARE(Find<QComboBox>(Main(), find.SearchBox)->currentText(), find.Keyword);
            const QString hit =
                qobject_cast<QTextEdit*>(shown) != nullptr
                    ? Selection().Text
                    : qobject_cast<QAbstractItemView*>(shown)->currentIndex().data().toString();
            QVERIFY2(hit.contains(find.Keyword), qPrintable(hit));
        }
        QVERIFY(answerer.Seen.isEmpty());

        // An empty output line: nothing at all.
        Pages()->setCurrentWidget(&Navigation());
        way->clear();
        Find<QAction>(&Navigation(), "Notiz1")->trigger();
        QCOMPARE(Pages()->currentWidget(), &Navigation());
        QVERIFY(answerer.Seen.isEmpty());
    }
};

VANTOR_GUI_TEST_MAIN(TNotepadTest)

#include "tst_Notepad.moc"
