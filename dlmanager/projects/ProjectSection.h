#pragma once

#include "firmware/BankImages.h"
#include "projects/Comandi.h"
#include "projects/CommandTable.h"
#include "projects/ProjectReadBack.h"
#include "widgets/DataGrid.h"

#include <QWidget>
#include <functional>

class LinkSupervisor;
class Prompts;
class QLabel;
class QPushButton;
class TFpargen;
class TFsaveproj;
struct ProgramSettings;

// The Edit Project section (P_Project): creating, opening and copying projects, the
// communication settings, the command list editor (SgA1 and its Save row), reading a project
// back from the logger and the first steps of a device update.
class ProjectSection : public QWidget, private ReadBack::View {
    Q_OBJECT
public:
    enum class EditorMode { None, CommandList };

    ProjectSection(ProgramSettings& settings, CommandList& commands, Prompts& prompts,
                   LinkSupervisor& link, QWidget* parent = nullptr);

    // The dialogs the section opens; created once by the program and reused.
    void attachDialogs(TFsaveproj* saveproj, TFpargen* pargen);

    CommandTable& table() { return table_; }
    const BankImages& banks() const { return banks_; }

    // "Download Project" is enabled when the section is shown with the link Connected, and
    // disabled when the link is closed or lost.
    void enableDeviceButtons(bool connected);

    // Runs the command-table read in the waiting window's second mode; true when the window
    // ends with OK. Unbound, the read runs in place, letting the interface breathe between
    // entries, without Abort.
    using WaitingRead = std::function<bool(WaitingWork&)>;
    std::function<bool(const WaitingRead& read)> runInWaitingWindow;
    EditorMode editorMode() const { return mode_; }

    // The command list editor holds edits not yet saved.
    bool hasUnsavedEdits() const { return edited_; }
    // Asked before the editor is left (another section, another project, the window closing):
    // with unsaved edits the user saves them, drops them or stays. True when the editor may be
    // left; a save that fails its check keeps it.
    bool mayLeave();

    // Controls, named as the rest of the program refers to them.
    QPushButton* B_New_Project;
    QPushButton* B_Open_Project;
    QPushButton* B_Save_As;
    QPushButton* B_Download_Project;
    QPushButton* B_Update_Device;
    QPushButton* B_Set_Com;
    QPushButton* B_Command_List;
    DataGrid* SgA1;
    QWidget* P_Save;
    QPushButton* B_Save;
    QLabel* L_Saved;  // beside Save: the last save, until the next edit

signals:
    // A project operation has run: the window title names ProjectName again.
    void projectOperationDone();
    // The command list was replaced (another project, a saved edit, a read-back).
    void commandListChanged();
    // "Update Device" has closed the link and written the bank files: the update wizard opens.
    void firmwareWizardRequested();

private:
    void newProject();
    void openProject();
    void saveAs();
    void setCom();
    void commandList();
    void save();
    void updateDevice();
    void downloadProject();
    bool readCommandTableWaiting() override;
    void showCommandEditor() override;
    void hideEditor();
    void showEditor();
    // mayLeave, then the editor is hidden; false when the user stays.
    bool leaveEditor();
    void tableEdited();
    void tableRefilled();
    bool projectSelected();
    QWidget* buildButtonRows();
    QWidget* buildEditor();

    ProgramSettings& settings_;
    CommandList& commands_;
    Prompts& prompts_;
    LinkSupervisor& link_;
    CommandTable table_;
    BankImages banks_;
    EditorMode mode_ = EditorMode::None;
    bool readingBack_ = false;
    bool edited_ = false;
    TFsaveproj* Fsaveproj_ = nullptr;
    TFpargen* Fpargen_ = nullptr;
};
