#pragma once

#include "projects/Comandi.h"

#include <QString>
#include <QVector>
#include <optional>

class SampleTable;

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
