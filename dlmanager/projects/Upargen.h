#pragma once

#include "projects/CommSettings.h"

#include <QDialog>

class Prompts;
class QComboBox;
class QGroupBox;
class QPushButton;
class QSpinBox;

// "SET COMUNICATION": the datalogger's RS-485 parameters of the project, pargen.xml. Created
// once; its fields keep their values from one opening to the next unless the file gives new
// ones.
class TFpargen : public QDialog {
    Q_OBJECT
public:
    explicit TFpargen(Prompts& prompts, QWidget* parent = nullptr);

    // Loads pargen.xml of the folder into the fields and shows the dialog; "OK" writes it.
    int execFor(const QString& projectFolder);
    // The "OK" action: writes the fields as they are into the folder; true when written.
    bool confirmInto(const QString& projectFolder);

    CommFields fields() const;

    QGroupBox* G_Serial;
    QComboBox* CB_Baudrate;
    QComboBox* CB_Parity;
    QSpinBox* SE_DevID;
    QPushButton* B_OK;
    QPushButton* B_Cancel;

private:
    void showFields(const CommFields& fields);

    Prompts& prompts_;
    QString projectFolder_;
};
