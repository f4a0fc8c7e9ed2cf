#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "PseudoTerminal.h"

struct _modbus;
struct _modbus_mapping_t;

// An independent Modbus RTU slave (libmodbus) answering at once on the master side of a
// pseudo-terminal; the code under test opens the slave side as its serial device.
class ModbusSlave {
public:
    static constexpr int FirstRegister = 0;
    static constexpr int RegisterCount = 10200;

    explicit ModbusSlave(PseudoTerminal& line, int slaveId = 1);
    ~ModbusSlave();
    ModbusSlave(const ModbusSlave&) = delete;
    ModbusSlave& operator=(const ModbusSlave&) = delete;

    uint16_t Register(int address);
    void SetRegister(int address, uint16_t value);
    int RequestsServed() const { return served_.load(); }

private:
    void Serve();

    _modbus* context_ = nullptr;
    _modbus_mapping_t* mapping_ = nullptr;
    std::mutex mappingLock_;
    std::atomic<bool> stop_{false};
    std::atomic<int> served_{0};
    std::thread thread_;
};
