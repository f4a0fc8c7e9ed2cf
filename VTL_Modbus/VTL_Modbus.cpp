#include "VTL_Modbus.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

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
// A host handler may deinitialise inside a waiting call; the release then waits for its end.
bool DeinitializePending = false;

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

// Lets the caller's own timers and input run while it waits, when its thread has an event loop.
void DispatchCallerEvents() {
    if (QAbstractEventDispatcher::instance() != nullptr) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

uint8_t AwaitFinalState() {
    for (;;) {
        const uint8_t state = Engine->State();
        if (IsFinalState(state)) {
            return state;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        DispatchCallerEvents();
    }
}

template <typename Prepare>
uint8_t RunTransaction(Prepare prepare) {
    if (LibraryState == NotInitialised) {
        return 2;
    }
    if (TransactionBusy != 0) {
        return 3;
    }
    TransactionBusy = 1;
    const bool accepted = prepare(*Engine);
    const uint8_t finalState = accepted ? AwaitFinalState() : uint8_t{Failed};
    TransactionBusy = 0;
    if (DeinitializePending) {
        DeinitializePending = false;
        try {
            ReleasePortAndEngine();
        } catch (...) {
        }
        LibraryState = NotInitialised;
    }
    return finalState == Completed ? 1 : 0;
}

}  // namespace

extern "C" uint8_t Modbusinitialize(uint8_t port, int32_t baudRate, uint8_t parity,
                                    uint8_t dataBits, uint8_t stopBits, uint16_t timeoutMs) {
    if (LibraryState != NotInitialised) {
        return 2;
    }
    TransactionBusy = 0;
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
    if (TransactionBusy != 0) {
        DeinitializePending = true;
        return 1;
    }
    try {
        ReleasePortAndEngine();
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
