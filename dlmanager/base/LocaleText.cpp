#include "base/LocaleText.h"

#include <QLocale>
#include <vector>

namespace {

// Marks the characters of a Qt date/time format that are literal text: quoted sections and
// their quotes. Only the other characters are fields.
std::vector<bool> quotedChars(const QString& format) {
    std::vector<bool> quoted(format.size(), false);
    bool inQuote = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'\'') {
            quoted[i] = true;
            inQuote = !inQuote;
        } else {
            quoted[i] = inQuote;
        }
    }
    return quoted;
}

// A two-digit year field ("yy") parses back into the 1900s; four digits keep the century.
QString withFourDigitYear(const QString& format) {
    const std::vector<bool> quoted = quotedChars(format);
    QString result;
    qsizetype i = 0;
    while (i < format.size()) {
        if (quoted[i] || format[i] != u'y') {
            result += format[i++];
            continue;
        }
        qsizetype end = i;
        while (end < format.size() && !quoted[end] && format[end] == u'y') {
            ++end;
        }
        result += (end - i == 2) ? QStringLiteral("yyyy") : format.mid(i, end - i);
        i = end;
    }
    return result;
}

bool isUnquotedSpace(const QString& format, const std::vector<bool>& quoted, qsizetype i) {
    return i >= 0 && i < format.size() && !quoted[i] && format[i].isSpace();
}

// Drops the time-zone field ("t", with brackets around it if any) and the blanks that joined it
// to the rest: zone names are not unique and parse back wrong under some zones.
QString withoutTimeZone(QString format) {
    for (;;) {
        const std::vector<bool> quoted = quotedChars(format);
        qsizetype start = 0;
        while (start < format.size() && (quoted[start] || format[start] != u't')) {
            ++start;
        }
        if (start == format.size()) {
            break;
        }
        qsizetype end = start;
        while (end < format.size() && !quoted[end] && format[end] == u't') {
            ++end;
        }
        if (start > 0 && end < format.size() && !quoted[start - 1] && !quoted[end] &&
            format[start - 1] == u'(' && format[end] == u')') {
            --start;
            ++end;
        }
        if (isUnquotedSpace(format, quoted, start - 1)) {
            while (isUnquotedSpace(format, quoted, start - 1)) {
                --start;
            }
        } else {
            while (isUnquotedSpace(format, quoted, end)) {
                ++end;
            }
        }
        format.remove(start, end - start);
    }
    return format.trimmed();
}

// The default locale and the two formats derived from it, computed once per call.
struct Formats {
    QLocale locale;
    QString date = withFourDigitYear(locale.dateFormat(QLocale::ShortFormat));
    QString time = withoutTimeZone(locale.timeFormat(QLocale::LongFormat));

    std::optional<QDate> parseDate(const QString& text) const {
        const QDate parsed = locale.toDate(text, date);
        return parsed.isValid() ? std::optional(parsed) : std::nullopt;
    }
    std::optional<QTime> parseTime(const QString& text) const {
        const QTime parsed = locale.toTime(text, time);
        return parsed.isValid() ? std::optional(parsed) : std::nullopt;
    }
};

bool isMidnight(const QTime& time) {
    return time.hour() == 0 && time.minute() == 0 && time.second() == 0;
}

}  // namespace

namespace LocaleText {

QString date(const QDate& date) {
    const Formats formats;
    return formats.locale.toString(date, formats.date);
}

QString time(const QTime& time) {
    const Formats formats;
    return formats.locale.toString(time, formats.time);
}

QString dateTime(const QDateTime& dateTime) {
    if (!dateTime.isValid()) {
        return {};
    }
    const Formats formats;
    const QString dateText = formats.locale.toString(dateTime.date(), formats.date);
    if (isMidnight(dateTime.time())) {
        return dateText;
    }
    return dateText + u' ' + formats.locale.toString(dateTime.time(), formats.time);
}

std::optional<QDate> parseDate(const QString& text) {
    return Formats().parseDate(text.trimmed());
}

std::optional<QTime> parseTime(const QString& text) {
    return Formats().parseTime(text.trimmed());
}

std::optional<QDateTime> parseDateTime(const QString& text) {
    const Formats formats;
    const QString trimmed = text.trimmed();
    // The date may hold blanks itself ("15 Mar 2011") and the time rarely more than one, so the
    // joint is looked for from the right.
    for (qsizetype joint = trimmed.lastIndexOf(u' '); joint > 0;
         joint = trimmed.lastIndexOf(u' ', joint - 1)) {
        const auto timePart = formats.parseTime(trimmed.mid(joint + 1));
        if (!timePart) {
            continue;
        }
        if (const auto datePart = formats.parseDate(trimmed.left(joint))) {
            return QDateTime(*datePart, *timePart);
        }
    }
    if (const auto dateOnly = formats.parseDate(trimmed)) {
        return QDateTime(*dateOnly, QTime(0, 0));
    }
    return std::nullopt;
}

QString dateFormat() {
    return Formats().date;
}

QString timeFormat() {
    return Formats().time;
}

QChar decimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

}  // namespace LocaleText
