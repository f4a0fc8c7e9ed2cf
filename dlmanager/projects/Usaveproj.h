#pragma once

#include <QDialog>
#include <functional>

class Prompts;
class QLineEdit;
class QPushButton;
struct ProgramSettings;

// The new-project dialog (NewProjectDialog): asks for a name and makes the project folder below
// a base folder. Confirmed, the folder exists and ProjectName and ProjectFolder name it.
class TFsaveproj : public QDialog {
    Q_OBJECT
public:
    TFsaveproj(ProgramSettings& settings, Prompts& prompts, QWidget* parent = nullptr);

    // Shows the dialog for a new folder below `baseFolder`; QDialog::Accepted when confirmed.
    int execFor(const QString& baseFolder);

    // Run for a confirmed folder of the firmware variant that keeps the communication settings
    // with the project: the settings dialog's confirm into the new folder.
    std::function<void(const QString& folder)> saveCommunicationSettingsInto;

    QLineEdit* E_Name;
    QPushButton* B_OK;
    QPushButton* B_Cancel;

private:
    void confirm();

    ProgramSettings& settings_;
    Prompts& prompts_;
    QString baseFolder_;
};
