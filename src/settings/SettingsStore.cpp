#include "SettingsStore.h"

#include "QuotedInput.h"
#include "RegularFile.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace {

#ifdef Q_OS_WIN
std::unique_ptr<QSettings> openPlatformStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Tessaly"), QStringLiteral("Vantor"));
}
#else
// QSettings keeps the user's configuration folder it found first for the whole
// process, so the file is named anew on every opening: the store then follows
// the configuration folder the program currently has.
QString storeFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Tessaly/Vantor.conf");
}

std::unique_ptr<QSettings> openPlatformStore() {
    return std::make_unique<QSettings>(storeFile(), QSettings::IniFormat);
}
#endif

// Whether the store can be opened without waiting: QSettings reads its file
// as it opens it, and a pipe in the file's place would never answer. A store
// that does not exist yet is made by the first write.
bool openable() {
#ifdef Q_OS_WIN
    return true;
#else
    const QString file = storeFile();
    return !QFileInfo::exists(file) || isRegularFile(file);
#endif
}

// A stored value as a message quotes it: short, and readable whatever it holds.
QString quoted(const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    return QString::fromStdString(
        quotedInput(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
}

// A text written by hand with unquoted commas comes back as a list.
QString asText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", "));
    }
    return value.toString();
}

} // namespace

SettingsError::SettingsError(const QString& message)
    : std::runtime_error(message.toStdString()) {
}

SettingsStore::SettingsStore() = default;

SettingsStore::~SettingsStore() = default;

QString SettingsStore::location() {
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Tessaly\\Vantor");
#else
    return storeFile();
#endif
}

bool SettingsStore::open() {
    settings_.reset();
    changed_ = false;
    readable_ = false;
    if (!openable()) {
        throw SettingsError(
            QStringLiteral("Settings: the store \"%1\" cannot be opened.").arg(location()));
    }
    settings_ = openPlatformStore();
    // A file the parser only partly understood still gives what it read; one
    // that can't be read at all gives nothing.
    readable_ = settings_->status() != QSettings::AccessError;
    return readable_;
}

void SettingsStore::close() {
    if (settings_ == nullptr) {
        return;
    }
    std::unique_ptr<QSettings> settings = std::move(settings_);
    if (!changed_) {
        return;
    }
    changed_ = false;
    settings->sync();
    if (!written(*settings)) {
        throw SettingsError(
            QStringLiteral("Settings: the values could not be written to \"%1\".").arg(location()));
    }
}

// An access error comes from writing. A format error found while reading
// stays in the status and hides whether the writing failed too: then the
// store is read again and must hold every value as written.
bool SettingsStore::written(const QSettings& settings) {
    switch (settings.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::AccessError:
        return false;
    case QSettings::FormatError:
        break;
    }
    const std::unique_ptr<QSettings> stored = openPlatformStore();
    const QStringList keys = settings.allKeys();
    return std::all_of(keys.begin(), keys.end(), [&](const QString& key) {
        return stored->value(key) == settings.value(key);
    });
}

QString SettingsStore::storedName(const QString& name) const {
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

bool SettingsStore::valueExists(const QString& name) const {
    return !storedName(name).isEmpty();
}

QString SettingsStore::readText(const QString& name) const {
    const QString key = storedName(name);
    return key.isEmpty() ? QString() : asText(settings_->value(key));
}

bool SettingsStore::readFlag(const QString& name) const {
    const QString key = storedName(name);
    if (key.isEmpty()) {
        return false;
    }
    const QVariant value = settings_->value(key);
    bool isInteger = false;
    const qlonglong number = value.toLongLong(&isInteger);
    if (!isInteger || value.typeId() == QMetaType::QStringList) {
        throw SettingsError(QStringLiteral("Settings: the value \"%1\" is not a flag: \"%2\"")
                                .arg(name, quoted(asText(value))));
    }
    return number != 0;
}

void SettingsStore::writeText(const QString& name, const QString& value) {
    write(name, value);
}

void SettingsStore::writeFlag(const QString& name, bool value) {
    write(name, value ? 1 : 0);
}

void SettingsStore::write(const QString& name, const QVariant& value) {
    if (settings_ == nullptr) {
        open();
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
