#pragma once

#include "loggeddata/LoggerTime.h"
#include "loggeddata/SampleTable.h"

#include <string>
#include <vector>

// One line a sample, "2011-03-15 14:30:45 3 1234 17", to compare tables with what the
// simulator logged.
inline std::vector<std::string> describe(const SampleTable& table) {
    std::vector<std::string> lines;
    for (int i = 0; i <= table.LastSampleIndex(); ++i) {
        std::string line = LoggerTimeStamp::toDateTime(table[i].date)
                               .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                               .toStdString() +
                           " " + std::to_string(table[i].command);
        for (const uint16_t value : table.datas(i)) {
            line += " " + std::to_string(value);
        }
        lines.push_back(line);
    }
    return lines;
}

// The lines of a text, each ended by a line feed.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}
