#pragma once

#include <QString>
#include <memory>
#include <stdexcept>

class QPrinter;
class QTextDocument;
class QWidget;

// The name of every print job in the system's queue.
inline const QString PrintJobName = QStringLiteral("Vantor Printjob");

// A print job that the printing system refused or broke off.
class PrintError : public std::runtime_error {
public:
    explicit PrintError(const QString& message);
};

// Asks for the printer in the system's print dialog, which offers it as the
// Desktop prepared it, and prints the document there, unless the user cancels. Prints a copy: the
// box that shows the document never changes, whatever happens to the job.
void printWithDialog(QWidget* parent, const QTextDocument& document);

// Prints a copy of the document as one job over as many pages as it needs,
// filling each page's printable area. Text without a colour of its own
// prints black (the boxes show it silver on black), text with one in that
// colour, on white paper. Throws PrintError when the job fails.
void printDocument(QPrinter& printer, const QTextDocument& document);

// The way as it goes to paper: the four heading lines, then the way.
std::unique_ptr<QTextDocument> wayForPaper(const QTextDocument& way);
