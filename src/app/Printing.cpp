#include "Printing.h"

#include "Desktop.h"

#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The boxes lay their text out in the screen's dots; paper at that density
// shows the text at the size the user sees on screen.
QSizeF screenDotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? QSizeF(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY())
                             : QSizeF(96, 96);
}

QString printerName(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                         : printer.printerName();
}

} // namespace

PrintError::PrintError(const QString& message)
    : std::runtime_error(message.toStdString()) {
}

void printWithDialog(QWidget* parent, const QTextDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    Desktop::current().preparePrinter(printer);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    printDocument(printer, document);
}

void printDocument(QPrinter& printer, const QTextDocument& document) {
    printer.setDocName(PrintJobName);
    const std::unique_ptr<QTextDocument> paper(document.clone());
    paper->setDocumentMargin(0);
    // A page size of its own makes the copy break into pages, which the
    // print then scales onto the printable area.
    const QSizeF area = printer.pageRect(QPrinter::DevicePixel).size();
    const QSizeF screen = screenDotsPerInch();
    paper->setPageSize(QSizeF(area.width() * screen.width() / printer.logicalDpiX(),
                              area.height() * screen.height() / printer.logicalDpiY()));
    paper->print(&printer);
    // The print reports nothing itself; the printer tells whether the job went through.
    if (printer.printerState() == QPrinter::Error) {
        throw PrintError(
            QStringLiteral("The print job could not be sent to \"%1\".").arg(printerName(printer)));
    }
}

std::unique_ptr<QTextDocument> wayForPaper(const QTextDocument& way) {
    std::unique_ptr<QTextDocument> paper(way.clone());
    QTextCursor cursor(paper.get());
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    const QString rule(39, u'_');
    // Each line goes in front of the way's first line and is split off it.
    for (const QString& line :
         {QStringLiteral("Vantor - Guide to galaxy"), rule, rule, QString()}) {
        cursor.insertText(line, plain);
        cursor.insertBlock(QTextBlockFormat(), plain);
    }
    return paper;
}
