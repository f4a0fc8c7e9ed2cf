#include "base/LocaleText.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QRandomGenerator>
#include <ostream>

namespace {

// Sets the default locale for one test and restores the previous one after it.
class DefaultLocale {
public:
    explicit DefaultLocale(const char* name) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    }
    ~DefaultLocale() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

const QDate firstDay(2000, 1, 1);
const QDate lastDay(2063, 12, 31);

void expectRoundTrip(const QDateTime& stamp) {
    const QString text = LocaleText::dateTime(stamp);
    const auto parsed = LocaleText::parseDateTime(text);
    ASSERT_TRUE(parsed.has_value()) << text.toStdString();
    ASSERT_EQ(parsed->date(), stamp.date()) << text.toStdString();
    ASSERT_EQ(parsed->time(), stamp.time()) << text.toStdString();
}

// The combined text is the date text and the time text joined by a blank, each depending only on
// its own half; so every day (at midnight and at a time that wanders through the day) plus every
// second of a day covers what an exhaustive run over every second of the range would, and a random
// sample over the whole range backs that up.
class LocaleTextRoundTrip : public ::testing::TestWithParam<const char*> {
protected:
    DefaultLocale locale_{GetParam()};
};

TEST_P(LocaleTextRoundTrip, EveryDayOfTheRange) {
    for (QDate day = firstDay; day <= lastDay; day = day.addDays(1)) {
        const QString dateText = LocaleText::date(day);
        ASSERT_EQ(LocaleText::parseDate(dateText), day) << dateText.toStdString();
        expectRoundTrip(QDateTime(day, QTime(0, 0)));
        // A time that wanders through the day, morning and afternoon, from one day to the next.
        const int second = int(day.toJulianDay() * 7919 % (24 * 3600));
        expectRoundTrip(QDateTime(day, QTime(0, 0).addSecs(second)));
    }
}

TEST_P(LocaleTextRoundTrip, EverySecondOfADay) {
    for (int second = 0; second < 24 * 3600; ++second) {
        const QTime time = QTime(0, 0).addSecs(second);
        const QString text = LocaleText::time(time);
        ASSERT_EQ(LocaleText::parseTime(text), time) << text.toStdString();
    }
}

TEST_P(LocaleTextRoundTrip, RandomSecondsOfTheRange) {
    QRandomGenerator random(20110315);
    const qint64 first = QDateTime(firstDay, QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    const qint64 last = QDateTime(lastDay, QTime(23, 59, 59), Qt::UTC).toSecsSinceEpoch();
    for (int i = 0; i < 8000; ++i) {
        const QDateTime utc =
            QDateTime::fromSecsSinceEpoch(first + random.bounded(last - first + 1), Qt::UTC);
        expectRoundTrip(QDateTime(utc.date(), utc.time()));
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleTextRoundTrip,
                         ::testing::Values("en_US", "de_DE", "it_IT", "C"));

struct ShapeCase {
    const char* locale;
    const char* dateTime;  // 2011-03-15 14:30:45
    const char* midnight;  // 2063-12-31 00:00:00
};

void PrintTo(const ShapeCase& c, std::ostream* out) {
    *out << c.locale;
}

// Locales whose formats put the zone before the time, in brackets, or next to quoted text.
class LocaleTextShapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(LocaleTextShapes, FourDigitYearNoZoneAndReadBack) {
    const DefaultLocale locale(GetParam().locale);
    const QDateTime stamp(QDate(2011, 3, 15), QTime(14, 30, 45));
    const QString text = LocaleText::dateTime(stamp);
    EXPECT_EQ(text, QString::fromUtf8(GetParam().dateTime));
    expectRoundTrip(stamp);

    const QDateTime midnight(QDate(2063, 12, 31), QTime(0, 0));
    EXPECT_EQ(LocaleText::dateTime(midnight), QString::fromUtf8(GetParam().midnight));
    expectRoundTrip(midnight);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LocaleTextShapes,
    ::testing::Values(ShapeCase{"de_DE", "15.03.2011 14:30:45", "31.12.2063"},
                      ShapeCase{"it_IT", "15/03/2011 14:30:45", "31/12/2063"},
                      ShapeCase{"en_US", "3/15/2011 2:30:45 PM", "12/31/2063"},
                      ShapeCase{"C", "15 Mar 2011 14:30:45", "31 Dec 2063"},
                      ShapeCase{"zh_CN", "2011/3/15 14:30:45", "2063/12/31"},
                      ShapeCase{"fa_IR", "۲۰۱۱/۳/۱۵ ۱۴:۳۰:۴۵", "۲۰۶۳/۱۲/۳۱"},
                      ShapeCase{"bg_BG", "15.03.2011 г. 14:30:45 ч.", "31.12.2063 г."},
                      ShapeCase{"ko_KR", "2011. 3. 15. 오후 2시 30분 45초", "2063. 12. 31."}));

TEST(LocaleText, MidnightIsLeftOutButOneSecondLaterIsNot) {
    const DefaultLocale locale("de_DE");
    const QDate day(2024, 2, 29);
    EXPECT_EQ(LocaleText::dateTime(QDateTime(day, QTime(0, 0))), "29.02.2024");
    EXPECT_EQ(LocaleText::dateTime(QDateTime(day, QTime(0, 0, 1))), "29.02.2024 00:00:01");
    EXPECT_EQ(LocaleText::dateTime(QDateTime(day, QTime(12, 0))), "29.02.2024 12:00:00");
}

TEST(LocaleText, RejectsTextsThatAreNotItsOwn) {
    const DefaultLocale locale("de_DE");
    // A two-digit year must not come back as the year 11 or 1911.
    EXPECT_EQ(LocaleText::parseDate("15.03.11"), std::nullopt);
    EXPECT_EQ(LocaleText::parseDate("31.02.2011"), std::nullopt);
    EXPECT_EQ(LocaleText::parseDate(""), std::nullopt);
    EXPECT_EQ(LocaleText::parseTime("24:00:00"), std::nullopt);
    EXPECT_EQ(LocaleText::parseTime("14:30:45 UTC"), std::nullopt);
    EXPECT_EQ(LocaleText::parseDateTime("15.03.2011 14:30"), std::nullopt);
    EXPECT_EQ(LocaleText::parseDateTime("15.03.2011 abc"), std::nullopt);
    EXPECT_EQ(LocaleText::parseDateTime("3/15/2011 2:30:45 PM"), std::nullopt);
}

TEST(LocaleText, InvalidValuesGiveEmptyTexts) {
    const DefaultLocale locale("en_US");
    EXPECT_EQ(LocaleText::dateTime(QDateTime()), "");
    EXPECT_EQ(LocaleText::date(QDate()), "");
    EXPECT_EQ(LocaleText::time(QTime()), "");
    EXPECT_EQ(LocaleText::parseDateTime(""), std::nullopt);
}

TEST(LocaleText, BlanksAroundAreIgnored) {
    const DefaultLocale locale("it_IT");
    EXPECT_EQ(LocaleText::parseDateTime("  15/03/2011 14:30:45 "),
              QDateTime(QDate(2011, 3, 15), QTime(14, 30, 45)));
    EXPECT_EQ(LocaleText::parseDate(" 15/03/2011"), QDate(2011, 3, 15));
}

TEST(LocaleText, DecimalSeparatorFollowsTheLocale) {
    {
        const DefaultLocale locale("de_DE");
        EXPECT_EQ(LocaleText::decimalSeparator(), u',');
    }
    {
        const DefaultLocale locale("en_US");
        EXPECT_EQ(LocaleText::decimalSeparator(), u'.');
    }
}

}  // namespace
