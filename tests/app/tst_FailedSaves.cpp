#include "FileSizeLimit.h"
#include "TestSupport.h"

#include "MainWindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTextEdit>
#include <functional>

namespace {

QByteArray content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void showPage(MainWindow* main, const QString& caption) {
    auto* pages = findControl<QTabWidget>(main, "PageControl1");
    for (int page = 0; page < pages->count(); ++page) {
        if (pages->tabText(page) == caption) {
            pages->setCurrentIndex(page);
        }
    }
}

void click(MainWindow* main, const char* button) {
    QTest::mouseClick(findControl<QAbstractButton>(main, button), Qt::LeftButton);
}

} // namespace

// Every file the program writes, written while the file system takes no more
// than a few bytes: the user sees the error and the file written before is
// still there, byte for byte, with no temporary file beside it.
class FailedSavesTest : public ProgramTest {
    Q_OBJECT

private slots:
    void aFailedSaveKeepsThePreviousFile() {
        struct Writer {
            const char* name;
            QString filePath;
            std::function<void()> save;
        };
        MainWindow* main = mainWindow();
        const QString notes = fixture().programFolder() + "notes.vrn";
        const QList<Writer> writers{
            {"system database export", fixture().programFolder() + "Vantor.txt",
             [main] {
                 showPage(main, "System Database");
                 click(main, "BitBtnWithColor2");
             }},
            {"own database export", fixture().programFolder() + "OwnData.txt",
             [main] {
                 showPage(main, "Own Database");
                 click(main, "BitBtnWithColor8");
             }},
            {"notepad", notes,
             [main, notes] {
                 showPage(main, "Notepad");
                 findControl<QTextEdit>(main, "RichEdit2")
                     ->setPlainText(QStringLiteral("Ore prices at Corvane. ").repeated(40));
                 answerFileDialog(notes);
                 click(main, "BitBtnWithColor4");
             }},
            {"settings", fixture().settingsFile(),
             [main] {
                 findControl<QCheckBox>(main, "CheckBox3")->click();
             }},
        };
        // Written before; the second is also a store the settings read only in part.
        for (const QByteArray& previous : {QByteArray("[General]\r\nkept=1\r\n"),
                                           QByteArray("written before\r\n\tand kept\r\n")}) {
            for (const Writer& writer : writers) {
                put(writer.filePath, previous);
                ErrorBoxRecorder errors;
                MessageAnswerer answerer;
                {
                    const FileSizeLimit limit(previous.size() + 16);
                    writer.save();
                }
                QVERIFY2(errors.texts.size() == 1 && errors.texts[0].contains(writer.filePath),
                         qPrintable(writer.name + (": " + errors.texts.join(" | "))));
                QVERIFY2(answerer.seenMessages.isEmpty(),
                         writer.name); // no "Saved." after a failure
                QCOMPARE(content(writer.filePath), previous);
                const QStringList beside = QFileInfo(writer.filePath).dir().entryList(QDir::Files);
                QVERIFY2(beside.filter(QFileInfo(writer.filePath).fileName()).size() == 1,
                         qPrintable(beside.join(' ')));
            }
        }
    }
};

VANTOR_GUI_TEST_MAIN(FailedSavesTest)
#include "tst_FailedSaves.moc"
