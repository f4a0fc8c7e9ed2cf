// The program's windows as start-up makes them, the main window's look, and "Update Device"
// handing over to the wizard.
#include "../support/FakeModbusDevice.h"
#include "../support/ScriptedPrompts.h"
#include "../support/ShownText.h"
#include "UpdateProgramFolder.h"
#include "base/IniFile.h"
#include "base/PictureFiles.h"
#include "devicelink/ConnectSection.h"
#include "firmware/ModifyFileSx.h"
#include "loggeddata/DebugView.h"
#include "loggeddata/DownloadDataSection.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectSection.h"
#include "shell/ProgramWindows.h"
#include "widgets/ClickableLabel.h"
#include "widgets/SectionTile.h"
#include "widgets/WidgetStyle.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

namespace {

using Section = TFTessitoreFirmWare::Section;

// A program folder with the shipped pictures, a base firmware and the project Plant on Com3.
class ProgramWindowsTest : public ::testing::Test {
protected:
    ProgramWindowsTest() {
        // The program's own look, as its start-up gives it.
        WidgetStyle::apply(*qApp);
        QDir().mkpath(folder.path() + "/Pictures");
        for (const QString& name : QDir(DLM_PICTURES_DIR).entryList({"*.jpg"})) {
            QFile::copy(QString(DLM_PICTURES_DIR) + '/' + name,
                        PictureFiles::path(folder.path(), name));
        }
        ProjectFiles::saveCommandList(folder.settings.ProjectFolder,
                                      {Comandi{100, 2, "Boiler", 1, 1, "C"}});
        ProjectFiles::saveSerialParameters(folder.settings.ProjectFolder, {3, 0, 1});
        IniFile::write(folder.path() + "/Quandor.ini", "lastproj", "projectname", "Plant");
        IniFile::write(folder.path() + "/Quandor.ini", "ComPort", "Number", "2");
    }

    static QColor colourAt(QWidget& window, QWidget* widget, QPoint inside) {
        return window.grab().toImage().pixelColor(widget->mapTo(&window, inside));
    }

    UpdateProgramFolder folder;
    ScriptedPrompts prompts;
    FakeModbusDevice device;
};

TEST_F(ProgramWindowsTest, EveryWindowIsMadeOnceInOrderAndHiddenWithTheFlagsCleared) {
    ProgramWindows windows(folder.path(), &prompts, device.library());
    TFTessitoreFirmWare& main = windows.FTessitoreFirmWare;
    QStringList made;
    for (QObject* child : main.children()) {
        if (auto* dialog = qobject_cast<QDialog*>(child)) {
            made << dialog->metaObject()->className();
            EXPECT_FALSE(dialog->isVisible()) << dialog->metaObject()->className();
        }
    }
    EXPECT_EQ(made,
              (QStringList{"TFsaveproj", "TFAbout", "TFModifyFileSx", "TFpargen", "TFDateTime",
                           "TFWaiting", "TFComPort", "TFSelectCmd", "TF_Erase_Mem"}));
    EXPECT_EQ(main.PBC_ManDati->FSelectCmd, windows.FSelectCmd.get());
    EXPECT_EQ(main.PBC_ManDati->F_Erase_Mem, windows.F_Erase_Mem.get());
    EXPECT_FALSE(main.link().ErasePending);
    EXPECT_FALSE(main.PBC_ManDati->PBC_Debug->ResumeStatusPoll);
    EXPECT_EQ(main.PBC_ManDati->displayBase(), DisplayBase::Decimal);
    EXPECT_EQ(main.commandList().size(), 1u);
}

TEST_F(ProgramWindowsTest, UpdateDeviceOpensTheWizardOnTheCurrentProjectAndPort) {
    ProgramWindows windows(folder.path(), &prompts, device.library());
    TFTessitoreFirmWare& main = windows.FTessitoreFirmWare;
    TFModifyFileSx& wizard = *windows.FModifyFileSx;
    QFile::remove(folder.bin() + "/bank1.bin");
    main.link().openLink();
    main.B_Edit_Project->click();

    struct Seen {
        QWidget* modal = nullptr;
        QString port, name;
        int page = -1;
        bool banksWritten = false;
        LinkState link = LinkState::Connected;
    } seen;
    // "Update Device" lets pending events run once before the wizard opens.
    QTimer poll;
    poll.callOnTimeout([&] {
        if (!wizard.isVisible()) {
            return;
        }
        poll.stop();
        seen = {QApplication::activeModalWidget(),
                wizard.L_Com->text(),
                wizard.E_NameFirmware->text(),
                wizard.pages().page(),
                QFile::exists(folder.bin() + "/bank1.bin"),
                main.link().linkState()};
        wizard.close();
    });
    poll.start(5);
    main.P_Project->B_Update_Device->click();
    EXPECT_EQ(seen.modal, &wizard);
    EXPECT_EQ(seen.port, "COM3");
    EXPECT_EQ(seen.name, "New_Flash_Application.sx");
    EXPECT_EQ(seen.page, 0);
    EXPECT_TRUE(seen.banksWritten);
    EXPECT_EQ(seen.link, LinkState::Closed);
    EXPECT_EQ(wizard.update().outputFolder, folder.settings.ProjectFolder + '/');
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join('|').toStdString();
}

TEST_F(ProgramWindowsTest, MainWindowLook) {
    ProgramWindows windows(folder.path(), &prompts, device.library());
    TFTessitoreFirmWare& main = windows.FTessitoreFirmWare;
    main.show();
    // The wanted size where the screen has room for it, and wholly on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    if (screen.width() >= 1100 && screen.height() >= 800) {
        EXPECT_EQ(main.size(), QSize(1000, 700));
    }
    EXPECT_TRUE(screen.contains(main.geometry())) << main.geometry().x() << "," << main.y();
    EXPECT_LE((main.geometry().center() - screen.center()).manhattanLength(), 24);
    const QFontInfo font(main.font());
    EXPECT_TRUE(font.family() == "Verdana" || font.family() == "DejaVu Sans")
        << font.family().toStdString();
    EXPECT_EQ(main.font().pointSize(), 8);

    main.B_Connect->click();
    struct Colour {
        const char* where;
        QWidget* widget;
        QPoint inside;
        QColor expected;
    };
    const Colour colours[] = {
        {"left column", main.L_VTL->parentWidget(), {4, 600}, QColor(0xEE, 0xEC, 0xD5)},
        {"section button", main.B_Connect, {6, 6}, QColor(0xFF, 0xFF, 0x9F)},
        {"content", main.P_Connect, {300, 400}, QColor(0xF8, 0xF7, 0xED)},
    };
    for (const Colour& c : colours) {
        EXPECT_EQ(colourAt(main, c.widget, c.inside), c.expected) << c.where;
    }
    EXPECT_EQ(main.P_Connect->L_Title->palette().color(QPalette::WindowText),
              QColor(0x33, 0x33, 0x33));
}

TEST_F(ProgramWindowsTest, SectionTilesShowTheirPicturesAndABrokenOneStaysEmpty) {
    QFile::resize(PictureFiles::path(folder.path(), PictureFiles::EditProjectTile), 300);
    QFile::remove(PictureFiles::path(folder.path(), PictureFiles::DownloadDataTile));
    ProgramWindows windows(folder.path(), &prompts, device.library());
    TFTessitoreFirmWare& main = windows.FTessitoreFirmWare;
    struct Tile {
        SectionTile* tile;
        QPushButton* button;
        const char* text;
        bool pictured;
    };
    const Tile tiles[] = {
        {main.Tile_Connect, main.B_Connect, "Connect", true},
        {main.Tile_Edit_Project, main.B_Edit_Project, "Edit Project", false},
        {main.Tile_Download_Data, main.B_Download_Data, "Download Data", false},
    };
    for (const Tile& t : tiles) {
        EXPECT_EQ(t.tile->button, t.button);
        EXPECT_EQ(shownText(t.button->text()), t.text);
        EXPECT_EQ(t.tile->picture->pixmap().isNull(), !t.pictured) << t.text;
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ProgramWindowsTest, TheSectionShownMarksItsTileAndEachActionHasItsOwnAltLetter) {
    ProgramWindows windows(folder.path(), &prompts, device.library());
    TFTessitoreFirmWare& main = windows.FTessitoreFirmWare;
    main.show();
    const std::pair<QPushButton*, Section> sections[] = {
        {main.B_Connect, Section::Connect},
        {main.B_Edit_Project, Section::EditProject},
        {main.B_Download_Data, Section::DownloadData}};
    for (const auto& [tileButton, section] : sections) {
        SCOPED_TRACE(shownText(tileButton->text()).toStdString());
        tileButton->click();
        if (section == Section::EditProject) {
            main.P_Project->B_Command_List->click();
        }
        for (const auto& [other, otherSection] : sections) {
            EXPECT_EQ(other->property(WidgetStyle::CurrentProperty).toBool(), other == tileButton);
        }
        QMap<QChar, QString> taken;
        for (const QAbstractButton* button : main.findChildren<QAbstractButton*>()) {
            const QString text = button->text();
            if (!button->isVisible() || !text.contains(QRegularExpression("[A-Za-z]"))) {
                continue;
            }
            const QChar letter = altLetter(text);
            EXPECT_FALSE(letter.isNull()) << text.toStdString();
            EXPECT_FALSE(taken.contains(letter))
                << text.toStdString() << " and " << taken.value(letter).toStdString();
            taken.insert(letter, text);
        }
    }
}

TEST_F(ProgramWindowsTest, EveryHintOfTheMainWindow) {
    ProgramWindows windows(folder.path(), &prompts, device.library());
    TFTessitoreFirmWare& main = windows.FTessitoreFirmWare;
    const ConnectSection& connect = *main.P_Connect;
    const DownloadDataSection& data = *main.PBC_ManDati;
    const std::pair<QWidget*, const char*> hints[] = {
        {main.B_Connect, "Connect, sconnect and set date"},
        {connect.B_SetComPort, "Connect software with datalogger"},
        {connect.B_ReadDateTime, "Read the date in datalogger"},
        {connect.B_SetDateTime, "Write the correct date in datalogger"},
        {connect.B_ClosePort, "Disconnect the software from datalogger"},
        {data.Btn_Get_Data, "Get data from datalogger"},
        {data.B_Debug, "Show debug variable"},
        {data.B_EraseMem, "Cancel the memory in datalogger"},
        {data.B_Grid, "Show the data in a table"},
        {data.B_Chart, "Show the data in a chart"},
        {data.B_SaveData, "Save the data in a file"},
        {data.B_LoadData, "Load the data from a file"},
        {data.B_Chart_Ind, "Show the chart of precedent command"},
        {data.B_Chart_Ava, "Show the chart of next command"},
        {data.B_Zoom_In, "Zoom in"},
        {data.B_Zoom_Out, "Zoom out"},
        {data.B_Nor_Zoom, "Zoom normal"},
    };
    for (const auto& [widget, hint] : hints) {
        EXPECT_EQ(widget->toolTip(), hint);
    }
}

}  // namespace
