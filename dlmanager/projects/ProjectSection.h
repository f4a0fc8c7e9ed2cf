#pragma once

#include "firmware/BankImages.h"
#include "projects/Comandi.h"
#include "projects/CommandTable.h"

#include <QWidget>
#include <functional>

class Prompts;
class QPushButton;
class QTableView;
class TFpargen;
class TFsaveproj;
struct ProgramSettings;

// The Edit Project section (P_Project): creating, opening and copying projects, the
// communication settings, the command list editor (SgA1 and its Save row), reading a project
// back from the logger and the first steps of a device update.
class ProjectSection : public QWidget {
    Q_OBJECT
public:
    enum class EditorMode { None, CommandList };

    ProjectSection(ProgramSettings& settings, CommandList& commands, Prompts& prompts,
                   QWidget* parent = nullptr);

    // The dialogs the section opens; created once by the program and reused.
    void attachDialogs(TFsaveproj* saveproj, TFpargen* pargen);

    CommandTable& table() { return table_; }
    const BankImages& banks() const { return banks_; }

    // Bound by the main window: closes the device link, the first step of "Update Device".
    std::function<void()> closeLink;
    EditorMode editorMode() const { return mode_; }

    // Controls, named as the rest of the program refers to them.
    QPushButton* B_New_Project;
    QPushButton* B_Open_Project;
    QPushButton* B_Save_As;
    QPushButton* B_Download_Project;
    QPushButton* B_Update_Device;
    QPushButton* B_Set_Com;
    QPushButton* B_Command_List;
    QTableView* SgA1;
    QWidget* P_Save;
    QPushButton* B_Save;

signals:
    // A project operation has run: the window title names ProjectName again.
    void projectOperationDone();
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
    void hideEditor();
    void showEditor();
    bool projectSelected();
    QWidget* buildButtonRows();
    QWidget* buildEditor();

    ProgramSettings& settings_;
    CommandList& commands_;
    Prompts& prompts_;
    CommandTable table_;
    BankImages banks_;
    EditorMode mode_ = EditorMode::None;
    TFsaveproj* Fsaveproj_ = nullptr;
    TFpargen* Fpargen_ = nullptr;
};
