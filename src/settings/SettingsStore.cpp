#include "SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace {

#ifdef Q_OS_WIN
std::unique_ptr<QSettings> OpenPlatformStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tessaly"), QStringLiteral("Vantor"));
}
#else
// QSettings keeps the user's configuration folder it found first for the whole
// process, so the file is named anew on every opening: the store then follows
// the configuration folder the program currently has.
QString StoreFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tessaly/Vantor.conf");
}

std::unique_ptr<QSettings> OpenPlatformStore() {
    return std::make_unique<QSettings>(StoreFile(), QSettings::IniFormat);
}
#endif

// A text written by hand with unquoted commas comes back as a list.
QString AsText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return value.toString();
}

} // namespace

TSettingsError::TSettingsError(const QString& message)
    : std::runtime_error(message.toLocal8Bit().toStdString()) {
}

TSettingsStore::TSettingsStore() = default;

TSettingsStore::~TSettingsStore() = default;

QString TSettingsStore::Location() {
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Tessaly\\Vantor");
#else
    return StoreFile();
#endif
}

bool TSettingsStore::Open() {
    settings_ = OpenPlatformStore();
    changed_ = false;
    // A file the parser only partly understood still gives what it read; one
    // that can't be read at all gives nothing.
    readable_ = settings_->status() != QSettings::AccessError;
    return readable_;
}

void TSettingsStore::Close() {
    if (settings_ == nullptr) {
        return;
    }
    std::unique_ptr<QSettings> settings = std::move(settings_);
    if (!changed_) {
        return;
    }
    changed_ = false;
    settings->sync();
    if (!Written(*settings)) {
        throw TSettingsError(
            QStringLiteral("Settings: the values could not be written to \"%1\".").arg(Location()));
    }
}

// An access error comes from writing. A format error found while reading
// stays in the status and hides whether the writing failed too: then the
// store is read again and must hold every value as written.
bool TSettingsStore::Written(const QSettings& settings) {
    switch (settings.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        return false;
    case QSettings::FormatError:
        break;
    }
    const std::unique_ptr<QSettings> stored = OpenPlatformStore();
    const QStringList keys = settings.allKeys();
    return std::all_of(keys.begin(), keys.end(), [&](const QString& key) {
        return stored->value(key) == settings.value(key);
    });
}

QString TSettingsStore::StoredName(const QString& name) const {
    if (settings_ == nullptr || !readable_) {
        return {};
    }
    const QStringList keys = settings_->allKeys();
    for (const QString& key : keys) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return key;
        }
    }
    return {};
}

bool TSettingsStore::ValueExists(const QString& name) const {
    return !StoredName(name).isEmpty();
}

QString TSettingsStore::ReadText(const QString& name) const {
    const QString key = StoredName(name);
    return key.isEmpty() ? QString() : AsText(settings_->value(key));
}

bool TSettingsStore::ReadFlag(const QString& name) const {
    const QString key = StoredName(name);
    if (key.isEmpty()) {
        return false;
    }
    const QVariant value = settings_->value(key);
    bool isInteger = false;
    const qlonglong number = value.toLongLong(&isInteger);
    if (!isInteger || value.typeId() == QMetaType::QStringList) {
        throw TSettingsError(QStringLiteral("Settings: the value \"%1\" is not a flag: \"%2\"")
                                 .arg(name, AsText(value)));
    }
    return number != 0;
}

void TSettingsStore::WriteText(const QString& name, const QString& value) {
    Write(name, value);
}

void TSettingsStore::WriteFlag(const QString& name, bool value) {
    Write(name, value ? 1 : 0);
}

void TSettingsStore::Write(const QString& name, const QVariant& value) {
    if (settings_ == nullptr) {
        Open();
    }
    // Every spelling of the name goes, so that the store holds it once.
    if (readable_) {
        const QStringList keys = settings_->allKeys();
        for (const QString& key : keys) {
            if (key.compare(name, Qt::CaseInsensitive) == 0) {
                settings_->remove(key);
            }
        }
    }
    settings_->setValue(name, value);
    changed_ = true;
}
