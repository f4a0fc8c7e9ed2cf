#pragma once

#include "firmware/FirmwareUpdate.h"
#include "widgets/QtPrompts.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
struct ProgramSettings;

// The firmware update wizard: four pages of instructions that bring the datalogger into its
// boot mode, then the merge of the project's banks and the start of the flash programmer.
class TFModifyFileSx : public QDialog {
    Q_OBJECT
public:
    // Messages go through `prompts` when given (tests), else through the toolkit's boxes.
    explicit TFModifyFileSx(QWidget* parent = nullptr, Prompts* prompts = nullptr);

    // "Update Device": opens on page 0 with the current project and port, and returns when the
    // user closes the window.
    void showModal(const ProgramSettings& settings);
    // The opening steps alone: page 0, buttons, port box, progress and the update's state.
    void prepare(const ProgramSettings& settings);

    const UpdateWizardPages& pages() const { return pages_; }
    const FirmwareUpdate& update() const { return update_; }

    QLabel* L_NameFirmware;
    QLineEdit* E_NameFirmware;
    QLabel* Image_Step;
    QLabel* L_Step;
    QLabel* L_Com;
    QPushButton* B_Previous;
    QPushButton* B_Next;
    QPushButton* B_Execute;
    QProgressBar* ProgressBar1;

private:
    void fitPictureToScreen();
    void showPage();
    void execute();

    QtPrompts toolkitPrompts_;
    Prompts* prompts_;
    UpdateWizardPages pages_;
    FirmwareUpdate update_;
};
