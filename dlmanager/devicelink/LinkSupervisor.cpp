#include "devicelink/LinkSupervisor.h"

#include "base/LocaleText.h"
#include "base/ProgramSettings.h"
#include "base/Prompts.h"
#include "devicelink/Comon.h"
#include "devicelink/LoggerClock.h"
#include "devicelink/RegisterMap.h"

namespace {

// More consecutive failures than this and the link is lost.
constexpr int LostAfterFailures = 8;

struct RunStateLook {
    LampColour lamp;
    const char* hint;
    const char* text;
};

std::optional<RunStateLook> lookOf(uint16_t status) {
    switch (status) {
        case RegisterMap::StatusRun:
            return RunStateLook{LampColour::Green, "Datalogger is in Run", "RUN"};
        case RegisterMap::StatusStop:
            return RunStateLook{LampColour::Red, "Datalogger is in Stop", "STOP"};
        case RegisterMap::StatusErasing:
            return RunStateLook{LampColour::Yellow, "Datalogger is in Erase Memory",
                                "Erase Memory"};
        default:
            return std::nullopt;
    }
}

LampColour lampOf(LinkState state) {
    switch (state) {
        case LinkState::Closed:
            return LampColour::Red;
        case LinkState::Connected:
            return LampColour::Green;
        case LinkState::Lost:
        case LinkState::Connecting:
            break;
    }
    return LampColour::Yellow;
}

QString stateText(LinkState state) {
    switch (state) {
        case LinkState::Closed:
            return QStringLiteral("Link closed");
        case LinkState::Lost:
            return QStringLiteral("Link lost");
        case LinkState::Connected:
            return QStringLiteral("Link connected");
        case LinkState::Connecting:
            break;
    }
    return QStringLiteral("Connecting");
}

}  // namespace

LinkSupervisor::LinkSupervisor(Comon& comon, ProgramSettings& settings, Prompts& prompts,
                               QObject* parent)
    : QObject(parent), comon_(comon), settings_(settings), prompts_(prompts) {
    Timer_Com.setInterval(Link::StatusPollInterval);
    // A tick that comes inside another transfer's wait runs once that transfer has returned.
    connect(&Timer_Com, &QTimer::timeout, this,
            [this] { comon_.whenIdle([this] { StatusPoll(); }); });
    connect(&comon_, &Comon::reopenFailed, this, &LinkSupervisor::onReopenFailed);
}

bool LinkSupervisor::SendLoggerCommand(uint16_t code) {
    return comon_.WriteRegister(RegisterMap::LoggerNode, RegisterMap::CommandRegister, code) == 1;
}

void LinkSupervisor::setCommunicationPort(
    const std::function<std::optional<int>(int current)>& askPort) {
    settings_.ComPortNumber = Settings::validComPort(settings_.ComPortNumber);
    const std::optional<int> chosen = askPort(settings_.ComPortNumber);
    if (!chosen) {
        return;
    }
    settings_.ComPortNumber = *chosen;
    QString reason;
    if (!Settings::writeComPort(settings_, &reason)) {
        prompts_.warn(Settings::settingsWriteFailureText(settings_, reason));
    }
    openLink();
}

void LinkSupervisor::openLink() {
    switch (linkLamp_) {
        case LampColour::Green:
            prompts_.inform(LinkTexts::DisconnectFirst);
            return;
        case LampColour::Yellow:
            // Re-armed without touching the port; the timer brings the first tick. A reopen
            // that failed has closed the port, though: re-armed, the link would only fail on
            // until the fifth failure reopened it, so it is opened now.
            if (comon_.openPortNumber()) {
                armLink();
                Timer_Com.start();
                return;
            }
            break;
        default:
            break;
    }
    if (comon_.openPort() != 1) {
        reportOpenFailure(prompts_, settings_.ComPortNumber);
        comon_.CommAborted = true;
        Timer_Com.stop();
        paintLinkLamp(LampColour::Red);
        return;
    }
    armLink();
    StatusPoll();
    Timer_Com.start();
}

void LinkSupervisor::armLink() {
    comon_.ConsecutiveFailures = 0;
    setState(LinkState::Connecting);
    enableRunStop(true);
    comon_.CommAborted = false;
    paintLinkLamp(LampColour::Yellow);
}

void LinkSupervisor::closeLink() {
    if (state_ == LinkState::Closed) {
        return;
    }
    Timer_Com.stop();
    comon_.closePort();
    paintLinkLamp(LampColour::Red);
    setState(LinkState::Closed);
    applyIdlePresentation();
}

void LinkSupervisor::StatusPoll() {
    Timer_Com.stop();
    if (state_ == LinkState::Closed || state_ == LinkState::Lost) {
        applyIdlePresentation();
        return;
    }
    if (const auto clock = LoggerClock::read(comon_).dateTime) {
        emit deviceClockShown(LocaleText::dateTime(*clock));
    }
    uint16_t status = 0;
    if (comon_.ReadRegisters(RegisterMap::LoggerNode, RegisterMap::StatusRegister, 1, &status) ==
        1) {
        showRunState(status);
        if (ErasePending &&
            (status == RegisterMap::StatusRun || status == RegisterMap::StatusStop)) {
            ErasePending = false;
            emit eraseFinished();
        }
    }
    // A close inside one of the transfers above has the last word.
    if (state_ == LinkState::Connecting && comon_.ConsecutiveFailures == 0) {
        setState(LinkState::Connected);
    } else if ((state_ == LinkState::Connecting || state_ == LinkState::Connected) &&
               comon_.ConsecutiveFailures > LostAfterFailures) {
        setState(LinkState::Lost);
    }
    paintLinkLamp(lampOf(state_));
    if (state_ != LinkState::Closed) {
        Timer_Com.start();
    }
}

void LinkSupervisor::run() {
    SendLoggerCommand(RegisterMap::RunCommand);
}

void LinkSupervisor::stop() {
    SendLoggerCommand(RegisterMap::StopCommand);
}

void LinkSupervisor::readDateTime() {
    if (!isConnected()) {
        prompts_.inform(LinkTexts::ConnectFirst);
        return;
    }
    const auto clock = LoggerClock::read(comon_).dateTime;
    emit clockReadShown(clock ? LocaleText::dateTime(*clock) : QString());
}

void LinkSupervisor::setDateTime(const std::function<void()>& showClockDialog) {
    if (!isConnected()) {
        prompts_.inform(LinkTexts::ConnectFirst);
        return;
    }
    showClockDialog();
}

void LinkSupervisor::loadStartStopOptions() {
    const auto stored = ProjectFiles::loadStartStopOptions(settings_.ProjectFolder);
    if (!stored) {
        options_ = {};
        ProjectFiles::saveStartStopOptions(settings_.ProjectFolder, options_);
    } else {
        // What the file does not tell stays as shown.
        options_.startStopWithDipSwitch =
            stored->startStopWithDipSwitch.value_or(options_.startStopWithDipSwitch);
        options_.cyclicalMemory = stored->cyclicalMemory.value_or(options_.cyclicalMemory);
    }
    emit startStopOptionsChanged(options_);
}

void LinkSupervisor::setStartStopOptions(const ProjectFiles::StartStopOptions& options) {
    options_ = options;
    ProjectFiles::saveStartStopOptions(settings_.ProjectFolder, options_);
}

QString LinkSupervisor::linkLampHint() const {
    if (!comon_.openPortNumber() && comon_.counters().transfers == 0) {
        return stateText(state_);
    }
    return stateText(state_) + QStringLiteral("\nSince the link was opened: ") +
           linkCountersText(comon_.counters());
}

void LinkSupervisor::setState(LinkState state) {
    if (state != state_) {
        state_ = state;
        emit linkStateChanged(state_);
    }
}

void LinkSupervisor::paintLinkLamp(LampColour colour) {
    if (colour != linkLamp_) {
        linkLamp_ = colour;
        emit linkLampChanged(linkLamp_);
    }
}

void LinkSupervisor::enableRunStop(bool enabled) {
    runStopEnabled_ = enabled;
    emit runStopEnabledChanged(enabled);
}

void LinkSupervisor::showRunState(uint16_t status) {
    if (const auto look = lookOf(status)) {
        emit runStateShown(look->lamp, QString::fromLatin1(look->hint),
                           QString::fromLatin1(look->text));
    }
}

void LinkSupervisor::applyIdlePresentation() {
    emit runStateShown(LampColour::White, QString(), QString());
    enableRunStop(false);
    emit linkIdle();
}

void LinkSupervisor::onReopenFailed() {
    // The library holds no port any more: the link is closed, whatever the poll saw of it, and
    // nothing may go on showing it alive.
    Timer_Com.stop();
    paintLinkLamp(LampColour::Red);
    setState(LinkState::Closed);
    applyIdlePresentation();
}
