#pragma once

#include <cstdint>

// The datalogger's registers and the fixed settings of the link to it. Every transfer is a
// holding-register read (function 3) or a single-register write of the slave LoggerNode.
namespace RegisterMap {

inline constexpr uint8_t LoggerNode = 1;

inline constexpr uint16_t ClockRegister = 100;  // 100..105: day, month, year-2000, h, m, s
inline constexpr uint16_t ClockCommitRegister = 106;
inline constexpr uint16_t SerialSettingsRegister = 110;  // 110..112: time-out, baud, parity
inline constexpr uint16_t StatusRegister = 120;
inline constexpr uint16_t CommandRegister = 121;
inline constexpr uint16_t DiagnosticRegister = 122;  // 122..131, read as one block
inline constexpr uint16_t DiagnosticCount = 10;
inline constexpr uint16_t CountErrorReadRegister = 124;
inline constexpr uint16_t MemoryChipRegister = 127;
inline constexpr uint16_t MemoryInfoRegister = 128;  // 128..130: page, byte, flash status
inline constexpr uint16_t CorrectReadRegister = 131;
inline constexpr uint16_t PageRequestRegister = 200;  // 200..202: chip code, page, offset
inline constexpr uint16_t PageBufferRegister = 10000;
inline constexpr uint16_t PageBufferCount = 66;
inline constexpr uint16_t CommandTableRegister = 50000;

// What CommandRegister takes.
enum LoggerCommand : uint16_t { RunCommand = 1, StopCommand = 2, EraseMemoryCommand = 5 };
// What StatusRegister reports.
enum LoggerStatus : uint16_t { StatusRun = 1, StatusStop = 2, StatusErasing = 3 };

}  // namespace RegisterMap

// The link's serial settings; not configurable, the project's own settings describe the
// logger's other port.
namespace Link {

inline constexpr int32_t BaudRate = 57600;
inline constexpr uint8_t ParityCode = 0;
inline constexpr uint8_t DataBits = 8;
inline constexpr uint8_t StopBitsCode = 0;
inline constexpr uint16_t TimeoutMs = 1000;
inline constexpr int StatusPollInterval = 6000;

}  // namespace Link
