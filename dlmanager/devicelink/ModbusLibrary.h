#pragma once

#include "VTL_Modbus.h"

// The four functions of the Modbus library, bound once at start. The program reaches the
// device only through this table, so tests can bind a scripted device in its place.
struct ModbusLibrary {
    ModbusinitializeFunction Modbusinitialize = nullptr;
    ModbusdeinitializeFunction Modbusdeinitialize = nullptr;
    ModbusTransferFunction ModbusRead = nullptr;
    ModbusTransferFunction ModbusWrite = nullptr;
};

// The library's own exports.
ModbusLibrary boundModbusLibrary();
