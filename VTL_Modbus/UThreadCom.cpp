#include "UThreadCom.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "ModbusCrc.h"
#include "ModbusResponse.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;

// The longest the engine waits for input before it looks at the clock again.
constexpr auto StepPeriod = std::chrono::milliseconds(10);
// After a transaction that ended without its answer, the line must stay quiet this many
// character times before the next request, but the wait never lasts longer than the limit.
constexpr int UnsettledQuietCharacters = 4;
constexpr auto UnsettledLimit = std::chrono::milliseconds(100);

uint32_t TickCount() {
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
            .count());
}

void PutBigEndian(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

// One character on the line: start bit, 8 data bits, parity or a second stop bit, stop bit.
microseconds CharacterTime(const TComm& port) {
    const uint32_t rate = BitRateOf(port.BaudRate());
    return microseconds(rate == 0 ? 0 : 11'000'000 / rate);
}

// The silence that separates two frames: 3.5 characters, and 1.75 ms at rates above 19200.
microseconds InterFrameGap(const TComm& port) {
    if (BitRateOf(port.BaudRate()) > 19200) {
        return microseconds(1750);
    }
    return CharacterTime(port) * 7 / 2;
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
        const uint8_t state = State();
        if (state == RequestReady || state == AwaitingResponse) {
            Step();  // waits for the line itself, at most a step at a time
        } else {
            FRequestBell.WaitFor(-1);
        }
    }
}

bool TComModbus::AwaitFinal(std::chrono::milliseconds timeout) {
    if (IsFinalState(State())) {
        return true;
    }
    FFinalBell.WaitFor(timeout.count());
    return IsFinalState(State());
}

void TComModbus::Finish(TransactionState state, int error) {
    FFailureError = error;
    FLineUnsettled = state != Completed;
    SetState(state);
    FFinalBell.SetEvent();
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
    FExpected = {ExpectedFunction, registerCount, TxFrame};
    FFinalBell.ResetEvent();
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
    FExpected = {ExpectedFunction, 0, TxFrame};
    FFinalBell.ResetEvent();
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
        AwaitQuietLine();
        Port->PurgeIn();
        RxLength = 0;
        SetState(AwaitingResponse);
        Port->Write(TxFrame, TxLength);
        SendTick = TickCount();
        FLineActive = Clock::now();
    }

    if (State() == AwaitingResponse) {
        AwaitAnswerBytes();
        if (State() == AwaitingResponse || State() == ResponseRead) {
            // An answer complete only after the deadline is late all the same.
            if (TickCount() - SendTick > TimeoutMs) {
                Fail(TimedOut, ETIMEDOUT);
                return;
            }
        }
    }

    if (State() == ResponseRead) {
        SetState(Validating);
    }

    if (State() == Validating) {
        const int error = CheckModbusResponse(RxFrame, RxLength, FExpected, ResultPointer);
        if (error != 0) {
            Fail(Failed, error);
            return;
        }
        Finish(Completed, 0);
    }
}

// Frames are parted by a silence of 3.5 characters. After a transaction that ended without its
// answer, a late answer may still be on its way: the line must have gone quiet, and what came
// is dropped, or it would be taken for the answer to the next request.
void TComModbus::AwaitQuietLine() {
    const microseconds gap = InterFrameGap(*Port);
    if (FLineUnsettled) {
        const microseconds quiet = std::max(gap, CharacterTime(*Port) * UnsettledQuietCharacters);
        const auto limit = Clock::now() + UnsettledLimit;
        while (Port->WaitForInput(quiet) && Clock::now() < limit) {
            Port->PurgeIn();
        }
        FLineUnsettled = false;
        return;
    }
    const auto earliest = FLineActive + gap;
    if (Clock::now() < earliest) {
        std::this_thread::sleep_until(earliest);
    }
}

// Takes what has arrived; the answer is read once it has the length its request calls for.
// An answer of any other shape is read once the line has stayed quiet for a step, and fails
// its check.
void TComModbus::AwaitAnswerBytes() {
    const bool room = RxLength < FrameSize;
    if (room) {
        Port->WaitForInput(StepPeriod);
    } else {
        std::this_thread::sleep_for(StepPeriod);  // a flood: the frame is full
    }
    const int32_t count = Port->InQueCount();
    if (count < 0) {
        // The port was closed under the transaction (the host reopens the link) or the device
        // is gone: nothing more can arrive, so the caller need not wait for the time-out.
        Fail(TimedOut, EIO);
        return;
    }
    bool arrived = false;
    if (count > 0 && room) {
        const int32_t got = Port->Read(RxFrame + RxLength, FrameSize - RxLength);
        if (got > 0) {
            RxLength += got;
            FLineActive = Clock::now();
            arrived = true;
        }
    }
    switch (JudgeFrame(RxFrame, RxLength, FExpected)) {
        case FrameProgress::Complete:
            SetState(ResponseRead);
            break;
        case FrameProgress::OtherLength:
            if (!arrived && Clock::now() - FLineActive >= StepPeriod) {
                SetState(ResponseRead);
            }
            break;
        case FrameProgress::Incomplete:
            break;
    }
}
