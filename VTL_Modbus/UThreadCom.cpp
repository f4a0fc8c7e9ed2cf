#include "UThreadCom.h"

#include <cerrno>
#include <chrono>

#include "ModbusCrc.h"
#include "ModbusResponse.h"

namespace {

constexpr auto StepPeriod = std::chrono::milliseconds(10);
constexpr auto SettlePause = std::chrono::milliseconds(10);
constexpr auto AfterReadPause = std::chrono::milliseconds(4);

// The input count seen at the previous step, kept in 8 bits: a count above 255 never equals it,
// so such input is never taken as a finished frame.
uint8_t LastQueueCount = 0;

uint32_t TickCount() {
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

void PutBigEndian(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

}  // namespace

TComModbus::TComModbus() : FThread([this] { Execute(); }) {}

void TComModbus::Terminate() {
    FTerminated.store(true, std::memory_order_release);
    FRequestBell.SetEvent();
}

TComModbus::~TComModbus() {
    Terminate();
    if (FThread.joinable()) {
        FThread.join();
    }
}

void TComModbus::Execute() {
    while (!FTerminated.load(std::memory_order_acquire)) {
        Step();
        FRequestBell.WaitFor(StepPeriod.count());
    }
}

bool TComModbus::MayPrepare(uint16_t registerCount, uint16_t limit, const void* buffer) const {
    const uint8_t state = State();
    return (state == Idle || IsFinalState(state)) && registerCount <= limit &&
           (buffer != nullptr || registerCount == 0);
}

void TComModbus::FinishFrame(int32_t crcLength) {
    const uint16_t crc = ModbusCrc16(TxFrame, static_cast<size_t>(crcLength));
    TxFrame[crcLength] = static_cast<uint8_t>(crc & 0xFF);
    TxFrame[crcLength + 1] = static_cast<uint8_t>(crc >> 8);
    TxLength = crcLength + 2;
}

bool TComModbus::PrepareRead(uint8_t slaveAddress, uint8_t functionCode, uint16_t startAddress,
                             uint16_t registerCount, uint16_t* buffer) {
    if (!MayPrepare(registerCount, MaxReadRegisters, buffer)) {
        return false;
    }
    SlaveAddress = slaveAddress;
    FunctionCode = functionCode;
    StartAddress = startAddress;
    RegisterCount = registerCount;
    DataPointer = buffer;
    ResultPointer = buffer;
    ExpectedFunction = functionCode;
    TxFrame[0] = slaveAddress;
    TxFrame[1] = functionCode;
    PutBigEndian(TxFrame + 2, startAddress);
    PutBigEndian(TxFrame + 4, registerCount);
    FinishFrame(6);
    SetState(RequestReady);
    FRequestBell.SetEvent();
    return true;
}

bool TComModbus::PrepareWrite(uint8_t slaveAddress, uint8_t functionCode, uint16_t startAddress,
                              uint16_t registerCount, const uint16_t* buffer) {
    if (!MayPrepare(registerCount, MaxWriteRegisters, buffer)) {
        return false;
    }
    SlaveAddress = slaveAddress;
    FunctionCode = functionCode;
    StartAddress = startAddress;
    RegisterCount = registerCount;
    DataPointer = buffer;
    TxFrame[0] = slaveAddress;
    PutBigEndian(TxFrame + 2, startAddress);
    if (functionCode == 3 && registerCount == 1) {
        ExpectedFunction = 6;
        TxFrame[1] = 6;
        PutBigEndian(TxFrame + 4, buffer[0]);
        FinishFrame(6);
    } else {
        ExpectedFunction = 16;
        TxFrame[1] = 16;
        PutBigEndian(TxFrame + 4, registerCount);
        TxFrame[6] = static_cast<uint8_t>(2 * (registerCount & 0xFF));
        for (uint32_t i = 0; i < registerCount; ++i) {
            PutBigEndian(TxFrame + 7 + 2 * i, buffer[i]);
        }
        FinishFrame(7 + 2 * registerCount);
    }
    SetState(RequestReady);
    FRequestBell.SetEvent();
    return true;
}

// A port failure must still end the transaction so the waiting caller returns; the engine then
// serves the next request as usual.
void TComModbus::Step() {
    try {
        StepStates();
    } catch (const ECommError&) {
        Fail(RxLength > 0 ? Failed : TimedOut, EIO);
    }
}

void TComModbus::StepStates() {
    if (State() == RequestReady) {
        Port->PurgeIn();
        RxLength = 0;
        LastQueueCount = 0;
        SetState(AwaitingResponse);
        Port->Write(TxFrame, TxLength);
        SendTick = TickCount();
    }

    if (State() == AwaitingResponse) {
        const int32_t count = Port->InQueCount();
        if (count < 0) {
            // The port was closed under the transaction (the host reopens the link) or the
            // device is gone: nothing more can arrive, so the caller need not wait for the
            // time-out.
            Fail(TimedOut, EIO);
            return;
        }
        if (count > 0) {
            if (count == LastQueueCount) {
                std::this_thread::sleep_for(SettlePause);
                RxLength = Port->Read(RxFrame, FrameSize);
                SetState(ResponseRead);
            } else {
                LastQueueCount = static_cast<uint8_t>(count);
            }
        }
        if (TickCount() - SendTick > TimeoutMs) {
            Fail(TimedOut, ETIMEDOUT);
        }
    }

    if (State() == ResponseRead) {
        std::this_thread::sleep_for(AfterReadPause);
        SetState(Validating);
    }

    if (State() == Validating) {
        const int error =
            CheckModbusResponse(RxFrame, RxLength, ExpectedFunction, RegisterCount, ResultPointer);
        if (error != 0) {
            Fail(Failed, error);
            return;
        }
        SetState(Completed);
    }
}
