#pragma once

#include "ControlChannel.h"
#include "Datalogger.h"
#include "FaultPlan.h"
#include "LineWriter.h"
#include "RuntimeControls.h"
#include "SerialLine.h"

#include <cstdint>
#include <vector>

struct _modbus;
struct _modbus_mapping_t;

// Serves the datalogger as Modbus RTU slave LoggerNode on one line until a stop signal.
// libmodbus parses each request and builds each answer; the answer is caught on an internal
// socket so the faults and the line pacing can act on its bytes before they go out.
class ModbusServer {
public:
    ModbusServer(Datalogger& logger, FaultPlan& faults, SerialLine& line,
                 RuntimeControls& controls);
    ~ModbusServer();
    ModbusServer(const ModbusServer&) = delete;
    ModbusServer& operator=(const ModbusServer&) = delete;

    bool ready() const { return context_ != nullptr; }
    // Returns when stopFd becomes readable.
    void run(int stopFd, ControlChannel* control);

private:
    bool makeContext();
    void serveRequest();
    uint8_t dispatch(const uint8_t* request, int length, double now);
    uint8_t readWithOverrides(uint16_t address, uint16_t count, double now);
    std::vector<uint8_t> buildAnswer(const uint8_t* request, int length, uint8_t exception);

    Datalogger& logger_;
    FaultPlan& faults_;
    SerialLine& line_;
    RuntimeControls& controls_;
    int lineFd_;
    LineWriter writer_;
    _modbus* context_ = nullptr;
    _modbus_mapping_t* registers_ = nullptr;
    int capture_[2] = {-1, -1};
};

// Host time in seconds since the epoch.
double hostNow();
