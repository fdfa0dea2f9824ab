#include "Desktop.h"

#include <QApplication>
#include <QMessageBox>

namespace {

Desktop*& installed() {
    static Desktop* desktop = nullptr;
    return desktop;
}

} // namespace

void Desktop::showErrorBox(const QString& text) {
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Vantor"), text);
}

void Desktop::preparePrinter(QPrinter&) {
}

Desktop& Desktop::current() {
    static Desktop real;
    return installed() != nullptr ? *installed() : real;
}

Desktop* Desktop::install(Desktop* desktop) {
    Desktop* previous = installed();
    installed() = desktop;
    return previous;
}
