#include "FakeModbusDevice.h"

#include <cerrno>

FakeModbusDevice* FakeModbusDevice::current = nullptr;

FakeModbusDevice::FakeModbusDevice() {
    current = this;
}

FakeModbusDevice::~FakeModbusDevice() {
    if (current == this) {
        current = nullptr;
    }
}

ModbusLibrary FakeModbusDevice::library() const {
    return {&FakeModbusDevice::init, &FakeModbusDevice::deinit, &FakeModbusDevice::read,
            &FakeModbusDevice::write};
}

std::vector<FakeModbusDevice::Request> FakeModbusDevice::calls(Call call) const {
    std::vector<Request> found;
    for (const Request& request : log) {
        if (request.call == call) {
            found.push_back(request);
        }
    }
    return found;
}

uint8_t FakeModbusDevice::init(uint8_t port, int32_t, uint8_t, uint8_t, uint8_t, uint16_t) {
    FakeModbusDevice& device = *current;
    uint8_t result = 1;
    if (device.initialised) {
        result = 2;
    } else if (!device.initResults.empty()) {
        result = device.initResults.front();
        device.initResults.pop_front();
    }
    device.initialised = device.initialised || result == 1;
    device.log.push_back({Call::Init, port, 0, {}, result});
    return result;
}

uint8_t FakeModbusDevice::deinit() {
    FakeModbusDevice& device = *current;
    const uint8_t result = device.initialised ? 1 : 0;
    device.initialised = false;
    ++device.generation_;
    device.log.push_back({Call::Deinit, 0, 0, {}, result});
    return result;
}

uint8_t FakeModbusDevice::read(uint8_t, uint8_t, uint16_t start, uint16_t count, uint16_t* buffer) {
    return current->transfer(Call::Read, start, count, buffer);
}

uint8_t FakeModbusDevice::write(uint8_t, uint8_t, uint16_t start, uint16_t count,
                                uint16_t* buffer) {
    return current->transfer(Call::Write, start, count, buffer);
}

bool FakeModbusDevice::scriptedFailure(Call call, uint16_t start, uint16_t count, uint8_t& result,
                                       int& error) {
    for (Failure& failure : failures) {
        const bool touches =
            failure.reg < 0 || (failure.reg >= start && failure.reg < start + count);
        if (failure.call == call && failure.times != 0 && touches) {
            if (failure.times > 0) {
                --failure.times;
            }
            result = failure.result;
            error = failure.error;
            return true;
        }
    }
    return false;
}

uint8_t FakeModbusDevice::transfer(Call call, uint16_t start, uint16_t count, uint16_t* buffer) {
    Request request{call, start, count, {}, 1};
    int error = 0;
    if (call == Call::Write) {
        request.values.assign(buffer, buffer + count);
    }
    if (!initialised) {
        request.result = 2;
    } else if (busy_) {
        request.result = 3;
    } else if (!scriptedFailure(call, start, count, request.result, error)) {
        if (call == Call::Write) {
            for (uint16_t i = 0; i < count; ++i) {
                registers[static_cast<uint16_t>(start + i)] = buffer[i];
                if (afterWrite) {
                    afterWrite(static_cast<uint16_t>(start + i), buffer[i]);
                }
            }
        } else {
            for (uint16_t i = 0; i < count; ++i) {
                const auto found = registers.find(static_cast<uint16_t>(start + i));
                buffer[i] = found == registers.end() ? 0 : found->second;
            }
            request.values.assign(buffer, buffer + count);
        }
    }
    if (request.result != 2 && request.result != 3 && duringTransfer) {
        const int generation = generation_;
        busy_ = true;
        duringTransfer(request);
        busy_ = false;
        // A deinit inside the wait voids the transaction, as the library does.
        if (generation != generation_) {
            request.result = 0;
        }
    }
    log.push_back(request);
    errno = error;
    return request.result;
}
