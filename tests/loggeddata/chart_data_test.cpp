#include "loggeddata/ChartData.h"
#include "loggeddata/SampleTimeTexts.h"

#include <gtest/gtest.h>
#include <QLocale>

namespace {

ChartData::Series series(QVector<double> x, QVector<double> y) {
    return {QString(), std::move(x), std::move(y)};
}

LoggerTime at(int hour, int minute, int second) {
    return LoggerTimeStamp::fromDateAndTime(QDate(2011, 3, 15), QTime(hour, minute, second));
}

void expectRange(const ChartData::Range& range, double lower, double upper) {
    EXPECT_NEAR(range.lower, lower, 1e-9);
    EXPECT_NEAR(range.upper, upper, 1e-9);
}

TEST(ChartRanges, ValuesKeepOffTheFrame) {
    const struct {
        std::vector<ChartData::Series> all;
        double lower, upper;
    } cases[] = {
        {{series({0, 1}, {1, 3})}, 0.9, 3.1},
        {{series({0}, {2}), series({0}, {-8})}, -8.5, 2.5},  // over all series
        {{series({0, 1}, {50, 50})}, 47.5, 52.5},
        {{series({0}, {-20})}, -21, -19},
        {{series({0, 1}, {0, 0})}, -1, 1},
        {{series({}, {}), series({}, {})}, 0, 1},
        {{}, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lower);
        expectRange(ChartData::valueRange(c.all), c.lower, c.upper);
    }
}

TEST(ChartRanges, TimeSpansTheSamplesOrTheDay) {
    const QDate today(2026, 12, 10);
    const double midnight = double(LoggerTimeStamp::fromDateAndTime(today, QTime(0, 0)));
    const double first = double(at(14, 30, 0));
    const struct {
        std::vector<ChartData::Series> all;
        double lower, upper;
    } cases[] = {
        {{series({first, first + 100}, {1, 1}), series({first + 200}, {2})},
         first - 10,
         first + 210},
        {{series({first}, {1})}, first - 60, first + 60},
        {{series({}, {})}, midnight, midnight + 86400},
        {{}, midnight, midnight + 86400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.upper - c.lower);
        expectRange(ChartData::timeRange(c.all, today), c.lower, c.upper);
    }
}

TEST(ChartLabels, TheValueAxisNamesTheUnit) {
    const std::pair<const char*, const char*> cases[] = {{"V", "V"}, {" bar ", "bar"}, {"", ""}};
    for (const auto& [unit, label] : cases) {
        Comandi command;
        command.Unit = QString::fromUtf8(unit);
        EXPECT_EQ(ChartData::valueAxisLabel(command), QString::fromUtf8(label));
    }
}

TEST(ChartLabels, TimeTicksAsTheTableWritesThem) {
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    SampleTimeTexts texts;
    const std::pair<double, const char*> cases[] = {
        {double(at(0, 0, 0)), "3/15/2011"},
        {double(at(12, 0, 0)), "3/15/2011\n12:00:00 PM"},
        {double(at(14, 30, 45)), "3/15/2011\n2:30:45 PM"},
        {double(at(14, 30, 44)) + 0.6, "3/15/2011\n2:30:45 PM"},
        {double(at(0, 0, 0)) - 0.4, "3/15/2011"},
    };
    for (const auto& [key, label] : cases) {
        EXPECT_EQ(ChartData::timeTickLabel(texts, key), QString::fromLatin1(label));
    }
    QLocale::setDefault(QLocale::c());
}

}  // namespace
