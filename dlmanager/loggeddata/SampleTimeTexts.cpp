#include "loggeddata/SampleTimeTexts.h"

#include "base/LocaleText.h"

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
    return LoggerTimeStamp::fromDateAndTime(day, time);
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
      twoDigitYearFormat_(readLocale_.dateFormat(QLocale::ShortFormat)),
      isoReader_(IsoDate + QStringLiteral("'T'") + IsoTime, QLocale::c()),
      dateReader_(readDateFormat_, readLocale_),
      twoDigitYearReader_(twoDigitYearFormat_, readLocale_),
      timeReader_(readTimeFormat_, readLocale_) {}

QString SampleTimeTexts::date(LoggerTime stamp) {
    const int64_t day = dayOf(stamp);
    if (day != lastDay_) {
        lastDay_ = day;
        lastDayText_ = writeLocale_.toString(LoggerTimeStamp::date(stamp), writeDateFormat_);
    }
    return lastDayText_;
}

QString SampleTimeTexts::time(LoggerTime stamp) {
    QString& text = secondTexts_[size_t(secondOfDay(stamp))];
    if (text.isNull()) {
        text = writeLocale_.toString(LoggerTimeStamp::time(stamp), writeTimeFormat_);
    }
    return text;
}

QString SampleTimeTexts::dateTime(LoggerTime stamp) {
    return joined(stamp, u' ');
}

QString SampleTimeTexts::dateTimeLines(LoggerTime stamp) {
    return joined(stamp, u'\n');
}

QString SampleTimeTexts::joined(LoggerTime stamp, QChar between) {
    if (style_ == Style::Iso) {
        return date(stamp) + u'T' + time(stamp);
    }
    if (secondOfDay(stamp) == 0) {
        return date(stamp);
    }
    return date(stamp) + between + time(stamp);
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

std::optional<LoggerTime> SampleTimeTexts::parseDateTimeBytes(std::string_view text) {
    if (lastBytesStamp_ && text == lastBytes_) {
        return lastBytesStamp_;
    }
    auto stamp = readFast(text);
    if (!stamp) {
        stamp = parseDateTime(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    lastBytes_.assign(text);
    lastBytesStamp_ = stamp;
    return stamp;
}

std::optional<LoggerTime> SampleTimeTexts::readFast(std::string_view text) const {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' ||
                             text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' ||
                             text.back() == '\r')) {
        text.remove_suffix(1);
    }
    FormatReader::Fields fields;
    const auto stampOf = [&fields] {
        return LoggerTimeStamp::fromDateAndTime(QDate(fields.year, fields.month, fields.day),
                                                QTime(fields.hour, fields.minute, fields.second));
    };
    std::string_view rest = text;
    if (style_ == Style::Iso && isoReader_.read(rest, fields) && rest.empty()) {
        return stampOf();
    }
    for (const FormatReader* dateReader : {&dateReader_, &twoDigitYearReader_}) {
        rest = text;
        fields = {};
        if (!dateReader->read(rest, fields)) {
            continue;
        }
        if (rest.empty()) {
            return stampOf();
        }
        if (rest.front() == ' ') {
            rest.remove_prefix(1);
            if (timeReader_.read(rest, fields) && rest.empty()) {
                return stampOf();
            }
        }
    }
    return std::nullopt;
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
            return LoggerTimeStamp::fromDateAndTime(*day, QTime(0, 0)) + *second;
        }
    }
    if (const auto day = parseDate(text)) {
        return LoggerTimeStamp::fromDateAndTime(*day, QTime(0, 0));
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
    // Pieces that are no time are remembered too: the joint search tries the same ones again
    // for every record ("PM" alone, for one).
    constexpr int NoTime = -1;
    auto found = parsedSeconds_.constFind(text);
    if (found == parsedSeconds_.constEnd()) {
        const QTime parsed = readLocale_.toTime(text, readTimeFormat_);
        found = parsedSeconds_.insert(
            text, parsed.isValid() ? parsed.msecsSinceStartOfDay() / 1000 : NoTime);
    }
    return *found == NoTime ? std::nullopt : std::optional<int>(*found);
}
