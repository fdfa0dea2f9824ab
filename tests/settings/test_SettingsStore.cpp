#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// Every test gets a configuration folder of its own, so the user's settings
// are never touched.
class SettingsStoreTest : public ::testing::Test {
protected:
    SettingsStoreTest()
        : previous_(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
    }
    ~SettingsStoreTest() override { qputenv("XDG_CONFIG_HOME", previous_); }

    QString storeFile() const { return config_.path() + QStringLiteral("/Tessaly/Vantor.conf"); }

    void writeStoreFile(const QByteArray& content) const {
        QDir().mkpath(config_.path() + QStringLiteral("/Tessaly"));
        QFile file(storeFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QStringList storedKeys() const {
        return QSettings(storeFile(), QSettings::IniFormat).allKeys();
    }

    QTemporaryDir config_;
    QByteArray previous_;
};

} // namespace

TEST_F(SettingsStoreTest, AnEmptyStoreHasNoValuesAndAReadingPassLeavesNoFile) {
    SettingsStore store;
    EXPECT_TRUE(store.open());
    EXPECT_FALSE(store.valueExists(QStringLiteral("Help POP")));
    EXPECT_EQ(store.readText(QStringLiteral("SysCoreDat")), QString());
    EXPECT_FALSE(store.readFlag(QStringLiteral("Help POP")));
    store.close();
    EXPECT_FALSE(QFile::exists(storeFile()));
    EXPECT_EQ(SettingsStore::location(), storeFile());
}

TEST_F(SettingsStoreTest, TextsAndFlagsComeBackAsWritten) {
    const QString awkward = QStringLiteral("C:\\Games, Old\\\"core\" = 1; ä.vr");
    SettingsStore writer;
    writer.open();
    writer.writeText(QStringLiteral("SysCoreDat"), awkward);
    writer.writeText(QStringLiteral("LInotes"), QString());
    writer.writeFlag(QStringLiteral("Help POP"), false);
    writer.writeFlag(QStringLiteral("Data Lines"), true);
    writer.close();

    // Flags are the integers 1 and 0.
    QSettings raw(storeFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Help POP")).toString(), QStringLiteral("0"));
    EXPECT_EQ(raw.value(QStringLiteral("Data Lines")).toString(), QStringLiteral("1"));

    SettingsStore reader;
    reader.open();
    EXPECT_EQ(reader.readText(QStringLiteral("SysCoreDat")), awkward);
    EXPECT_TRUE(reader.valueExists(QStringLiteral("LInotes")));
    EXPECT_EQ(reader.readText(QStringLiteral("LInotes")), QString());
    EXPECT_FALSE(reader.readFlag(QStringLiteral("Help POP")));
    EXPECT_TRUE(reader.readFlag(QStringLiteral("Data Lines")));
}

TEST_F(SettingsStoreTest, NamesMatchInAnyLetterCaseAndAWriteReplacesTheOtherSpelling) {
    writeStoreFile("[General]\nhelp%20pop=0\nSYSCOREDAT=/data/core.vr\nauto%20rollout=7\n");
    SettingsStore store;
    store.open();
    EXPECT_TRUE(store.valueExists(QStringLiteral("Help POP")));
    EXPECT_FALSE(store.readFlag(QStringLiteral("Help POP")));
    EXPECT_TRUE(store.readFlag(QStringLiteral("Auto RollOut")));
    EXPECT_EQ(store.readText(QStringLiteral("SysCoreDat")), QStringLiteral("/data/core.vr"));
    store.writeFlag(QStringLiteral("Help POP"), true);
    store.close();

    const QStringList keys = storedKeys();
    EXPECT_TRUE(keys.contains(QStringLiteral("Help POP")));
    EXPECT_FALSE(keys.contains(QStringLiteral("help pop")));
    EXPECT_TRUE(keys.contains(QStringLiteral("SYSCOREDAT")));
}

TEST_F(SettingsStoreTest, AFlagThatIsNoIntegerIsAStoreErrorNamingTheValue) {
    writeStoreFile("[General]\nHelp%20POP=yes\nData%20Lines=\n");
    SettingsStore store;
    store.open();
    try {
        store.readFlag(QStringLiteral("Help POP"));
        FAIL() << "a text read as a flag";
    } catch (const SettingsError& error) {
        EXPECT_STREQ(error.what(), "Settings: the value \"Help POP\" is not a flag: \"yes\"");
    }
    EXPECT_THROW(store.readFlag(QStringLiteral("Data Lines")), SettingsError);
}

// Only a regular file is opened: anything else in its place is reported at
// once, and every value counts as absent.
TEST_F(SettingsStoreTest, WhatIsNoFileInTheStoresPlaceIsAStoreErrorAndNothingIsRead) {
    const std::function<bool(const QString&)> makers[] = {
        [](const QString& path) { return QDir().mkpath(path); },
        [](const QString& path) { return mkfifo(QFile::encodeName(path).constData(), 0600) == 0; },
    };
    writeStoreFile("");
    for (const auto& make : makers) {
        QDir(storeFile()).removeRecursively();
        QFile::remove(storeFile());
        ASSERT_TRUE(make(storeFile()));
        SettingsStore store;
        try {
            store.open();
            ADD_FAILURE() << "opened what is no file";
        } catch (const SettingsError& error) {
            EXPECT_EQ(QString::fromUtf8(error.what()),
                      "Settings: the store \"" + storeFile() + "\" cannot be opened.");
        }
        EXPECT_FALSE(store.valueExists(QStringLiteral("Help POP")));
        EXPECT_FALSE(store.readFlag(QStringLiteral("Help POP")));
    }
}

// A value of a megabyte, or of control bytes, is quoted short and readable.
TEST_F(SettingsStoreTest, AWrongValueIsQuotedShort) {
    writeStoreFile("[General]\nHelp%20POP=" + QByteArray(1 << 20, 'y') +
                   "\nData%20Lines=\"\\t\xC3\xA4\"\n");
    SettingsStore store;
    store.open();
    const std::pair<const char*, std::string> cases[] = {{"Help POP", std::string(80, 'y') + "..."},
                                                         {"Data Lines", "\\x09\xC3\xA4"}};
    for (const auto& [name, shown] : cases) {
        try {
            store.readFlag(QString::fromLatin1(name));
            ADD_FAILURE() << "a text read as a flag";
        } catch (const SettingsError& error) {
            EXPECT_EQ(std::string(error.what()), "Settings: the value \"" + std::string(name) +
                                                     "\" is not a flag: \"" + shown + "\"");
        }
    }
}

TEST_F(SettingsStoreTest, AWriteThatFailsIsReportedNotLost) {
    // A file where the store's folder should be: no folder can be made, not even by root.
    QFile blocker(config_.path() + QStringLiteral("/Tessaly"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store;
    store.open();
    store.writeFlag(QStringLiteral("Help POP"), true);
    try {
        store.close();
        FAIL() << "a failed write went unreported";
    } catch (const SettingsError& error) {
        EXPECT_NE(QString::fromUtf8(error.what()).indexOf(storeFile()), -1) << error.what();
    }
}

TEST_F(SettingsStoreTest, TheStoreFollowsTheCurrentConfigurationFolder) {
    SettingsStore first;
    first.writeFlag(QStringLiteral("Help POP"), true);
    first.close();

    QTemporaryDir other;
    qputenv("XDG_CONFIG_HOME", other.path().toLocal8Bit());
    SettingsStore second;
    second.open();
    EXPECT_FALSE(second.valueExists(QStringLiteral("Help POP")));
    second.writeFlag(QStringLiteral("Data Lines"), false);
    second.close();
    EXPECT_TRUE(QFile::exists(other.path() + QStringLiteral("/Tessaly/Vantor.conf")));
    EXPECT_EQ(storedKeys(), QStringList{QStringLiteral("Help POP")});
}
