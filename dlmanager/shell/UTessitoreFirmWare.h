#pragma once

#include "shell/QtPrompts.h"
#include "shell/StartUp.h"

#include <QMainWindow>
#include <QTimer>

class ClickableLabel;
class Lamp;
class QLabel;
class QPushButton;
class QStackedWidget;
class TFAbout;

// The main window. Its creation step sets the folders, reads the settings and reopens the last
// project before any other window exists; closing it writes the last project back.
class TFTessitoreFirmWare : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int StatusPollInterval = 6000;

    // Messages go through `prompts` when given (tests), else through the toolkit's boxes.
    explicit TFTessitoreFirmWare(const QString& programFolder, Prompts* prompts = nullptr);

    // The windows created after this one; shown modally from here.
    void attachAbout(TFAbout* about) { FAbout_ = about; }

    ProgramSettings& settings() { return state_.settings; }
    CommandList& commandList() { return state_.commands; }
    Prompts& prompts() { return *prompts_; }

    // The title rule for the current ProjectName, for the project operations: the caption,
    // " :" and the name (empty too).
    void applyTitleRule();
    // Closes as a signal from outside asks: no window may then wait for an answer.
    void closeOnSignal();

    // Controls, named as the rest of the program refers to them.
    ClickableLabel* L_VTL;
    QPushButton* B_Connect;
    QPushButton* B_Edit_Project;
    QPushButton* B_Download_Data;
    QStackedWidget* P_Content;
    Lamp* Stato_Com;
    QLabel* L_Data;
    Lamp* S_Stato_DL;
    QLabel* L_Stato;
    QPushButton* B_RUN;
    QPushButton* B_STOP;
    QTimer Timer_Com;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildLeftColumn();
    QWidget* buildStatusBar();

    StartUpState state_;
    QtPrompts toolkitPrompts_;
    Prompts* prompts_;
    TFAbout* FAbout_ = nullptr;
    bool closingOnSignal_ = false;
};
