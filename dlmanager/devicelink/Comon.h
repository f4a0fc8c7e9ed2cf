#pragma once

#include "devicelink/ModbusLibrary.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class Prompts;

// How the link has fared since it was opened, for a technician chasing a bad cable.
struct LinkCounters {
    enum class Failure { None, Transaction, NotInitialised, Busy };

    long long transfers = 0;
    long long failed = 0;
    long long reopens = 0;
    Failure lastFailure = Failure::None;
};

// Register access to the datalogger: every transfer of the program goes through ReadRegisters
// or WriteRegister, which count consecutive failures and reopen the port at the fifth.
class Comon : public QObject {
    Q_OBJECT
public:
    static constexpr int ReopenAtFailure = 5;

    // `comPortNumber` is asked at every open, so a port chosen later takes effect.
    Comon(const ModbusLibrary& library, Prompts& prompts, std::function<int()> comPortNumber);

    // Result codes of the library: 1 done, 0 failed transaction, 2 not initialised, 3 busy.
    uint8_t ReadRegisters(uint8_t node, uint16_t start, uint8_t count, uint16_t* buffer);
    uint8_t WriteRegister(uint8_t node, uint16_t reg, uint16_t value);

    // Initialises the library with the link's fixed settings; the result is also kept in
    // PortOpenResult. A successful open starts the counters afresh.
    uint8_t openPort();
    uint8_t closePort();

    const LinkCounters& counters() const { return counters_; }

    // Shared with the link supervision and the download, as the program's link variables.
    int ConsecutiveFailures = 0;
    bool CommAborted = false;
    uint8_t PortOpenResult = 0;

signals:
    // The automatic reopen failed; its message has been shown. Polling must stop and the link
    // lamp turn red.
    void reopenFailed();

private:
    void account(uint8_t result);

    ModbusLibrary library_;
    Prompts& prompts_;
    std::function<int()> comPortNumber_;
    LinkCounters counters_;
};

namespace ComonTexts {
inline const QString OpenPortFailed = QStringLiteral("Error open port for download data");
}
