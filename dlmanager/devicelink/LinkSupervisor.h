#pragma once

#include "devicelink/LinkState.h"
#include "projects/ProjectFiles.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

class Comon;
class Prompts;
struct ProgramSettings;

// The device link as the user sees it: opening and closing it, the status poll that judges it
// and shows the logger's clock and run state, RUN and STOP, reading the clock on request and
// the start/stop options of the Connect section. It holds no widgets; the windows show what
// its signals tell and call its actions.
//
// For the other parts of the program: ask linkState() (or isConnected()), send commands with
// SendLoggerCommand(), transfer through comon(), mark an erase with ErasePending (a tick that
// reads run or stop then clears it and emits eraseFinished()), and stop and start Timer_Com to
// suspend and resume the poll (the debug view does).
class LinkSupervisor : public QObject {
    Q_OBJECT
public:
    LinkSupervisor(Comon& comon, ProgramSettings& settings, Prompts& prompts,
                   QObject* parent = nullptr);

    LinkState linkState() const { return state_; }
    bool isConnected() const { return state_ == LinkState::Connected; }
    Comon& comon() { return comon_; }

    // Writes a LoggerCommand into CommandRegister; true when the write succeeded.
    bool SendLoggerCommand(uint16_t code);

    // Set by the erase action once the device took the command.
    bool ErasePending = false;
    // The status poll, every StatusPollInterval ms while the link is Connected or Connecting.
    QTimer Timer_Com;

    // "Set Communication Port": `askPort` shows the port dialog on the current port and gives
    // the chosen one, or nothing when cancelled; a chosen port is remembered and the link
    // opened.
    void setCommunicationPort(const std::function<std::optional<int>(int current)>& askPort);
    // Opens the link, re-arms it or refuses, by the colour of the link lamp.
    void openLink();
    // "Close Communication Port" and the device update: nothing when already Closed.
    void closeLink();
    // One tick of the status poll.
    void StatusPoll();
    // RUN and STOP; the result shows at the next tick.
    void run();
    void stop();
    // "Read Date Time": the clock into clockReadShown, or a message when not Connected.
    void readDateTime();
    // "Set Date Time": runs `showClockDialog` when Connected, else a message.
    void setDateTime(const std::function<void()>& showClockDialog);

    // The start/stop options of the open project's DipCmd.xml: loaded whenever the Connect
    // section is shown, saved whenever the user changes one.
    void loadStartStopOptions();
    void setStartStopOptions(const ProjectFiles::StartStopOptions& options);
    const ProjectFiles::StartStopOptions& startStopOptions() const { return options_; }

    LampColour linkLamp() const { return linkLamp_; }
    // The link lamp's tooltip: the state and the link's counts since it was opened.
    QString linkLampHint() const;
    bool runStopEnabled() const { return runStopEnabled_; }

signals:
    void linkStateChanged(LinkState state);
    void linkLampChanged(LampColour colour);
    // The run-state lamp, its hint and the run-state text.
    void runStateShown(LampColour lamp, const QString& hint, const QString& text);
    // The logger's date and time for the status bar (L_Data).
    void deviceClockShown(const QString& text);
    // The answer of "Read Date Time" (L_Con_Data); empty when there was none.
    void clockReadShown(const QString& text);
    void runStopEnabledChanged(bool enabled);
    // The link is closed or lost: the shown section disables its device buttons.
    void linkIdle();
    // A tick saw the device leave the erase while ErasePending was set.
    void eraseFinished();
    void startStopOptionsChanged(const ProjectFiles::StartStopOptions& options);

private:
    void setState(LinkState state);
    void paintLinkLamp(LampColour colour);
    void enableRunStop(bool enabled);
    void showRunState(uint16_t status);
    void applyIdlePresentation();
    void armLink();
    void onReopenFailed();

    Comon& comon_;
    ProgramSettings& settings_;
    Prompts& prompts_;
    LinkState state_ = LinkState::Closed;
    LampColour linkLamp_ = LampColour::Red;
    bool runStopEnabled_ = false;
    ProjectFiles::StartStopOptions options_;
};

namespace LinkTexts {
inline const QString DisconnectFirst = QStringLiteral("Sconnect the port before");
inline const QString ConnectFirst = QStringLiteral("Connect DataLogger device before");
}  // namespace LinkTexts
