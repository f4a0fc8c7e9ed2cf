// Both typical roads through the program's real windows, the real Modbus library and the
// simulated datalogger: a project edited and flashed, then read back; logged data downloaded,
// charted, saved, loaded and exported.
#include "SampleLines.h"
#include "ScriptedPrompts.h"
#include "SimulatorProcess.h"
#include "UpdateProgramFolder.h"
#include "base/IniFile.h"
#include "base/XmlDocument.h"
#include "devicelink/ConnectSection.h"
#include "devicelink/UComPort.h"
#include "firmware/ModifyFileSx.h"
#include "loggeddata/DataChart.h"
#include "loggeddata/DownloadDataSection.h"
#include "loggeddata/LoggerTime.h"
#include "loggeddata/USelectCmd.h"
#include "loggeddata/UWaiting.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectSection.h"
#include "projects/Upargen.h"
#include "projects/Usaveproj.h"
#include "shell/ProgramWindows.h"

#include <gtest/gtest.h>
#include <qcustomplot.h>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

// Runs `step` on the modal window once one shows (an action may first let pending events run);
// the step closes it.
void whenModal(std::function<void(QWidget*)> step) {
    auto* poll = new QTimer();
    poll->callOnTimeout([poll, step] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            step(modal);
        }
    });
    poll->start(5);
}

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files)) {
        QFile::copy(from + '/' + name, to + '/' + name);
    }
}

// The program in a program folder of its own, with the simulator on Com1 behind a link that
// carries its control socket, as the stand-in programmer looks for it.
class TypicalRoad : public ::testing::Test {
protected:
    void startSimulator(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--control", line + ".control"});
        simulator = std::make_unique<SimulatorProcess>(arguments);
        ASSERT_TRUE(simulator->running());
        std::filesystem::create_symlink(simulator->link(), line);
        ::setenv("VTL_MODBUS_COM1", line.c_str(), 1);
    }
    // The program leaves the library open at exit; the next test opens it afresh.
    void TearDown() override {
        if (windows) {
            main().link().closeLink();
        }
        ::unsetenv("VTL_MODBUS_COM1");
    }

    void openWindows() {
        windows = std::make_unique<ProgramWindows>(folder.path(), &prompts);
        main().show();
    }
    TFTessitoreFirmWare& main() { return windows->FTessitoreFirmWare; }

    // "Connect", "Set Communication Port", Com1, "OK".
    void connectCom1() {
        main().B_Connect->click();
        whenModal([this](QWidget* modal) {
            ASSERT_EQ(modal, windows->FComPort.get());
            windows->FComPort->CB_Port->setCurrentIndex(0);
            windows->FComPort->B_OK->click();
        });
        main().P_Connect->B_SetComPort->click();
        ASSERT_TRUE(main().link().isConnected())
            << (prompts.shown + prompts.details).join('|').toStdString();
    }

    UpdateProgramFolder folder;
    ScratchFolder scratch;
    std::string line = scratch.file("line1");
    std::unique_ptr<SimulatorProcess> simulator;
    ScriptedPrompts prompts;
    std::unique_ptr<ProgramWindows> windows;
};

// The device's command table as a plain Modbus master reads it: address and points per entry.
std::vector<uint16_t> commandTable(const std::string& port) {
    Master master(port);
    std::vector<uint16_t> table;
    for (int entry = 0; master.connected() && entry < 8; ++entry) {
        const auto words = master.read(50000 + 3 * entry, 2);
        if (!words || (*words)[0] == 0) {
            break;
        }
        table.insert(table.end(), words->begin(), words->end());
    }
    return table;
}

// The children of pargen.xml's root, by position.
QStringList pargenValues(const QString& projectFolder) {
    const auto document = XmlDocument::create();
    QStringList values;
    for (const QString& name : QDir(projectFolder).entryList({"pargen.xml"}, QDir::Files)) {
        if (document->load(projectFolder + '/' + name)) {
            for (int i = 0; i < 3; ++i) {
                values << document->documentElement().child(i).text();
            }
        }
    }
    return values;
}

TEST_F(TypicalRoad, AProjectEditedFlashedAndReadBack) {
    copyFolder(DLM_TEMPLATE_PROJECT, folder.settings.ProjectsFolder + "/Projects_init");
    std::filesystem::copy_file(BURNIX_EXECUTABLE, folder.path().toStdString() + "/Burnix.exe");
    startSimulator({});
    openWindows();
    ProjectSection& section = *main().P_Project;

    // A new project, its command list and its RS-485 settings, all in the windows.
    main().B_Edit_Project->click();
    whenModal([this](QWidget*) {
        windows->Fsaveproj->E_Name->setText("Boiler room");
        windows->Fsaveproj->B_OK->click();
    });
    section.B_New_Project->click();
    ASSERT_EQ(main().settings().ProjectName, "Boiler room");
    section.B_Command_List->click();
    QAbstractItemModel& grid = *section.SgA1->model();
    const QStringList typed[] = {{"500", "3", "1"}, {"40100", "1", "0"}, {"7", "12", "2"}};
    for (int row = 0; row < 3; ++row) {
        for (int field = 0; field < 3; ++field) {
            grid.setData(grid.index(row, field + 1), typed[row][field]);
        }
    }
    section.B_Save->click();
    whenModal([this](QWidget*) {
        windows->Fpargen->CB_Baudrate->setCurrentIndex(5);
        windows->Fpargen->CB_Parity->setCurrentIndex(2);
        windows->Fpargen->B_OK->click();
    });
    section.B_Set_Com->click();
    const QString edited = main().settings().ProjectFolder;
    ASSERT_EQ(ProjectFiles::loadCommandList(edited).size(), 3u);

    // Connected, then "Update Device": the link closes, the banks are written, the wizard walks
    // its pages and Burnix.exe programs the simulator with the merged firmware.
    connectCom1();
    main().B_Edit_Project->click();
    int page = -1;
    whenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, windows->FModifyFileSx.get());
        TFModifyFileSx& wizard = *windows->FModifyFileSx;
        for (int i = 0; i < 3; ++i) {
            wizard.B_Next->click();
        }
        page = wizard.pages().page();
        wizard.B_Execute->click();
        wizard.close();
    });
    section.B_Update_Device->click();
    EXPECT_EQ(page, 3);
    EXPECT_FALSE(main().link().isConnected());
    EXPECT_TRUE(QFile::exists(edited + "/New_Flash_Application.sx"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('|').toStdString();
    const std::vector<uint16_t> flashed{500, 3, 40100, 1, 7, 12};
    ASSERT_TRUE(eventually([&] { return commandTable(line) == flashed; }));

    // "Download Project" reads the device's table back into Temp_prj.
    connectCom1();
    main().B_Edit_Project->click();
    ASSERT_TRUE(section.B_Download_Project->isEnabled());
    section.B_Download_Project->click();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('|').toStdString();
    const QString readBack = main().settings().ProjectFolder;
    EXPECT_TRUE(readBack.endsWith("/Temp_prj"));
    auto addressesAndPoints = [](const CommandList& commands) {
        std::vector<std::pair<int, int>> pairs;
        for (const Comandi& command : commands) {
            pairs.emplace_back(command.DataAddress, command.PointCount);
        }
        return pairs;
    };
    EXPECT_EQ(addressesAndPoints(main().commandList()),
              addressesAndPoints(ProjectFiles::loadCommandList(edited)));
    EXPECT_EQ(addressesAndPoints(ProjectFiles::loadCommandList(readBack)),
              addressesAndPoints(ProjectFiles::loadCommandList(edited)));
    // Baud rate and parity: the edited file has them first, the read-back after the time-out.
    const QStringList editedSerial = pargenValues(edited);
    const QStringList readSerial = pargenValues(readBack);
    ASSERT_EQ(editedSerial.size(), 3);
    ASSERT_EQ(readSerial.size(), 3);
    EXPECT_EQ(editedSerial.mid(0, 2), (QStringList{"5", "2"}));
    EXPECT_EQ(readSerial.mid(1, 2), editedSerial.mid(0, 2));
}

TEST_F(TypicalRoad, LoggedDataDownloadedChartedSavedLoadedAndExported) {
    const QString project = folder.settings.ProjectsFolder + "/Demo";
    copyFolder(DLM_DEMO_PROJECT, project);
    IniFile::write(folder.path() + "/Quandor.ini", "lastproj", "projectname", "Demo");
    const std::string records = scratch.file("records.txt");
    startSimulator({"--project", DLM_DEMO_PROJECT, "--prefill", "0.3", "--record-log", records});
    openWindows();
    windows->FWaiting->Timer_Start.setInterval(0);
    DownloadDataSection& section = *main().PBC_ManDati;
    connectCom1();

    // "Get Data": the table holds every record the simulator logged, in its order.
    main().B_Download_Data->click();
    section.Btn_Get_Data->click();
    ASSERT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('|').toStdString();
    const std::vector<std::string> logged = lines(readTextFile(records));
    ASSERT_GT(logged.size(), 100u);
    EXPECT_EQ(describe(section.data().samples), logged);
    EXPECT_EQ(section.P_Views->currentWidget(), section.P_Table);
    const QAbstractItemModel& table = *section.SgA->model();
    ASSERT_EQ(table.rowCount(), int(logged.size()));
    const CommandList& commands = main().commandList();
    for (int row : {0, table.rowCount() / 2, table.rowCount() - 1}) {
        const TDati_DL& sample = section.data().samples[row];
        EXPECT_EQ(table.index(row, 3).data().toString(),
                  QString::number(commands.at(size_t(sample.command)).DataAddress));
    }

    // "Chart" on the first command: one line per register, a point per sample of it.
    whenModal([this](QWidget* modal) {
        ASSERT_EQ(modal, windows->FSelectCmd.get());
        windows->FSelectCmd->B_OK->click();
    });
    section.B_Chart->click();
    const QCustomPlot& plot = *section.Chart->plot();
    ASSERT_EQ(plot.graphCount(), commands.at(0).PointCount);
    const auto firstCommandSamples =
        std::count_if(logged.begin(), logged.end(),
                      [](const std::string& record) { return record.substr(20, 2) == "0 "; });
    EXPECT_EQ(plot.graph(0)->dataCount(), int(firstCommandSamples));

    // "Save Data", then "Load Data" into emptied samples, then "Export Cvs".
    const QString dataFile = project + "/run.xml";
    const QString csvFile = project + "/run.csv";
    prompts.choices = {dataFile, dataFile, csvFile};
    section.B_SaveData->click();
    ASSERT_TRUE(QFile::exists(dataFile));
    section.data().samples.clear();
    section.B_LoadData->click();
    EXPECT_EQ(describe(section.data().samples), logged);
    section.B_Grid->click();
    section.B_Export->click();
    QFile csv(csvFile);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), qsizetype(logged.size()) + 1) << "a header line";
    // The three choosers' filters, no message.
    EXPECT_EQ(prompts.shown.size(), 3) << prompts.shown.join('|').toStdString();
}

}  // namespace
