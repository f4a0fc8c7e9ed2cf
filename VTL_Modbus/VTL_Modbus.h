/* Modbus RTU master on one serial port: the four functions the library exports. */
#ifndef VTL_MODBUS_H
#define VTL_MODBUS_H

#include <stdint.h>

#define VTL_MODBUS_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Results: 1 opened; 2 already initialised; 7 a parameter out of range; 5 the port could not be
   opened or configured; 0 any other failure. port 0 is "Com1" (VTL_MODBUS_COM1, else
   /dev/ttyS0); timeoutMs 0 means 1000. */
VTL_MODBUS_API uint8_t Modbusinitialize(uint8_t port, int32_t baudRate, uint8_t parity,
                                        uint8_t dataBits, uint8_t stopBits, uint16_t timeoutMs);

/* Results: 1 closed; 0 not initialised or closing failed. Called by a host handler inside a
   waiting ModbusRead/ModbusWrite, it closes the port at once (so the library can be initialised
   again right there) and that waiting call returns 0. */
VTL_MODBUS_API uint8_t Modbusdeinitialize(void);

/* Results: 1 completed (read: registers in buffer, host order); 0 timed out, failed, refused, or
   the library was deinitialised while it waited; 2 not initialised; 3 another transaction of
   this thread is waiting. With 0, errno tells why: ETIMEDOUT no answer, EBADMSG an answer with a
   wrong CRC, EREMOTEIO an exception answer, EPROTO an answer that does not fit the request, EIO
   the port failed, EINVAL a request that does not fit a frame, ECANCELED deinitialised while
   waiting. */
VTL_MODBUS_API uint8_t ModbusRead(uint8_t slaveAddress, uint8_t functionCode,
                                  uint16_t startRegister, uint16_t registerCount, uint16_t* buffer);
VTL_MODBUS_API uint8_t ModbusWrite(uint8_t slaveAddress, uint8_t functionCode,
                                   uint16_t startRegister, uint16_t registerCount,
                                   uint16_t* buffer);

typedef uint8_t (*ModbusinitializeFunction)(uint8_t, int32_t, uint8_t, uint8_t, uint8_t, uint16_t);
typedef uint8_t (*ModbusdeinitializeFunction)(void);
typedef uint8_t (*ModbusTransferFunction)(uint8_t, uint8_t, uint16_t, uint16_t, uint16_t*);

#ifdef __cplusplus
}
#endif

#endif
