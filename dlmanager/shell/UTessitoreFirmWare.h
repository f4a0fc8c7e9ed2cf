#pragma once

#include "devicelink/Comon.h"
#include "devicelink/LinkSupervisor.h"
#include "devicelink/ModbusLibrary.h"
#include "shell/StartUp.h"
#include "widgets/QtPrompts.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class ClickableLabel;
class ConnectSection;
class DownloadDataSection;
class SupervisedDataLink;
class LinkStatusBar;
class ProjectSection;
class SectionTile;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class TFAbout;
class TFComPort;
class TFDateTime;
class TFModifyFileSx;
class TFpargen;
class TFSelectCmd;
class TFsaveproj;
class TFWaiting;
class TF_Erase_Mem;

// The main window. Its creation step sets the folders, reads the settings and reopens the last
// project before any other window exists; closing it writes the last project back. It owns the
// program's state (settings, command list, the device link) and shows one section at a time.
class TFTessitoreFirmWare : public QMainWindow {
    Q_OBJECT
public:
    enum class Section { Connect, EditProject, DownloadData };

    // Messages go through `prompts` when given (tests), else through the toolkit's boxes; the
    // device is reached through `library` (tests bind a fake device).
    explicit TFTessitoreFirmWare(const ProgramPlaces& places, Prompts* prompts = nullptr,
                                 const ModbusLibrary& library = boundModbusLibrary());
    ~TFTessitoreFirmWare() override;

    // The windows created after this one; shown modally from here.
    void attachAbout(TFAbout* about) { FAbout_ = about; }
    void attachLinkDialogs(TFComPort* portDialog, TFDateTime* clockDialog);
    void attachProjectDialogs(TFsaveproj* newProjectDialog, TFpargen* settingsDialog);
    // "Update Device" ends in the wizard, shown with the settings of that moment.
    void attachFirmwareWizard(TFModifyFileSx* wizard);
    // The waiting window serves the read-back of Edit Project and the download of Download Data.
    void attachLoggedDataWindows(TFWaiting* waiting, TFSelectCmd* selectCmd,
                                 TF_Erase_Mem* eraseWindow);

    ProgramSettings& settings() { return state_.settings; }
    CommandList& commandList() { return state_.commands; }
    Prompts& prompts() { return *prompts_; }
    Comon& comon() { return comon_; }
    LinkSupervisor& link() { return link_; }

    // The title rule for the current ProjectName, for the project operations: the caption,
    // " :" and the name (empty too).
    void applyTitleRule();
    // Closes as a signal from outside asks: no window may then wait for an answer.
    void closeOnSignal();

    // A section's panel joins the content area. `prepare` is the section's own step of the
    // section action, run each time before it is shown (for example enabling its device buttons
    // by the link state); `linkIdle` runs when the link is closed or lost while it is shown.
    void addSection(Section section, QWidget* panel, std::function<void()> prepare,
                    std::function<void()> linkIdle = {});
    // The section action of the three section buttons. Edit Project is left only when its
    // command list editor lets it (unsaved edits are saved, dropped or kept); so is the window
    // closed, except on a signal.
    void showSection(Section section);
    std::optional<Section> shownSection() const { return shown_; }

    // Controls, named as the rest of the program refers to them.
    ClickableLabel* L_VTL;
    SectionTile* Tile_Connect;
    SectionTile* Tile_Edit_Project;
    SectionTile* Tile_Download_Data;
    QPushButton* B_Connect;
    QPushButton* B_Edit_Project;
    QPushButton* B_Download_Data;
    QStackedWidget* P_Content;
    ConnectSection* P_Connect;
    ProjectSection* P_Project;
    DownloadDataSection* PBC_ManDati;
    LinkStatusBar* P_Status;

signals:
    // The first step of the section action: the debug view is left here.
    void sectionActionStarted();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SectionEntry {
        QWidget* panel;
        std::function<void()> prepare;
        std::function<void()> linkIdle;
    };

    QWidget* buildLeftColumn();
    void placeOnScreen();
    void fitLeftColumn();
    void addDownloadDataSection();
    void applyLinkIdleToShownSection();

    StartUpState state_;
    QtPrompts toolkitPrompts_;
    Prompts* prompts_;
    Comon comon_;
    LinkSupervisor link_;
    std::unique_ptr<SupervisedDataLink> dataLink_;
    QScrollArea* leftColumnArea_ = nullptr;
    std::map<Section, SectionEntry> sections_;
    std::optional<Section> shown_;
    TFAbout* FAbout_ = nullptr;
    TFModifyFileSx* FModifyFileSx_ = nullptr;
    bool closingOnSignal_ = false;
};
