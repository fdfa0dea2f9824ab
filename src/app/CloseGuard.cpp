#include "CloseGuard.h"

#include "ErrorBox.h"
#include "Messenger.h"

#include <QScopedValueRollback>

CloseGuard::CloseGuard(Messenger& messenger, QList<UnsavedPart> parts, QObject* parent)
    : QObject(parent)
    , messenger_(messenger)
    , parts_(std::move(parts)) {
}

bool CloseGuard::mayClose() {
    // A second close while the question is open waits for its answer.
    if (asking_) {
        return false;
    }
    const QStringList names = unsavedNames();
    return names.isEmpty() || answered_ || ask(names);
}

bool CloseGuard::mayEndSession(bool mayAsk) {
    const QStringList names = unsavedNames();
    if (names.isEmpty() || answered_) {
        return true;
    }
    if (!mayAsk) {
        emit endingUnasked();
        return true;
    }
    return !asking_ && ask(names);
}

QStringList CloseGuard::unsavedNames() const {
    QStringList names;
    for (const UnsavedPart& part : parts_) {
        if (part.unsaved()) {
            names << part.name;
        }
    }
    return names;
}

bool CloseGuard::ask(const QStringList& names) {
    const QScopedValueRollback asking(asking_, true);
    const Choice choice = messenger_.choose(
        QStringLiteral("Unsaved changes."),
        QStringLiteral("Save %1 before closing?").arg(names.join(QStringLiteral(" and "))),
        MessageKind::Question, QStringLiteral("&Save"), QStringLiteral("&Discard"));
    switch (choice) {
    case Choice::First:
        answered_ = saveAll();
        return answered_;
    case Choice::Second:
        answered_ = true;
        emit discarded();
        return true;
    case Choice::Neither:
        break;
    }
    return false;
}

// In the parts' order: a cancelled choice or a failed save stops there.
bool CloseGuard::saveAll() {
    for (const UnsavedPart& part : parts_) {
        bool saved = false;
        if (part.unsaved() && (!runGuarded([&] { saved = part.save(); }) || !saved)) {
            return false;
        }
    }
    return true;
}
