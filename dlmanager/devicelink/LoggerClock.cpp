#include "devicelink/LoggerClock.h"

#include "devicelink/Comon.h"
#include "devicelink/RegisterMap.h"

namespace LoggerClock {

std::optional<QDateTime> decode(const Registers& r) {
    const QDate date(2000 + r[2], r[1], r[0]);
    const QTime time(r[3], r[4], r[5]);
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    // The logger knows no time zone: held as UTC so that no clock change moves it.
    return QDateTime(date, time, Qt::UTC);
}

Reading read(Comon& comon) {
    Reading reading;
    reading.result =
        comon.ReadRegisters(RegisterMap::LoggerNode, RegisterMap::ClockRegister,
                            uint8_t(reading.registers.size()), reading.registers.data());
    if (reading.result == 1) {
        reading.dateTime = decode(reading.registers);
    }
    return reading;
}

}  // namespace LoggerClock
