// The Download Data section inside the main window, with the real link supervision on a
// scripted device: the section action, the status poll around the debug view, and the erase
// closed by the poll or by the link's loss.
#include "FakeModbusDevice.h"
#include "ScriptedPrompts.h"
#include "SectionFixture.h"
#include "loggeddata/DebugView.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/U_Erase_Mem.h"
#include "shell/ProgramWindows.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

using Action = DownloadDataSection::Action;
using Section = TFTessitoreFirmWare::Section;

class MainWindowDownloadData : public ::testing::Test {
protected:
    MainWindowDownloadData() { device.registers = {{120, 2}, {100, 15}, {101, 3}, {102, 11}}; }

    std::vector<bool> deviceButtonsEnabled() {
        std::vector<bool> enabled;
        for (QWidget* widget : std::initializer_list<QWidget*>{
                 section.Btn_Get_Data, section.B_Debug, section.B_Grid, section.B_Chart,
                 section.B_SaveData, section.B_EraseMem, section.MemDown}) {
            enabled.push_back(widget->isEnabled());
        }
        return enabled;
    }

    QTemporaryDir dir;
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    ProgramWindows windows{dir.path(), &prompts, device.library()};
    TFTessitoreFirmWare& window = windows.FTessitoreFirmWare;
    DownloadDataSection& section = *window.PBC_ManDati;
};

TEST_F(MainWindowDownloadData, ShownWhileConnectingItsDeviceButtonsWaitForTheNextShowing) {
    device.failNext(FakeModbusDevice::Call::Read, 2);  // the first tick leaves it Connecting
    window.link().openLink();
    ASSERT_EQ(window.link().linkState(), LinkState::Connecting);
    window.B_Download_Data->click();
    EXPECT_EQ(window.shownSection(), Section::DownloadData);
    EXPECT_EQ(deviceButtonsEnabled(), std::vector<bool>(7, false));
    EXPECT_TRUE(section.B_LoadData->isEnabled());

    window.link().StatusPoll();
    ASSERT_EQ(window.link().linkState(), LinkState::Connected);
    EXPECT_EQ(deviceButtonsEnabled(), std::vector<bool>(7, false));
    window.B_Download_Data->click();
    EXPECT_EQ(deviceButtonsEnabled(), std::vector<bool>(7, true));

    window.link().closeLink();  // the idle presentation turns them off again
    EXPECT_EQ(deviceButtonsEnabled(), std::vector<bool>(7, false));
}

TEST_F(MainWindowDownloadData, LeavingTheDebugViewForAnotherSectionResumesThePoll) {
    window.link().openLink();
    window.B_Download_Data->click();
    ASSERT_TRUE(window.link().Timer_Com.isActive());
    section.dispatch(Action::Debug);
    EXPECT_FALSE(window.link().Timer_Com.isActive());
    EXPECT_TRUE(section.PBC_Debug->Timer_Debug.isActive());
    window.showSection(Section::EditProject);
    EXPECT_TRUE(window.link().Timer_Com.isActive());
    EXPECT_FALSE(section.PBC_Debug->Timer_Debug.isActive());
}

TEST_F(MainWindowDownloadData, TheStatusPollClosesTheEraseWindowOnceTheDeviceStopsErasing) {
    window.link().openLink();
    window.B_Download_Data->click();
    prompts.answers = {true};
    int erasingTicks = 0;
    whenOpen([&] {
        // 40 s of erasing: seven ticks that read 3, then one that reads 2.
        device.registers[120] = 3;
        for (; erasingTicks < 7 && section.F_Erase_Mem->isVisible(); ++erasingTicks) {
            window.link().StatusPoll();
        }
        EXPECT_TRUE(section.F_Erase_Mem->isVisible());
        device.registers[120] = 2;
        window.link().StatusPoll();
    });
    section.dispatch(Action::EraseMemory);
    EXPECT_EQ(erasingTicks, 7);
    EXPECT_FALSE(section.F_Erase_Mem->isVisible());
    EXPECT_FALSE(window.link().ErasePending);
    EXPECT_EQ(prompts.shown, QStringList({LoggedDataTexts::EraseQuestion}));
}

TEST_F(MainWindowDownloadData, ADeviceDoneAtTheFirstPollClosesTheEraseWindowThere) {
    window.link().openLink();
    window.B_Download_Data->click();
    prompts.answers = {true};
    bool shownUntilThePoll = false;
    whenOpen([&] {
        shownUntilThePoll = section.F_Erase_Mem->isVisible();
        window.link().StatusPoll();  // the register still reads 2
    });
    section.dispatch(Action::EraseMemory);
    EXPECT_TRUE(shownUntilThePoll);
    EXPECT_FALSE(section.F_Erase_Mem->isVisible());
    EXPECT_FALSE(window.link().ErasePending);
}

TEST_F(MainWindowDownloadData, AnEraseWhoseLinkIsClosedIsGivenUpWithAMessage) {
    window.link().openLink();
    window.B_Download_Data->click();
    prompts.answers = {true};
    whenOpen([&] {
        device.registers[120] = 3;
        window.link().StatusPoll();
        window.link().closeLink();
    });
    section.dispatch(Action::EraseMemory);
    EXPECT_FALSE(section.F_Erase_Mem->isVisible());
    EXPECT_FALSE(window.link().ErasePending);
    EXPECT_EQ(prompts.shown.last(), LoggedDataTexts::EraseNotFollowed);
}

}  // namespace

DLM_OFFSCREEN_TEST_MAIN
