#include "FileSizeLimit.h"
#include "TreeFile.h"
#include "TreeText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

std::string errorMessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const TreeFileError& error) {
        return error.message().toStdString();
    }
    return "no error";
}

class TreeFile : public testing::Test {
protected:
    QString filePath(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
};

TEST_F(TreeFile, SavingWritesEveryUntouchedByteBackAsRead) {
    writeFile(filePath("in.txt"), "a\n\t\xe4\r\n\t\xc3\xa4\r\t\t\x81 ");
    Tree tree;
    loadTreeFile(tree, filePath("in.txt"));
    saveTreeFile(tree, filePath("out.txt"));
    EXPECT_EQ(readFile(filePath("out.txt")), "a\r\n\t\xe4\r\n\t\xc3\xa4\r\n\t\t\x81 \r\n");
    saveTreeFile(Tree(), filePath("out.txt"));
    EXPECT_EQ(readFile(filePath("out.txt")), "");
}

TEST_F(TreeFile, AnUnreadablePathNamesTheFileAndLeavesTheTree) {
    QDir(folder.path()).mkdir("Vantor.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(filePath("OwnData.txt")).constData(), 0600), 0);
    const QString relative = QDir::current().relativeFilePath(filePath("missing.txt"));
    for (const QString& path :
         {filePath("Vantor.txt"), filePath("OwnData.txt"), relative, QStringLiteral("/dev/zero")}) {
        Tree tree;
        tree.append(tree.root(), "kept");
        EXPECT_EQ(errorMessageOf([&] { loadTreeFile(tree, path); }),
                  "Datei " + QFileInfo(path).absoluteFilePath().toStdString() +
                      " kann nicht geöffnet werden");
        EXPECT_EQ(writeTree(tree), "kept\r\n");
    }
}

TEST_F(TreeFile, ALevelErrorNamesLevelTextAndFileAndKeepsTheNodesBefore) {
    writeFile(filePath("deep.txt"), "a\r\n\tb\r\n\t\t\t%1 \xe4" + QByteArray(300, 'x') + "\r\nc");
    Tree tree;
    EXPECT_EQ(errorMessageOf([&] { loadTreeFile(tree, filePath("deep.txt")); }),
              "Ungültige Ebene (3) für Eintrag \"%1 ä" + std::string(76, 'x') + "...\"\nDatei " +
                  filePath("deep.txt").toStdString());
    EXPECT_EQ(writeTree(tree), "a\r\n\tb\r\n");
}

TEST_F(TreeFile, APlaceThatCannotHoldTheFileGivesTheCreateError) {
    QDir(folder.path()).mkdir("Vantor.txt");
    Tree tree;
    tree.append(tree.root(), "node");
    for (const QString& path : {filePath("Vantor.txt"), filePath("missing/OwnData.txt")}) {
        EXPECT_EQ(errorMessageOf([&] { saveTreeFile(tree, path); }),
                  "Datei " + path.toStdString() + " kann nicht erstellt werden");
    }
    EXPECT_TRUE(QFileInfo(filePath("Vantor.txt")).isDir());
}

// A file-size limit makes the writing itself fail halfway, even for root.
TEST_F(TreeFile, ASaveThatFailsHalfwayLeavesTheOldFileByteForByte) {
    const QByteArray old = "old\r\n\tcontent \xe4\r\n";
    writeFile(filePath("OwnData.txt"), old);
    Tree tree;
    for (int i = 0; i < 10'000; ++i) {
        tree.append(tree.root(), "a line that makes the file larger than the limit");
    }
    std::string message;
    {
        const FileSizeLimit limit(64 * 1024);
        message = errorMessageOf([&] { saveTreeFile(tree, filePath("OwnData.txt")); });
    }

    EXPECT_EQ(message,
              "Datei " + filePath("OwnData.txt").toStdString() + " kann nicht erstellt werden");
    EXPECT_EQ(readFile(filePath("OwnData.txt")), old);
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
    writeFile(portable + "core.vr", "0,0,Home,1,0,0,0,0\r\n");

    const struct {
        QString folder;
        QString name;
        QString expected;
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
        EXPECT_EQ(programFilePath(folder, name).toStdString(), expected.toStdString())
            << name.toStdString();
    }
    // The user's folder exists once a path in it has been asked for.
    EXPECT_TRUE(QFileInfo(dataHome.path()).isDir());
    qputenv("XDG_DATA_HOME", previousDataHome);
}
