#pragma once

#include <QWidget>

class LinkSupervisor;
class QCheckBox;
class QLabel;
class QPushButton;
class TFComPort;
class TFDateTime;

// The Connect section (P_Connect): choosing the port and opening the link, reading and setting
// the logger's clock, closing the link, and the two start/stop options of the project.
class ConnectSection : public QWidget {
    Q_OBJECT
public:
    explicit ConnectSection(LinkSupervisor& link, QWidget* parent = nullptr);

    // The modal windows, created after the main window.
    void attachDialogs(TFComPort* portDialog, TFDateTime* clockDialog);

    QLabel* L_Title;
    QPushButton* B_SetComPort;
    QPushButton* B_ReadDateTime;
    QLabel* L_Con_Data;
    QPushButton* B_SetDateTime;
    QPushButton* B_ClosePort;
    QCheckBox* CB_Start_Stop;
    QCheckBox* CB_Cyclical_Mem;

private:
    void setCommunicationPort();
    void setDateTime();
    void saveOptions();

    LinkSupervisor& link_;
    TFComPort* FComPort_ = nullptr;
    TFDateTime* FDateTime_ = nullptr;
};
