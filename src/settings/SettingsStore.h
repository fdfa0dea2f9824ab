#pragma once

#include <QString>
#include <memory>
#include <stdexcept>

class QSettings;
class QVariant;

// A fault of the store: a value of the wrong kind, or a write that did not
// reach it. The text names what went wrong and is meant for the user.
class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(const QString& message);
};

// The program's stored settings, in the user's own configuration: the registry
// key Software\Tessaly\Vantor of the current user on Windows, the file
// Tessaly/Vantor.conf in the user's configuration folder ($XDG_CONFIG_HOME)
// elsewhere. The store is opened for one reading or writing pass and closed at
// once. Value names match without regard to letter case, as the registry's do.
// Texts are stored as text, flags as the integers 1 and 0.
class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Opens the store; it comes into being with the first value written. A store
    // that can't be read counts as empty: the answer is then false and every
    // value is absent. Throws SettingsError, at once, when something other
    // than a file (a pipe, a folder) stands where the store's file belongs.
    bool open();
    // Writes what was changed since Open and lets go of the store. Throws
    // SettingsError when the values could not be written.
    void close();

    bool valueExists(const QString& name) const;
    // The stored text; empty when the value is absent.
    QString readText(const QString& name) const;
    // True when the stored integer is not 0; false when the value is absent.
    // Throws SettingsError when the value is no integer.
    bool readFlag(const QString& name) const;
    // A value whose name is stored in another letter case is replaced.
    void writeText(const QString& name, const QString& value);
    void writeFlag(const QString& name, bool value);

    // Where the store lives, for messages: the file, or the registry key.
    static QString location();

private:
    // The name under which the value is stored, in its stored letter case;
    // empty when there is none.
    QString storedName(const QString& name) const;
    void write(const QString& name, const QVariant& value);
    // Whether the values reached the store after a sync.
    static bool written(const QSettings& settings);

    std::unique_ptr<QSettings> settings_;
    bool readable_ = false;
    bool changed_ = false;
};
