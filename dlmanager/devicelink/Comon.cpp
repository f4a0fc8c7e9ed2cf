#include "devicelink/Comon.h"

#include "base/Prompts.h"
#include "devicelink/PortDevices.h"
#include "devicelink/RegisterMap.h"

#include <QTimer>
#include <cerrno>

namespace {

using Failure = LinkCounters::Failure;

// The library tells the kind of a failed transaction through errno.
Failure failureOf(uint8_t result, int error) {
    switch (result) {
        case 2:
            return Failure::NotInitialised;
        default:
            break;
    }
    switch (error) {
        case ETIMEDOUT:
            return Failure::NoAnswer;
        case EBADMSG:
            return Failure::BadCrc;
        case EREMOTEIO:
            return Failure::Exception;
        case EPROTO:
            return Failure::BadAnswer;
        default:
            return Failure::Transaction;
    }
}

QString failureText(Failure failure) {
    switch (failure) {
        case Failure::None:
            return QStringLiteral("none");
        case Failure::NoAnswer:
            return QStringLiteral("no answer");
        case Failure::BadCrc:
            return QStringLiteral("bad CRC");
        case Failure::Exception:
            return QStringLiteral("exception from the device");
        case Failure::BadAnswer:
            return QStringLiteral("answer does not fit the request");
        case Failure::Transaction:
            return QStringLiteral("failed transaction");
        case Failure::NotInitialised:
            return QStringLiteral("port not open");
    }
    return {};
}

}  // namespace

QString linkCountersText(const LinkCounters& counters) {
    return QStringLiteral("%1 transfers, %2 failed, %3 reopened; last failure: %4")
        .arg(counters.transfers)
        .arg(counters.failed)
        .arg(counters.reopens)
        .arg(failureText(counters.lastFailure));
}

void reportOpenFailure(Prompts& prompts, int comPortNumber) {
    const QString detail = PortDevices::failureDetail(PortDevices::probe(comPortNumber));
    if (detail.isEmpty()) {
        prompts.warn(ComonTexts::OpenPortFailed);
    } else {
        prompts.warnWithDetail(ComonTexts::OpenPortFailed, detail);
    }
}

Comon::Comon(const ModbusLibrary& library, Prompts& prompts, std::function<int()> comPortNumber)
    : library_(library), prompts_(prompts), comPortNumber_(std::move(comPortNumber)) {}

template <typename Transfer>
uint8_t Comon::transfer(Transfer run) {
    ++transfersInFlight_;
    errno = 0;
    const uint8_t result = run();
    const int error = errno;
    --transfersInFlight_;
    account(result, error);
    if (!transferInFlight() && !heldWork_.empty()) {
        QTimer::singleShot(0, this, &Comon::runHeldWork);
    }
    return result;
}

uint8_t Comon::ReadRegisters(uint8_t node, uint16_t start, uint8_t count, uint16_t* buffer) {
    return transfer([&] { return library_.ModbusRead(node, 3, start, count, buffer); });
}

uint8_t Comon::WriteRegister(uint8_t node, uint16_t reg, uint16_t value) {
    uint16_t buffer[1] = {value};
    return transfer([&] { return library_.ModbusWrite(node, 3, reg, 1, buffer); });
}

void Comon::whenIdle(std::function<void()> work) {
    if (!transferInFlight()) {
        work();
        return;
    }
    heldWork_.push_back(std::move(work));
}

void Comon::runHeldWork() {
    // A held piece of work may wait in a transfer or a modal window of its own; whatever is
    // still held then runs from there, after that transfer.
    while (!heldWork_.empty() && !transferInFlight()) {
        const std::function<void()> work = std::move(heldWork_.front());
        heldWork_.pop_front();
        work();
    }
}

uint8_t Comon::openPort() {
    linkPort_ = comPortNumber_();
    if (open(linkPort_) == 1) {
        counters_ = {};
    }
    return PortOpenResult;
}

uint8_t Comon::closePort() {
    openPort_.reset();
    return library_.Modbusdeinitialize();
}

uint8_t Comon::open(int port) {
    PortOpenResult =
        library_.Modbusinitialize(static_cast<uint8_t>(port), Link::BaudRate, Link::ParityCode,
                                  Link::DataBits, Link::StopBitsCode, Link::TimeoutMs);
    if (PortOpenResult == 1) {
        openPort_ = port;
    }
    return PortOpenResult;
}

void Comon::account(uint8_t result, int error) {
    if (result == 3) {
        return;
    }
    ++counters_.transfers;
    if (result == 1) {
        ConsecutiveFailures = 0;
        return;
    }
    ++counters_.failed;
    counters_.lastFailure = failureOf(result, error);
    // Counted once per run of failures: the sixth and later only count on.
    if (++ConsecutiveFailures == ReopenAtFailure) {
        reopen();
    }
}

void Comon::reopen() {
    ++counters_.reopens;
    closePort();
    if (open(linkPort_) != 1) {
        // The link shows itself closed before the message asks for the user's attention.
        CommAborted = true;
        emit reopenFailed();
        reportOpenFailure(prompts_, linkPort_);
    }
}
