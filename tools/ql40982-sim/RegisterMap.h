#pragma once

#include <cstdint>

// The datalogger's holding registers as the desktop program and the device agree on them.
namespace RegisterMap {

inline constexpr uint8_t LoggerNode = 1;

inline constexpr uint16_t ClockFirst = 100;  // day, month, year - 2000, hour, minute, second
inline constexpr uint16_t ClockCommit = 106;
inline constexpr uint16_t SerialFirst = 110;  // time-out, baud code, parity code
inline constexpr uint16_t Status = 120;
inline constexpr uint16_t Command = 121;
inline constexpr uint16_t DiagnosticFirst = 122;  // 122..131
inline constexpr uint16_t ReadingStatus = 122;
inline constexpr uint16_t FlushStatus = 123;
inline constexpr uint16_t CountErrorRead = 124;
inline constexpr uint16_t DataMsw = 125;
inline constexpr uint16_t DataLsw = 126;
inline constexpr uint16_t MemoryChip = 127;
inline constexpr uint16_t WritePage = 128;
inline constexpr uint16_t WriteByte = 129;
inline constexpr uint16_t FlashStatus = 130;
inline constexpr uint16_t CorrectRead = 131;
inline constexpr uint16_t DiagnosticLast = 131;
inline constexpr uint16_t PageChip = 200;
inline constexpr uint16_t PageIndex = 201;
inline constexpr uint16_t PageOffset = 202;
inline constexpr uint16_t PageBufferFirst = 10000;
inline constexpr uint16_t PageBufferCount = 66;
inline constexpr uint16_t CommandTableFirst = 50000;
inline constexpr uint16_t CommandTableCount = 8192;  // entries are read while 3k is below 8191

enum RunState : uint16_t { Running = 1, Stopped = 2, Erasing = 3 };
enum LoggerCommand : uint16_t { StartLogging = 1, StopLogging = 2, EraseMemory = 5 };

inline constexpr uint16_t ChipCodeFirst = 1;
inline constexpr uint16_t ChipCodeSecond = 3;

inline constexpr uint16_t HardwareStopMarker = 2000;
inline constexpr uint16_t HardwareStartMarker = 2001;

// Modbus exception codes the device answers with.
inline constexpr uint8_t IllegalFunction = 1;
inline constexpr uint8_t IllegalDataAddress = 2;
inline constexpr uint8_t IllegalDataValue = 3;

}  // namespace RegisterMap
