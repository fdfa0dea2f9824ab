#include "FileSizeLimit.h"
#include "TestSupport.h"

#include "MainWindow.h"
#include "MessageWindow.h"
#include "NotepadPage.h"
#include "RecoveryKeeper.h"
#include "RtfWriter.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLockFile>
#include <QProcess>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <cstdlib>

namespace {

constexpr int NotesPart = 0;
constexpr int EntriesPart = 1;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QTextEdit* notesOf(const ProgramFixture& program) {
    return findControl<QTextEdit>(program.mainWindow(), "RichEdit2");
}

QString tabOf(const ProgramFixture& program, const char* page) {
    auto* pages = findControl<QTabWidget>(program.mainWindow(), "PageControl1");
    return pages->tabText(pages->indexOf(findControl(program.mainWindow(), page)));
}

// Notes with some formatting and an entry of the own database, typed as a
// user types them; their copies are written at once.
void makeUnsavedWork(const ProgramFixture& program) {
    MainWindow* main = program.mainWindow();
    auto* pages = findControl<QTabWidget>(main, "PageControl1");
    pages->setCurrentWidget(findControl(main, "TabSheet4"));
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    notesOf(program)->setFocus(Qt::OtherFocusReason);
    typeKeys("Ore at ");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::ControlModifier);
    typeKeys(u"Tevrin Quay \u00e7a"_qs);
    pages->setCurrentWidget(findControl(main, "TabSheet5"));
    typeInto(findControl(main, "AddTO"), "Trade notes");
    pressEnter();
    program.parts().recovery().writeNow();
    program.parts().recovery().waitForWriting();
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class RecoveryTest : public ProgramTest {
    Q_OBJECT

    RecoveryKeeper& recovery() const { return fixture().parts().recovery(); }
    QString copy(int part) const { return recovery().copyPath(part); }
    void prepare() override { fixture().parts().setRecoveryDelays(50, 400); }

private slots:
    // A copy is written a moment after the typing stops, the same RTF as
    // Save writes; undoing back to the saved state or saving removes it.
    void theCopiesFollowTheUnsavedWork() {
        makeUnsavedWork(fixture());
        QCOMPARE(readFile(copy(NotesPart)), writeRtf(*notesOf(fixture())->document()));
        QVERIFY(readFile(copy(EntriesPart)).endsWith("\r\nTrade notes\r\n"));
        QVERIFY(copy(NotesPart).startsWith(RecoveryKeeper::defaultFolder()));
        QVERIFY(copy(NotesPart).startsWith(fixture().dataHome()));
        // Only the user can look into the folder.
        const QFileDevice::Permissions folder =
            QFileInfo(RecoveryKeeper::defaultFolder()).permissions();
        QCOMPARE(folder & 0x7077,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        auto* tree = findControl<QTreeView>(mainWindow(), "ODat");
        tree->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        recovery().waitForWriting();
        QVERIFY(!QFile::exists(copy(EntriesPart)));

        auto* pages = findControl<QTabWidget>(mainWindow(), "PageControl1");
        pages->setCurrentWidget(findControl(mainWindow(), "TabSheet4"));
        notesOf(fixture())->setFocus(Qt::OtherFocusReason);
        typeKeys("!");
        QTRY_VERIFY(readFile(copy(NotesPart)).contains("a!"));
        answerFileDialog(fixture().programFolder() + "notes.vrn");
        QVERIFY(fixture().parts().notepad().saveUnsaved());
        recovery().waitForWriting();
        QVERIFY(!QFile::exists(copy(NotesPart)));
    }

    // A write that fails leaves the former copy whole, with nothing beside it.
    void aFailedWriteKeepsTheFormerCopy() {
        makeUnsavedWork(fixture());
        const QByteArray former = readFile(copy(NotesPart));
        const QStringList files = filesIn(RecoveryKeeper::defaultFolder());
        findControl<QTabWidget>(mainWindow(), "PageControl1")
            ->setCurrentWidget(findControl(mainWindow(), "TabSheet4"));
        notesOf(fixture())->setFocus(Qt::OtherFocusReason);
        typeKeys(QString(200, u'x'));
        {
            const FileSizeLimit limit(former.size() + 16);
            recovery().writeNow();
            recovery().waitForWriting();
        }
        QCOMPARE(readFile(copy(NotesPart)), former);
        QCOMPARE(filesIn(RecoveryKeeper::defaultFolder()), files);
    }

    // What a program that died left unsaved is offered at the next start:
    // restored, byte for byte, as unsaved work; discarded; or kept for later.
    void theNextStartOffersWhatADeadProgramLeft_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("restore") << "&Restore";
        QTest::newRow("discard") << "&Discard";
        QTest::newRow("escape") << "Escape";
    }
    void theNextStartOffersWhatADeadProgramLeft() {
        QFETCH(QString, answer);
        makeUnsavedWork(fixture());
        const QByteArray notes = writeRtf(*notesOf(fixture())->document());

        ProgramFixture next;
        const QString folder = RecoveryKeeper::defaultFolder();
        QVERIFY(QDir().mkpath(folder));
        const QString dead = folder + "/0dead.";
        QVERIFY(QFile::copy(copy(NotesPart), dead + "notepad.rtf"));
        QVERIFY(QFile::copy(copy(EntriesPart), dead + "owndata.txt"));
        // The locks of programs that were killed while they held them, one
        // of them after its copies had gone.
        const QString lone = folder + "/1lone.lock";
        for (const QString& lock : {dead + "lock", lone}) {
            QCOMPARE(
                QProcess::execute(QCoreApplication::applicationFilePath(), {"--die-holding", lock}),
                0);
            QVERIFY(QFile::exists(lock));
        }

        QString caption;
        QString text;
        whenModalShows([&](QWidget* modal) {
            QTRY_VERIFY(QApplication::focusWidget() != nullptr &&
                        QApplication::focusWidget()->window() == modal);
            caption = findControl<QLabel>(modal, "Panel4")->text();
            text = findControl<QTextEdit>(modal, "RichEdit1")->toPlainText();
            QCOMPARE(QApplication::focusWidget()->objectName(), "B01");
            if (answer == "Escape") {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            } else {
                QTest::mouseClick(
                    findControl<QToolButton>(modal, answer == "&Restore" ? "B01" : "B02"),
                    Qt::LeftButton);
            }
        });
        next.startAndShow();
        QTRY_VERIFY(!text.isEmpty());
        next.parts().recovery().waitForWriting();
        QCOMPARE(caption, "Recovery.");
        QVERIFY2(text.startsWith("The notepad and the own database were not saved when Vantor "
                                 "last ended. A copy of them was kept at ") &&
                     text.endsWith(": restore them?"),
                 qPrintable(text));

        const bool restored = answer == "&Restore";
        QCOMPARE(writeRtf(*notesOf(next)->document()) == notes, restored);
        QCOMPARE(tabOf(next, "TabSheet4"), restored ? "Notepad *" : "Notepad");
        QCOMPARE(tabOf(next, "TabSheet5"), restored ? "Own Database *" : "Own Database");
        QCOMPARE(QFile::exists(dead + "notepad.rtf"), answer == "Escape");
        QCOMPARE(QFile::exists(next.parts().recovery().copyPath(NotesPart)), restored);
        QVERIFY(!QFile::exists(dead + "lock"));
        QVERIFY(!QFile::exists(lone));
    }

    // The copies of a program that still runs are its own: another start
    // neither offers nor touches them, and keeps its copies apart.
    void aRunningProgramsCopiesAreLeftAlone() {
        makeUnsavedWork(fixture());
        const QByteArray notes = readFile(copy(NotesPart));
        ProgramFixture other;
        qputenv("XDG_DATA_HOME", fixture().dataHome().toLocal8Bit());
        MessageAnswerer answerer;
        other.startAndShow();
        QTest::qWait(50);
        QVERIFY(answerer.seenMessages.isEmpty());
        makeUnsavedWork(other);
        QVERIFY(other.parts().recovery().copyPath(NotesPart) != copy(NotesPart));
        QVERIFY(QFile::exists(other.parts().recovery().copyPath(NotesPart)));
        QCOMPARE(readFile(copy(NotesPart)), notes);
    }
};

// With --die-holding PATH the program takes the lock file and dies without
// freeing it, as a program killed meanwhile leaves it.
int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--die-holding") == 0) {
        const QCoreApplication application(argc, argv);
        QLockFile lock(QString::fromLocal8Bit(argv[2]));
        std::_Exit(lock.tryLock(0) ? 0 : 1);
    }
    prepareGuiTestEnvironment();
    QApplication app(argc, argv);
    RecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Recovery.moc"
