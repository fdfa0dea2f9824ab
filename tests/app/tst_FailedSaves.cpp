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

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void Put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void ShowPage(TForm1* main, const QString& caption) {
    auto* pages = Find<QTabWidget>(main, "PageControl1");
    for (int page = 0; page < pages->count(); ++page) {
        if (pages->tabText(page) == caption) {
            pages->setCurrentIndex(page);
        }
    }
}

void Click(TForm1* main, const char* button) {
    QTest::mouseClick(Find<QAbstractButton>(main, button), Qt::LeftButton);
}

} // namespace

// Every file the program writes, written while the file system takes no more
// than a few bytes: the user sees the error and the file written before is
// still there, byte for byte, with no temporary file beside it.
class TFailedSavesTest : public TProgramTest {
    Q_OBJECT

private slots:
    void aFailedSaveKeepsThePreviousFile() {
        struct TWriter {
            const char* Name;
            QString Path;
            std::function<void()> Save;
        };
        TForm1* main = Main();
        const QString notes = Fixture().ProgramFolder() + "notes.vrn";
        const QList<TWriter> writers{
            {"system database export", Fixture().ProgramFolder() + "Vantor.txt",
             [main] {
                 ShowPage(main, "System Database");
                 Click(main, "BitBtnWithColor2");
             }},
            {"own database export", Fixture().ProgramFolder() + "OwnData.txt",
             [main] {
                 ShowPage(main, "Own Database");
                 Click(main, "BitBtnWithColor8");
             }},
            {"notepad", notes,
             [main, notes] {
                 ShowPage(main, "Notepad");
                 Find<QTextEdit>(main, "RichEdit2")
                     ->setPlainText(QStringLiteral("Ore prices at Corvane. ").repeated(40));
                 AnswerFileDialog(notes);
                 Click(main, "BitBtnWithColor4");
             }},
            {"settings", Fixture().SettingsFile(),
             [main] {
                 Find<QCheckBox>(main, "CheckBox3")->click();
             }},
        };
        // Written before; the second is also a store the settings read only in part.
        for (const QByteArray& previous : {QByteArray("[General]\r\nkept=1\r\n"),
                                           QByteArray("written before\r\n\tand kept\r\n")}) {
            for (const TWriter& writer : writers) {
                Put(writer.Path, previous);
                TErrorBoxRecorder errors;
                TMessageAnswerer answerer;
                {
                    const TFileSizeLimit limit(previous.size() + 16);
                    writer.Save();
                }
                QVERIFY2(errors.Texts.size() == 1 && errors.Texts[0].contains(writer.Path),
                         qPrintable(writer.Name + (": " + errors.Texts.join(" | "))));
                QVERIFY2(answerer.Seen.isEmpty(), writer.Name); // no "Saved." after a failure
                QCOMPARE(Content(writer.Path), previous);
                const QStringList beside = QFileInfo(writer.Path).dir().entryList(QDir::Files);
                QVERIFY2(beside.filter(QFileInfo(writer.Path).fileName()).size() == 1,
                         qPrintable(beside.join(' ')));
            }
        }
    }
};

VANTOR_GUI_TEST_MAIN(TFailedSavesTest)
#include "tst_FailedSaves.moc"
