#pragma once

#include "devicelink/ModbusLibrary.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

// A scripted datalogger bound into the library table in place of the real library: registers
// that reads return and writes change, a log of every call, scripted failures, and a hook that
// runs inside a transfer as the host's event handlers do while the real library waits.
// One instance at a time.
class FakeModbusDevice {
public:
    enum class Call { Init, Deinit, Read, Write };
    struct Request {
        Call call;
        uint16_t start = 0;  // for Init: the port
        uint16_t count = 0;
        std::vector<uint16_t> values;  // written values, or the values a read returned
        uint8_t result = 0;
    };
    // A failure rule: transfers of `call` touching `reg` (any register when negative) fail
    // with `result` and `error` in errno, `times` times (for ever when negative).
    struct Failure {
        Call call;
        int reg = -1;
        int times = 1;
        uint8_t result = 0;
        int error = 0;
    };

    FakeModbusDevice();
    ~FakeModbusDevice();
    FakeModbusDevice(const FakeModbusDevice&) = delete;
    FakeModbusDevice& operator=(const FakeModbusDevice&) = delete;

    ModbusLibrary library() const;

    std::map<uint16_t, uint16_t> registers;  // unset registers read as 0
    std::vector<Request> log;
    std::deque<uint8_t> initResults;  // results of the next Modbusinitialize calls; then 1
    std::vector<Failure> failures;
    bool initialised = false;
    // Runs inside every transfer before it ends (not inside nested ones).
    std::function<void(const Request&)> duringTransfer;
    // Runs after each register a write has changed: a device's reaction to what it was told.
    std::function<void(uint16_t reg, uint16_t value)> afterWrite;

    void failNext(Call call, int times = 1, uint8_t result = 0, int reg = -1, int error = 0) {
        failures.push_back({call, reg, times, result, error});
    }
    // The calls of one kind, in order.
    std::vector<Request> calls(Call call) const;

private:
    static FakeModbusDevice* current;
    static uint8_t init(uint8_t port, int32_t, uint8_t, uint8_t, uint8_t, uint16_t);
    static uint8_t deinit();
    static uint8_t read(uint8_t node, uint8_t function, uint16_t start, uint16_t count,
                        uint16_t* buffer);
    static uint8_t write(uint8_t node, uint8_t function, uint16_t start, uint16_t count,
                         uint16_t* buffer);
    uint8_t transfer(Call call, uint16_t start, uint16_t count, uint16_t* buffer);
    bool scriptedFailure(Call call, uint16_t start, uint16_t count, uint8_t& result, int& error);

    bool busy_ = false;
    int generation_ = 0;
};
