// The Download Data section inside the main window, with the real link supervision on a
// scripted device: the section action, the status poll around the debug view, and the erase
// closed by the poll or by the link's loss.
#include "FakeModbusDevice.h"
#include "ScriptedPrompts.h"
#include "SectionFixture.h"
#include "devicelink/LinkStatusBar.h"
#include "devicelink/UDateTime.h"
#include "loggeddata/DataChart.h"
#include "loggeddata/DebugView.h"
#include "loggeddata/LoggedDataTexts.h"
#include "loggeddata/U_Erase_Mem.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectSection.h"
#include "shell/ProgramWindows.h"

#include <qcustomplot.h>
#include <QCheckBox>
#include <QDateTime>
#include <QPushButton>

namespace {

using Action = DownloadDataSection::Action;
using Section = TFTessitoreFirmWare::Section;
using Call = FakeModbusDevice::Call;

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

// A click that lands inside a status poll's transfer (the library lets events run there) runs
// once that transfer has returned: nothing is refused as busy or counted against the device.
TEST_F(MainWindowDownloadData, ClicksInsideAPollTransferRunWhenItHasReturned) {
    using Request = FakeModbusDevice::Request;
    struct Case {
        const char* name;
        std::function<void()> click;
        std::vector<std::pair<uint16_t, uint16_t>> writes;  // after the poll's status read
    };
    const Case cases[] = {
        {"RUN", [&] { window.P_Status->B_Run->click(); }, {{121, 1}}},
        {"STOP", [&] { window.P_Status->B_Stop->click(); }, {{121, 2}}},
        {"Erase Memory",
         [&] {
             prompts.answers = {true};
             section.B_EraseMem->click();
         },
         {{121, 5}}},
        {"Write Date",
         [&] { windows.FDateTime->BWrite->click(); },
         {{100, 7}, {101, 3}, {102, 31}, {103, 9}, {104, 5}, {105, 3}, {106, 1}}},
        {"Debug", [&] { section.B_Debug->click(); }, {}},
    };
    // The erase window opens once the held click runs; the device has finished at once.
    QTimer eraseDone;
    QObject::connect(&eraseDone, &QTimer::timeout, [&] {
        if (section.F_Erase_Mem->isVisible()) {
            section.F_Erase_Mem->finish();
        }
    });
    eraseDone.start(1);
    windows.FDateTime->now = [] { return QDateTime(QDate(2031, 3, 7), QTime(9, 5, 3)); };
    window.link().openLink();
    for (const Case& c : cases) {
        window.B_Download_Data->click();
        ASSERT_TRUE(window.link().isConnected()) << c.name;
        device.log.clear();
        bool clicked = false;
        device.duringTransfer = [&](const Request& request) {
            if (!clicked && request.call == Call::Read && request.start == 120) {
                clicked = true;
                c.click();
            }
        };
        const auto tickWithTheClickInside = [&] {
            window.link().StatusPoll();
            device.duringTransfer = nullptr;
            QApplication::processEvents();
        };
        if (std::string(c.name) == "Write Date") {
            // The dialog is open and the poll's tick comes inside it.
            whenOpen(tickWithTheClickInside);
            windows.FDateTime->exec();
        } else {
            tickWithTheClickInside();
        }
        EXPECT_TRUE(clicked) << c.name;
        std::vector<std::pair<uint16_t, uint16_t>> writes;
        for (const Request& request : device.log) {
            EXPECT_NE(request.result, 3) << c.name;
            if (request.call == Call::Write) {
                writes.emplace_back(request.start, request.values.at(0));
            }
        }
        EXPECT_EQ(writes, c.writes) << c.name;
        EXPECT_EQ(window.comon().ConsecutiveFailures, 0) << c.name;
        EXPECT_EQ(window.link().linkState(), LinkState::Connected) << c.name;
    }
    // The debug view holds the link alone: the tick did not start the poll beside it.
    EXPECT_TRUE(section.PBC_Debug->Timer_Debug.isActive());
    EXPECT_FALSE(window.link().Timer_Com.isActive());
}

TEST_F(MainWindowDownloadData, ADiagramOfACommandTheNewListLacksGoesAtOnce) {
    ProjectSection& project = *window.P_Project;
    ProgramSettings& settings = window.settings();
    const auto folder = [&](const QString& name) { return settings.ProjectsFolder + "/" + name; };
    const CommandList four = {{100, 2, "Temperature", 1, 1, "C"},
                              {200, 3, "Pressure", 1, 0, "bar"},
                              {300, 1, "Flags", 1, 0, ""},
                              {400, 1, "Level", 1, 0, "V"}};
    QDir().mkpath(folder("Plant"));
    QDir().mkpath(folder("Two"));
    ProjectFiles::saveCommandList(folder("Two"), {four[0], four[1]});
    windows.FWaiting->Timer_Start.setInterval(0);
    struct Replacement {
        const char* what;
        std::function<void()> replace;
    };
    const std::vector<Replacement> replacements = {
        {"another project opened",
         [&] {
             prompts.choices = {folder("Two")};
             project.B_Open_Project->click();
         }},
        {"an edit saved",
         [&] {
             project.B_Command_List->click();
             project.table().setText(2, AddressField, "");
             project.table().setText(3, AddressField, "");
             project.B_Save->click();
         }},
        {"a project read back",
         [&] {
             device.registers.insert({{50000, 300}, {50001, 4}, {50003, 301}, {50004, 2}});
             window.link().openLink();
             window.B_Edit_Project->click();
             project.B_Download_Project->click();
         }},
    };
    for (const Replacement& replacement : replacements) {
        SCOPED_TRACE(replacement.what);
        settings.ProjectName = "Plant";
        settings.ProjectFolder = folder("Plant");
        window.commandList() = four;
        window.B_Download_Data->click();
        whenOpen([&] { windows.FSelectCmd->B_OK->click(); });
        section.dispatch(Action::Chart);
        for (int step = 0; step < 3; ++step) {
            section.dispatch(Action::Next);
        }
        ASSERT_EQ(section.Chart->title(), "Diagram of the command : Level");
        window.B_Edit_Project->click();
        replacement.replace();
        ASSERT_EQ(window.commandList().size(), 2u);
        EXPECT_EQ(section.chartCommand(), ChartData::NoChart);
        EXPECT_EQ(section.Chart->title(), "");
        section.dispatch(Action::Before);  // no diagram: nothing to move from
        EXPECT_EQ(section.Chart->plot()->graphCount(), 0);
    }
}

}  // namespace
