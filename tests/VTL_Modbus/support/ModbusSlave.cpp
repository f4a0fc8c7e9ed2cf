#include "ModbusSlave.h"

#include <modbus.h>

#include <chrono>
#include <stdexcept>

ModbusSlave::ModbusSlave(PseudoTerminal& line, int slaveId) {
    context_ = modbus_new_rtu(line.SlavePath().c_str(), 57600, 'N', 8, 1);
    mapping_ = modbus_mapping_new_start_address(0, 0, 0, 0, FirstRegister, RegisterCount, 0, 0);
    if (context_ == nullptr || mapping_ == nullptr) {
        throw std::runtime_error("cannot set up the libmodbus slave");
    }
    modbus_set_slave(context_, slaveId);
    modbus_set_socket(context_, line.MasterFd());
    // Wake now and then so the slave can be stopped.
    modbus_set_indication_timeout(context_, 0, 50000);
    thread_ = std::thread([this] { Serve(); });
}

ModbusSlave::~ModbusSlave() {
    stop_ = true;
    thread_.join();
    modbus_set_socket(context_, -1);  // the line belongs to the pseudo-terminal
    modbus_free(context_);
    modbus_mapping_free(mapping_);
}

uint16_t ModbusSlave::Register(int address) {
    std::lock_guard lock(mappingLock_);
    return mapping_->tab_registers[address - FirstRegister];
}

void ModbusSlave::SetRegister(int address, uint16_t value) {
    std::lock_guard lock(mappingLock_);
    mapping_->tab_registers[address - FirstRegister] = value;
}

void ModbusSlave::Serve() {
    uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    while (!stop_) {
        const int length = modbus_receive(context_, request);
        if (length > 0) {
            std::lock_guard lock(mappingLock_);
            modbus_reply(context_, request, length, mapping_);
            ++served_;
        } else if (length < 0 && errno != ETIMEDOUT) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
}
