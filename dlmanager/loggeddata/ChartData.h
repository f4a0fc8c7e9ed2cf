#pragma once

#include "projects/Comandi.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <optional>

class SampleTable;
class SampleTimeTexts;

// What a diagram shows and which diagram comes next, without the chart widget.
namespace ChartData {

inline constexpr int NoChart = -2;

struct Series {
    QString title;      // the register's address
    QVector<double> x;  // time stamps, seconds of the logger's clock since 1970
    QVector<double> y;  // scaled values
};

// A series of at most this many samples is drawn with a marker on each: one sample alone has
// no line to be seen by, and a few are easier read as points. Longer series stay plain lines,
// where markers would merge into a band and slow the drawing down.
inline constexpr int MarkedSeriesLimit = 50;
inline bool showsMarkers(const Series& series) {
    return series.x.size() <= MarkedSeriesLimit;
}

QString title(const Comandi& command);

// The value axis's label: the command's unit, which all its series share; none without one.
QString valueAxisLabel(const Comandi& command);

struct Range {
    double lower = 0;
    double upper = 0;
};
// What "Normal Zoom" shows. Every point lies inside by 5 % of the spread, so none sits on the
// frame; a single value or instant gets a range of its own around it (5 % of the value, 1 at
// zero; a minute each way). With no points at all the time axis spans `today` of the logger's
// clock and the values 0 to 1.
Range valueRange(const std::vector<Series>& all);
Range timeRange(const std::vector<Series>& all, QDate today);

// A time axis tick as the table writes that instant, the time below the date and left out at
// midnight.
QString timeTickLabel(SampleTimeTexts& texts, double key);

// Whether `position` names a command of the list; NoChart and positions beyond it do not.
bool isCommand(const CommandList& commands, int position);

// One series per register of command `position`, its samples in table order; none when the
// position names no command.
std::vector<Series> series(const SampleTable& table, const CommandList& commands, int position);

// The lowest position of a visible command, or NoChart.
int firstVisible(const CommandList& commands);

enum class Direction { Previous, Next };
// The diagram "Before" / "Next" goes to: nothing when there is no move (no diagram, a position
// the list no longer has, the first or last visible command); the current command itself when
// it was hidden meanwhile and so stays where it is.
std::optional<int> neighbour(const CommandList& commands, int current, Direction direction);

}  // namespace ChartData
