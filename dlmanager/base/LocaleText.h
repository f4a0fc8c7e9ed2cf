#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

// Date and time texts as the user sees them, saved in data files and exported: the default
// QLocale's short date and long time, with two changes so that every text parses back to the
// same second: the year always has four digits and the time carries no zone.
namespace LocaleText {

QString date(const QDate& date);
QString time(const QTime& time);
// Date, a blank and the time; the time is left out when it is exactly midnight.
QString dateTime(const QDateTime& dateTime);

std::optional<QDate> parseDate(const QString& text);
std::optional<QTime> parseTime(const QString& text);
// Accepts what dateTime() writes, with or without the time part.
std::optional<QDateTime> parseDateTime(const QString& text);

// The formats behind date() and time(), for callers that write many texts in a row.
QString dateFormat();
QString timeFormat();

// The decimal separator shown to the user.
QChar decimalSeparator();

}  // namespace LocaleText
