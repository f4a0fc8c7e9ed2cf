#include "devicelink/ModbusLibrary.h"

ModbusLibrary boundModbusLibrary() {
    return {&::Modbusinitialize, &::Modbusdeinitialize, &::ModbusRead, &::ModbusWrite};
}
