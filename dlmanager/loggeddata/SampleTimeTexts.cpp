#include "loggeddata/SampleTimeTexts.h"

#include "shell/LocaleText.h"

namespace {

constexpr int SecondsPerDay = 86400;
const QString IsoDate = QStringLiteral("yyyy-MM-dd");
const QString IsoTime = QStringLiteral("HH:mm:ss");

int64_t dayOf(LoggerTime stamp) {
    return stamp >= 0 ? stamp / SecondsPerDay : -((-stamp + SecondsPerDay - 1) / SecondsPerDay);
}

int secondOfDay(LoggerTime stamp) {
    return int(stamp - dayOf(stamp) * SecondsPerDay);
}

std::optional<LoggerTime> parseIso(const QString& text) {
    const qsizetype joint = text.indexOf(u'T');
    if (joint < 0) {
        return std::nullopt;
    }
    const QDate day = QDate::fromString(text.left(joint), IsoDate);
    const QTime time = QTime::fromString(text.mid(joint + 1), IsoTime);
    if (!day.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    return LoggerClock::fromDateAndTime(day, time);
}

}  // namespace

SampleTimeTexts::SampleTimeTexts(Style style)
    : style_(style),
      writeLocale_(style == Style::Iso ? QLocale::c() : QLocale()),
      writeDateFormat_(style == Style::Iso ? IsoDate : LocaleText::dateFormat()),
      writeTimeFormat_(style == Style::Iso ? IsoTime : LocaleText::timeFormat()),
      decimalSeparator_(style == Style::Iso ? QChar(u'.') : LocaleText::decimalSeparator()),
      secondTexts_(SecondsPerDay),
      readDateFormat_(LocaleText::dateFormat()),
      readTimeFormat_(LocaleText::timeFormat()),
      twoDigitYearFormat_(readLocale_.dateFormat(QLocale::ShortFormat)) {}

QString SampleTimeTexts::date(LoggerTime stamp) {
    const int64_t day = dayOf(stamp);
    if (day != lastDay_) {
        lastDay_ = day;
        lastDayText_ = writeLocale_.toString(LoggerClock::date(stamp), writeDateFormat_);
    }
    return lastDayText_;
}

QString SampleTimeTexts::time(LoggerTime stamp) {
    QString& text = secondTexts_[size_t(secondOfDay(stamp))];
    if (text.isNull()) {
        text = writeLocale_.toString(LoggerClock::time(stamp), writeTimeFormat_);
    }
    return text;
}

QString SampleTimeTexts::dateTime(LoggerTime stamp) {
    if (style_ == Style::Iso) {
        return date(stamp) + u'T' + time(stamp);
    }
    if (secondOfDay(stamp) == 0) {
        return date(stamp);
    }
    return date(stamp) + u' ' + time(stamp);
}

std::optional<LoggerTime> SampleTimeTexts::parseDateTime(const QString& rawText) {
    const QString text = rawText.trimmed();
    if (style_ == Style::Iso) {
        if (const auto iso = parseIso(text)) {
            return iso;
        }
    }
    if (const auto local = parseLocale(text)) {
        return local;
    }
    return style_ == Style::Iso ? std::nullopt : parseIso(text);
}

std::optional<LoggerTime> SampleTimeTexts::parseLocale(const QString& text) {
    // The date may hold blanks itself ("15 Mar 2011") and the time rarely more than one, so the
    // joint is looked for from the right.
    for (qsizetype joint = text.lastIndexOf(u' '); joint > 0;
         joint = text.lastIndexOf(u' ', joint - 1)) {
        const auto second = parseSecondOfDay(text.mid(joint + 1));
        if (!second) {
            continue;
        }
        if (const auto day = parseDate(text.left(joint))) {
            return LoggerClock::fromDateAndTime(*day, QTime(0, 0)) + *second;
        }
    }
    if (const auto day = parseDate(text)) {
        return LoggerClock::fromDateAndTime(*day, QTime(0, 0));
    }
    return std::nullopt;
}

std::optional<QDate> SampleTimeTexts::parseDate(const QString& text) {
    if (!lastParsedDateText_.isNull() && text == lastParsedDateText_) {
        return lastParsedDate_;
    }
    QDate parsed = readLocale_.toDate(text, readDateFormat_);
    if (!parsed.isValid()) {
        parsed = readLocale_.toDate(text, twoDigitYearFormat_);
        // A two-digit year reads as 19yy; the logger's years are 2000 and later.
        if (parsed.isValid() && parsed.year() < 2000) {
            parsed = parsed.addYears(100);
        }
    }
    if (!parsed.isValid()) {
        return std::nullopt;
    }
    lastParsedDateText_ = text;
    lastParsedDate_ = parsed;
    return parsed;
}

std::optional<int> SampleTimeTexts::parseSecondOfDay(const QString& text) {
    if (const auto found = parsedSeconds_.constFind(text); found != parsedSeconds_.constEnd()) {
        return *found;
    }
    const QTime parsed = readLocale_.toTime(text, readTimeFormat_);
    if (!parsed.isValid()) {
        return std::nullopt;
    }
    const int second = parsed.msecsSinceStartOfDay() / 1000;
    parsedSeconds_.insert(text, second);
    return second;
}
