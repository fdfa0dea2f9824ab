#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

    QString StoreFile() const { return config_.path() + QStringLiteral("/Tessaly/Vantor.conf"); }

    void WriteStoreFile(const QByteArray& content) const {
        QDir().mkpath(config_.path() + QStringLiteral("/Tessaly"));
        QFile file(StoreFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QStringList StoredKeys() const {
        return QSettings(StoreFile(), QSettings::IniFormat).allKeys();
    }

    QTemporaryDir config_;
    QByteArray previous_;
};

} // namespace

TEST_F(SettingsStoreTest, AnEmptyStoreHasNoValuesAndAReadingPassLeavesNoFile) {
    TSettingsStore store;
    EXPECT_TRUE(store.Open());
    EXPECT_FALSE(store.ValueExists(QStringLiteral("Help POP")));
    EXPECT_EQ(store.ReadText(QStringLiteral("SysCoreDat")), QString());
    EXPECT_FALSE(store.ReadFlag(QStringLiteral("Help POP")));
    store.Close();
    EXPECT_FALSE(QFile::exists(StoreFile()));
    EXPECT_EQ(TSettingsStore::Location(), StoreFile());
}

TEST_F(SettingsStoreTest, TextsAndFlagsComeBackAsWritten) {
    const QString awkward = QStringLiteral("C:\\Games, Old\\\"core\" = 1; ä.vr");
    TSettingsStore writer;
    writer.Open();
    writer.WriteText(QStringLiteral("SysCoreDat"), awkward);
    writer.WriteText(QStringLiteral("LInotes"), QString());
    writer.WriteFlag(QStringLiteral("Help POP"), false);
    writer.WriteFlag(QStringLiteral("Data Lines"), true);
    writer.Close();

    // Flags are the integers 1 and 0.
    QSettings raw(StoreFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Help POP")).toString(), QStringLiteral("0"));
    EXPECT_EQ(raw.value(QStringLiteral("Data Lines")).toString(), QStringLiteral("1"));

    TSettingsStore reader;
    reader.Open();
    EXPECT_EQ(reader.ReadText(QStringLiteral("SysCoreDat")), awkward);
    EXPECT_TRUE(reader.ValueExists(QStringLiteral("LInotes")));
    EXPECT_EQ(reader.ReadText(QStringLiteral("LInotes")), QString());
    EXPECT_FALSE(reader.ReadFlag(QStringLiteral("Help POP")));
    EXPECT_TRUE(reader.ReadFlag(QStringLiteral("Data Lines")));
}

TEST_F(SettingsStoreTest, NamesMatchInAnyLetterCaseAndAWriteReplacesTheOtherSpelling) {
    WriteStoreFile("[General]\nhelp%20pop=0\nSYSCOREDAT=/data/core.vr\nauto%20rollout=7\n");
    TSettingsStore store;
    store.Open();
    EXPECT_TRUE(store.ValueExists(QStringLiteral("Help POP")));
    EXPECT_FALSE(store.ReadFlag(QStringLiteral("Help POP")));
    EXPECT_TRUE(store.ReadFlag(QStringLiteral("Auto RollOut")));
    EXPECT_EQ(store.ReadText(QStringLiteral("SysCoreDat")), QStringLiteral("/data/core.vr"));
    store.WriteFlag(QStringLiteral("Help POP"), true);
    store.Close();

    const QStringList keys = StoredKeys();
    EXPECT_TRUE(keys.contains(QStringLiteral("Help POP")));
    EXPECT_FALSE(keys.contains(QStringLiteral("help pop")));
    EXPECT_TRUE(keys.contains(QStringLiteral("SYSCOREDAT")));
}

TEST_F(SettingsStoreTest, AFlagThatIsNoIntegerIsAStoreErrorNamingTheValue) {
    WriteStoreFile("[General]\nHelp%20POP=yes\nData%20Lines=\n");
    TSettingsStore store;
    store.Open();
    try {
        store.ReadFlag(QStringLiteral("Help POP"));
        FAIL() << "a text read as a flag";
    } catch (const TSettingsError& error) {
        EXPECT_STREQ(error.what(), "Settings: the value \"Help POP\" is not a flag: \"yes\"");
    }
    EXPECT_THROW(store.ReadFlag(QStringLiteral("Data Lines")), TSettingsError);
}

TEST_F(SettingsStoreTest, AStoreThatCannotBeReadCountsAsEmpty) {
    WriteStoreFile("");
    QFile::remove(StoreFile());
    ASSERT_TRUE(QDir().mkpath(StoreFile())); // a folder where the file should be
    TSettingsStore store;
    EXPECT_FALSE(store.Open());
    EXPECT_FALSE(store.ValueExists(QStringLiteral("Help POP")));
    EXPECT_FALSE(store.ReadFlag(QStringLiteral("Help POP")));
}

TEST_F(SettingsStoreTest, AWriteThatFailsIsReportedNotLost) {
    // A file where the store's folder should be: no folder can be made, not even by root.
    QFile blocker(config_.path() + QStringLiteral("/Tessaly"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TSettingsStore store;
    store.Open();
    store.WriteFlag(QStringLiteral("Help POP"), true);
    try {
        store.Close();
        FAIL() << "a failed write went unreported";
    } catch (const TSettingsError& error) {
        EXPECT_NE(QString::fromLocal8Bit(error.what()).indexOf(StoreFile()), -1) << error.what();
    }
}

TEST_F(SettingsStoreTest, TheStoreFollowsTheCurrentConfigurationFolder) {
    TSettingsStore first;
    first.WriteFlag(QStringLiteral("Help POP"), true);
    first.Close();

    QTemporaryDir other;
    qputenv("XDG_CONFIG_HOME", other.path().toLocal8Bit());
    TSettingsStore second;
    second.Open();
    EXPECT_FALSE(second.ValueExists(QStringLiteral("Help POP")));
    second.WriteFlag(QStringLiteral("Data Lines"), false);
    second.Close();
    EXPECT_TRUE(QFile::exists(other.path() + QStringLiteral("/Tessaly/Vantor.conf")));
    EXPECT_EQ(StoredKeys(), QStringList{QStringLiteral("Help POP")});
}
