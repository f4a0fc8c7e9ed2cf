#include "TestFiles.h"
#include "base/FileBeside.h"
#include "base/FolderLookup.h"
#include "base/WholeFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray name(const QString& path) {
    return QFile::encodeName(path);
}

mode_t kindOf(const QString& path) {
    struct stat info {};
    return ::lstat(name(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(WholeFile, ALinkIsFollowedAndStaysAndOnlyARegularFileIsReplaced) {
    QTemporaryDir dir;
    const auto path = [&](const char* entry) { return dir.filePath(entry); };
    ASSERT_TRUE(writeFileWhole(path("real.csv"), "old") && QDir().mkdir(path("folder")));
    ASSERT_EQ(::mkfifo(name(path("pipe")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("real.csv", path("link.csv")) &&
                QFile::link("new.csv", path("dangling.csv")) &&
                QFile::link("pipe", path("pipe.csv")));
    const struct {
        const char* target;
        const char* writes;  // the file written, or nothing when refused for `reason`
        const char* reason;
    } cases[] = {
        {"link.csv", "real.csv", ""},
        {"dangling.csv", "new.csv", ""},
        {"pipe", nullptr, "it is a FIFO, not a regular file"},
        {"pipe.csv", nullptr, "it is a FIFO, not a regular file"},
        {"folder", nullptr, "it is a folder, not a regular file"},
    };
    for (const auto& c : cases) {
        const mode_t before = kindOf(path(c.target));
        QString reason;
        EXPECT_EQ(writeFileWhole(path(c.target), "new", &reason), c.writes != nullptr) << c.target;
        EXPECT_EQ(reason, c.reason) << c.target;
        EXPECT_EQ(kindOf(path(c.target)), before) << c.target;
        if (c.writes) {
            EXPECT_EQ(fileBytes(path(c.writes)), "new") << c.target;
        }
    }
    EXPECT_EQ(kindOf(path("pipe")), mode_t(S_IFIFO));
    EXPECT_EQ(entries(dir.path()), QStringList({"dangling.csv", "folder", "link.csv", "new.csv",
                                                "pipe", "pipe.csv", "real.csv"}));
}

TEST(WholeFile, TemporariesAreHiddenAndThoseWhoseWriterIsGoneGoAtTheNextSave) {
    QTemporaryDir dir;
    const QString target = dir.filePath("data.xml");
    const auto make = [&](const QString& entry) {
        return writeFileWhole(dir.filePath(entry), "left behind");
    };
    // Left by writers that were killed, and things that only look alike.
    ASSERT_TRUE(make(".data.xml.Ab3x9Q") && make(".data.xml.000000") && make("data.xml.Ab3x9Q") &&
                make(".data.xml.toolong") && make(".other.xml.Ab3x9Q"));
    ASSERT_EQ(::mkfifo(name(dir.filePath(".data.xml.fifo00")).constData(), 0600), 0);
    // A save running in another process holds its file locked.
    ASSERT_TRUE(make(".data.xml.Locked"));
    const int running = ::open(name(dir.filePath(".data.xml.Locked")).constData(), O_RDONLY);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    const QStringList kept = {".data.xml.Locked",  ".data.xml.fifo00", ".data.xml.toolong",
                              ".other.xml.Ab3x9Q", "data.xml",         "data.xml.Ab3x9Q"};

    ASSERT_TRUE(writeFileWhole(target, "saved"));
    EXPECT_EQ(entries(dir.path()), kept);

    {
        FileBeside saving;
        ASSERT_TRUE(saving.create(target, nullptr));
        QStringList now = entries(dir.path());
        for (const QString& entry : kept) {
            now.removeOne(entry);
        }
        ASSERT_EQ(now.size(), 1);
        EXPECT_TRUE(now.front().startsWith(".data.xml.")) << now.front().toStdString();
        EXPECT_EQ(now.front().size(), QStringLiteral(".data.xml.XXXXXX").size());
        // Its own lock keeps it from the next save.
        ASSERT_TRUE(writeFileWhole(target, "again"));
        EXPECT_EQ(entries(dir.path()).size(), kept.size() + 1);
    }
    EXPECT_EQ(entries(dir.path()), kept);
    ::close(running);
}

TEST(WholeFile, ReplacesTheFileAndLeavesNoTemporaryBehind) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cmdmb.xml");
    ASSERT_TRUE(writeFileWhole(path, "first"));
    ASSERT_TRUE(writeFileWhole(path, "second, longer content"));
    EXPECT_EQ(fileBytes(path), "second, longer content");
    ASSERT_TRUE(writeFileWhole(path, QByteArray()));
    EXPECT_EQ(fileBytes(path), QByteArray());
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
