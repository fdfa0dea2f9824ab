#include "TestSupport.h"

#include "MainWindow.h"
#include "NotepadPage.h"
#include "Printing.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>

namespace {

// The output of one of the PDF tools on the file; empty when it failed.
QString pdfTool(const char* tool, const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromLatin1(tool), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One line of pdfinfo's report, such as "Pages" or "Title".
QString pdfInfo(const QString& pdf, const QString& field) {
    for (const QString& line : pdfTool("pdfinfo", {pdf}).split(QLatin1Char('\n'))) {
        if (line.startsWith(field + QLatin1Char(':'))) {
            return line.mid(field.size() + 1).trimmed();
        }
    }
    return {};
}

// The darkest grey of the first page, drawn small: black print is near 0.
int darkestGrey(const QString& pdf, const QString& folder) {
    pdfTool("pdftoppm", {"-r", "40", "-gray", "-png", "-singlefile", pdf, folder + "/page"});
    const QImage page(folder + "/page.png");
    int darkest = 255;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            darkest = std::min(darkest, qGray(page.pixel(x, y)));
        }
    }
    return darkest;
}

// What the box shows: its text with every format, the selection and its colours.
QString shown(const QTextEdit* box) {
    const QTextCursor cursor = box->textCursor();
    return box->toHtml() + QString::number(cursor.anchor()) + QString::number(cursor.position()) +
           box->palette().color(QPalette::Text).name();
}

} // namespace

class PrintingTest : public ProgramTest {
    Q_OBJECT

    QTemporaryDir folder_;

    QTextEdit* way() const { return findControl<QTextEdit>(&navigation(), "RichEdit1"); }
    QTextEdit* notes() const { return findControl<QTextEdit>(mainWindow(), "RichEdit2"); }
    QString pdfPath() const { return folder_.filePath(QStringLiteral("printed.pdf")); }

    // Presses the button and answers the print dialog: printing into the PDF
    // file, or cancelling.
    void print(QAbstractButton* button, bool confirm) const {
        QFile::remove(pdfPath());
        whenModalShows([confirm](QWidget* dialog) {
            QMetaObject::invokeMethod(dialog, confirm ? "accept" : "reject");
        });
        button->click();
    }
    QAbstractButton* wayPrint() const {
        return findControl<QToolButton>(&navigation(), "SpeedButton4");
    }
    // The notepad's Print button, on its page as the user sees it.
    QAbstractButton* notesPrint() const {
        findControl<QTabWidget>(mainWindow(), "PageControl1")
            ->setCurrentWidget(&fixture().parts().notepad());
        return findControl<QAbstractButton>(mainWindow(), "BitBtnWithColor6");
    }

    void prepare() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        const QString pdf = pdfPath();
        testDesktop().printerSetup = [pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        };
        typeInto(findControl<QComboBox>(&navigation(), "Von"), QStringLiteral("Corvane"));
        typeInto(findControl<QComboBox>(&navigation(), "Nach"), QStringLiteral("Tallyhold"));
        QTest::mouseClick(findControl<QToolButton>(&navigation(), "Way"), Qt::LeftButton);
    }

private slots:
    // One page under the four heading lines, black on white; the box stays.
    void theWayPrintsUnderItsHeading() {
        const QString before = shown(way());
        const QStringList lines = way()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 6);
        print(wayPrint(), true);

        const QString text = pdfTool("pdftotext", {"-layout", pdfPath(), "-"});
        const QString rule(39, u'_');
        QVERIFY2(text.contains("Vantor - Guide to galaxy\n" + rule + "\n" + rule + "\n"),
                 qPrintable(text));
        qsizetype at = text.indexOf(rule) + 2 * rule.size();
        for (const QString& line : lines) {
            at = text.indexOf(line, at);
            QVERIFY2(at > 0, qPrintable(line));
        }
        QCOMPARE(pdfInfo(pdfPath(), "Pages"), "1");
        QCOMPARE(pdfInfo(pdfPath(), "Title"), PrintJobName);
        QVERIFY(darkestGrey(pdfPath(), folder_.path()) < 64);
        QCOMPARE(shown(way()), before);
    }

    // A long notepad: several pages of one job, the first line to the last.
    void aLongNotepadSpansSeveralPages() {
        QStringList lines;
        for (int line = 1; line <= 300; ++line) {
            lines << QStringLiteral("Note %1 on the trade of Hex Cradle").arg(line);
        }
        notes()->setPlainText(lines.join(QLatin1Char('\n')));
        QTextCursor selection(notes()->document());
        selection.setPosition(5);
        selection.setPosition(9, QTextCursor::KeepAnchor);
        notes()->setTextCursor(selection);
        const QString before = shown(notes());
        print(notesPrint(), true);

        const QString text = pdfTool("pdftotext", {pdfPath(), "-"});
        QVERIFY(text.contains(lines.first()) && text.contains(lines.last()));
        QVERIFY(pdfInfo(pdfPath(), "Pages").toInt() >= 3);
        QCOMPARE(shown(notes()), before);
    }

    // Cancelling prints nothing and leaves both boxes exactly as they were.
    void cancellingChangesNothing() {
        notes()->setHtml(QStringLiteral("<b>bold</b> and <span style='color:#ff0000'>red</span>"));
        for (const auto& [box, button] :
             {std::pair{way(), wayPrint()}, std::pair{notes(), notesPrint()}}) {
            const QString before = shown(box);
            print(button, false);
            QVERIFY(!QFile::exists(pdfPath()));
            QCOMPARE(shown(box), before);
        }
    }

    // A job the printing system refuses is an error, not a silent success.
    void aFailedJobIsReported() {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder_.filePath(QStringLiteral("missing/printed.pdf")));
        QVERIFY_THROWS_EXCEPTION(PrintError, printDocument(printer, *way()->document()));
    }
};

VANTOR_GUI_TEST_MAIN(PrintingTest)

#include "tst_Printing.moc"
