#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

#include "CommObjs.h"

enum TBaudrate {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TParity { paNone, paOdd, paEven, paMark, paSpace };
enum TStopbits { sb10, sb15, sb20 };
enum TDatabits { da4, da5, da6, da7, da8 };
enum TFlowControl { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };
enum TCommOption { coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar, coNullStrip };
enum TCommEventType {
    evBreak,
    evCts,
    evDsr,
    evError,
    evRing,
    evRlsd,
    evRxChar,
    evRxFlag,
    evTxEmpty
};

// Sets of the enumerations above, one bit per member ordinal.
using TCommOptions = uint8_t;
using TCommEventTypes = uint16_t;
constexpr TCommOptions OptionBit(TCommOption o) {
    return TCommOptions(1u << o);
}
constexpr TCommEventTypes EventBit(TCommEventType e) {
    return TCommEventTypes(1u << e);
}
constexpr TCommEventTypes AllCommEvents = 0x01FF;

uint32_t BitRateOf(TBaudrate rate);

// Platform line-event bits, as reported to the watcher's callback.
namespace CommEventMask {
constexpr uint32_t RxChar = 0x0001, RxFlag = 0x0002, TxEmpty = 0x0004, Cts = 0x0008, Dsr = 0x0010,
                   Rlsd = 0x0020, Break = 0x0040, Err = 0x0080, Ring = 0x0100;
}
uint32_t PlatformEventMask(TCommEventTypes events);

// Bits of the device-control flag word.
namespace DcbFlag {
constexpr uint32_t Binary = 0x0001, Parity = 0x0002, OutxCtsFlow = 0x0004, OutxDsrFlow = 0x0008,
                   DtrHandshake = 0x0020, DsrSensitivity = 0x0040, TxContinueOnXoff = 0x0080,
                   OutX = 0x0100, InX = 0x0200, ErrorChar = 0x0400, Null = 0x0800,
                   RtsHandshake = 0x2000;
}

// The line settings as last read from and written to the port. Linux has no such block; it is
// kept so the handshaking and option choices stay readable, and is translated to termios.
struct TDeviceControlBlock {
    uint32_t BaudRate = 0;
    uint32_t Flags = 0;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 0;
    uint8_t Parity = 0;
    uint8_t StopBits = 0;
    uint8_t XonChar = 0;
    uint8_t XoffChar = 0;
    uint8_t ErrorChar = 0;
    uint8_t EofChar = 0;
    uint8_t EvtChar = 0;
};

class ECommError : public std::runtime_error {
public:
    ECommError(const std::string& text, int errorCode);
    int ErrorCode;
};

class TCustomComm;

class TCommEventChars {
public:
    explicit TCommEventChars(TCustomComm* owner) : FOwner(owner) {}

    uint8_t XonChar() const { return FXonChar; }
    uint8_t XoffChar() const { return FXoffChar; }
    uint8_t ErrorChar() const { return FErrorChar; }
    uint8_t EofChar() const { return FEofChar; }
    uint8_t EvtChar() const { return FEvtChar; }
    void SetXonChar(uint8_t c) { SetEventChar(1, c); }
    void SetXoffChar(uint8_t c) { SetEventChar(2, c); }
    void SetErrorChar(uint8_t c) { SetEventChar(3, c); }
    void SetEofChar(uint8_t c) { SetEventChar(4, c); }
    void SetEvtChar(uint8_t c) { SetEventChar(5, c); }

    // index 1..5: Xon, Xoff, Error, Eof, Evt.
    void SetEventChar(int index, uint8_t value);
    void Assign(const TCommEventChars& source);

private:
    TCustomComm* FOwner;
    uint8_t FXonChar = 17;
    uint8_t FXoffChar = 19;
    uint8_t FErrorChar = 0;
    uint8_t FEofChar = 0;
    uint8_t FEvtChar = 0;
};

class TCommEventThread;
using TCommEvent = std::function<void(TCommEventThread* sender, uint32_t status)>;
using TNotifyEvent = std::function<void(TCustomComm* sender)>;
using TCommErrorEvent = std::function<void(TCustomComm* sender, int32_t errors)>;
using TCommRxCharEvent = std::function<void(TCustomComm* sender, int32_t count)>;

// Waits for line events of an open port and hands each to OnSignal on its own thread, which
// blocks until the callback returns. It owns itself and ends after Terminate.
class TCommEventThread final : public std::enable_shared_from_this<TCommEventThread> {
public:
    // Created suspended, so the owner can keep its reference before any event is delivered.
    static std::shared_ptr<TCommEventThread> Create(int handle, TCommEventTypes events,
                                                    TCommEvent onSignal);
    void Resume();
    ~TCommEventThread();

    void Terminate();
    bool Terminated() const { return FTerminated.load(std::memory_order_acquire); }
    bool IsCurrentThread() const;
    // Waits until Execute has left its loop and will not call back any more.
    void WaitForEnd() {
        if (FStarted) {
            FFinished.WaitFor(-1);
        }
    }

protected:
    TCommEventThread(int handle, TCommEventTypes events, TCommEvent onSignal);
    virtual void Execute();

private:
    void DoOnSignal();
    bool WaitForEvent();

    int FCommHandle;
    int FWakeFd;  // the wake-up event, an eventfd so it can sit in the same poll as the port
    uint32_t FEventMask = 0;
    uint32_t FMonitored;
    TCommEvent FOnSignal;
    std::atomic<bool> FTerminated{false};
    std::atomic<std::thread::id> FThreadId{};
    TSimpleEvent FFinished;
    bool FStarted = false;
    bool FInputReported = false;
    int FReportedCount = 0;
    bool FHangup = false;
};

class TCustomComm {
public:
    TCustomComm();
    virtual ~TCustomComm();
    TCustomComm(const TCustomComm&) = delete;
    TCustomComm& operator=(const TCustomComm&) = delete;

    void Open();
    void Close();
    bool Enabled() const { return FHandle != -1; }
    int32_t Write(const void* buffer, int32_t count);
    int32_t Read(void* buffer, int32_t count);
    int32_t InQueCount();
    // Waits up to `timeout` for received bytes; true as soon as some are waiting. A line whose
    // other end has gone reports none and the wait lasts its time.
    bool WaitForInput(std::chrono::microseconds timeout);
    int32_t OutQueCount();
    void PurgeIn();
    void PurgeOut();
    bool GetModemState(int index);
    bool GetComState(int index);
    void SetDTRState(bool state);
    void SetRTSState(bool state);
    void SetBREAKState(bool state);
    void SetXONState(bool state);
    void Lock() { FLock.Acquire(); }
    void Unlock() { FLock.Release(); }

    // The block last written to the port, for inspection.
    const TDeviceControlBlock& DeviceControlBlock() const { return FDCB; }

    int32_t ReadTimeout = 1000;
    int32_t WriteTimeout = 1000;
    TNotifyEvent OnBreak;
    TNotifyEvent OnCts;
    TNotifyEvent OnDsr;
    TCommErrorEvent OnError;
    TNotifyEvent OnRing;
    TNotifyEvent OnRlsd;
    TCommRxCharEvent OnRxChar;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnTxEmpty;

protected:
    const std::string& DeviceName() const { return FDeviceName; }
    void SetDeviceName(const std::string& value);
    int32_t ReadBufSize() const { return FReadBufSize; }
    void SetReadBufSize(int32_t value);
    int32_t WriteBufSize() const { return FWriteBufSize; }
    void SetWriteBufSize(int32_t value);
    TCommEventTypes MonitorEvents() const { return FMonitorEvents; }
    void SetMonitorEvents(TCommEventTypes value);
    TBaudrate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudrate value);
    TParity Parity() const { return FParity; }
    void SetParity(TParity value);
    TStopbits Stopbits() const { return FStopbits; }
    void SetStopbits(TStopbits value);
    TDatabits Databits() const { return FDatabits; }
    void SetDatabits(TDatabits value);
    TCommEventChars& EventChars() { return FEventChars; }
    TCommOptions Options() const { return FOptions; }
    void SetOptions(TCommOptions value);
    TFlowControl FlowControl() const { return FFlowControl; }
    void SetFlowControl(TFlowControl value);

    void CheckOpen();
    virtual void CreateHandle();
    void DestroyHandle();
    void UpdateCommTimeouts();
    void UpdateDataControlBlock();
    void InitHandshaking(TDeviceControlBlock& dcb);
    void EscapeComm(int function);
    void HandleCommEvent(TCommEventThread* sender, uint32_t status);

    friend class TCommEventChars;

    int FHandle = -1;
    TDeviceControlBlock FDCB;

private:
    void ReadDataControlBlock(TDeviceControlBlock& dcb);
    void WriteDataControlBlock(const TDeviceControlBlock& dcb);

    std::string FDeviceName = "Com2";
    TCriticalSection FLock;
    int32_t FReadBufSize = 4096;
    int32_t FWriteBufSize = 2048;
    TCommEventTypes FMonitorEvents = AllCommEvents;
    TBaudrate FBaudRate = br9600;
    TParity FParity = paNone;
    TStopbits FStopbits = sb10;
    TDatabits FDatabits = da8;
    std::shared_ptr<TCommEventThread> FEventThread;
    TCommEventChars FEventChars{this};
    TCommOptions FOptions = 0;
    TFlowControl FFlowControl = fcDefault;
};

class TComm : public TCustomComm {
public:
    using TCustomComm::BaudRate;
    using TCustomComm::Databits;
    using TCustomComm::DeviceName;
    using TCustomComm::EventChars;
    using TCustomComm::FlowControl;
    using TCustomComm::MonitorEvents;
    using TCustomComm::Options;
    using TCustomComm::Parity;
    using TCustomComm::ReadBufSize;
    using TCustomComm::SetBaudRate;
    using TCustomComm::SetDatabits;
    using TCustomComm::SetDeviceName;
    using TCustomComm::SetFlowControl;
    using TCustomComm::SetMonitorEvents;
    using TCustomComm::SetOptions;
    using TCustomComm::SetParity;
    using TCustomComm::SetReadBufSize;
    using TCustomComm::SetStopbits;
    using TCustomComm::SetWriteBufSize;
    using TCustomComm::Stopbits;
    using TCustomComm::WriteBufSize;
};
