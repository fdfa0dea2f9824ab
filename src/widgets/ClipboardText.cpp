#include "ClipboardText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

bool holdsText(const QMimeData* data) {
    if (data == nullptr || data->formats().isEmpty()) {
        return false;
    }
    return (data->hasText() && !data->text().isEmpty()) || data->hasHtml();
}

bool clipboardHoldsText() {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard != nullptr && holdsText(clipboard->mimeData());
}
