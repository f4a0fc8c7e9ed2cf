#include "shell/FolderLookup.h"
#include "shell/WholeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WholeFile, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cmdmb.xml");
    ASSERT_TRUE(writeFileWhole(path, "first"));
    ASSERT_TRUE(writeFileWhole(path, "second, longer content"));
    EXPECT_EQ(readAll(path), "second, longer content");
    ASSERT_TRUE(writeFileWhole(path, QByteArray()));
    EXPECT_EQ(readAll(path), QByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"cmdmb.xml"});
}

TEST(WholeFile, KeepsThePermissionsOfTheFileItReplaces) {
    QTemporaryDir dir;
    const QString path = dir.filePath("data.xml");
    ASSERT_TRUE(writeFileWhole(path, "a"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(writeFileWhole(path, "b"));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(WholeFile, FailureNamesTheReasonAndKeepsTheOldFile) {
    QTemporaryDir dir;
    QString reason;
    EXPECT_FALSE(writeFileWhole(dir.filePath("no/such/folder/x.xml"), "x", &reason));
    EXPECT_FALSE(reason.isEmpty());

    // The target is a non-empty folder: the rename fails and nothing is left behind.
    const QString target = dir.filePath("busy");
    ASSERT_TRUE(QDir().mkpath(target + "/inside"));
    reason.clear();
    EXPECT_FALSE(writeFileWhole(target, "x", &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"busy"});
}

TEST(FolderLookup, NamesMatchWithoutRegardToCase) {
    QTemporaryDir dir;
    ASSERT_TRUE(writeFileWhole(dir.filePath("PARGEN.XML"), "x"));
    ASSERT_TRUE(QDir().mkdir(dir.filePath("Bin")));

    EXPECT_EQ(pathInFolder(dir.path(), "pargen.xml"), dir.filePath("PARGEN.XML"));
    EXPECT_EQ(pathInFolder(dir.path(), "ParGen.Xml"), dir.filePath("PARGEN.XML"));
    EXPECT_EQ(pathInFolder(dir.path(), "bin"), dir.filePath("Bin"));
    EXPECT_TRUE(existsInFolder(dir.path(), "pargen.xml"));
    EXPECT_TRUE(existsInFolder(dir.path(), "BIN"));

    // Missing: the path to create, under the caller's spelling.
    EXPECT_FALSE(existsInFolder(dir.path(), "cmdmb.xml"));
    EXPECT_EQ(pathInFolder(dir.path(), "cmdmb.xml"), dir.filePath("cmdmb.xml"));
    EXPECT_FALSE(existsInFolder(dir.filePath("nothing"), "cmdmb.xml"));
}

TEST(FolderLookup, AnExactMatchWinsOverOtherSpellings) {
    QTemporaryDir dir;
    ASSERT_TRUE(writeFileWhole(dir.filePath("CMDMB.XML"), "upper"));
    ASSERT_TRUE(writeFileWhole(dir.filePath("cmdmb.xml"), "lower"));
    EXPECT_EQ(pathInFolder(dir.path(), "cmdmb.xml"), dir.filePath("cmdmb.xml"));
    EXPECT_EQ(pathInFolder(dir.path(), "CMDMB.XML"), dir.filePath("CMDMB.XML"));
}

}  // namespace
