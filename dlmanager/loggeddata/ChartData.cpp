#include "loggeddata/ChartData.h"

#include "loggeddata/SampleRendering.h"
#include "loggeddata/SampleTable.h"

#include <algorithm>

namespace ChartData {

QString title(const Comandi& command) {
    return QStringLiteral("Diagram of the command : ") + command.Description;
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
