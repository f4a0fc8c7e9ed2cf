#pragma once

#include "loggeddata/FormatReader.h"
#include "loggeddata/LoggerTime.h"

#include <QHash>
#include <QLocale>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The date and time texts of many samples in a row, for the table, the data files and the CSV
// export. In the locale style they are LocaleText's (short date with four-digit year, long
// time without zone); the ISO style writes ISO 8601 without a zone and "." as the decimal
// separator, for tools that read the files under any locale. The formats are derived once and
// the texts of the last day and of each second of a day are remembered, so a table of 150,000
// samples costs a few thousand conversions.
class SampleTimeTexts {
public:
    enum class Style { Locale, Iso };

    explicit SampleTimeTexts(Style style = Style::Locale);

    Style style() const { return style_; }
    QString date(LoggerTime stamp);
    QString time(LoggerTime stamp);
    // Date and time joined by a blank ("T" in the ISO style); in the locale style the time is
    // left out at exactly midnight.
    QString dateTime(LoggerTime stamp);
    // The same with the time on a line of its own, for the chart's time axis.
    QString dateTimeLines(LoggerTime stamp);
    // What dateTime() writes in either style, and the locale's own short date with a two-digit
    // year (read as 2000..2099), as files written elsewhere under the same locale have it.
    std::optional<LoggerTime> parseDateTime(const QString& text);
    // The same from UTF-8 bytes, as data files hold them; most texts are read without QLocale.
    std::optional<LoggerTime> parseDateTimeBytes(std::string_view utf8);

    QChar decimalSeparator() const { return decimalSeparator_; }

private:
    QString joined(LoggerTime stamp, QChar between);
    std::optional<LoggerTime> readFast(std::string_view text) const;
    std::optional<LoggerTime> parseLocale(const QString& text);
    std::optional<QDate> parseDate(const QString& text);
    std::optional<int> parseSecondOfDay(const QString& text);

    Style style_;
    QLocale writeLocale_;
    QString writeDateFormat_;
    QString writeTimeFormat_;
    QChar decimalSeparator_;
    int64_t lastDay_ = INT64_MIN;
    QString lastDayText_;
    std::vector<QString> secondTexts_;

    QLocale readLocale_;
    QString readDateFormat_;
    QString readTimeFormat_;
    QString twoDigitYearFormat_;
    QString lastParsedDateText_;
    QDate lastParsedDate_;
    QHash<QString, int> parsedSeconds_;

    FormatReader isoReader_;
    FormatReader dateReader_;
    FormatReader twoDigitYearReader_;
    FormatReader timeReader_;
    std::string lastBytes_;
    std::optional<LoggerTime> lastBytesStamp_;
};
