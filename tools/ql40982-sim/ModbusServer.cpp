#include "ModbusServer.h"

#include "RegisterMap.h"

#include <fcntl.h>
#include <modbus/modbus.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <thread>

double hostNow() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

ModbusServer::ModbusServer(Datalogger& logger, FaultPlan& faults, SerialLine& line,
                           RuntimeControls& controls)
    : logger_(logger),
      faults_(faults),
      line_(line),
      controls_(controls),
      lineFd_(line.fd()),
      writer_(line.fd(), faults.options().lineRate) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, capture_) != 0) {
        return;
    }
    fcntl(capture_[1], F_SETFL, O_NONBLOCK);
    registers_ = modbus_mapping_new(0, 0, 0x10000, 0);
    if (registers_ == nullptr || !makeContext()) {
        return;
    }
}

bool ModbusServer::makeContext() {
    if (context_ != nullptr) {
        modbus_free(context_);
    }
    // The device name is never opened: the context works on the descriptor we hand it.
    context_ = modbus_new_rtu("/dev/null", 57600, 'N', 8, 1);
    if (context_ == nullptr) {
        return false;
    }
    modbus_set_slave(context_, RegisterMap::LoggerNode);
    modbus_set_socket(context_, lineFd_);
    return true;
}

ModbusServer::~ModbusServer() {
    if (registers_ != nullptr) {
        modbus_mapping_free(registers_);
    }
    if (context_ != nullptr) {
        modbus_free(context_);
    }
    for (int fd : capture_) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void ModbusServer::run(int stopFd, ControlChannel* control) {
    for (;;) {
        const double now = hostNow();
        logger_.advance(now);
        int timeoutMs = -1;
        if (const auto deadline = logger_.nextDeadline()) {
            timeoutMs = static_cast<int>(std::ceil(std::max(0.0, *deadline - now) * 1000.0));
        }
        pollfd watched[4] = {{stopFd, POLLIN, 0},
                             {lineFd_, POLLIN, 0},
                             {control != nullptr ? control->fd() : -1, POLLIN, 0},
                             {line_.clientWatchFd(), POLLIN, 0}};
        if (poll(watched, 4, timeoutMs) < 0 && errno != EINTR) {
            return;
        }
        if (watched[0].revents != 0) {
            return;
        }
        // Clients first: a request and the close of the client that sent it can come together.
        if (watched[3].revents & POLLIN) {
            line_.takeClientEvents();
        }
        if (watched[1].revents & POLLIN) {
            serveRequest();
        } else if (watched[1].revents & (POLLHUP | POLLERR)) {
            // No client on the line (a serial adapter unplugged): wait, do not spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        if (control != nullptr && (watched[2].revents & POLLIN)) {
            control->serve();
        }
    }
}

uint8_t ModbusServer::dispatch(const uint8_t* request, int length, double now) {
    const int h = modbus_get_header_length(context_);
    if (length < h + 5) {
        return RegisterMap::IllegalFunction;
    }
    const uint8_t function = request[h];
    const uint16_t address = static_cast<uint16_t>(request[h + 1] << 8 | request[h + 2]);
    const uint16_t word = static_cast<uint16_t>(request[h + 3] << 8 | request[h + 4]);
    switch (function) {
        case MODBUS_FC_READ_HOLDING_REGISTERS: {
            if (word < 1 || word > MODBUS_MAX_READ_REGISTERS) {
                return RegisterMap::IllegalDataValue;
            }
            if (const auto injected = faults_.exceptionFor(address, word)) {
                return *injected;
            }
            if (controls_.overrides.touches(address, word)) {
                return readWithOverrides(address, word, now);
            }
            return logger_.read(address, word, registers_->tab_registers + address, now);
        }
        case MODBUS_FC_WRITE_SINGLE_REGISTER: {
            if (const auto injected = faults_.exceptionFor(address, 1)) {
                return *injected;
            }
            const uint16_t value[1] = {word};
            return logger_.write(address, value, now);
        }
        case MODBUS_FC_WRITE_MULTIPLE_REGISTERS: {
            if (word < 1 || word > MODBUS_MAX_WRITE_REGISTERS || length < h + 6 + 2 * word ||
                request[h + 5] != 2 * word) {
                return RegisterMap::IllegalDataValue;
            }
            if (const auto injected = faults_.exceptionFor(address, word)) {
                return *injected;
            }
            std::vector<uint16_t> values(word);
            for (unsigned i = 0; i < word; ++i) {
                values[i] =
                    static_cast<uint16_t>(request[h + 6 + 2 * i] << 8 | request[h + 7 + 2 * i]);
            }
            return logger_.write(address, values, now);
        }
        default:
            return RegisterMap::IllegalFunction;
    }
}

uint8_t ModbusServer::readWithOverrides(uint16_t address, uint16_t count, double now) {
    for (unsigned i = 0; i < count; ++i) {
        const auto at = static_cast<uint16_t>(address + i);
        if (const auto forced = controls_.overrides.valueOf(at)) {
            registers_->tab_registers[at] = *forced;
        } else if (const uint8_t refusal =
                       logger_.read(at, 1, registers_->tab_registers + at, now)) {
            return refusal;
        }
    }
    return 0;
}

std::vector<uint8_t> ModbusServer::buildAnswer(const uint8_t* request, int length,
                                               uint8_t exception) {
    modbus_set_socket(context_, capture_[0]);
    if (exception != 0) {
        modbus_reply_exception(context_, request, exception);
    } else {
        modbus_reply(context_, request, length, registers_);
    }
    modbus_set_socket(context_, lineFd_);
    std::vector<uint8_t> answer;
    uint8_t chunk[MODBUS_RTU_MAX_ADU_LENGTH];
    ssize_t got = 0;
    while ((got = read(capture_[1], chunk, sizeof chunk)) > 0) {
        answer.insert(answer.end(), chunk, chunk + got);
    }
    return answer;
}

void ModbusServer::serveRequest() {
    uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    const int length = modbus_receive(context_, request);
    if (length < 0) {
        if (errno == EIO) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        } else {
            modbus_flush(context_);  // a damaged frame: start afresh with the next one
        }
        return;
    }
    const double now = hostNow();
    if (length == 0) {
        // For another slave. libmodbus would now take the next frame for that slave's answer
        // and drop it; no other slave answers on this line, so that frame would be the
        // master's next request. A fresh context expects a request again.
        controls_.requests.append(now, request, 6, "other-slave");
        makeContext();
        return;
    }
    const uint64_t asker = line_.clientGeneration();
    const RequestFate fate = faults_.next();
    const uint8_t function = request[1];
    const bool write = function == MODBUS_FC_WRITE_SINGLE_REGISTER ||
                       function == MODBUS_FC_WRITE_MULTIPLE_REGISTERS;
    const bool addressed = length >= 8;  // a frame that names registers
    const auto address = addressed ? static_cast<uint16_t>(request[2] << 8 | request[3]) : 0;
    const auto count = !addressed ? uint16_t{0}
                       : function == MODBUS_FC_WRITE_SINGLE_REGISTER
                           ? uint16_t{1}
                           : static_cast<uint16_t>(request[4] << 8 | request[5]);
    const int frameLength = length - 2;  // without the CRC
    if (!fate.handled || controls_.faults.ignores(write, address, count)) {
        controls_.requests.append(now, request, frameLength, "ignored");
        return;
    }
    const uint8_t exception = dispatch(request, length, now);
    std::vector<uint8_t> answer = buildAnswer(request, length, exception);
    const bool broadcast = request[0] == MODBUS_BROADCAST_ADDRESS;
    const bool lost = !fate.answered || fate.corruptCrc;
    controls_.requests.append(now, request, frameLength,
                              broadcast   ? "broadcast"
                              : lost      ? "lost"
                              : exception ? "exception-" + std::to_string(exception)
                                          : "answered");
    if (broadcast || !fate.answered || answer.empty()) {
        return;
    }
    if (fate.corruptCrc) {
        answer.back() ^= 0xFF;
    }
    if (faults_.options().delayMs != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(faults_.options().delayMs));
    }
    line_.takeClientEvents();
    if (line_.clientPresent() && line_.clientGeneration() == asker) {
        writer_.send(answer);
    }
}
