#include "loggeddata/ChartData.h"

#include "loggeddata/SampleRendering.h"
#include "loggeddata/SampleTable.h"
#include "loggeddata/SampleTimeTexts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Margin = 0.05;
constexpr double InstantHalfWidth = 60;

// The lowest and highest of the x or y values of every series; nothing when there are none.
template <typename Values>
std::optional<ChartData::Range> spanOf(const std::vector<ChartData::Series>& all, Values values) {
    std::optional<ChartData::Range> span;
    for (const ChartData::Series& series : all) {
        for (const double value : values(series)) {
            if (!span) {
                span = ChartData::Range{value, value};
            }
            span->lower = std::min(span->lower, value);
            span->upper = std::max(span->upper, value);
        }
    }
    return span;
}

ChartData::Range padded(ChartData::Range span, double flatHalfWidth) {
    const double margin =
        span.upper > span.lower ? (span.upper - span.lower) * Margin : flatHalfWidth;
    return {span.lower - margin, span.upper + margin};
}

}  // namespace

namespace ChartData {

QString title(const Comandi& command) {
    return QStringLiteral("Diagram of the command : ") + command.Description;
}

QString valueAxisLabel(const Comandi& command) {
    return command.Unit.trimmed();
}

Range valueRange(const std::vector<Series>& all) {
    const auto span =
        spanOf(all, [](const Series& series) -> const QVector<double>& { return series.y; });
    if (!span) {
        return {0, 1};
    }
    const double value = std::abs(span->lower);
    return padded(*span, value > 0 ? value * Margin : 1);
}

Range timeRange(const std::vector<Series>& all, QDate today) {
    const auto span =
        spanOf(all, [](const Series& series) -> const QVector<double>& { return series.x; });
    if (!span) {
        const LoggerTime midnight = LoggerTimeStamp::fromDateAndTime(today, QTime(0, 0));
        return {double(midnight), double(midnight + 86400)};
    }
    return padded(*span, InstantHalfWidth);
}

QString timeTickLabel(SampleTimeTexts& texts, double key) {
    return texts.dateTimeLines(LoggerTime(std::llround(key)));
}

bool isCommand(const CommandList& commands, int position) {
    return position >= 0 && size_t(position) < commands.size();
}

std::vector<Series> series(const SampleTable& table, const CommandList& commands, int position) {
    if (!isCommand(commands, position)) {
        return {};
    }
    const Comandi& command = commands[size_t(position)];
    std::vector<Series> all(command.PointCount);
    for (size_t k = 0; k < all.size(); ++k) {
        all[k].title = QString::number(command.DataAddress + k);
    }
    for (int i = 0; i <= table.LastSampleIndex(); ++i) {
        if (table[i].command != position) {
            continue;
        }
        const auto values = table.datas(i);
        const size_t count = std::min(all.size(), values.size());
        for (size_t k = 0; k < count; ++k) {
            all[k].x.append(double(table[i].date));
            all[k].y.append(scaledValue(values[k], command));
        }
    }
    return all;
}

int firstVisible(const CommandList& commands) {
    for (size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].Visible) {
            return int(i);
        }
    }
    return NoChart;
}

std::optional<int> neighbour(const CommandList& commands, int current, Direction direction) {
    if (!isCommand(commands, current)) {
        return std::nullopt;
    }
    std::vector<int> visible;
    for (size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].Visible) {
            visible.push_back(int(i));
        }
    }
    const auto at = std::find(visible.begin(), visible.end(), current);
    if (at == visible.end()) {
        return current;  // hidden since: drawn again where it is
    }
    if (direction == Direction::Previous) {
        return at == visible.begin() ? std::nullopt : std::optional(*(at - 1));
    }
    return at + 1 == visible.end() ? std::nullopt : std::optional(*(at + 1));
}

}  // namespace ChartData
