#include "../support/ScriptedPrompts.h"
#include "base/IniFile.h"
#include "devicelink/LinkStatusBar.h"
#include "projects/ProjectFiles.h"
#include "shell/UAbout.h"
#include "shell/UTessitoreFirmWare.h"
#include "widgets/ClickableLabel.h"
#include "widgets/Lamp.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    QString ini() const { return dir.filePath("Quandor.ini"); }
};

TEST_F(MainWindowTest, StartsInAnEmptyProgramFolder) {
    TFTessitoreFirmWare window(dir.path(), &prompts);
    EXPECT_EQ(window.windowTitle(), "QL40982 Datalogger Manager");
    EXPECT_TRUE(QDir(dir.filePath("MASTER")).exists());
    EXPECT_TRUE(QDir(dir.filePath("PROJECTS")).exists());
    EXPECT_EQ(window.P_Status->Stato_Com->color(), Lamp::Red);
    EXPECT_EQ(window.P_Status->S_Stato_DL->color(), Lamp::White);
    EXPECT_FALSE(window.P_Status->B_Run->isEnabled());
    EXPECT_FALSE(window.P_Status->B_Stop->isEnabled());
    EXPECT_FALSE(window.shownSection());
    EXPECT_FALSE(window.link().Timer_Com.isActive());
    EXPECT_EQ(window.link().Timer_Com.interval(), 6000);
    EXPECT_EQ(window.B_Connect->toolTip(), "Connect, sconnect and set date");

    window.show();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(IniFile::read(ini(), "lastproj", "projectname", "absent"), "");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(MainWindowTest, ReopensTheLastProjectBeforeAnyOtherWindow) {
    QDir().mkpath(dir.filePath("PROJECTS/Plant"));
    ProjectFiles::saveCommandList(dir.filePath("PROJECTS/Plant"),
                                  {Comandi{100, 2, "a", 1, 0, ""}, Comandi{200, 1, "b", 1, 0, ""}});
    IniFile::write(ini(), "lastproj", "projectname", "Plant");
    IniFile::write(ini(), "ComPort", "Number", "9");

    TFTessitoreFirmWare window(dir.path(), &prompts);
    EXPECT_EQ(window.windowTitle(), "QL40982 Datalogger Manager :Plant");
    EXPECT_EQ(window.commandList().size(), 2u);
    EXPECT_EQ(window.settings().ComPortNumber, 0);
    window.close();
    EXPECT_EQ(IniFile::read(ini(), "lastproj", "projectname"), "Plant");
    // Only the last project is written at exit; the port entry stays as the file had it.
    EXPECT_EQ(IniFile::read(ini(), "ComPort", "Number"), "9");
}

TEST_F(MainWindowTest, UnwritableSettingsFileIsReportedAndTheWindowStillCloses) {
    ASSERT_TRUE(QDir().mkdir(ini()));  // a folder in the file's place cannot be replaced
    TFTessitoreFirmWare window(dir.path(), &prompts);
    window.show();
    EXPECT_TRUE(window.close());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith("Unable to write to " + ini() + ": "));
}

TEST_F(MainWindowTest, ProjectOperationsNameTheCurrentProjectInTheTitle) {
    TFTessitoreFirmWare window(dir.path(), &prompts);
    window.applyTitleRule();  // e.g. a cancelled new project while none is current
    EXPECT_EQ(window.windowTitle(), "QL40982 Datalogger Manager :");
    window.settings().ProjectName = "2024/North";
    window.applyTitleRule();
    EXPECT_EQ(window.windowTitle(), "QL40982 Datalogger Manager :2024/North");
}

TEST_F(MainWindowTest, MakerLabelOpensTheAboutWindow) {
    TFTessitoreFirmWare window(dir.path(), &prompts);
    TFAbout about(window.settings().ProgramFolder, &window);
    window.attachAbout(&about);
    bool shown = false;
    QTimer::singleShot(0, &about, [&] {
        shown = about.isVisible();
        about.B_OK->click();
    });
    emit window.L_VTL->clicked();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(window.L_VTL->text(), "Vartelo");
    const QString info = about.L_Info->text();
    EXPECT_TRUE(info.contains("Vers  0.0\n\ninfo at:\n")) << info.toStdString();
    EXPECT_EQ(about.L_Folder->text(), "Program folder:\n" + dir.path());
}

}  // namespace
