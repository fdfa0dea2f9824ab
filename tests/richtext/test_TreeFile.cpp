#include "FileSizeLimit.h"
#include "TreeFile.h"
#include "TreeText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::string Message(const std::function<void()>& action) {
    try {
        action();
    } catch (const TreeFileError& error) {
        return error.Message().toStdString();
    }
    return "no error";
}

class TreeFile : public testing::Test {
protected:
    QString Path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
};

TEST_F(TreeFile, SavingWritesEveryUntouchedByteBackAsRead) {
    WriteFile(Path("in.txt"), "a\n\t\xe4\r\n\t\xc3\xa4\r\t\t\x81 ");
    TTree tree;
    LoadTreeFile(tree, Path("in.txt"));
    SaveTreeFile(tree, Path("out.txt"));
    EXPECT_EQ(ReadFile(Path("out.txt")), "a\r\n\t\xe4\r\n\t\xc3\xa4\r\n\t\t\x81 \r\n");
    SaveTreeFile(TTree(), Path("out.txt"));
    EXPECT_EQ(ReadFile(Path("out.txt")), "");
}

TEST_F(TreeFile, AnUnreadablePathNamesTheFileAndLeavesTheTree) {
    QDir(folder.path()).mkdir("Vantor.txt");
    const QString relative = QDir::current().relativeFilePath(Path("missing.txt"));
    for (const QString& path : {Path("Vantor.txt"), relative, QStringLiteral("/dev/zero")}) {
        TTree tree;
        tree.Append(tree.Root(), "kept");
        EXPECT_EQ(Message([&] { LoadTreeFile(tree, path); }),
                  "Datei " + QFileInfo(path).absoluteFilePath().toStdString() +
                      " kann nicht geöffnet werden");
        EXPECT_EQ(WriteTree(tree), "kept\r\n");
    }
}

TEST_F(TreeFile, ALevelErrorNamesLevelTextAndFileAndKeepsTheNodesBefore) {
    WriteFile(Path("deep.txt"), "a\r\n\tb\r\n\t\t\t%1 \xe4" + QByteArray(300, 'x') + "\r\nc");
    TTree tree;
    EXPECT_EQ(Message([&] { LoadTreeFile(tree, Path("deep.txt")); }),
              "Ungültige Ebene (3) für Eintrag \"%1 ä" + std::string(196, 'x') + "…\"\nDatei " +
                  Path("deep.txt").toStdString());
    EXPECT_EQ(WriteTree(tree), "a\r\n\tb\r\n");
}

TEST_F(TreeFile, APlaceThatCannotHoldTheFileGivesTheCreateError) {
    QDir(folder.path()).mkdir("Vantor.txt");
    TTree tree;
    tree.Append(tree.Root(), "node");
    for (const QString& path : {Path("Vantor.txt"), Path("missing/OwnData.txt")}) {
        EXPECT_EQ(Message([&] { SaveTreeFile(tree, path); }),
                  "Datei " + path.toStdString() + " kann nicht erstellt werden");
    }
    EXPECT_TRUE(QFileInfo(Path("Vantor.txt")).isDir());
}

// A file-size limit makes the writing itself fail halfway, even for root.
TEST_F(TreeFile, ASaveThatFailsHalfwayLeavesTheOldFileByteForByte) {
    const QByteArray old = "old\r\n\tcontent \xe4\r\n";
    WriteFile(Path("OwnData.txt"), old);
    TTree tree;
    for (int i = 0; i < 10'000; ++i) {
        tree.Append(tree.Root(), "a line that makes the file larger than the limit");
    }
    std::string message;
    {
        const TFileSizeLimit limit(64 * 1024);
        message = Message([&] { SaveTreeFile(tree, Path("OwnData.txt")); });
    }

    EXPECT_EQ(message,
              "Datei " + Path("OwnData.txt").toStdString() + " kann nicht erstellt werden");
    EXPECT_EQ(ReadFile(Path("OwnData.txt")), old);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"OwnData.txt"});
}

} // namespace

// A copy with core.vr beside it keeps every file in its own folder; an
// installed copy reads the shipped data from its share folder and keeps the
// user's files in the user's data folder.
TEST(ProgramFilePath, PortableAndInstalledCopies) {
    QTemporaryDir root;
    QTemporaryDir dataHome;
    const QByteArray previousDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    const QString portable = root.path() + "/portable/";
    const QString installed = root.path() + "/usr/bin/";
    QDir().mkpath(portable);
    QDir().mkpath(installed);
    QDir().mkpath(root.path() + "/usr/share/vantor");
    WriteFile(portable + "core.vr", "0,0,Home,1,0,0,0,0\r\n");

    const struct {
        QString Folder;
        QString Name;
        QString Expected;
    } cases[] = {
        {portable, "core.vr", portable + "core.vr"},
        {portable, "vantor.vr", portable + "vantor.vr"},
        {portable, "OwnData.txt", portable + "OwnData.txt"},
        {installed, "core.vr", root.path() + "/usr/share/vantor/core.vr"},
        {installed, "vantor.vr", root.path() + "/usr/share/vantor/vantor.vr"},
        {installed, "Vantor.txt", dataHome.path() + "/Vantor.txt"},
        {installed, "OwnData.txt", dataHome.path() + "/OwnData.txt"},
    };
    for (const auto& [folder, name, expected] : cases) {
        EXPECT_EQ(ProgramFilePath(folder, name).toStdString(), expected.toStdString())
            << name.toStdString();
    }
    // The user's folder exists once a path in it has been asked for.
    EXPECT_TRUE(QFileInfo(dataHome.path()).isDir());
    qputenv("XDG_DATA_HOME", previousDataHome);
}
