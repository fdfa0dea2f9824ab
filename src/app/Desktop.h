#pragma once

#include <QString>

class QPrinter;

// What the program asks of the desktop beyond its own windows: the standard
// error box and the printer that the print dialog offers. One object answers
// for the whole program: the real desktop, unless another one was installed
// in its place, as the tests install one that records instead of showing.
class Desktop {
public:
    Desktop() = default;
    virtual ~Desktop() = default;
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The standard error box, modal: title "Vantor", the error's text.
    virtual void showErrorBox(const QString& text);
    // Sets up a printer before the print dialog offers it; the real desktop
    // leaves the system's default printer.
    virtual void preparePrinter(QPrinter& printer);

    // The desktop the program talks to now.
    static Desktop& current();
    // Puts the desktop in place of the current one, or the real one back
    // for null; the caller keeps it alive while it is installed. Returns
    // the one it replaced, null for the real one.
    static Desktop* install(Desktop* desktop);
};
