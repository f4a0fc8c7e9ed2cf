#include "devicelink/Comon.h"

#include "devicelink/RegisterMap.h"
#include "shell/Prompts.h"

Comon::Comon(const ModbusLibrary& library, Prompts& prompts, std::function<int()> comPortNumber)
    : library_(library), prompts_(prompts), comPortNumber_(std::move(comPortNumber)) {}

uint8_t Comon::ReadRegisters(uint8_t node, uint16_t start, uint8_t count, uint16_t* buffer) {
    const uint8_t result = library_.ModbusRead(node, 3, start, count, buffer);
    account(result);
    return result;
}

uint8_t Comon::WriteRegister(uint8_t node, uint16_t reg, uint16_t value) {
    uint16_t buffer[1] = {value};
    const uint8_t result = library_.ModbusWrite(node, 3, reg, 1, buffer);
    account(result);
    return result;
}

uint8_t Comon::openPort() {
    PortOpenResult = library_.Modbusinitialize(static_cast<uint8_t>(comPortNumber_()),
                                               Link::BaudRate, Link::ParityCode, Link::DataBits,
                                               Link::StopBitsCode, Link::TimeoutMs);
    if (PortOpenResult == 1) {
        counters_ = {};
    }
    return PortOpenResult;
}

uint8_t Comon::closePort() {
    return library_.Modbusdeinitialize();
}

void Comon::account(uint8_t result) {
    ++counters_.transfers;
    if (result == 1) {
        ConsecutiveFailures = 0;
        return;
    }
    ++counters_.failed;
    counters_.lastFailure = result == 2   ? LinkCounters::Failure::NotInitialised
                            : result == 3 ? LinkCounters::Failure::Busy
                                          : LinkCounters::Failure::Transaction;
    // Counted once per run of failures: the sixth and later only count on.
    if (++ConsecutiveFailures != ReopenAtFailure) {
        return;
    }
    ++counters_.reopens;
    library_.Modbusdeinitialize();
    const LinkCounters kept = counters_;
    if (openPort() != 1) {
        prompts_.inform(ComonTexts::OpenPortFailed);
        CommAborted = true;
        emit reopenFailed();
    }
    counters_ = kept;  // a reopen continues the link's story
}
