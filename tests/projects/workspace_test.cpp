#include "QtPrinters.h"
#include "ScriptedPrompts.h"
#include "base/IniFile.h"
#include "base/WholeFile.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectWorkspace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class WorkspaceTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ProgramSettings settings = Settings::prepareFolders(dir.path());
    ScriptedPrompts prompts;
    CommandList commands{Comandi{1, 1, "", 1, 0, ""}};

    QString projects(const QString& name = {}) const {
        return name.isEmpty() ? settings.ProjectsFolder : settings.ProjectsFolder + "/" + name;
    }
    void file(const QString& path, const QByteArray& content = "x") {
        ASSERT_TRUE(writeFileWhole(path, content));
    }
};

TEST_F(WorkspaceTest, CopyFolderFilesTakesOnlyPlainFiles) {
    const QString from = projects("From");
    const QString to = projects("To");
    QDir().mkpath(from + "/sub");
    QDir().mkpath(to);
    file(from + "/cmdmb.xml", "new");
    file(from + "/.hidden");
    file(from + "/readonly.xml");
    ::chmod(QFile::encodeName(from + "/readonly.xml").constData(), 0444);
    file(from + "/sub/inner.xml");
    ASSERT_EQ(::symlink("cmdmb.xml", QFile::encodeName(from + "/link.xml").constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(from + "/pipe").constData(), 0644), 0);
    file(from + "/PARGEN.XML", "params");
    // The destination's own spellings are replaced, not doubled.
    file(to + "/CMDMB.XML", "old");
    file(to + "/pargen.xml", "old");
    file(to + "/Pargen.xml", "older");

    CopyFolderFiles(from, to);
    EXPECT_EQ(entries(to), (QStringList{"CMDMB.XML", "Pargen.xml"}));
    EXPECT_EQ(contentOf(to + "/CMDMB.XML"), "new");
    EXPECT_EQ(contentOf(to + "/Pargen.xml"), "params");

    CopyFolderFiles(projects("Missing"), to);  // nothing to copy, nothing happens
    EXPECT_EQ(entries(to).size(), 2);
}

struct NameCase {
    const char* name;
    QString typed;
    QString message;  // empty: no message
    bool created;
};

class NewProjectNames : public WorkspaceTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(NewProjectNames, AreCheckedBeforeAFolderIsMade) {
    const NameCase& c = GetParam();
    QDir().mkpath(projects("Plant"));
    QDir().mkpath(projects("2024"));
    const auto folder = createProjectFolder(settings.ProjectsFolder, c.typed, prompts);
    EXPECT_EQ(prompts.shown, c.message.isEmpty() ? QStringList() : QStringList{c.message});
    EXPECT_EQ(folder.has_value(), c.created);
    if (c.created) {
        EXPECT_EQ(*folder, projects(c.typed));
        EXPECT_TRUE(QDir(*folder + "/bin").exists());
    }
    // Nothing ever appears outside the projects folder.
    EXPECT_EQ(entries(dir.path()), (QStringList{"MASTER", "PROJECTS"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewProjectNames,
    ::testing::Values(NameCase{"Plain", "Site A", "", true},
                      NameCase{"Nested", "2024/North", "", true},
                      NameCase{"Empty", "", WorkspaceTexts::NameNotValid, false},
                      NameCase{"Exists", "Plant", WorkspaceTexts::NameExists, false},
                      NameCase{"Parent", "../Escaped", WorkspaceTexts::NameNotValid, false},
                      NameCase{"ParentInside", "Plant/../../Escaped", WorkspaceTexts::NameNotValid,
                               false},
                      NameCase{"Absolute", "/tmp/Escaped", WorkspaceTexts::NameNotValid, false},
                      NameCase{"MissingIntermediate", "none/North", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkspaceTest, NewProjectStartsEmptyFromTheTemplate) {
    QDir().mkpath(projects("Projects_init"));
    file(projects("Projects_init/cmdmb.xml"), "<cmdmb/>");
    const auto folder = createProjectFolder(settings.ProjectsFolder, "Site A", prompts);
    ASSERT_TRUE(folder);
    settings.ProjectName = "Site A";
    settings.ProjectFolder = *folder;
    startNewProject(settings, commands, prompts);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(entries(*folder), (QStringList{"bin", "cmdmb.xml"}));
    EXPECT_EQ(IniFile::read(settings.settingsFile(), "lastproj", "projectname"), "Site A");
}

TEST_F(WorkspaceTest, OpenProjectTakesTheChosenFolderBelowProjects) {
    QDir().mkpath(projects("2024/North"));
    ProjectFiles::saveCommandList(projects("2024/North"), {Comandi{5, 2, "", 1, 0, ""}});
    settings.ProjectName = "Plant";
    settings.ProjectFolder = projects("Plant");

    prompts.choices = {""};  // cancelled
    EXPECT_FALSE(openProject(settings, commands, prompts));
    EXPECT_EQ(settings.ProjectName, "Plant");
    EXPECT_EQ(commands.size(), 1u);
    EXPECT_FALSE(QFile::exists(settings.settingsFile()));

    prompts.choices = {projects("2024/North")};
    ASSERT_TRUE(openProject(settings, commands, prompts));
    EXPECT_EQ(settings.ProjectName, "2024/North");
    EXPECT_EQ(settings.ProjectFolder, projects("2024/North"));
    EXPECT_EQ(commands, (CommandList{Comandi{5, 2, "", 1, 0, ""}}));
    EXPECT_EQ(IniFile::read(settings.settingsFile(), "lastproj", "projectname"), "2024/North");
    EXPECT_EQ(prompts.shown,
              (QStringList{"Select directory of project", "Select directory of project"}));

    prompts.choices = {projects()};
    ASSERT_TRUE(openProject(settings, commands, prompts));
    EXPECT_EQ(settings.ProjectName, "");
    EXPECT_EQ(settings.ProjectFolder, projects());

    prompts.choices = {dir.path()};  // outside: not a project
    EXPECT_FALSE(openProject(settings, commands, prompts));
    EXPECT_EQ(settings.ProjectFolder, projects());
}

}  // namespace
