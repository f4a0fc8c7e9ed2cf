#include "loggeddata/LoggerTime.h"

namespace {

constexpr int64_t SecondsPerDay = 86400;
const int64_t EpochJulianDay = QDate(1970, 1, 1).toJulianDay();

// Floor division, for stamps before 1970 that a data file may hold.
int64_t daysOf(LoggerTime stamp) {
    return stamp >= 0 ? stamp / SecondsPerDay : -((-stamp + SecondsPerDay - 1) / SecondsPerDay);
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil);
// decoding calls this for every record, QDate would cost more than the rest.
int64_t daysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

namespace LoggerTimeStamp {

LoggerTime fromDateAndTime(const QDate& date, const QTime& time) {
    return (date.toJulianDay() - EpochJulianDay) * SecondsPerDay +
           time.msecsSinceStartOfDay() / 1000;
}

QDate date(LoggerTime stamp) {
    return QDate::fromJulianDay(EpochJulianDay + daysOf(stamp));
}

QTime time(LoggerTime stamp) {
    return QTime(0, 0).addSecs(int(stamp - daysOf(stamp) * SecondsPerDay));
}

QDateTime toDateTime(LoggerTime stamp) {
    return QDateTime(date(stamp), time(stamp), Qt::UTC);
}

std::optional<LoggerTime> fromRecordWords(uint16_t dateWord, uint16_t timeWord) {
    const uint32_t v = uint32_t(dateWord) << 16 | timeWord;
    const int year = 2000 + int(v >> 26);
    const int month = int(v >> 22 & 0xF);
    const int day = int(v >> 17 & 0x1F);
    const int hour = int(v >> 12 & 0x1F);
    const int minute = int(v >> 6 & 0x3F);
    const int second = int(v & 0x3F);
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59) {
        return std::nullopt;
    }
    return daysFromCivil(year, month, day) * SecondsPerDay + hour * 3600 + minute * 60 + second;
}

}  // namespace LoggerTimeStamp
