#include "ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace {

std::function<void(const QString&)>& Hook() {
    static std::function<void(const QString&)> hook;
    return hook;
}

} // namespace

void SetErrorBoxHook(std::function<void(const QString&)> hook) {
    Hook() = std::move(hook);
}

void ShowErrorBox(const QString& text) {
    if (Hook()) {
        Hook()(text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Vantor"), text);
}

bool RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Unknown error"));
    }
    return false;
}
