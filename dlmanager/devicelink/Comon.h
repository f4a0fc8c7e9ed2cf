#pragma once

#include "devicelink/ModbusLibrary.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

class Prompts;

// How the link has fared since it was opened, for a technician chasing a bad cable.
struct LinkCounters {
    enum class Failure {
        None,
        NoAnswer,
        BadCrc,
        Exception,    // the device refused the request
        BadAnswer,    // an answer that does not fit the request
        Transaction,  // failed, the library did not say how
        NotInitialised,
    };

    long long transfers = 0;
    long long failed = 0;
    long long reopens = 0;
    Failure lastFailure = Failure::None;
};

// "120 transfers, 3 failed, 1 reopen; last failure: no answer".
QString linkCountersText(const LinkCounters& counters);

// Register access to the datalogger: every transfer of the program goes through ReadRegisters
// or WriteRegister, which count consecutive failures and reopen the port at the fifth.
class Comon : public QObject {
    Q_OBJECT
public:
    static constexpr int ReopenAtFailure = 5;

    // `comPortNumber` is asked at every open by the user, so a port chosen later takes effect
    // there; the reopen keeps the port the link was opened on.
    Comon(const ModbusLibrary& library, Prompts& prompts, std::function<int()> comPortNumber);

    // Result codes of the library: 1 done, 0 failed transaction, 2 not initialised, 3 busy.
    // A busy refusal (a transfer started inside another one's wait) says nothing about the
    // device and is not counted as a failure.
    uint8_t ReadRegisters(uint8_t node, uint16_t start, uint8_t count, uint16_t* buffer);
    uint8_t WriteRegister(uint8_t node, uint16_t reg, uint16_t value);

    // The library lets the program's events run while a transfer waits, so a click or a timer
    // can land inside that wait, where its own transfers would be refused as busy. Work on the
    // link therefore goes through here: it runs at once when no transfer of ours waits, and
    // otherwise from the event loop as soon as the waiting transfer has returned.
    void whenIdle(std::function<void()> work);
    bool transferInFlight() const { return transfersInFlight_ > 0; }

    // Initialises the library with the link's fixed settings; the result is also kept in
    // PortOpenResult. A successful open starts the counters afresh.
    uint8_t openPort();
    uint8_t closePort();
    // The port the library holds for us, if it does.
    std::optional<int> openPortNumber() const { return openPort_; }

    const LinkCounters& counters() const { return counters_; }

    // Shared with the link supervision and the download, as the program's link variables.
    int ConsecutiveFailures = 0;
    bool CommAborted = false;
    uint8_t PortOpenResult = 0;

signals:
    // The automatic reopen failed (its message follows): the library holds no port, polling
    // must stop and the link show itself closed.
    void reopenFailed();

private:
    template <typename Transfer>
    uint8_t transfer(Transfer run);
    void runHeldWork();
    uint8_t open(int port);
    void account(uint8_t result, int error);
    void reopen();

    ModbusLibrary library_;
    Prompts& prompts_;
    std::function<int()> comPortNumber_;
    std::optional<int> openPort_;
    int linkPort_ = 0;  // the port of the last open by the user
    LinkCounters counters_;
    int transfersInFlight_ = 0;
    std::deque<std::function<void()>> heldWork_;
};

// A slot for a control whose action uses the link: the action runs through Comon::whenIdle.
template <typename Action>
auto whenLinkIdle(Comon& comon, Action action) {
    return [&comon, action] { comon.whenIdle(action); };
}

namespace ComonTexts {
inline const QString OpenPortFailed = QStringLiteral("Error open port for download data");
}

// The message for a port that could not be opened, with the system's reason and its fix as
// the detail where it tells one.
void reportOpenFailure(Prompts& prompts, int comPortNumber);
