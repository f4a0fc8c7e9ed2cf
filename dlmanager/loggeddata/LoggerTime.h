#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cstdint>
#include <optional>

// A time stamp of the logger's clock, which knows no time zone: seconds since 1970-01-01
// 00:00:00 of that clock, counted as if every day had 86,400 seconds. So every stamp the
// device writes exists and sorts right, 02:30 on the night clocks go forward included.
using LoggerTime = int64_t;

namespace LoggerTimeStamp {

LoggerTime fromDateAndTime(const QDate& date, const QTime& time);
QDate date(LoggerTime stamp);
QTime time(LoggerTime stamp);
// A QDateTime kept in UTC, so no zone shifts it, for formatting and charts.
QDateTime toDateTime(LoggerTime stamp);

// The stamp of a record from its date word and time word; nothing when the fields do not
// form an existing date and time.
std::optional<LoggerTime> fromRecordWords(uint16_t dateWord, uint16_t timeWord);

}  // namespace LoggerTimeStamp
