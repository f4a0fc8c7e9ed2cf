#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "CommInt.h"
#include "ModbusResponse.h"

enum TransactionState : uint8_t {
    Idle = 0,
    RequestReady = 1,
    AwaitingResponse = 3,
    ResponseRead = 4,
    Validating = 5,
    TimedOut = 6,
    Completed = 7,
    Failed = 8,
};

inline bool IsFinalState(uint8_t state) {
    return state == TimedOut || state == Completed || state == Failed;
}

// One Modbus RTU master transaction at a time over Port, run by its own thread. The caller
// prepares a request and polls State; State is the only hand-over between the two threads
// (release on write, acquire on read), so no lock is needed. The thread sleeps while idle,
// wakes for a request, and while an answer is due wakes as bytes arrive and at least every
// 10 ms for the time-out: an answer is final as soon as the bytes its request calls for are in.
class TComModbus {
public:
    static constexpr int FrameSize = 260;
    static constexpr uint16_t MaxWriteRegisters = 125;  // 9 + 2 * 125 bytes fill the frame
    static constexpr uint16_t MaxReadRegisters = 128;   // words up to frame position 258

    TComModbus();
    ~TComModbus();  // waits for the thread to end
    TComModbus(const TComModbus&) = delete;
    TComModbus& operator=(const TComModbus&) = delete;

    // Both return false and leave every frame untouched when the request does not fit the
    // frames, the buffer is missing, or a transaction is still running.
    bool PrepareRead(uint8_t slaveAddress, uint8_t functionCode, uint16_t startAddress,
                     uint16_t registerCount, uint16_t* buffer);
    bool PrepareWrite(uint8_t slaveAddress, uint8_t functionCode, uint16_t startAddress,
                      uint16_t registerCount, const uint16_t* buffer);

    uint8_t State() const { return FState.load(std::memory_order_acquire); }
    // Waits up to `timeout` for the transaction to reach a final state; true once it has.
    bool AwaitFinal(std::chrono::milliseconds timeout);
    // Why the last transaction ended TimedOut or Failed, as an errno value: ETIMEDOUT no answer,
    // EBADMSG a wrong CRC, EREMOTEIO an exception answer, EPROTO an answer that does not fit,
    // EIO the port failed. Valid once State() is final.
    int FailureError() const { return FFailureError; }
    void Terminate();

    // Read by the engine thread only while a request is active; set before the first request.
    TComm* Port = nullptr;
    uint32_t TimeoutMs = 0;

    // For inspection between transactions.
    const uint8_t* TxFrameBytes() const { return TxFrame; }
    int32_t TxFrameLength() const { return TxLength; }

protected:
    void Execute();
    void Step();

private:
    void StepStates();
    void AwaitQuietLine();
    void AwaitAnswerBytes();
    void SetState(TransactionState state) { FState.store(state, std::memory_order_release); }
    // The error is written before the final state, so the caller sees it once it sees the state.
    void Finish(TransactionState state, int error);
    void Fail(TransactionState state, int error) { Finish(state, error); }
    bool MayPrepare(uint16_t registerCount, uint16_t limit, const void* buffer) const;
    void FinishFrame(int32_t crcLength);

    uint8_t TxFrame[FrameSize] = {};
    uint8_t RxFrame[FrameSize] = {};
    int32_t RxLength = 0;
    int32_t TxLength = 0;
    uint8_t SlaveAddress = 0;
    uint8_t FunctionCode = 0;
    uint8_t ExpectedFunction = 0;
    uint32_t StartAddress = 0;
    uint32_t RegisterCount = 0;
    const uint16_t* DataPointer = nullptr;
    uint16_t* ResultPointer = nullptr;
    uint32_t SendTick = 0;
    ModbusRequestShape FExpected;  // what the answer must look like
    // The last time a byte was on the line, and whether the last transaction ended without its
    // answer (a late one may still be coming).
    std::chrono::steady_clock::time_point FLineActive;
    bool FLineUnsettled = false;
    std::atomic<uint8_t> FState{Idle};
    int FFailureError = 0;
    std::atomic<bool> FTerminated{false};
    // Wakes the idle engine for a request (or to end); the data still passes through State.
    TEvent FRequestBell{nullptr, false, false, std::string()};
    // Rung with every final state, so the waiting caller returns as soon as it may.
    TEvent FFinalBell{nullptr, false, false, std::string()};
    std::thread FThread;
};
