#include "CommInt.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "ArbitraryBitRate.h"
#include "PortNames.h"

namespace {

// Line-control function codes of EscapeComm.
enum EscapeFunction {
    SETXOFF = 1,
    SETXON = 2,
    SETRTS = 3,
    CLRRTS = 4,
    SETDTR = 5,
    CLRDTR = 6,
    SETBREAK = 8,
    CLRBREAK = 9
};

const char* const PortAlreadyOpen = "Port already assigned (open)";

[[noreturn]] void RaiseCommError(const char* text, int code) {
    throw ECommError(text, code);
}

speed_t PosixSpeed(uint32_t rate) {
    switch (rate) {
        case 110:
            return B110;
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return 0;
    }
}

// Events are picked up a little ahead of ordinary work; without the privilege to do so the
// thread simply runs at normal priority.
void RaiseOwnPriorityOneStep() {
    const pid_t self = static_cast<pid_t>(syscall(SYS_gettid));
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, static_cast<id_t>(self));
    if (errno == 0) {
        setpriority(PRIO_PROCESS, static_cast<id_t>(self), current - 1);
    }
}

}  // namespace

uint32_t BitRateOf(TBaudrate rate) {
    static const uint32_t rates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                     19200, 38400, 56000, 57600, 115200, 128000, 256000};
    return rates[rate];
}

uint32_t PlatformEventMask(TCommEventTypes events) {
    static const uint32_t bits[] = {
        CommEventMask::Break,  CommEventMask::Cts,    CommEventMask::Dsr,
        CommEventMask::Err,    CommEventMask::Ring,   CommEventMask::Rlsd,
        CommEventMask::RxChar, CommEventMask::RxFlag, CommEventMask::TxEmpty};
    uint32_t mask = 0;
    for (int e = evBreak; e <= evTxEmpty; ++e) {
        if (events & EventBit(static_cast<TCommEventType>(e))) {
            mask |= bits[e];
        }
    }
    return mask;
}

static std::string WithCode(const std::string& text, int code) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, " (Error: %d) ", code);
    return text + suffix;
}

ECommError::ECommError(const std::string& text, int errorCode)
    : std::runtime_error(WithCode(text, errorCode)), ErrorCode(errorCode) {}

// ---- TCommEventChars ----

void TCommEventChars::SetEventChar(int index, uint8_t value) {
    switch (index) {
        case 1:
            FXonChar = value;
            break;
        case 2:
            FXoffChar = value;
            break;
        case 3:
            FErrorChar = value;
            break;
        case 4:
            FEofChar = value;
            break;
        case 5:
            FEvtChar = value;
            break;
        default:
            return;
    }
    if (FOwner != nullptr) {
        FOwner->UpdateDataControlBlock();
    }
}

void TCommEventChars::Assign(const TCommEventChars& source) {
    FXonChar = source.FXonChar;
    FXoffChar = source.FXoffChar;
    FErrorChar = source.FErrorChar;
    FEofChar = source.FEofChar;
    FEvtChar = source.FEvtChar;
}

// ---- TCommEventThread ----

TCommEventThread::TCommEventThread(int handle, TCommEventTypes events, TCommEvent onSignal)
    : FCommHandle(handle),
      FWakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      FMonitored(PlatformEventMask(events)),
      FOnSignal(std::move(onSignal)) {}

TCommEventThread::~TCommEventThread() {
    if (FWakeFd >= 0) {
        close(FWakeFd);
    }
}

std::shared_ptr<TCommEventThread> TCommEventThread::Create(int handle, TCommEventTypes events,
                                                           TCommEvent onSignal) {
    return std::shared_ptr<TCommEventThread>(
        new TCommEventThread(handle, events, std::move(onSignal)));
}

void TCommEventThread::Resume() {
    FStarted = true;
    // The running thread keeps its own reference: it releases itself when it ends.
    std::thread([self = shared_from_this()] {
        self->FThreadId.store(std::this_thread::get_id());
        RaiseOwnPriorityOneStep();
        self->Execute();
        self->FFinished.SetEvent();
    }).detach();
}

void TCommEventThread::Terminate() {
    FTerminated.store(true, std::memory_order_release);
    const uint64_t one = 1;
    [[maybe_unused]] auto written = write(FWakeFd, &one, sizeof one);
}

bool TCommEventThread::IsCurrentThread() const {
    return std::this_thread::get_id() == FThreadId.load();
}

void TCommEventThread::Execute() {
    while (!Terminated()) {
        if (!WaitForEvent() || Terminated()) {
            continue;
        }
        DoOnSignal();
    }
}

// Blocks until a monitored event is seen or the thread is woken. Readiness of input is
// level-triggered, so once received bytes have been reported the port is only re-checked every
// few milliseconds until the count changes; an idle port costs nothing.
bool TCommEventThread::WaitForEvent() {
    constexpr int PendingRecheckMs = 10;
    constexpr int HangupRecheckMs = 100;
    const bool watchInput = (FMonitored & CommEventMask::RxChar) != 0;

    pollfd fds[2] = {{FWakeFd, POLLIN, 0}, {FCommHandle, POLLIN, 0}};
    int timeout = -1;
    if (FHangup || !watchInput) {
        fds[1].fd = -1;
        timeout = FHangup ? HangupRecheckMs : -1;
    } else if (FInputReported) {
        fds[1].fd = -1;
        timeout = PendingRecheckMs;
    }
    const int ready = poll(fds, 2, timeout);
    if (ready < 0 || fds[0].revents != 0) {
        return false;
    }
    if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
        FHangup = true;  // the other side went away: look again later instead of spinning
        return false;
    }
    FHangup = false;

    int count = 0;
    if (ioctl(FCommHandle, TIOCINQ, &count) != 0 || count <= 0) {
        FInputReported = false;
        FReportedCount = 0;
        return false;
    }
    if (FInputReported && count == FReportedCount) {
        return false;
    }
    FInputReported = true;
    FReportedCount = count;
    FEventMask = CommEventMask::RxChar;
    return true;
}

void TCommEventThread::DoOnSignal() {
    if (FOnSignal) {
        FOnSignal(this, FEventMask);
    }
}

// ---- TCustomComm ----

TCustomComm::TCustomComm() = default;

TCustomComm::~TCustomComm() {
    Close();
}

void TCustomComm::CheckOpen() {
    if (Enabled()) {
        RaiseCommError(PortAlreadyOpen, -1);
    }
}

void TCustomComm::CreateHandle() {
    const std::string path = DevicePathForName(FDeviceName);
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        RaiseCommError("Error accessing specified device", errno);
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) {
        close(fd);
        RaiseCommError("Invalid device handle, access denied", -1);
    }
    // TIOCEXCL keeps other programs out, but not a privileged one; the lock keeps out every
    // program that locks, including a second instance of ours.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        RaiseCommError("Error accessing specified device", EBUSY);
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        close(fd);
        RaiseCommError("Error accessing specified device", error);
    }
    FHandle = fd;
}

// Under the lock: an operation of another thread never uses the descriptor while it is closed,
// nor a number the system has meanwhile given to another device.
void TCustomComm::DestroyHandle() {
    std::lock_guard guard(FLock);
    if (FHandle == -1) {
        return;
    }
    ioctl(FHandle, TIOCNXCL);  // the flag outlives our descriptor; let the next opener in
    // A wait for input still holds the device until it returns: its lock must go now.
    flock(FHandle, LOCK_UN);
    close(FHandle);
    FHandle = -1;
}

void TCustomComm::Open() {
    CheckOpen();
    CreateHandle();
    FEventThread = TCommEventThread::Create(
        FHandle, FMonitorEvents,
        [this](TCommEventThread* sender, uint32_t status) { HandleCommEvent(sender, status); });
    UpdateCommTimeouts();
    UpdateDataControlBlock();
    // A terminal's queues have fixed sizes; only sizes no driver could take are refused.
    if (FReadBufSize <= 0 || FWriteBufSize <= 0) {
        RaiseCommError("Error initializing Read/Write Buffers", EINVAL);
    }
    // Started last: a handler (which may close the port) never runs while Open still
    // configures it.
    FEventThread->Resume();
}

void TCustomComm::Close() {
    if (!Enabled()) {
        return;
    }
    if (FEventThread) {
        std::shared_ptr<TCommEventThread> watcher = std::move(FEventThread);
        watcher->Terminate();
        // Waiting for the watcher guarantees no handler runs after Close; a handler that
        // closes the port from the watcher itself must not wait for its own thread.
        if (!watcher->IsCurrentThread()) {
            watcher->WaitForEnd();
        }
    }
    DestroyHandle();
}

// Reads return at once with what has arrived and writes have no driver time-out: on Linux that
// is a non-blocking descriptor.
void TCustomComm::UpdateCommTimeouts() {
    const int flags = fcntl(FHandle, F_GETFL);
    if (flags < 0 || fcntl(FHandle, F_SETFL, flags | O_NONBLOCK) != 0) {
        RaiseCommError("Error updating CommTimeouts", errno);
    }
}

// The handshaking "the port already had" is the one this component last applied. What the
// terminal layer starts a device with is not taken over: its default IXON would swallow every
// 0x11 and 0x13 byte of a binary frame.
void TCustomComm::ReadDataControlBlock(TDeviceControlBlock& dcb) {
    termios settings{};
    if (tcgetattr(FHandle, &settings) != 0) {
        RaiseCommError("Error updating DataControlBlock", errno);
    }
    dcb = FDCB;
    dcb.Flags |= DcbFlag::Binary;
}

namespace {

// Some drivers (pseudo-terminals among them) ignore the character format; the C library then
// reports EINVAL when a request changed nothing else. Everything but the format must have taken.
bool TookAllButCharacterFormat(int fd, const termios& wanted) {
    termios applied{};
    if (tcgetattr(fd, &applied) != 0) {
        return false;
    }
    const tcflag_t format = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;
    return applied.c_iflag == wanted.c_iflag && applied.c_oflag == wanted.c_oflag &&
           applied.c_lflag == wanted.c_lflag &&
           (applied.c_cflag & ~format) == (wanted.c_cflag & ~format) &&
           applied.c_cc[VSTART] == wanted.c_cc[VSTART] &&
           applied.c_cc[VSTOP] == wanted.c_cc[VSTOP] && applied.c_cc[VMIN] == wanted.c_cc[VMIN] &&
           applied.c_cc[VTIME] == wanted.c_cc[VTIME];
}

}  // namespace

// Linux counterparts: CTS/RTS handshaking is CRTSCTS, software handshaking IXON/IXOFF, parity
// checking INPCK. DTR/DSR handshaking and the other options have none and are only recorded.
void TCustomComm::WriteDataControlBlock(const TDeviceControlBlock& dcb) {
    termios settings{};
    if (tcgetattr(FHandle, &settings) != 0) {
        RaiseCommError("Error updating DataControlBlock", errno);
    }
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    switch (dcb.ByteSize) {
        case 5:
            settings.c_cflag |= CS5;
            break;
        case 6:
            settings.c_cflag |= CS6;
            break;
        case 7:
            settings.c_cflag |= CS7;
            break;
        case 8:
            settings.c_cflag |= CS8;
            break;
        default:
            RaiseCommError("Error updating DataControlBlock", EINVAL);
    }
    switch (static_cast<TParity>(dcb.Parity)) {
        case paNone:
            break;
        case paOdd:
            settings.c_cflag |= PARENB | PARODD;
            break;
        case paEven:
            settings.c_cflag |= PARENB;
            break;
        case paMark:
            settings.c_cflag |= PARENB | PARODD | CMSPAR;
            break;
        case paSpace:
            settings.c_cflag |= PARENB | CMSPAR;
            break;
    }
    if (dcb.StopBits != sb10) {
        settings.c_cflag |= CSTOPB;  // 1.5 stop bits has no counterpart; the line gets 2
    }
    settings.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (dcb.Flags & DcbFlag::OutxCtsFlow) {
        settings.c_cflag |= CRTSCTS;
    }
    if (dcb.Flags & DcbFlag::OutX) {
        settings.c_iflag |= IXON;
    }
    if (dcb.Flags & DcbFlag::InX) {
        settings.c_iflag |= IXOFF;
    }
    if (dcb.Flags & DcbFlag::Parity) {
        settings.c_iflag |= INPCK;
    }
    settings.c_cc[VSTART] = dcb.XonChar;
    settings.c_cc[VSTOP] = dcb.XoffChar;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    const speed_t speed = PosixSpeed(dcb.BaudRate);
    cfsetispeed(&settings, speed != 0 ? speed : B38400);
    cfsetospeed(&settings, speed != 0 ? speed : B38400);
    if (tcsetattr(FHandle, TCSANOW, &settings) != 0) {
        const int error = errno;
        if (error != EINVAL || !TookAllButCharacterFormat(FHandle, settings)) {
            RaiseCommError("Error updating DataControlBlock", error);
        }
    }
    if (speed == 0) {
        if (const int error = SetArbitraryBitRate(FHandle, dcb.BaudRate); error != 0) {
            RaiseCommError("Error updating DataControlBlock", error);
        }
    }
}

void TCustomComm::UpdateDataControlBlock() {
    if (!Enabled()) {
        return;
    }
    TDeviceControlBlock dcb;
    ReadDataControlBlock(dcb);
    dcb.BaudRate = BitRateOf(FBaudRate);
    dcb.Parity = static_cast<uint8_t>(FParity);
    dcb.StopBits = static_cast<uint8_t>(FStopbits);
    dcb.ByteSize = static_cast<uint8_t>(4 + FDatabits);
    dcb.XonChar = FEventChars.XonChar();
    dcb.XoffChar = FEventChars.XoffChar();
    dcb.ErrorChar = FEventChars.ErrorChar();
    dcb.EofChar = FEventChars.EofChar();
    dcb.EvtChar = FEventChars.EvtChar();
    dcb.XonLim = static_cast<uint16_t>(FReadBufSize / 4);
    dcb.XoffLim = static_cast<uint16_t>(FReadBufSize / 4);
    InitHandshaking(dcb);
    static const uint32_t optionFlags[] = {DcbFlag::Parity, DcbFlag::DsrSensitivity,
                                           DcbFlag::TxContinueOnXoff, DcbFlag::ErrorChar,
                                           DcbFlag::Null};
    for (int o = coParityCheck; o <= coNullStrip; ++o) {
        if (FOptions & OptionBit(static_cast<TCommOption>(o))) {
            dcb.Flags |= optionFlags[o];
        } else {
            dcb.Flags &= ~optionFlags[o];
        }
    }
    WriteDataControlBlock(dcb);
    FDCB = dcb;
}

void TCustomComm::InitHandshaking(TDeviceControlBlock& dcb) {
    switch (FFlowControl) {
        case fcNone:
            dcb.Flags = DcbFlag::Binary;
            break;
        case fcCTS:
            dcb.Flags |= DcbFlag::OutxCtsFlow | DcbFlag::RtsHandshake;
            break;
        case fcDTR:
            dcb.Flags |= DcbFlag::OutxDsrFlow | DcbFlag::DtrHandshake;
            break;
        case fcSoftware:
            dcb.Flags |= DcbFlag::OutX | DcbFlag::InX;
            break;
        case fcDefault:
            break;
    }
}

int32_t TCustomComm::Write(const void* buffer, int32_t count) {
    std::lock_guard guard(FLock);
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(WriteTimeout);
    int32_t done = 0;
    while (done < count) {
        const ssize_t written = write(FHandle, bytes + done, static_cast<size_t>(count - done));
        if (written > 0) {
            done += static_cast<int32_t>(written);
            continue;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) {
            RaiseCommError("Write error", errno);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return -1;
        }
        pollfd writable{FHandle, POLLOUT, 0};
        poll(&writable, 1, static_cast<int>(left.count()));
    }
    return done;
}

int32_t TCustomComm::Read(void* buffer, int32_t count) {
    std::lock_guard guard(FLock);
    for (;;) {
        const ssize_t got = read(FHandle, buffer, static_cast<size_t>(count));
        if (got >= 0) {
            return static_cast<int32_t>(got);
        }
        if (errno == EAGAIN) {
            return 0;
        }
        if (errno != EINTR) {
            RaiseCommError("Read error", errno);
        }
    }
}

int32_t TCustomComm::InQueCount() {
    std::lock_guard guard(FLock);
    int count = 0;
    if (!Enabled() || ioctl(FHandle, TIOCINQ, &count) != 0) {
        return -1;
    }
    return count;
}

// Not under the lock: the other operations (the watcher's among them) must not wait for the
// line. Should the port be closed meanwhile, the wait only ends early or late; the next
// operation sees the port closed.
bool TCustomComm::WaitForInput(std::chrono::microseconds timeout) {
    int handle = -1;
    {
        std::lock_guard guard(FLock);
        handle = FHandle;
    }
    if (handle == -1) {
        return false;
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
    const timespec limit{static_cast<time_t>(seconds.count()),
                         static_cast<long>((timeout - seconds).count() * 1000)};
    pollfd input{handle, POLLIN, 0};
    const int ready = ppoll(&input, 1, &limit, nullptr);
    if (ready > 0 && (input.revents & POLLIN)) {
        return true;
    }
    if (ready > 0) {
        // A hang-up is reported at once and for ever: the wait must not turn into a spin.
        std::this_thread::sleep_for(timeout);
    }
    return false;
}

int32_t TCustomComm::OutQueCount() {
    std::lock_guard guard(FLock);
    int count = 0;
    if (!Enabled() || ioctl(FHandle, TIOCOUTQ, &count) != 0) {
        return -1;
    }
    return count;
}

void TCustomComm::PurgeIn() {
    std::lock_guard guard(FLock);
    if (Enabled()) {
        tcflush(FHandle, TCIFLUSH);
    }
}

void TCustomComm::PurgeOut() {
    std::lock_guard guard(FLock);
    if (Enabled()) {
        tcflush(FHandle, TCOFLUSH);
    }
}

bool TCustomComm::GetModemState(int index) {
    static const int lines[] = {TIOCM_CTS, TIOCM_DSR, TIOCM_RNG, TIOCM_CAR};
    int status = 0;
    if (index < 1 || index > 4 || !Enabled() || ioctl(FHandle, TIOCMGET, &status) != 0) {
        return false;
    }
    return (status & lines[index - 1]) != 0;
}

// Linux reports no transmission-hold flags; the one that can be derived is waiting for CTS
// under CTS handshaking.
bool TCustomComm::GetComState(int index) {
    if (!Enabled()) {
        return false;
    }
    if (index == 0 || index > 5) {
        index = 1;
    }
    if (index != 1 || !(FDCB.Flags & DcbFlag::OutxCtsFlow)) {
        return false;
    }
    int status = 0;
    return ioctl(FHandle, TIOCMGET, &status) == 0 && !(status & TIOCM_CTS);
}

void TCustomComm::EscapeComm(int function) {
    if (!Enabled()) {
        RaiseCommError("Port not open, unable to complete operation", -1);
    }
    int result = -1;
    int line = 0;
    switch (function) {
        case SETXOFF:
            result = tcflow(FHandle, TCOOFF);
            break;
        case SETXON:
            result = tcflow(FHandle, TCOON);
            break;
        case SETRTS:
            line = TIOCM_RTS;
            result = ioctl(FHandle, TIOCMBIS, &line);
            break;
        case CLRRTS:
            line = TIOCM_RTS;
            result = ioctl(FHandle, TIOCMBIC, &line);
            break;
        case SETDTR:
            line = TIOCM_DTR;
            result = ioctl(FHandle, TIOCMBIS, &line);
            break;
        case CLRDTR:
            line = TIOCM_DTR;
            result = ioctl(FHandle, TIOCMBIC, &line);
            break;
        case SETBREAK:
            result = ioctl(FHandle, TIOCSBRK);
            break;
        case CLRBREAK:
            result = ioctl(FHandle, TIOCCBRK);
            break;
        default:
            errno = EINVAL;
            break;
    }
    if (result != 0) {
        RaiseCommError("EscapeCommFunction failure", errno);
    }
}

void TCustomComm::SetDTRState(bool state) {
    EscapeComm(state ? SETDTR : CLRDTR);
}
void TCustomComm::SetRTSState(bool state) {
    EscapeComm(state ? SETRTS : CLRRTS);
}
void TCustomComm::SetXONState(bool state) {
    EscapeComm(state ? SETXON : SETXOFF);
}

void TCustomComm::SetBREAKState(bool state) {
    EscapeComm(state ? SETBREAK : CLRBREAK);
    if (Enabled()) {
        tcflush(FHandle, TCIOFLUSH);
    }
}

void TCustomComm::HandleCommEvent(TCommEventThread* /*sender*/, uint32_t status) {
    const int32_t errors = 0;  // Linux latches no line errors to report here
    const int32_t count = InQueCount();
    if ((status & CommEventMask::Break) && OnBreak)
        OnBreak(this);
    if ((status & CommEventMask::Cts) && OnCts)
        OnCts(this);
    if ((status & CommEventMask::Dsr) && OnDsr)
        OnDsr(this);
    if ((status & CommEventMask::Err) && OnError)
        OnError(this, errors);
    if ((status & CommEventMask::Ring) && OnRing)
        OnRing(this);
    if ((status & CommEventMask::Rlsd) && OnRlsd)
        OnRlsd(this);
    if ((status & CommEventMask::RxChar) && count > 0 && OnRxChar)
        OnRxChar(this, count);
    if ((status & CommEventMask::RxFlag) && OnRxFlag)
        OnRxFlag(this);
    if ((status & CommEventMask::TxEmpty) && OnTxEmpty)
        OnTxEmpty(this);
}

// ---- setters ----

void TCustomComm::SetDeviceName(const std::string& value) {
    if (value != FDeviceName) {
        CheckOpen();
        FDeviceName = value;
    }
}

void TCustomComm::SetReadBufSize(int32_t value) {
    if (value != FReadBufSize) {
        CheckOpen();
        FReadBufSize = value;
    }
}

void TCustomComm::SetWriteBufSize(int32_t value) {
    if (value != FWriteBufSize) {
        CheckOpen();
        FWriteBufSize = value;
    }
}

void TCustomComm::SetMonitorEvents(TCommEventTypes value) {
    if (value != FMonitorEvents) {
        CheckOpen();
        FMonitorEvents = value;
    }
}

#define DLM_LINE_SETTER(Name, Type, Field) \
    void TCustomComm::Name(Type value) {   \
        if (value != Field) {              \
            Field = value;                 \
            UpdateDataControlBlock();      \
        }                                  \
    }

DLM_LINE_SETTER(SetBaudRate, TBaudrate, FBaudRate)
DLM_LINE_SETTER(SetParity, TParity, FParity)
DLM_LINE_SETTER(SetStopbits, TStopbits, FStopbits)
DLM_LINE_SETTER(SetDatabits, TDatabits, FDatabits)
DLM_LINE_SETTER(SetOptions, TCommOptions, FOptions)
DLM_LINE_SETTER(SetFlowControl, TFlowControl, FFlowControl)

#undef DLM_LINE_SETTER
