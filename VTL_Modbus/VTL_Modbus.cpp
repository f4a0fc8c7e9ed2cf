#include "VTL_Modbus.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <cerrno>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CommInt.h"
#include "LinkSettings.h"
#include "UThreadCom.h"

namespace {

constexpr uint8_t NotInitialised = 0xFF;
constexpr uint8_t Initialised = 1;

uint8_t LibraryState = NotInitialised;
uint8_t TransactionBusy = 0;
// Declared in this order so that, should the host exit without deinitialising, the engine
// thread is stopped before the port it uses goes away.
std::unique_ptr<TComm> Port;
std::unique_ptr<TComModbus> Engine;

// A port and engine that a host handler deinitialised inside a waiting call. The port is closed
// at once, so the device can be opened anew, but the waiting transaction still polls the engine
// and the engine thread still holds the port: both live until the wait is over.
struct RetiredLink {
    std::unique_ptr<TComm> port;
    std::unique_ptr<TComModbus> engine;  // after the port, so its thread is joined first
};
std::vector<RetiredLink> Retired;

void ReleasePortAndEngine() {
    if (Port) {
        Port->Close();
        Port.reset();
    }
    if (Engine) {
        Engine->Terminate();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        Engine.reset();
    }
}

// The closed port ends the engine's transaction at its next step, so the waiting call returns.
// Room is made first: once moved out, the pair must not be lost to a failed allocation.
void RetirePortAndEngine() {
    Retired.emplace_back();
    Port->Close();
    Retired.back() = {std::move(Port), std::move(Engine)};
}

// Lets the caller's own timers and input run while it waits, when its thread has an event loop.
void DispatchCallerEvents() {
    if (QAbstractEventDispatcher::instance() != nullptr) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// Every millisecond the caller's events run; the wait itself ends the moment the engine is done.
uint8_t AwaitFinalState(TComModbus& engine) {
    while (!engine.AwaitFinal(std::chrono::milliseconds(1))) {
        DispatchCallerEvents();
    }
    return engine.State();
}

// Only one call waits at a time (nested ones are refused as busy), so whatever was retired
// during its wait is released when it ends.
template <typename Prepare>
uint8_t RunTransaction(Prepare prepare) {
    if (LibraryState == NotInitialised) {
        return 2;
    }
    if (TransactionBusy != 0) {
        return 3;
    }
    TransactionBusy = 1;
    TComModbus& engine = *Engine;
    const bool accepted = prepare(engine);
    const uint8_t finalState = accepted ? AwaitFinalState(engine) : uint8_t{Failed};
    // A transaction whose link was closed under it is void, whatever it reached.
    const bool retired = &engine != Engine.get();
    const int error = retired ? ECANCELED : !accepted ? EINVAL : engine.FailureError();
    Retired.clear();
    TransactionBusy = 0;
    if (finalState == Completed && !retired) {
        return 1;
    }
    errno = error;
    return 0;
}

}  // namespace

extern "C" uint8_t Modbusinitialize(uint8_t port, int32_t baudRate, uint8_t parity,
                                    uint8_t dataBits, uint8_t stopBits, uint16_t timeoutMs) {
    if (LibraryState != NotInitialised) {
        return 2;
    }
    // TransactionBusy is left as it is: a handler may reopen inside a waiting call, which still
    // owns it, and nested transfers must stay refused until that call has returned.
    const std::optional<LinkSettings> settings =
        LinkSettingsFromCodes(baudRate, parity, dataBits, stopBits);
    if (!settings) {
        return 7;
    }

    enum { SetupFailed, SetupDone, OpenFailed } setup = SetupFailed;
    try {
        Engine = std::make_unique<TComModbus>();
        Port = std::make_unique<TComm>();
        Engine->Port = Port.get();
        Port->SetDeviceName("Com" + std::to_string(port + 1));
        Port->SetBaudRate(settings->baudRate);
        Port->SetParity(settings->parity);
        Port->SetDatabits(settings->dataBits);
        Port->SetStopbits(settings->stopBits);
        Engine->TimeoutMs = timeoutMs == 0 ? 1000 : timeoutMs;
        try {
            Port->Open();
            setup = SetupDone;
        } catch (...) {
            setup = OpenFailed;
        }
    } catch (...) {
        setup = SetupFailed;
    }

    if (setup == SetupDone) {
        LibraryState = Initialised;
        return 1;
    }
    try {
        ReleasePortAndEngine();
    } catch (...) {
    }
    return setup == OpenFailed ? 5 : 0;
}

extern "C" uint8_t Modbusdeinitialize(void) {
    if (LibraryState != Initialised) {
        return 0;
    }
    try {
        if (TransactionBusy != 0) {
            RetirePortAndEngine();
        } else {
            ReleasePortAndEngine();
        }
    } catch (...) {
        return 0;
    }
    LibraryState = NotInitialised;
    return 1;
}

extern "C" uint8_t ModbusRead(uint8_t slaveAddress, uint8_t functionCode, uint16_t startRegister,
                              uint16_t registerCount, uint16_t* buffer) {
    return RunTransaction([&](TComModbus& engine) {
        return engine.PrepareRead(slaveAddress, functionCode, startRegister, registerCount, buffer);
    });
}

extern "C" uint8_t ModbusWrite(uint8_t slaveAddress, uint8_t functionCode, uint16_t startRegister,
                               uint16_t registerCount, uint16_t* buffer) {
    return RunTransaction([&](TComModbus& engine) {
        return engine.PrepareWrite(slaveAddress, functionCode, startRegister, registerCount,
                                   buffer);
    });
}
