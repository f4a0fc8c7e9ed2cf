#include "shell/StartUp.h"

#include "TestFiles.h"
#include "base/IniFile.h"
#include "base/ProgramFolders.h"
#include "base/WholeFile.h"
#include "projects/ProjectFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class StartUpTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString ini() const { return dir.filePath("Quandor.ini"); }
    // As a user may have edited it: the program never writes blanks around a value.
    void remember(const QString& project, const QString& port) {
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(
            ("[lastproj]\nprojectname=" + project + "\n[ComPort]\nNumber=" + port + "\n").toUtf8());
    }
};

TEST_F(StartUpTest, EmptyProgramFolderGetsItsFoldersAndDefaults) {
    const StartUpState state = startUp(dir.path() + "/");
    EXPECT_EQ(state.settings.ProgramFolder, dir.path());
    EXPECT_TRUE(QFileInfo(dir.filePath("MASTER")).isDir());
    EXPECT_TRUE(QFileInfo(dir.filePath("PROJECTS")).isDir());
    EXPECT_EQ(state.settings.MasterFolder, dir.filePath("MASTER"));
    EXPECT_EQ(state.settings.ProjectsFolder, dir.filePath("PROJECTS"));
    EXPECT_EQ(state.settings.ProjectFolder, state.settings.ProjectsFolder);
    EXPECT_TRUE(state.settings.ProjectName.isEmpty());
    EXPECT_EQ(state.settings.ComPortNumber, 0);
    EXPECT_FALSE(state.projectReopened);
    EXPECT_FALSE(QFileInfo::exists(ini()));  // reading never creates the file

    ASSERT_TRUE(Settings::writeLastProject(state.settings));
    EXPECT_EQ(IniFile::read(ini(), "lastproj", "projectname", "absent"), "");
}

TEST_F(StartUpTest, PortOutsideTheRangeOrNotANumberBecomesZero) {
    const struct {
        const char* text;
        int port;
    } cases[] = {{"7", 7},  {"0", 0},  {"8", 0}, {"9", 0},
                 {"-1", 0}, {"3x", 0}, {"", 0},  {"99999999999999999999", 0},
                 {" 5", 5}};
    for (const auto& c : cases) {
        remember("", c.text);
        EXPECT_EQ(startUp(dir.path()).settings.ComPortNumber, c.port) << c.text;
    }
}

TEST_F(StartUpTest, RememberedProjectIsReopenedAndItsCommandsLoaded) {
    QDir().mkpath(dir.filePath("PROJECTS/Plant"));
    ASSERT_EQ(ProjectFiles::saveCommandList(dir.filePath("PROJECTS/Plant"),
                                            {Comandi{100, 2, "Boiler", 1, 1, "°C"}}),
              ProjectFiles::SaveResult::Saved);
    remember("Plant", "2");
    const StartUpState state = startUp(dir.path());
    EXPECT_TRUE(state.projectReopened);
    EXPECT_EQ(state.settings.ProjectName, "Plant");
    EXPECT_EQ(state.settings.ProjectFolder, dir.filePath("PROJECTS/Plant"));
    ASSERT_EQ(state.commands.size(), 1u);
    EXPECT_EQ(state.commands[0].Unit, QStringLiteral("°C"));
    EXPECT_EQ(state.settings.ComPortNumber, 2);
    EXPECT_EQ(Settings::windowTitle("Caption", &state.settings.ProjectName), "Caption :Plant");
}

// Only a folder strictly below PROJECTS is reopened; any other remembered name is kept as it
// was and written back unchanged at exit.
TEST_F(StartUpTest, OnlyAnExistingFolderBelowProjectsIsReopened) {
    QDir().mkpath(dir.filePath("PROJECTS/Site/Line 2"));
    QDir().mkpath(dir.filePath("outside"));
    const QString up = "../../" + QFileInfo(dir.path()).fileName() + "/outside";
    const struct {
        QString name;
        QString folder;  // empty: not reopened
    } cases[] = {{"Site/Line 2", "PROJECTS/Site/Line 2"},
                 {"Site/../Site/Line 2", "PROJECTS/Site/Line 2"},
                 {"Gone", ""},
                 {"../outside", ""},
                 {up, ""},
                 {dir.filePath("outside"), ""},
                 {"Site/..", ""},
                 {".", ""}};
    for (const auto& c : cases) {
        remember(c.name, "1");
        const StartUpState state = startUp(dir.path());
        EXPECT_EQ(state.projectReopened, !c.folder.isEmpty()) << c.name.toStdString();
        EXPECT_EQ(state.settings.ProjectFolder,
                  c.folder.isEmpty() ? state.settings.ProjectsFolder : dir.filePath(c.folder))
            << c.name.toStdString();
        EXPECT_EQ(state.settings.ProjectName, c.name);
        ASSERT_TRUE(Settings::writeLastProject(state.settings));
        EXPECT_EQ(IniFile::read(ini(), "lastproj", "projectname"), c.name);
    }
}

TEST(ProgramPlaces, TheExecutablesFolderUnlessItCannotHoldTheUsersFiles) {
    QTemporaryDir dir;
    QFile::link("/usr/bin", dir.filePath("system"));
    const struct {
        QString executable;
        QString dataHome;  // "-": XDG_DATA_HOME unset
        QString program;
    } cases[] = {
        {dir.path(), "/data", dir.path()},
        {"/usr/lib/dlmanager", "/data", "/data/dlmanager"},
        {"/usr/bin", "-", "/home/u/.local/share/dlmanager"},
        {"/usr/bin", "", "/home/u/.local/share/dlmanager"},
        {"/usr/bin", "data", "/home/u/.local/share/dlmanager"},
        {dir.filePath("system"), "/data/", "/data/dlmanager"},
        {dir.filePath("gone"), "/data", "/data/dlmanager"},
    };
    for (const auto& c : cases) {
        QProcessEnvironment environment;
        environment.insert("HOME", "/home/u");
        if (c.dataHome != "-") {
            environment.insert("XDG_DATA_HOME", c.dataHome);
        }
        const ProgramPlaces places = ProgramFolders::placesFor(c.executable, environment);
        EXPECT_EQ(places.executableFolder, c.executable) << c.executable.toStdString();
        EXPECT_EQ(places.programFolder, c.program) << c.executable.toStdString();
    }
}

// Installed, the first start makes the per-user folder from the shipped files; later starts add
// what is missing and keep what the user has.
TEST_F(StartUpTest, PerUserProgramFolderIsMadeFromTheShippedFiles) {
    const QString shipped = dir.filePath("lib");
    const QString user = dir.filePath("home/.local/share/dlmanager");
    for (const char* file : {"MASTER/Flash_Application.sx", "PROJECTS/Projects_init/cmdmb.xml",
                             "PROJECTS/Projects_init/pargen.xml", "Pictures/Connect.jpg"}) {
        const QString path = shipped + '/' + file;
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(writeFileWhole(path, QByteArray("shipped ") + file));
    }
    const auto entries = [](const QString& folder) {
        QStringList all;
        for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            all << it.next().mid(folder.size());
        }
        all.sort();
        return all;
    };
    const QStringList shippedBefore = entries(shipped);

    StartUpState state = startUp({shipped, user});
    EXPECT_EQ(state.settings.ExecutableFolder, shipped);
    EXPECT_EQ(state.settings.ProgramFolder, user);
    EXPECT_EQ(state.settings.ProjectsFolder, user + "/PROJECTS");
    EXPECT_EQ(entries(user),
              (QStringList{"/MASTER", "/MASTER/Flash_Application.sx", "/PROJECTS",
                           "/PROJECTS/Projects_init", "/PROJECTS/Projects_init/cmdmb.xml",
                           "/PROJECTS/Projects_init/pargen.xml"}));
    EXPECT_EQ(fileBytes(user + "/MASTER/Flash_Application.sx"),
              "shipped MASTER/Flash_Application.sx");
    ASSERT_TRUE(Settings::writeLastProject(state.settings));
    EXPECT_TRUE(QFileInfo(user + "/Quandor.ini").isFile());

    ASSERT_TRUE(writeFileWhole(user + "/PROJECTS/Projects_init/cmdmb.xml", "the user's"));
    QFile::remove(user + "/MASTER/Flash_Application.sx");
    state = startUp({shipped, user});
    EXPECT_EQ(fileBytes(user + "/PROJECTS/Projects_init/cmdmb.xml"), "the user's");
    EXPECT_EQ(fileBytes(user + "/MASTER/Flash_Application.sx"),
              "shipped MASTER/Flash_Application.sx");
    EXPECT_EQ(entries(shipped), shippedBefore);
}

TEST(WindowTitle, CaptionAloneOrWithTheProjectName) {
    const QString empty;
    const QString plant = "Plant";
    EXPECT_EQ(Settings::windowTitle("Manager", nullptr), "Manager");
    EXPECT_EQ(Settings::windowTitle("Manager", &plant), "Manager :Plant");
    EXPECT_EQ(Settings::windowTitle("Manager", &empty), "Manager :");
}

}  // namespace
