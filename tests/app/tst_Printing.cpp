#include "TestSupport.h"

#include "NotepadPage.h"
#include "Printing.h"
#include "MainWindow.h"

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
QString PdfTool(const char* tool, const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromLatin1(tool), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One line of pdfinfo's report, such as "Pages" or "Title".
QString PdfInfo(const QString& pdf, const QString& field) {
    for (const QString& line : PdfTool("pdfinfo", {pdf}).split(QLatin1Char('\n'))) {
        if (line.startsWith(field + QLatin1Char(':'))) {
            return line.mid(field.size() + 1).trimmed();
        }
    }
    return {};
}

// The darkest grey of the first page, drawn small: black print is near 0.
int DarkestGrey(const QString& pdf, const QString& folder) {
    PdfTool("pdftoppm", {"-r", "40", "-gray", "-png", "-singlefile", pdf, folder + "/page"});
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
QString Shown(const QTextEdit* box) {
    const QTextCursor cursor = box->textCursor();
    return box->toHtml() + QString::number(cursor.anchor()) + QString::number(cursor.position()) +
           box->palette().color(QPalette::Text).name();
}

} // namespace

class TPrintingTest : public TProgramTest {
    Q_OBJECT

    QTemporaryDir folder_;

    QTextEdit* Way() const { return Find<QTextEdit>(&Navigation(), "RichEdit1"); }
    QTextEdit* Notes() const { return Find<QTextEdit>(Main(), "RichEdit2"); }
    QString Pdf() const { return folder_.filePath(QStringLiteral("printed.pdf")); }

    // Presses the button and answers the print dialog: printing into the PDF
    // file, or cancelling.
    void Print(QAbstractButton* button, bool confirm) const {
        QFile::remove(Pdf());
        WhenModalShows([confirm](QWidget* dialog) {
            QMetaObject::invokeMethod(dialog, confirm ? "accept" : "reject");
        });
        button->click();
    }
    QAbstractButton* WayPrint() const { return Find<QToolButton>(&Navigation(), "SpeedButton4"); }
    // The notepad's Print button, on its page as the user sees it.
    QAbstractButton* NotesPrint() const {
        Find<QTabWidget>(Main(), "PageControl1")->setCurrentWidget(&Main()->Notepad());
        return Find<QAbstractButton>(Main(), "BitBtnWithColor6");
    }

    void Prepare() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        const QString pdf = Pdf();
        SetPrinterSetupHook([pdf](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        });
        TypeInto(Find<QComboBox>(&Navigation(), "Von"), QStringLiteral("Corvane"));
        TypeInto(Find<QComboBox>(&Navigation(), "Nach"), QStringLiteral("Tallyhold"));
        QTest::mouseClick(Find<QToolButton>(&Navigation(), "Way"), Qt::LeftButton);
    }

private slots:
    // One page under the four heading lines, black on white; the box stays.
    void theWayPrintsUnderItsHeading() {
        const QString before = Shown(Way());
        const QStringList lines = Way()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 6);
        Print(WayPrint(), true);

        const QString text = PdfTool("pdftotext", {"-layout", Pdf(), "-"});
        const QString rule(39, u'_');
        QVERIFY2(text.contains("Vantor - Guide to galaxy\n" + rule + "\n" + rule + "\n"),
                 qPrintable(text));
        qsizetype at = text.indexOf(rule) + 2 * rule.size();
        for (const QString& line : lines) {
            at = text.indexOf(line, at);
            QVERIFY2(at > 0, qPrintable(line));
        }
        QCOMPARE(PdfInfo(Pdf(), "Pages"), "1");
        QCOMPARE(PdfInfo(Pdf(), "Title"), PrintJobName);
        QVERIFY(DarkestGrey(Pdf(), folder_.path()) < 64);
        QCOMPARE(Shown(Way()), before);
    }

    // A long notepad: several pages of one job, the first line to the last.
    void aLongNotepadSpansSeveralPages() {
        QStringList lines;
        for (int line = 1; line <= 300; ++line) {
            lines << QStringLiteral("Note %1 on the trade of Hex Cradle").arg(line);
        }
        Notes()->setPlainText(lines.join(QLatin1Char('\n')));
        QTextCursor selection(Notes()->document());
        selection.setPosition(5);
        selection.setPosition(9, QTextCursor::KeepAnchor);
        Notes()->setTextCursor(selection);
        const QString before = Shown(Notes());
        Print(NotesPrint(), true);

        const QString text = PdfTool("pdftotext", {Pdf(), "-"});
        QVERIFY(text.contains(lines.first()) && text.contains(lines.last()));
        QVERIFY(PdfInfo(Pdf(), "Pages").toInt() >= 3);
        QCOMPARE(Shown(Notes()), before);
    }

    // Cancelling prints nothing and leaves both boxes exactly as they were.
    void cancellingChangesNothing() {
        Notes()->setHtml(QStringLiteral("<b>bold</b> and <span style='color:#ff0000'>red</span>"));
        for (const auto& [box, button] :
             {std::pair{Way(), WayPrint()}, std::pair{Notes(), NotesPrint()}}) {
            const QString before = Shown(box);
            Print(button, false);
            QVERIFY(!QFile::exists(Pdf()));
            QCOMPARE(Shown(box), before);
        }
    }

    // A job the printing system refuses is an error, not a silent success.
    void aFailedJobIsReported() {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder_.filePath(QStringLiteral("missing/printed.pdf")));
        QVERIFY_THROWS_EXCEPTION(TPrintError, PrintDocument(printer, *Way()->document()));
    }
};

VANTOR_GUI_TEST_MAIN(TPrintingTest)

#include "tst_Printing.moc"
