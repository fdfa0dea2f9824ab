#include "ErrorBox.h"

#include "Desktop.h"

#include <exception>

void showErrorBox(const QString& text) {
    Desktop::current().showErrorBox(text);
}

bool runGuarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        showErrorBox(QString::fromUtf8(error.what()));
    } catch (...) {
        showErrorBox(QStringLiteral("Unknown error"));
    }
    return false;
}
