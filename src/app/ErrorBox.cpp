#include "ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace {

std::function<void(const QString&)>& errorBoxHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}

} // namespace

void setErrorBoxHook(std::function<void(const QString&)> hook) {
    errorBoxHook() = std::move(hook);
}

void showErrorBox(const QString& text) {
    if (errorBoxHook()) {
        errorBoxHook()(text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Vantor"), text);
}

bool runGuarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        showErrorBox(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        showErrorBox(QStringLiteral("Unknown error"));
    }
    return false;
}
