#include "../support/FakeModbusDevice.h"
#include "../support/ScriptedPrompts.h"
#include "../support/ShownText.h"
#include "devicelink/ConnectSection.h"
#include "devicelink/LinkStatusBar.h"
#include "devicelink/UComPort.h"
#include "devicelink/UDateTime.h"
#include "shell/UTessitoreFirmWare.h"
#include "widgets/Lamp.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

// The Connect section, the port and clock dialogs and the status bar, on a scripted device.
namespace {

using Call = FakeModbusDevice::Call;

class LinkWindowsTest : public ::testing::Test {
protected:
    LinkWindowsTest() {
        device.registers = {{100, 7}, {101, 3}, {102, 31}, {103, 9}, {104, 5}, {105, 3}, {120, 2}};
        clockDialog.now = [] { return QDateTime(QDate(2031, 3, 7), QTime(9, 5, 3)); };
        window.attachLinkDialogs(&portDialog, &clockDialog);
    }

    // Runs `step` on the modal window once it is shown.
    static void whenModal(std::function<void(QWidget*)> step) {
        QTimer::singleShot(0, [step] { step(QApplication::activeModalWidget()); });
    }
    void connectOn(int port) {
        whenModal([this, port](QWidget*) {
            portDialog.CB_Port->setCurrentIndex(port);
            portDialog.B_OK->click();
        });
        window.P_Connect->B_SetComPort->click();
    }
    static void pressEnter(QWidget* field) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(field, &press);
    }

    QTemporaryDir dir;
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    TFTessitoreFirmWare window{dir.path(), &prompts, device.library()};
    TFComPort portDialog{&window};
    TFDateTime clockDialog{window.comon(), prompts, &window};
    LinkStatusBar& bar = *window.P_Status;
    ConnectSection& section = *window.P_Connect;
};

TEST_F(LinkWindowsTest, TheConnectButtonShowsTheSectionAndLoadsTheOptionsEachTime) {
    int actions = 0;
    QObject::connect(&window, &TFTessitoreFirmWare::sectionActionStarted, [&] { ++actions; });
    EXPECT_FALSE(section.isVisibleTo(&window));
    window.B_Connect->click();
    EXPECT_EQ(window.shownSection(), TFTessitoreFirmWare::Section::Connect);
    EXPECT_TRUE(section.isVisibleTo(&window));
    // No project: the options live in the projects folder.
    const QString options = dir.filePath("PROJECTS/DipCmd.xml");
    EXPECT_TRUE(QFile::exists(options));
    EXPECT_FALSE(section.CB_Start_Stop->isChecked());

    QFile file(options);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<Dip-Switch><Start_Stop>1</Start_Stop><Cyclical_mem>1</Cyclical_mem></Dip-Switch>");
    file.close();
    window.B_Connect->click();
    EXPECT_TRUE(section.CB_Start_Stop->isChecked());
    EXPECT_TRUE(section.CB_Cyclical_Mem->isChecked());
    section.CB_Cyclical_Mem->click();
    EXPECT_FALSE(window.link().startStopOptions().cyclicalMemory);
    // An assistive tool toggles a box without a click: that is saved as well.
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(section.CB_Start_Stop);
    ASSERT_TRUE(box && box->actionInterface());
    box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(section.CB_Start_Stop->isChecked());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("<Start_Stop>0</Start_Stop>"));
    file.close();

    // Edit Project replaces it, and Download Data that.
    window.B_Edit_Project->click();
    EXPECT_FALSE(section.isVisibleTo(&window));
    EXPECT_EQ(window.shownSection(), TFTessitoreFirmWare::Section::EditProject);
    window.B_Download_Data->click();
    EXPECT_EQ(window.shownSection(), TFTessitoreFirmWare::Section::DownloadData);
    EXPECT_EQ(actions, 4);

    const std::vector<std::tuple<QPushButton*, QString, QString>> buttons = {
        {section.B_SetComPort, "Set Communication Port", "Connect software with datalogger"},
        {section.B_ReadDateTime, "Read Date Time", "Read the date in datalogger"},
        {section.B_SetDateTime, "Set Date Time", "Write the correct date in datalogger"},
        {section.B_ClosePort, "Close Communication Port",
         "Disconnect the software from datalogger"},
        {bar.B_Run, "RUN", "Datalogger start to save data"},
        {bar.B_Stop, "STOP", "Datalogger stop to save data"},
    };
    for (const auto& [button, text, hint] : buttons) {
        EXPECT_EQ(shownText(button->text()), text);
        EXPECT_EQ(button->toolTip(), hint);
    }
    EXPECT_EQ(section.L_Title->text(), "Connection of the RS232 port");
    EXPECT_EQ(shownText(section.CB_Start_Stop->text()), "Start and stop with Dip-Switch");
    EXPECT_EQ(shownText(section.CB_Cyclical_Mem->text()), "Cyclical Memory");
}

TEST_F(LinkWindowsTest, ThePortDialogOpensTheLinkAndTheStatusBarFollowsIt) {
    EXPECT_EQ(bar.Stato_Com->shape(), Lamp::Shape::Circle);
    EXPECT_EQ(bar.S_Stato_DL->shape(), Lamp::Shape::RoundedSquare);
    // Cancel changes nothing.
    whenModal([this](QWidget* modal) {
        EXPECT_EQ(modal, &portDialog);
        portDialog.B_Cancel->click();
    });
    section.B_SetComPort->click();
    EXPECT_TRUE(device.calls(Call::Init).empty());

    connectOn(2);
    EXPECT_EQ(device.calls(Call::Init).at(0).start, 2);
    EXPECT_EQ(bar.Stato_Com->color(), Lamp::Green);
    EXPECT_FALSE(bar.L_Data->text().isEmpty());
    EXPECT_EQ(bar.S_Stato_DL->color(), Lamp::Red);
    EXPECT_EQ(bar.S_Stato_DL->toolTip(), "Datalogger is in Stop");
    EXPECT_EQ(bar.L_Stato->text(), "STOP");
    EXPECT_EQ(bar.Stato_Com->accessibleDescription(), "Link: Connected");
    EXPECT_EQ(bar.S_Stato_DL->accessibleDescription(), "Datalogger: STOP");
    EXPECT_TRUE(bar.B_Run->isEnabled());
    EXPECT_TRUE(bar.B_Stop->isEnabled());

    bar.B_Run->click();
    EXPECT_EQ(device.calls(Call::Write).back().start, 121);
    EXPECT_EQ(device.calls(Call::Write).back().values, std::vector<uint16_t>{1});
    section.B_ReadDateTime->click();
    EXPECT_EQ(section.L_Con_Data->text(), bar.L_Data->text());
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), QPoint(2, 2));
    QApplication::sendEvent(bar.Stato_Com, &tip);
    EXPECT_TRUE(bar.Stato_Com->toolTip().contains("4 transfers, 0 failed"))
        << bar.Stato_Com->toolTip().toStdString();

    device.registers[120] = 1;
    window.link().StatusPoll();
    EXPECT_EQ(bar.S_Stato_DL->color(), Lamp::Green);
    EXPECT_EQ(bar.L_Stato->text(), "RUN");

    section.B_ClosePort->click();
    EXPECT_EQ(bar.Stato_Com->color(), Lamp::Red);
    EXPECT_EQ(bar.S_Stato_DL->color(), Lamp::White);
    EXPECT_EQ(bar.S_Stato_DL->toolTip(), "");
    EXPECT_EQ(bar.L_Stato->text(), "");
    EXPECT_EQ(bar.Stato_Com->accessibleDescription(), "Link: Closed");
    EXPECT_FALSE(bar.B_Run->isEnabled());
    EXPECT_FALSE(bar.B_Stop->isEnabled());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(LinkWindowsTest, ThePortListNamesEachDevice) {
    const QString present = dir.filePath("adapter");
    QFile(present).open(QIODevice::WriteOnly);
    qputenv("VTL_MODBUS_COM1", present.toLocal8Bit());
    qputenv("VTL_MODBUS_COM2", dir.filePath("unplugged").toLocal8Bit());
    whenModal([this](QWidget*) {
        EXPECT_EQ(portDialog.windowTitle(), "Select Communicatio Port");
        ASSERT_EQ(portDialog.CB_Port->count(), 8);
        EXPECT_EQ(portDialog.CB_Port->itemText(7), "Com8");
        EXPECT_EQ(portDialog.CB_Port->currentIndex(), 1);
        EXPECT_EQ(portDialog.CB_Port->itemData(0, Qt::ToolTipRole).toString(),
                  dir.filePath("adapter") + ": present, can be opened");
        EXPECT_EQ(portDialog.CB_Port->toolTip(), dir.filePath("unplugged") + ": does not exist");
        EXPECT_TRUE(
            portDialog.CB_Port->itemData(2, Qt::ToolTipRole).toString().startsWith("/dev/ttyS2: "));
        portDialog.B_Cancel->click();
    });
    window.settings().ComPortNumber = 1;
    section.B_SetComPort->click();
    qunsetenv("VTL_MODBUS_COM1");
    qunsetenv("VTL_MODBUS_COM2");
}

TEST_F(LinkWindowsTest, TheClockDialogProposesChecksAndWrites) {
    section.B_SetDateTime->click();  // not connected
    EXPECT_EQ(prompts.shown, QStringList{"Connect DataLogger device before"});
    connectOn(0);
    const size_t writesBefore = device.calls(Call::Write).size();

    whenModal([this](QWidget* modal) {
        ASSERT_EQ(modal, &clockDialog);
        EXPECT_EQ(clockDialog.windowTitle(), "Read/Write date time");
        const std::vector<QLineEdit*> fields = {clockDialog.EDay,    clockDialog.EMonth,
                                                clockDialog.EYear,   clockDialog.EHour,
                                                clockDialog.EMinute, clockDialog.ESecond};
        QStringList texts;
        for (size_t i = 0; i < fields.size(); ++i) {
            texts << fields[i]->text();
            if (i + 1 < fields.size()) {
                pressEnter(fields[i]);
                EXPECT_EQ(clockDialog.focusWidget(), fields[i + 1]) << i;
            }
        }
        EXPECT_EQ(texts, (QStringList{"7", "3", "31", "9", "5", "3"}));
        EXPECT_EQ(fields[0]->text(), "7");  // Enter did not change the text
        pressEnter(clockDialog.ESecond);
        EXPECT_TRUE(clockDialog.isVisible());

        clockDialog.EMonth->setText("13");
        clockDialog.EHour->setText("");
        clockDialog.BWrite->click();
        EXPECT_TRUE(clockDialog.isVisible());
        EXPECT_EQ(clockDialog.EMonth->text(), "13");
        clockDialog.EMonth->setText("2");
        clockDialog.EHour->setText("23");
        clockDialog.BWrite->click();
    });
    section.B_SetDateTime->click();
    EXPECT_FALSE(clockDialog.isVisible());
    EXPECT_EQ(prompts.shown.mid(1), QStringList{"Month is wrong"});
    const auto writes = device.calls(Call::Write);
    ASSERT_EQ(writes.size(), writesBefore + 7);
    std::vector<uint16_t> values;
    for (size_t i = writesBefore; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].start, 100 + (i - writesBefore));
        values.push_back(writes[i].values.at(0));
    }
    EXPECT_EQ(values, (std::vector<uint16_t>{7, 2, 31, 23, 5, 3, 1}));
}

}  // namespace
