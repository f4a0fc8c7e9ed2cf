#include "devicelink/ClockEntry.h"

#include "base/Numbers.h"
#include "devicelink/Comon.h"
#include "devicelink/RegisterMap.h"

#include <limits>

namespace {

struct Range {
    int low;
    int high;
    const char* message;
};

// In the order they are checked.
constexpr Range Ranges[6] = {
    {1, 31, "Day is wrong"},  {1, 12, "Month is wrong"},  {1, 64, "Year is wrong"},
    {0, 23, "Hour is wrong"}, {0, 59, "Minute is wrong"}, {0, 59, "Second is wrong"},
};

constexpr long long NotANumber = 65000;

uint16_t fieldValue(const QString& text) {
    const auto parsed = parseDecimal(text);
    const bool integer = parsed && *parsed >= std::numeric_limits<int32_t>::min() &&
                         *parsed <= std::numeric_limits<int32_t>::max();
    return static_cast<uint16_t>(integer ? *parsed : NotANumber);
}

}  // namespace

namespace ClockEntry {

Fields proposedFields(const QDateTime& now) {
    const QDate date = now.date();
    const QTime time = now.time();
    const int year = date.year() > 2000 ? date.year() - 2000 : date.year();
    return {QString::number(date.day()),    QString::number(date.month()),
            QString::number(year),          QString::number(time.hour()),
            QString::number(time.minute()), QString::number(time.second())};
}

Checked check(const Fields& fields) {
    Checked checked;
    for (size_t i = 0; i < fields.size(); ++i) {
        checked.values[i] = fieldValue(fields[i]);
        if (checked.error.isEmpty() &&
            (checked.values[i] < Ranges[i].low || checked.values[i] > Ranges[i].high)) {
            checked.error = QString::fromLatin1(Ranges[i].message);
        }
    }
    return checked;
}

int write(Comon& comon, const Values& values) {
    int failed = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        const auto reg = static_cast<uint16_t>(RegisterMap::ClockRegister + i);
        failed += comon.WriteRegister(RegisterMap::LoggerNode, reg, values[i]) != 1;
    }
    failed +=
        comon.WriteRegister(RegisterMap::LoggerNode, RegisterMap::ClockCommitRegister, 1) != 1;
    return failed;
}

}  // namespace ClockEntry
