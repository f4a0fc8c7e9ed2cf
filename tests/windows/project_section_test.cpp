#include "../support/FakeModbusDevice.h"
#include "../support/QtPrinters.h"
#include "../support/ScriptedPrompts.h"
#include "base/FolderLookup.h"
#include "base/IniFile.h"
#include "base/ProductTexts.h"
#include "base/ProgramSettings.h"
#include "base/WholeFile.h"
#include "base/XmlDocument.h"
#include "projects/ProjectFiles.h"
#include "projects/ProjectSection.h"
#include "projects/Upargen.h"
#include "projects/Usaveproj.h"
#include "shell/UTessitoreFirmWare.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>

namespace {

// Runs `step` once the modal dialog shows; the step must close it.
void whenShown(QDialog& dialog, std::function<void()> step) {
    QTimer::singleShot(0, &dialog, [&dialog, step] {
        EXPECT_TRUE(dialog.isVisible());
        step();
    });
}

// Types into the grid as a user does: the names below press their keys, "Click:r,c" clicks that
// cell, "At:r,c" makes it current (for rows scrolled away), any other word is typed where the
// focus is.
void typeInto(QTableView& grid, const QString& keys) {
    const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> named = {
        {"Tab", {Qt::Key_Tab, Qt::NoModifier}},
        {"Backtab", {Qt::Key_Backtab, Qt::ShiftModifier}},
        {"Left", {Qt::Key_Left, Qt::NoModifier}},
        {"Up", {Qt::Key_Up, Qt::NoModifier}},
        {"Home", {Qt::Key_Home, Qt::NoModifier}},
        {"Enter", {Qt::Key_Return, Qt::NoModifier}},
        {"ShiftEnter", {Qt::Key_Return, Qt::ShiftModifier}},
        {"ShiftDown", {Qt::Key_Down, Qt::ShiftModifier}},
        {"ShiftRight", {Qt::Key_Right, Qt::ShiftModifier}},
        {"Delete", {Qt::Key_Delete, Qt::NoModifier}},
        {"Backspace", {Qt::Key_Backspace, Qt::NoModifier}},
        {"Copy", {Qt::Key_C, Qt::ControlModifier}},
        {"Paste", {Qt::Key_V, Qt::ControlModifier}},
        {"InsertRow", {Qt::Key_Insert, Qt::ControlModifier}},
        {"RemoveRow", {Qt::Key_Delete, Qt::ControlModifier}}};
    const auto focus = [&grid] {
        return QApplication::focusWidget() ? QApplication::focusWidget() : &grid;
    };
    for (const QString& word : keys.split(u' ', Qt::SkipEmptyParts)) {
        if (word.startsWith("Click:") || word.startsWith("At:")) {
            const QStringList at = word.section(u':', 1).split(u',');
            const QModelIndex cell = grid.model()->index(at[0].toInt(), at[1].toInt());
            if (word.startsWith("At:")) {
                grid.setCurrentIndex(cell);
            } else {
                QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                                  grid.visualRect(cell).center());
            }
        } else if (const auto key = named.find(word); key != named.end()) {
            QTest::keyClick(focus(), key->second.first, key->second.second);
        } else {
            for (const QChar typed : word) {  // the first key may open an editor
                QTest::keyClicks(focus(), typed);
            }
        }
    }
}

QStringList entries(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

// The section as the main window holds it, on a scripted device.
class ProjectSectionTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeModbusDevice device;
    ScriptedPrompts prompts;
    TFTessitoreFirmWare window{dir.path(), &prompts, device.library()};
    ProgramSettings& settings = window.settings();
    CommandList& commands = window.commandList();
    ProjectSection& section = *window.P_Project;
    TFsaveproj Fsaveproj{settings, prompts, &window};
    TFpargen Fpargen{prompts, &window};

    ProjectSectionTest() {
        window.attachProjectDialogs(&Fsaveproj, &Fpargen);
        commands = {Comandi{7, 1, "", 1, 0, ""}};
        QDir().mkpath(settings.ProjectsFolder + "/Projects_init");
        writeFileWhole(settings.ProjectsFolder + "/Projects_init/DipCmd.xml", "<Dip-Switch/>");
        window.show();
        window.B_Edit_Project->click();
    }
    QString title(const QString& named) const { return ProductTexts::ProductCaption + named; }
    void connectLink() {
        device.registers = {{100, 7}, {101, 3}, {102, 31}, {103, 9}, {104, 5}, {105, 3}, {120, 2}};
        window.link().setCommunicationPort([](int) { return 0; });
        ASSERT_TRUE(window.link().isConnected());
    }
    void deviceTable(const std::vector<std::pair<uint16_t, uint16_t>>& entries) {
        for (size_t k = 0; k < entries.size(); ++k) {
            device.registers[uint16_t(50000 + 3 * k)] = entries[k].first;
            device.registers[uint16_t(50000 + 3 * k + 1)] = entries[k].second;
        }
        device.registers[110] = 1000;
        device.registers[111] = 3;
    }
    QString project(const QString& name) const { return settings.ProjectsFolder + "/" + name; }
    void makeCurrent(const QString& name) {
        QDir().mkpath(project(name) + "/bin");
        settings.ProjectName = name;
        settings.ProjectFolder = project(name);
    }
    void typeName(const QString& name) {
        Fsaveproj.E_Name->setText(name);
        Fsaveproj.B_OK->click();
    }
    bool editorShown() const { return section.SgA1->isVisible() && section.P_Save->isVisible(); }
};

TEST_F(ProjectSectionTest, NewProjectRefusesAnExistingNameThenMakesTheProject) {
    QDir().mkpath(project("Plant"));
    whenShown(Fsaveproj, [&] {
        typeName("Plant");
        EXPECT_TRUE(Fsaveproj.isVisible()) << "the dialog stays open";
        typeName("Site A");
    });
    section.B_New_Project->click();
    EXPECT_EQ(prompts.shown,
              QStringList{"Name project not valid because directory already exists"});
    EXPECT_EQ(settings.ProjectName, "Site A");
    EXPECT_EQ(entries(project("Site A")), (QStringList{"DipCmd.xml", "bin"}));
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(IniFile::read(settings.settingsFile(), "lastproj", "projectname"), "Site A");
    EXPECT_EQ(window.windowTitle(), title(" :Site A"));
}

TEST_F(ProjectSectionTest, NewProjectCancelledStillAppliesTheTitleRule) {
    whenShown(Fsaveproj, [&] {
        EXPECT_EQ(Fsaveproj.E_Name->text(), "") << "emptied on opening";
        typeName("../Outside");
        Fsaveproj.B_Cancel->click();
    });
    Fsaveproj.E_Name->setText("left over");
    section.B_New_Project->click();
    EXPECT_EQ(prompts.shown, QStringList{"Name project not valid"});
    EXPECT_EQ(settings.ProjectName, "");
    EXPECT_EQ(window.windowTitle(), title(" :"));
    EXPECT_EQ(entries(dir.path()), (QStringList{"MASTER", "PROJECTS"}));
    EXPECT_EQ(commands.size(), 1u);
}

TEST_F(ProjectSectionTest, SaveAsCopiesThePlainFilesButNotBin) {
    makeCurrent("Plant");
    ProjectFiles::saveCommandList(project("Plant"), commands);
    writeFileWhole(project("Plant") + "/bin/bank1.bin", "bank");
    whenShown(Fsaveproj, [&] { typeName("Copy1"); });
    section.B_Save_As->click();
    EXPECT_EQ(settings.ProjectName, "Copy1");
    EXPECT_EQ(entries(project("Copy1")), (QStringList{"bin", "cmdmb.xml"}));
    EXPECT_TRUE(entries(project("Copy1") + "/bin").isEmpty());
    EXPECT_EQ(window.windowTitle(), title(" :Copy1"));
    EXPECT_EQ(commands.size(), 1u) << "the project in memory stays as it was";
}

TEST_F(ProjectSectionTest, OpenProjectThroughTheFolderChooser) {
    makeCurrent("2024/North");
    ProjectFiles::saveCommandList(project("2024/North"), {Comandi{5, 2, "", 1, 0, ""}});
    settings.ProjectName.clear();
    settings.ProjectFolder = settings.ProjectsFolder;

    section.B_Open_Project->click();  // cancelled
    EXPECT_EQ(window.windowTitle(), title(""));
    prompts.choices = {project("2024/North")};
    section.B_Open_Project->click();
    EXPECT_EQ(settings.ProjectName, "2024/North");
    EXPECT_EQ(commands, (CommandList{Comandi{5, 2, "", 1, 0, ""}}));
    EXPECT_EQ(window.windowTitle(), title(" :2024/North"));
}

TEST_F(ProjectSectionTest, WithoutAProjectTheProjectButtonsOnlyAskForOne) {
    connectLink();
    bool wizard = false;
    QObject::connect(&section, &ProjectSection::firmwareWizardRequested, [&] { wizard = true; });
    for (QPushButton* button :
         {section.B_Command_List, section.B_Set_Com, section.B_Update_Device}) {
        SCOPED_TRACE(button->text().toStdString());
        prompts.shown.clear();
        button->click();
        EXPECT_EQ(prompts.shown, QStringList{"Please select one project"});
        EXPECT_FALSE(editorShown());
        EXPECT_TRUE(window.link().isConnected());
    }
    EXPECT_FALSE(wizard);
}

TEST_F(ProjectSectionTest, EditorNeedsAProjectShowsTheListAndSaves) {
    section.B_Save->click();  // no editor mode yet: shows the grid, saves nothing
    EXPECT_TRUE(editorShown());

    makeCurrent("Plant");
    section.B_Command_List->click();
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(section.SgA1->model()->rowCount(), 1500);
    EXPECT_EQ(section.SgA1->model()->columnCount(), 6);
    EXPECT_EQ(section.table().text(0, AddressField), "7");
    QAbstractItemModel& model = *section.SgA1->model();
    model.setData(model.index(2, 1), "0100");
    model.setData(model.index(2, 2), "3");
    model.setData(model.index(2, 3), "1");
    section.B_Save->click();
    EXPECT_TRUE(editorShown());
    EXPECT_EQ(commands, (CommandList{Comandi{7, 1, "", 1, 0, ""}, Comandi{100, 3, "", 1, 1, ""}}));
    EXPECT_EQ(ProjectFiles::loadCommandRows(project("Plant"))->at(1)[AddressField], "0100");

    section.B_Open_Project->click();  // every button hides the editor first
    EXPECT_FALSE(editorShown());
}

TEST_F(ProjectSectionTest, TypedRowsLandInTheEditableColumnsOnly) {
    struct Typing {
        const char* what;
        QString keys;
        CommandRows saved;
    };
    const std::vector<Typing> typings = {
        {"Tab after Description goes on to the next row's Address Word",
         "Click:0,1 500 Tab 3 Tab 1 Tab C Tab first Tab 12 Tab 3 Tab 2 Tab 4 Tab second Tab",
         {{"500", "3", "1", "C", "first"}, {"12", "3", "2", "4", "second"}}},
        {"Shift+Tab from Address Word goes back to the previous row's Description",
         "Click:1,1 7 Tab 2 Tab 0 Backtab Backtab Backtab back Backtab Backtab Backtab Backtab 9 "
         "Tab 1 Tab 0 Tab",
         {{"9", "1", "0", "", "back"}, {"7", "2", "0", "", ""}}},
        {"a click on N° leaves the current cell where it was",
         "Click:0,1 5 Tab Click:4,0 2 Tab 1 Tab",
         {{"5", "2", "1", "", ""}}},
        {"Home, Left and Up stop at Address Word",
         "Click:1,3 Home Left Up 8 Tab 1 Tab 0 Tab",
         {{"8", "1", "0", "", ""}}},
    };
    makeCurrent("Plant");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const Typing& typing : typings) {
        SCOPED_TRACE(typing.what);
        commands.clear();
        section.B_Command_List->click();
        typeInto(*section.SgA1, typing.keys);
        section.B_Save->click();
        EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join("; ").toStdString();
        prompts.shown.clear();
        EXPECT_EQ(ProjectFiles::loadCommandRows(project("Plant")), typing.saved);
    }
}

// The rows that `lines` name ("N°:texts"), as the grid shows them, texts joined by commas.
QStringList gridLines(const QAbstractItemModel& model, const QStringList& lines) {
    QStringList shown;
    for (const QString& line : lines) {
        const int row = line.section(u':', 0, 0).toInt();
        QStringList texts;
        for (int column = 1; column < model.columnCount(); ++column) {
            texts << model.index(row, column).data().toString();
        }
        shown << model.index(row, 0).data().toString() + ":" + texts.join(u',');
    }
    return shown;
}

TEST_F(ProjectSectionTest, TheGridEditsLikeASpreadsheet) {
    const QString rows3x5 = "500\t3\t1\tC\tfirst\n12\t3\t2\t4\tsecond\r\n40100\t1\t0\t\tthird\n";
    struct Editing {
        const char* what;
        QString clipboard;
        QString keys;
        QStringList lines;  // the first rows afterwards
        QString copied = {};
    };
    const QString empty = ",,,,";
    const std::vector<Editing> editings = {
        {"Command List puts the keyboard into the first Address Word",
         "",
         "600 Tab 3 Enter",
         {"0:600,3,,,", "1:" + empty}},
        {"Enter commits and goes down",
         "",
         "Click:0,1 600 Enter 7 Enter ShiftEnter Enter 8 Enter",
         {"0:600,,,,", "1:7,,,,", "2:8,,,,", "3:" + empty}},
        {"Tab wraps to the next row, Shift+Tab back",
         "",
         "Click:0,5 d Tab 9 Enter Click:1,1 Backtab e Tab",
         {"0:,,,,e", "1:9,,,,", "2:" + empty}},
        {"a tab-separated block lands right and down from the current cell",
         rows3x5,
         "Click:1,1 Paste",
         {"0:" + empty, "1:500,3,1,C,first", "2:12,3,2,4,second", "3:40100,1,0,,third",
          "4:" + empty}},
        {"a semicolon block the same way",
         QString(rows3x5).replace('\t', ';'),
         "Click:0,1 Paste",
         {"0:500,3,1,C,first", "1:12,3,2,4,second", "2:40100,1,0,,third", "3:" + empty}},
        {"what does not fit to the right is dropped",
         "1;2;3\n4;5;6",
         "Click:0,4 Paste",
         {"0:,,,1,2", "1:,,,4,5", "2:" + empty}},
        {"a block pasted while typing replaces the cell",
         "1\n2\n",
         "Click:0,2 9 Paste",
         {"0:,1,,,", "1:,2,,,", "2:" + empty}},
        {"the last row is the limit",
         rows3x5,
         "At:1499,1 Paste At:1498,1 Enter Enter 3 Enter",
         {"1498:" + empty, "1499:3,3,1,C,first"}},
        {"Delete and Backspace clear the selected cells",
         rows3x5,
         "Click:0,1 Paste Click:0,2 ShiftDown ShiftRight Delete Click:2,5 Backspace",
         {"0:500,,,C,first", "1:12,,,4,second", "2:40100,1,0,,", "3:" + empty}},
        {"Ctrl+C copies the selection, which pastes back",
         rows3x5,
         "Click:0,1 Paste Click:1,1 ShiftDown ShiftRight Copy Click:4,2 Paste",
         {"0:500,3,1,C,first", "1:12,3,2,4,second", "2:40100,1,0,,third", "3:" + empty, "4:,12,3,,",
          "5:,40100,1,,", "6:" + empty},
         "12\t3\n40100\t1\n"},
        {"an inserted row pushes the rows below down and renumbers",
         rows3x5,
         "Click:0,1 Paste Click:1,3 InsertRow 9 Enter",
         {"0:500,3,1,C,first", "1:,,9,,", "2:12,3,2,4,second", "3:40100,1,0,,third", "4:" + empty}},
        {"removed rows close up and renumber",
         rows3x5,
         "Click:0,1 Paste Click:0,2 ShiftDown RemoveRow",
         {"0:40100,1,0,,third", "1:" + empty}},
    };
    makeCurrent("Plant");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QAbstractItemModel& model = *section.SgA1->model();
    for (const Editing& editing : editings) {
        SCOPED_TRACE(editing.what);
        commands.clear();
        section.B_Command_List->click();  // the last case's edits are dropped
        prompts.shown.clear();
        QApplication::clipboard()->setText(editing.clipboard);
        typeInto(*section.SgA1, editing.keys);
        EXPECT_EQ(gridLines(model, editing.lines), editing.lines);
        EXPECT_EQ(model.rowCount(), 1500);
        if (!editing.copied.isEmpty()) {
            EXPECT_EQ(QApplication::clipboard()->text(), editing.copied);
        }
        EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join("; ").toStdString();
    }
}

TEST_F(ProjectSectionTest, LeavingUnsavedEditsAsksToSaveThem) {
    using Answer = Prompts::Answer;
    const QString question = "The command list has changes that are not saved. Save them?";
    const QString wrongRow = "Value of range [1..127] column n° point 2";
    struct Leaving {
        const char* what;
        QString points;  // "N° Point" of the typed row
        Answer answer;
        std::function<void()> leave;
        bool left;
        size_t rowsInPlant;  // in cmdmb.xml afterwards
        QStringList shownAfter = {};
    };
    const auto toConnect = [&] { window.B_Connect->click(); };
    const std::vector<Leaving> leavings = {
        {"another section, Yes saves", "3", Answer::Yes, toConnect, true, 2},
        {"another section, No drops the edits", "3", Answer::No, toConnect, true, 1},
        {"another section, Cancel stays", "3", Answer::Cancel, toConnect, false, 1},
        {"a save that fails its check stays", "0", Answer::Yes, toConnect, false, 1, {wrongRow}},
        {"Open project, Cancel stays", "3", Answer::Cancel,
         [&] { section.B_Open_Project->click(); }, false, 1},
        {"closing the window, Cancel keeps it open", "3", Answer::Cancel, [&] { window.close(); },
         false, 1},
        {"Save As..., Yes saves before the copy", "3", Answer::Yes,
         [&] {
             whenShown(Fsaveproj, [&] { typeName("Copy1"); });
             section.B_Save_As->click();
         },
         true, 2},
        {"closing the window, No closes", "3", Answer::No, [&] { window.close(); }, true, 1},
    };
    for (const Leaving& leaving : leavings) {
        SCOPED_TRACE(leaving.what);
        makeCurrent("Plant");
        commands = {Comandi{7, 1, "", 1, 0, ""}};
        ProjectFiles::saveCommandList(project("Plant"), commands);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.B_Edit_Project->click();
        section.B_Command_List->click();
        QApplication::processEvents();  // the window is active again once a dialog has gone
        typeInto(*section.SgA1, "Click:1,1 500 Tab " + leaving.points + " Tab 1 Enter");
        ASSERT_TRUE(section.hasUnsavedEdits());
        prompts.shown.clear();
        prompts.threeWayAnswers = {leaving.answer};

        leaving.leave();
        EXPECT_EQ(prompts.shown, QStringList{question} + leaving.shownAfter);
        EXPECT_EQ(editorShown(), !leaving.left);
        EXPECT_EQ(section.hasUnsavedEdits(), !leaving.left);
        EXPECT_EQ(section.table().text(1, AddressField),
                  leaving.left && leaving.answer == Answer::No ? "" : "500")
            << "kept until the editor is left; dropped edits are gone from it too";
        EXPECT_EQ(ProjectFiles::loadCommandRows(project("Plant"))->size(), leaving.rowsInPlant);
        if (leaving.answer == Answer::Yes && leaving.left) {
            EXPECT_EQ(commands.size(), 2u);
        }
    }
    EXPECT_EQ(ProjectFiles::loadCommandRows(project("Copy1"))->size(), 2u);

    // Without edits, or once saved, nothing is asked.
    prompts.shown.clear();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.B_Edit_Project->click();
    section.B_Command_List->click();
    typeInto(*section.SgA1, "Click:0,1 8 Enter");
    section.B_Save->click();
    EXPECT_EQ(section.L_Saved->text().left(19), "Saved cmdmb.xml at ");
    typeInto(*section.SgA1, "Click:0,3 2 Enter");
    EXPECT_EQ(section.L_Saved->text(), "") << "until the next edit";
    section.B_Save->click();
    window.B_Connect->click();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join("; ").toStdString();
    EXPECT_EQ(window.shownSection(), TFTessitoreFirmWare::Section::Connect);
}

TEST_F(ProjectSectionTest, UpdateDeviceClosesTheLinkThenWritesTheBankFiles) {
    makeCurrent("Plant");
    ProjectFiles::saveCommandList(project("Plant"), commands);
    ProjectFiles::saveSerialParameters(project("Plant"), {4, 1, 7});
    connectLink();
    QStringList steps;
    QObject::connect(&window.link(), &LinkSupervisor::linkStateChanged,
                     [&](LinkState state) { steps << "link " + QString::number(int(state)); });
    QObject::connect(&section, &ProjectSection::firmwareWizardRequested,
                     [&] { steps << "wizard: " + entries(project("Plant") + "/bin").join(" "); });
    section.B_Update_Device->click();
    EXPECT_EQ(steps, (QStringList{"link 0",
                                  "wizard: bank1.bin bank2.bin bank3.bin bank4.bin bank5.bin "
                                  "bankg.c"}));
    EXPECT_EQ(section.banks().ConfigBank()[0] | section.banks().ConfigBank()[1], 0x07)
        << "the first entry's address";
}

TEST_F(ProjectSectionTest, DownloadProjectFollowsTheLinkAsTheSectionWasShown) {
    EXPECT_FALSE(section.B_Download_Project->isEnabled());
    connectLink();
    EXPECT_FALSE(section.B_Download_Project->isEnabled()) << "until the section is shown again";
    window.B_Edit_Project->click();
    EXPECT_TRUE(section.B_Download_Project->isEnabled());
    window.link().closeLink();
    EXPECT_FALSE(section.B_Download_Project->isEnabled());
}

TEST_F(ProjectSectionTest, DownloadProjectReadsTempPrjIntoTheEditor) {
    makeCurrent("Plant");
    connectLink();
    window.B_Edit_Project->click();
    deviceTable({{300, 4}, {301, 0x0102}});
    section.B_Download_Project->click();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join("; ").toStdString();
    EXPECT_EQ(window.windowTitle(), title(" :Temp_prj"));
    EXPECT_EQ(settings.ProjectFolder, project("Temp_prj"));
    EXPECT_TRUE(editorShown());
    EXPECT_EQ(section.editorMode(), ProjectSection::EditorMode::CommandList);
    EXPECT_EQ(section.table().rows()[1], (CommandRowTexts{"301", "2", "0", "", ""}));
    EXPECT_EQ(entries(project("Temp_prj")), (QStringList{"Bin", "ParGen.Xml", "cmdmb.xml"}));
    EXPECT_EQ(IniFile::read(settings.settingsFile(), "lastproj", "projectname", "none"), "none");

    // The waiting window's verdict decides; Temp_prj stays current. A click while it waits
    // starts nothing.
    section.runInWaitingWindow = [&](const ProjectSection::WaitingRead&) {
        section.B_Download_Project->click();
        return false;
    };
    section.B_Download_Project->click();
    EXPECT_EQ(prompts.shown, QStringList{"Error in download command list"});
    EXPECT_FALSE(editorShown());
    EXPECT_EQ(settings.ProjectName, "Temp_prj");
}

class PargenTest : public ProjectSectionTest {
protected:
    void writePargen(const QString& name, const QByteArray& content) {
        makeCurrent(name);
        writeFileWhole(project(name) + "/pargen.xml", content);
    }
    QStringList pargenValues(const QString& name) {
        const auto document = XmlDocument::create();
        QStringList values;
        if (document->load(pathInFolder(project(name), "Pargen.xml"))) {
            for (int i = 0; i < 3; ++i) {
                values << document->documentElement().child(i).text();
            }
        }
        return values;
    }
    // Opens "Set Com.", checks what it shows and leaves it with OK or Cancel.
    void setCom(const QString& baud, const QString& parity, int id, bool ok) {
        whenShown(Fpargen, [=, this] {
            EXPECT_EQ(Fpargen.windowTitle(), "SET COMUNICATION");
            EXPECT_TRUE(Fpargen.G_Serial->isVisible());
            EXPECT_EQ(Fpargen.CB_Baudrate->currentText(), baud);
            EXPECT_EQ(Fpargen.CB_Parity->currentText(), parity);
            EXPECT_EQ(Fpargen.SE_DevID->value(), id);
            EXPECT_EQ(Fpargen.focusWidget(), Fpargen.B_OK);
            (ok ? Fpargen.B_OK : Fpargen.B_Cancel)->click();
        });
        section.B_Set_Com->click();
    }
};

const QByteArray Params417 =
    "<GenericParameter><baudmodbus>4</baudmodbus><parity>1</parity><id_dev>7</id_dev>"
    "</GenericParameter>";

TEST_F(PargenTest, ShowsTheFileAndWritesItBack) {
    writePargen("Plant", Params417);
    setCom("19200", "EVEN", 7, true);
    EXPECT_EQ(pargenValues("Plant"), (QStringList{"4", "1", "7"}));
    EXPECT_TRUE(prompts.shown.isEmpty());

    // A project without the file keeps the values shown last, and OK writes them there.
    makeCurrent("Bare");
    setCom("19200", "EVEN", 7, true);
    EXPECT_EQ(prompts.shown, QStringList{"not present parameters"});
    EXPECT_EQ(pargenValues("Bare"), (QStringList{"4", "1", "7"}));
}

TEST_F(PargenTest, OutOfListAndDamagedFilesAndCancel) {
    writePargen("Nine", "<G><a>9</a><b>2</b><c>300</c></G>");
    setCom("", "ODD", 255, true);
    EXPECT_EQ(pargenValues("Nine"), (QStringList{"-1", "2", "255"}));

    writePargen("Two", "<G><a>1</a><b>0</b></G>");
    setCom("2400", "NO PARITY", 255, false);
    EXPECT_EQ(prompts.shown,
              QStringList{"Error in reading file XML\npargen.xml: no DevID (id_dev)."});

    writePargen("Kept", Params417);
    whenShown(Fpargen, [this] {
        Fpargen.CB_Baudrate->setCurrentIndex(7);
        Fpargen.SE_DevID->setValue(99);
        Fpargen.B_Cancel->click();
    });
    section.B_Set_Com->click();
    QFile file(project("Kept") + "/pargen.xml");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Params417);
}

}  // namespace
